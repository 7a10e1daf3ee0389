#include "WindowFixture.h"

#include "platform/testing/Problems.h"
#include "platform/testing/TestDriver.h"

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class MessageBox : public WindowFixture { };

TEST_F(MessageBox, ScriptedAnswersComeInOrderAndEveryBoxIsLogged)
{
    HWND owner = MakeWindow();
    driver::ScriptMessageBoxes({ IDCANCEL, IDNO, 0 });
    EXPECT_EQ(MessageBoxA(owner, "Save changes?", "", MB_OKCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
    EXPECT_EQ(MessageBoxA(owner, "Really?", "Title", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Gone", nullptr, MB_OK | MB_ICONSTOP), 0);
    EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);

    const auto& log = driver::AlertLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].owner, owner);
    EXPECT_EQ(log[0].text, "Save changes?");
    EXPECT_EQ(log[0].caption, "");
    EXPECT_EQ(log[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(log[0].answer, IDCANCEL);
    EXPECT_EQ(log[1].caption, "Title");
    // A NULL caption reads "Error", as documented.
    EXPECT_EQ(log[2].caption, "Error");
    EXPECT_EQ(log[2].owner, nullptr);
    EXPECT_EQ(driver::UnscriptedMessageBoxCount(), 0u);
}

TEST_F(MessageBox, AnUnscriptedBoxIsReportedAsAFault)
{
    EXPECT_EQ(MessageBoxA(nullptr, "Nobody expected this", "", MB_OK), 0);
    EXPECT_EQ(driver::UnscriptedMessageBoxCount(), 1u);
    EXPECT_FALSE(driver::AlertLog().at(0).scripted);
    // The test main would fail the test with this problem; taking it here keeps the test passing.
    std::vector<std::string> problems = driver::TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Nobody expected this"), std::string::npos);
}

TEST_F(MessageBox, AScriptedAnswerThatIsNoButtonOfTheBoxIsAFault)
{
    driver::ScriptMessageBoxes({ IDYES, IDOK });
    EXPECT_EQ(MessageBoxA(nullptr, "Just OK", "", MB_OK), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Still OK", "", MB_OK), IDOK);
    EXPECT_EQ(driver::TakeProblems().size(), 1u);
}

TEST_F(MessageBox, BoxesThatCannotBeShownFailWithoutTakingAnAnswer)
{
    HWND dead = MakeWindow();
    DestroyWindow(dead);
    driver::ScriptMessageBoxes({ IDOK });
    SetLastError(0);
    EXPECT_EQ(MessageBoxA(dead, "x", "", MB_OK), 0);
    EXPECT_EQ(GetLastError(), 1400u);
    SetLastError(0);
    EXPECT_EQ(MessageBoxA(nullptr, "x", "", 0xF), 0);
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 1u);
    EXPECT_TRUE(driver::AlertLog().empty());
    EXPECT_EQ(MessageBoxA(nullptr, "x", "", MB_OK), IDOK);
}

TEST_F(MessageBox, BeepsAreLoggedWithTheirTime)
{
    driver::AdvanceClock(250);
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    driver::AdvanceClock(100);
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    const auto& beeps = driver::BeepLog();
    ASSERT_EQ(beeps.size(), 2u);
    EXPECT_EQ(beeps[0].type, 0xFFFFFFFFu);
    EXPECT_EQ(beeps[0].timeMs, 250u);
    EXPECT_EQ(beeps[1].type, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(beeps[1].timeMs, 350u);
}

} // namespace

} // namespace pw::platform::tests
