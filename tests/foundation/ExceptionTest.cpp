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

// Each kind of failure, thrown and shown (some twice, as nested handlers do): the boxes that
// appear and the style of the last one.
TEST_F(ExceptionTest, EachKindShowsItsTextOnce)
{
    struct Case {
        const char* name;
        void (*show)();
        std::vector<std::string> texts;
        UINT style;
    } cases[] = {
        { "an error, shown twice",
            [] {
                SmartPtr<Exception> exception = Caught([] { ThrowError("X", "foundation/Thing.cpp", 12); });
                exception->Display(2);
                exception->Display(2);
            },
            { "X\rFile: foundation/Thing.cpp Line: 12   " }, MB_ICONEXCLAMATION | MB_OK },
        { "an assertion", [] { ReportException(Caught([] { AssertionFailed("data != NULL", "foundation/Smart.cpp", 463); }).Get()); },
            { "Please Report an Error in\n foundation/Smart.cpp, line 463:\n\"data != NULL\"" }, MB_ICONEXCLAMATION | MB_OK },
        { "a failed verification", [] { EXPECT_FALSE(Verify(false, "y > 0", "f.cpp", 9)); },
            { "Please Report an Error in\n f.cpp, line 9:\n\"y > 0\"" }, MB_ICONEXCLAMATION | MB_OK },
        { "the same system error thrown twice shows both times",
            [] {
                for (int round = 0; round < 2; ++round) {
                    SmartPtr<Exception> exception = Caught([] { ThrowSystemError(5, "foundation/File.cpp", 77); });
                    exception->Display(0);
                    exception->Display(0);
                }
            },
            { "System Error\n  (Error Number 5)\n Found in: foundation/File.cpp, line 77",
                "System Error\n  (Error Number 5)\n Found in: foundation/File.cpp, line 77" },
            MB_ICONSTOP | MB_OK },
        { "a system error code cut to six characters, no line 0", [] { ReportSystemError(1234567, "x.cpp", 0); },
            { "System Error\n  (Error Number 123456)\n Found in: x.cpp, line " }, MB_ICONSTOP | MB_OK },
        { "a warning", [] { Exception::Warn(kNotImplemented, "foundation/Thing.cpp", 199); },
            { "Not implemented.\rFile: foundation/Thing.cpp Line: 199   " }, MB_ICONEXCLAMATION | MB_OK },
        { "a type mismatch", [] { Caught([] { Photo photo; CheckType(&photo, &Sketch::classInfo); })->Display(1); },
            { "Unexpected type: Photo Expected: Sketch" }, MB_ICONINFORMATION | MB_OK },
        { "system error 0, a cancel and a passed verification are silent",
            [] {
                ThrowSystemError(0, "f.cpp", 1);
                SystemErrorException(0).Display(3);
                Caught([] { Throw(new UserCancelException, "f.cpp", 1); })->Display(2);
                EXPECT_TRUE(Verify(true, "x", "f.cpp", 1));
            },
            {}, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptMessageBoxes({ IDOK, IDOK, IDOK });
        size_t before = AlertLog().size();
        c.show();
        std::vector<std::string> texts;
        for (size_t n = before; n < AlertLog().size(); ++n)
            texts.push_back(AlertLog()[n].text);
        EXPECT_EQ(texts, c.texts);
        if (!texts.empty()) {
            EXPECT_EQ(AlertLog().back().style, c.style);
            EXPECT_EQ(AlertLog().back().caption, "");
        }
    }
}

TEST_F(ExceptionTest, EachMessageExceptionKeepsItsOwnTextAndAssertionsTheirPlace)
{
    MessageException first("first", "a.cpp", 1);
    MessageException second("second", "b.cpp", -2);
    EXPECT_EQ(first.GetText(), "first\rFile: a.cpp Line: 1");
    EXPECT_EQ(second.GetText(), "second\rFile: b.cpp Line: -2");
    EXPECT_EQ(MessageException(nullptr, nullptr, 70000).GetText(), "\rFile:  Line: 4464");

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

TEST_F(ExceptionTest, TheCurrentExceptionLivesUntilTheNextThrow)
{
    int before = CountedException::live;
    Caught([] { Throw(new CountedException, "f.cpp", 1); });
    EXPECT_EQ(CountedException::live, before + 1);
    EXPECT_TRUE(CurrentException().Valid());
    Caught([] { ThrowError("next", "f.cpp", 2); });
    EXPECT_EQ(CountedException::live, before);
}

// A clean-up that throws and swallows its own failure while another unwinds (a connection closed
// on the way out) leaves the unwinding one alive for its handler, until a later throw.
TEST_F(ExceptionTest, AFailureUnwindingOutlivesAThrowInItsCleanUp)
{
    struct CleanUp {
        ~CleanUp()
        {
            try {
                ThrowError("closing failed", "f.cpp", 3);
            } catch (Exception*) {
                CurrentException() = nullptr;
            }
        }
    };
    int before = CountedException::live;
    SmartPtr<Exception> caught = Caught([] {
        CleanUp cleanUp;
        Throw(new CountedException, "f.cpp", 1);
    });
    ASSERT_TRUE(caught.Valid());
    EXPECT_EQ(CountedException::live, before + 1);
    EXPECT_NE(dynamic_cast<CountedException*>(caught.Get()), nullptr);
    caught = nullptr;
    Caught([] { ThrowError("next", "f.cpp", 2); });
    EXPECT_EQ(CountedException::live, before);
}

TEST_F(ExceptionTest, OverlongTextsAreCutNotLost)
{
    char buffer[kMessageSize];
    ComposeMessage(buffer, 0, std::string(400, 'a').c_str(), "b", nullptr, nullptr);
    EXPECT_EQ(std::string(buffer), std::string(255, 'a'));
    ComposeMessage(buffer, 0, "a", "b", "c", "d");
    EXPECT_EQ(std::string(buffer), "a b c d");
}

} // namespace
