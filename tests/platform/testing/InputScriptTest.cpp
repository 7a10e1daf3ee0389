#include "platform/testing/InputScript.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/testing/TestDriver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;
using driver::InputScript;

std::string typed;

LRESULT CALLBACK Collect(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR)
        typed += static_cast<char>(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class InputScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        typed.clear();
        WNDCLASSA wc {};
        wc.lpfnWndProc = Collect;
        wc.lpszClassName = "ScriptCollector";
        ASSERT_NE(RegisterClassA(&wc), 0);
        ASSERT_NE(CreateWindowExA(0, "ScriptCollector", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                      nullptr, nullptr),
            nullptr);
    }
    void TearDown() override { unsetenv("PLUMEWRIGHT_INPUT_SCRIPT"); }
};

TEST_F(InputScriptTest, StepsTypeKeysAndChordsAndRefuseWhatTheyCannotRead)
{
    struct Case {
        const char* step;
        bool read;
    } cases[] = {
        { "type Kid 7", true },
        { "key return", true },
        { "key control+a", true },
        { "key shift+b", true },
        { "key tab", true },
        { "type", false },
        { "key", false },
        { "key control+", false },
        { "key nonsense", false },
        { "wait soon", false },
        { "shot", false },
        { "menu /nowhere/menu.txt", false },
        { "fly away", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(InputScript::RunStep(c.step), c.read) << c.step;
    driver::RunUntilIdle();
    EXPECT_EQ(typed, std::string("Kid 7\r\x01") + "B\t");
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the chord's modifier was let go";
    EXPECT_TRUE(InputScript::RunStep("quit"));
    driver::RunUntilIdle();
    EXPECT_TRUE(driver::QuitPending());
}

// A script runs one step a call, in order, skipping comments and blank lines; a wait holds the
// next step back until its time has passed.
TEST_F(InputScriptTest, AScriptRunsAStepAtATimeAndWaitsHoldTheNextBack)
{
    std::filesystem::path path = std::filesystem::temp_directory_path() / "pw-input-script.txt";
    std::ofstream(path) << "# the name\n\ntype ab\r\nwait 100\ntype c\n";
    setenv("PLUMEWRIGHT_INPUT_SCRIPT", path.c_str(), 1);
    EXPECT_TRUE(InputScript::RunDueStep());
    EXPECT_TRUE(InputScript::RunDueStep()) << "the wait itself";
    EXPECT_EQ(InputScript::NextDueMs(), driver::ClockMs() + 100);
    EXPECT_FALSE(InputScript::RunDueStep());
    driver::AdvanceClock(100);
    EXPECT_TRUE(InputScript::RunDueStep());
    EXPECT_FALSE(InputScript::RunDueStep()) << "no step left";
    EXPECT_EQ(InputScript::NextDueMs(), std::nullopt);
    driver::RunUntilIdle();
    EXPECT_EQ(typed, "abc");
    std::filesystem::remove(path);
}

} // namespace

} // namespace pw::platform::tests
