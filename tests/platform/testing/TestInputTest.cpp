#include <windows.h>

#include <gtest/gtest.h>

#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/testing/InputScript.h"
#include "platform/testing/Problems.h"
#include "platform/testing/TestDriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

std::string typed;
// The mouse messages received: "down X Y", "move X Y", "up X Y" at client coordinates.
std::vector<std::string> mouse;

LRESULT CALLBACK Collect(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR)
        typed += static_cast<char>(wParam);
    const char* name = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? "down"
        : message == WM_MOUSEMOVE                                              ? "move"
        : message == WM_LBUTTONUP                                              ? "up"
                                                                               : nullptr;
    if (name)
        mouse.push_back(std::string(name) + " " + std::to_string(static_cast<int16_t>(LOWORD(lParam))) + " "
            + std::to_string(static_cast<int16_t>(HIWORD(lParam))));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class TestInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        typed.clear();
        mouse.clear();
        WNDCLASSA wc {};
        wc.lpfnWndProc = Collect;
        wc.lpszClassName = "Collector";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }

    static HWND Make(const char* title, DWORD style, RECT r, HWND parent = nullptr)
    {
        return CreateWindowExA(0, "Collector", title, style | WS_VISIBLE, r.left, r.top, r.right - r.left,
            r.bottom - r.top, parent, nullptr, nullptr, nullptr);
    }
};

TEST_F(TestInput, TypedTextComesBackAsTheSameCharacters)
{
    HWND hwnd = Make("Type here", WS_POPUP, { 0, 0, 50, 50 });
    ASSERT_EQ(GetFocus(), hwnd);
    const std::string text = "Hello, World! a-b_c=d+e [x]{y} \"q\" 'r' ~`|\\/?<>.;:1234567890@#$%^&*()";
    driver::TypeText(text);
    driver::TypeText("\t\n");
    driver::RunUntilIdle();
    EXPECT_EQ(typed, text + "\t\r");
    // Shift was released after each shifted character.
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    driver::TypeText("\x01");
    EXPECT_EQ(driver::TakeProblems().size(), 1u);
}

TEST_F(TestInput, WindowsAreFoundByTitleTopmostFirst)
{
    HWND lower = Make("Same", WS_POPUP, { 0, 0, 50, 50 });
    HWND upper = Make("Same", WS_POPUP, { 0, 0, 50, 50 });
    HWND child = Make("Inner", WS_CHILD, { 0, 0, 10, 10 }, lower);
    EXPECT_EQ(driver::FindWindowByTitle("Same"), upper);
    EXPECT_EQ(driver::FindWindowByTitle("Inner"), child);
    BringWindowToTop(lower);
    EXPECT_EQ(driver::FindWindowByTitle("Same"), lower);
    ShowWindow(lower, SW_HIDE);
    EXPECT_EQ(driver::FindWindowByTitle("Same"), upper);
    EXPECT_EQ(driver::FindWindowByTitle("Inner"), nullptr);
    EXPECT_EQ(driver::FindWindowByTitle("Nothing"), nullptr);
}

TEST_F(TestInput, TheSavedDesktopHoldsTheShownPixels)
{
    Make("Shown", WS_OVERLAPPED | WS_SYSMENU, { 20, 20, 220, 120 });
    driver::RunUntilIdle();
    driver::MoveMouse(100, 100);
    driver::RunUntilIdle();
    std::string path = ::testing::TempDir() + "desktop.bmp";
    ASSERT_TRUE(driver::SaveDesktopAsBmp(path));
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> saved((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(saved, EncodeFrameAsBmp(driver::ReadDesktop(true)));
    // The cursor shows only in the frame that asks for it.
    EXPECT_NE(driver::ReadDesktop(true).pixels, driver::ReadDesktop(false).pixels);
    std::remove(path.c_str());

    // A client area reads as the desktop's pixels under it: (21, 39) to (219, 119).
    HWND hwnd = driver::FindWindowByTitle("Shown");
    Frame client = driver::ReadClientArea(hwnd);
    Frame desktop = driver::ReadDesktop();
    ASSERT_EQ(client.width, 198);
    ASSERT_EQ(client.height, 80);
    EXPECT_EQ(client.At(0, 0), desktop.At(21, 39));
    EXPECT_EQ(client.At(197, 79), desktop.At(218, 118));
    EXPECT_EQ(driver::LiveWindowCount(), 1u);
    DestroyWindow(hwnd);
    EXPECT_EQ(driver::LiveWindowCount(), 0u);
    EXPECT_EQ(driver::ReadClientArea(hwnd).width, 0);
}

TEST_F(TestInput, InputScriptStepsTypeKeysAndChordsAndRefuseWhatTheyCannotRead)
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
    Make("Type here", WS_POPUP, { 0, 0, 50, 50 });
    for (const Case& c : cases)
        EXPECT_EQ(driver::InputScript::RunStep(c.step), c.read) << c.step;
    driver::RunUntilIdle();
    EXPECT_EQ(typed, std::string("Kid 7\r\x01") + "B\t");
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the chord's modifier was let go";
    EXPECT_TRUE(driver::InputScript::RunStep("quit"));
    driver::RunUntilIdle();
    EXPECT_TRUE(driver::QuitPending());
}

// A script runs one step a call, in order, skipping comments and blank lines; a wait holds the
// next step back until its time has passed.
TEST_F(TestInput, AnInputScriptRunsAStepAtATimeAndWaitsHoldTheNextBack)
{
    Make("Type here", WS_POPUP, { 0, 0, 50, 50 });
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("pw-input-script-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path) << "# the name\n\ntype ab\r\nwait 100\ntype c\n";
    setenv("PLUMEWRIGHT_INPUT_SCRIPT", path.c_str(), 1);
    EXPECT_TRUE(driver::InputScript::RunDueStep());
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "the wait itself";
    EXPECT_EQ(driver::InputScript::NextDueMs(), driver::ClockMs() + 100);
    EXPECT_FALSE(driver::InputScript::RunDueStep());
    driver::AdvanceClock(100);
    EXPECT_TRUE(driver::InputScript::RunDueStep());
    EXPECT_FALSE(driver::InputScript::RunDueStep()) << "no step left";
    EXPECT_EQ(driver::InputScript::NextDueMs(), std::nullopt);
    driver::RunUntilIdle();
    EXPECT_EQ(typed, "abc");
    unsetenv("PLUMEWRIGHT_INPUT_SCRIPT");
    std::filesystem::remove(path);
}

// The mouse steps reach the window under them as the backend's own input would; a step whose
// numbers are missing, extra or not numbers is refused and sends nothing.
TEST_F(TestInput, InputScriptMouseStepsPressMoveAndReleaseTheLeftButton)
{
    Make("Mouse here", WS_POPUP, { 10, 20, 210, 220 });
    driver::RunUntilIdle();
    for (const char* bad : { "click", "click 5", "click 5 6 7", "move x 6", "drag 1 2 3 4", "drag 1 2 3 4 0",
             "press 5 six" })
        EXPECT_FALSE(driver::InputScript::RunStep(bad)) << bad;
    driver::RunUntilIdle();
    EXPECT_EQ(mouse, std::vector<std::string> {});
    for (const char* step : { "click 20 30", "press 50 60", "move 60 70", "release 60 70", "drag 110 120 130 160 2" })
        EXPECT_TRUE(driver::InputScript::RunStep(step)) << step;
    driver::RunUntilIdle();
    // Each press and release comes where it was asked (a drag's moves along its line between).
    EXPECT_EQ(mouse,
        (std::vector<std::string> { "down 10 10", "up 10 10", "down 40 40", "move 50 50", "up 50 50", "down 100 100",
            "move 110 120", "move 120 140", "up 120 140" }));
}

// A "waitfile" step holds the next one back until its file appears, or until its time is up; a
// "waitbox" step until a message box shows (none does here, so only its time ends it).
TEST_F(TestInput, WaitStepsHoldTheNextStepUntilTheirFileOrBoxOrTime)
{
    Make("Type here", WS_POPUP, { 0, 0, 50, 50 });
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("pw-waitfile-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::path script = dir / "script.txt";
    fs::path awaited = dir / "done";
    std::ofstream(script) << "waitfile " << awaited.string() << " 5000\ntype a\nwaitfile " << (dir / "never").string()
                          << " 300\ntype b\nwaitbox 200\ntype c\n";
    setenv("PLUMEWRIGHT_INPUT_SCRIPT", script.c_str(), 1);
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "the waitfile step itself";
    driver::AdvanceClock(1000);
    EXPECT_FALSE(driver::InputScript::RunDueStep()) << "no file yet";
    EXPECT_LE(*driver::InputScript::NextDueMs(), driver::ClockMs() + 100) << "it looks again soon";
    std::ofstream(awaited) << "x";
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "types a";
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "the second waitfile";
    EXPECT_FALSE(driver::InputScript::RunDueStep());
    driver::AdvanceClock(300);
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "gave up and typed b";
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "the waitbox";
    driver::AdvanceClock(150);
    EXPECT_FALSE(driver::InputScript::RunDueStep());
    driver::AdvanceClock(50);
    EXPECT_TRUE(driver::InputScript::RunDueStep()) << "gave up and typed c";
    EXPECT_EQ(driver::InputScript::NextDueMs(), std::nullopt);
    driver::RunUntilIdle();
    EXPECT_EQ(typed, "abc");
    for (const char* bad : { "waitfile", "waitfile /tmp/x", "waitfile /tmp/x soon", "waitbox", "waitbox -1" })
        EXPECT_FALSE(driver::InputScript::RunStep(bad)) << bad;
    unsetenv("PLUMEWRIGHT_INPUT_SCRIPT");
    fs::remove_all(dir);
}

} // namespace

} // namespace pw::platform::tests
