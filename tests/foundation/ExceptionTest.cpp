#include "foundation/AssertionException.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/MessageException.h"
#include "foundation/SystemErrorException.h"
#include "foundation/TypeMisMatch.h"
#include "foundation/UserCancelException.h"

#include "AlertFixture.h"
#include "TestObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using pw::platform::testing::AlertLog;
using pw::platform::testing::ScriptMessageBoxes;

// Runs `step` and answers the framework exception it throws, held (null when none).
template <typename Step>
SmartPtr<Exception> Caught(Step step)
{
    try {
        step();
    } catch (Exception* exception) {
        return exception;
    }
    return nullptr;
}

// Counts its live instances, to see when the current-exception handle lets go.
class CountedException : public Exception {
public:
    CountedException() { ++live; }
    ~CountedException() override { --live; }
    void Display(int kind) override { ShowComposed(kind, "counted", nullptr, nullptr, nullptr); }
    static int live;
};
int CountedException::live = 0;

using ExceptionTest = AlertsShown;

TEST_F(ExceptionTest, AnErrorShowsItsMessageAndPlaceOnce)
{
    ScriptMessageBoxes({ IDOK });
    SmartPtr<Exception> exception = Caught([] { ThrowError("X", "foundation/Thing.cpp", 12); });
    ASSERT_TRUE(exception.Valid());
    exception->Display(2);
    exception->Display(2);
    ASSERT_EQ(AlertLog().size(), 1u);
    // Entry 128 fills its three unused places with nothing.
    EXPECT_EQ(AlertLog()[0].text, "X\rFile: foundation/Thing.cpp Line: 12   ");
    EXPECT_EQ(AlertLog()[0].caption, "");
    EXPECT_EQ(AlertLog()[0].style, UINT(MB_ICONEXCLAMATION | MB_OK));
}

TEST_F(ExceptionTest, EachMessageExceptionKeepsItsOwnText)
{
    MessageException first("first", "a.cpp", 1);
    MessageException second("second", "b.cpp", -2);
    EXPECT_EQ(first.GetText(), "first\rFile: a.cpp Line: 1");
    EXPECT_EQ(second.GetText(), "second\rFile: b.cpp Line: -2");
    MessageException missing(nullptr, nullptr, 70000);
    EXPECT_EQ(missing.GetText(), "\rFile:  Line: 4464");
}

TEST_F(ExceptionTest, AssertionsNameExpressionFileAndLine)
{
    ScriptMessageBoxes({ IDOK });
    SmartPtr<Exception> exception = Caught([] { AssertionFailed("data != NULL", "foundation/Smart.cpp", 463); });
    ASSERT_TRUE(exception.Valid());
    ReportException(exception.Get());
    ASSERT_EQ(AlertLog().size(), 1u);
    EXPECT_EQ(AlertLog()[0].text, "Please Report an Error in\n foundation/Smart.cpp, line 463:\n\"data != NULL\"");

    // ASSERT names our own source file and the expression as written.
    SmartPtr<Exception> fromMacro = Caught([] { ASSERT(1 + 1 == 3); });
    auto* assertion = dynamic_cast<AssertionException*>(fromMacro.Get());
    ASSERT_NE(assertion, nullptr);
    EXPECT_EQ(assertion->GetExpression(), "1 + 1 == 3");
    EXPECT_EQ(assertion->GetFile().substr(assertion->GetFile().size() - 17), "ExceptionTest.cpp");
}

TEST_F(ExceptionTest, ChecksReportThePendingSystemErrorOrTheirMessage)
{
    struct Case {
        const char* name;
        void (*check)();
        DWORD pending;
        std::string message;
        uint32_t code;
    } cases[] = {
        { "call failed", [] { CheckCall(false, "f.cpp", 3); }, 0, "Call failed.\rFile: f.cpp Line: 3", 0 },
        { "call failed with error 5", [] { CheckCall(false, "f.cpp", 3); }, 5, "", 5 },
        { "null value", [] { CheckNotNull(nullptr, "f.cpp", 4); }, 0, "Missing (NULL) value.\rFile: f.cpp Line: 4", 0 },
        { "zero value", [] { CheckNonZero(0, "f.cpp", 5); }, 0, "Bad (zero) value.\rFile: f.cpp Line: 5", 0 },
        { "zero value with error 2", [] { CheckNonZero(0, "f.cpp", 5); }, 2, "", 2 },
        { "good value clears the pending error", [] { CheckNotNull("x", "f.cpp", 6); }, 5, "", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(c.pending);
        SmartPtr<Exception> exception = Caught(c.check);
        EXPECT_EQ(GetLastError(), 0u);
        auto* message = dynamic_cast<MessageException*>(exception.Get());
        auto* system = dynamic_cast<SystemErrorException*>(exception.Get());
        EXPECT_EQ(message ? message->GetText() : "", c.message);
        EXPECT_EQ(system ? system->GetErrorCode() : 0, c.code);
    }
}

TEST_F(ExceptionTest, SystemErrorsShowInAStopBoxEveryTimeTheyAreThrown)
{
    ScriptMessageBoxes({ IDOK, IDOK });
    ThrowSystemError(0, "f.cpp", 1);
    for (int round = 0; round < 2; ++round) {
        SmartPtr<Exception> exception = Caught([] { ThrowSystemError(5, "foundation/File.cpp", 77); });
        ASSERT_TRUE(exception.Valid());
        exception->Display(0);
        exception->Display(0);
    }
    ASSERT_EQ(AlertLog().size(), 2u);
    EXPECT_EQ(AlertLog()[0].text, "System Error\n  (Error Number 5)\n Found in: foundation/File.cpp, line 77");
    EXPECT_EQ(AlertLog()[0].style, UINT(MB_ICONSTOP | MB_OK));
    EXPECT_EQ(AlertLog()[1].text, AlertLog()[0].text);
}

TEST_F(ExceptionTest, SystemErrorBoxLeavesOutALineBelowOne)
{
    ScriptMessageBoxes({ IDOK });
    ReportSystemError(1234567, "x.cpp", 0);
    ASSERT_EQ(AlertLog().size(), 1u);
    // The code is cut to six characters.
    EXPECT_EQ(AlertLog()[0].text, "System Error\n  (Error Number 123456)\n Found in: x.cpp, line ");

    SystemErrorException zero(0);
    zero.Display(3);
    EXPECT_TRUE(zero.IsReported());
    EXPECT_EQ(AlertLog().size(), 1u);
}

TEST_F(ExceptionTest, SilentKindsShowNothing)
{
    UserCancelException cancel;
    cancel.Display(3);
    EXPECT_FALSE(cancel.IsReported());
    SmartPtr<Exception> thrown = Caught([] { Throw(new UserCancelException, "f.cpp", 1); });
    ASSERT_TRUE(thrown.Valid());
    thrown->Display(2);
    EXPECT_TRUE(Verify(true, "x", "f.cpp", 1));
    EXPECT_TRUE(AlertLog().empty());

    ScriptMessageBoxes({ IDOK });
    EXPECT_FALSE(Verify(false, "y > 0", "f.cpp", 9));
    ASSERT_EQ(AlertLog().size(), 1u);
    EXPECT_EQ(AlertLog()[0].text, "Please Report an Error in\n f.cpp, line 9:\n\"y > 0\"");
}

TEST_F(ExceptionTest, WarningsAndTypeMismatchesComposeEntry128)
{
    ScriptMessageBoxes({ IDOK, IDOK });
    Exception::Warn(kNotImplemented, "foundation/Thing.cpp", 199);
    SmartPtr<Exception> mismatch = Caught([] {
        Photo photo;
        CheckType(&photo, &Sketch::classInfo);
    });
    ASSERT_TRUE(mismatch.Valid());
    mismatch->Display(1);
    EXPECT_EQ(Shown(), (std::vector<std::string> { "Not implemented.\rFile: foundation/Thing.cpp Line: 199   ",
                           "Unexpected type: Photo Expected: Sketch" }));
    EXPECT_EQ(AlertLog()[1].style, UINT(MB_ICONINFORMATION | MB_OK));
}

TEST_F(ExceptionTest, TheCurrentExceptionLivesUntilTheNextThrow)
{
    int before = CountedException::live;
    try {
        Throw(new CountedException, "f.cpp", 1);
    } catch (Exception*) {
    }
    EXPECT_EQ(CountedException::live, before + 1);
    EXPECT_TRUE(CurrentException().Valid());
    try {
        ThrowError("next", "f.cpp", 2);
    } catch (Exception*) {
    }
    EXPECT_EQ(CountedException::live, before);
}

TEST_F(ExceptionTest, OverlongTextsAreCutNotLost)
{
    std::string longText(400, 'a');
    char buffer[kMessageSize];
    ComposeMessage(buffer, 0, longText.c_str(), "b", nullptr, nullptr);
    EXPECT_EQ(std::string(buffer), std::string(255, 'a'));
    ComposeMessage(buffer, 0, "a", "b", "c", "d");
    EXPECT_EQ(std::string(buffer), "a b c d");
}

} // namespace
