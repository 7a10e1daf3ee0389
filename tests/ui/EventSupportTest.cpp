#include "ui/EventSupport.h"

#include "PumpFixture.h"

#include <gtest/gtest.h>

using namespace pump;
using views::Log;
namespace driver = pw::platform::testing;

TEST(EventSupport, MouseParametersBecomeFrameworkValues)
{
    struct Point16 {
        uint32_t packed;
        int32_t h, v;
    } points[] = {
        { 5u | 0xFFFFu << 16, 5, -1 },
        { 0x8000u | 0x7FFFu << 16, -32768, 32767 },
        { 0, 0, 0 },
    };
    for (const Point16& p : points) {
        SCOPED_TRACE(p.packed);
        EXPECT_EQ(MakeMouseEvent(nullptr, static_cast<LPARAM>(p.packed)), Point(p.h, p.v));
    }
    struct Keys {
        WPARAM state;
        uint32_t modifiers;
    } keys[] = {
        { 0, 0 }, { MK_SHIFT, 1 }, { MK_CONTROL, 4 }, { MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON, 5 },
    };
    for (const Keys& k : keys) {
        SCOPED_TRACE(k.state);
        EXPECT_EQ(MakeModifiers(k.state), k.modifiers);
    }
    for (UINT message : { 0x200u, 0x201u, 0x209u, 0xA0u, 0xA9u })
        EXPECT_TRUE(IsMouseMessage(message)) << message;
    for (UINT message : { 0x1FFu, 0x20Au, 0x9Fu, 0xAAu, 0x102u })
        EXPECT_FALSE(IsMouseMessage(message)) << message;
}

TEST_F(PumpTest, MouseInputForOtherWindowsIsDroppedAndEndsThePump)
{
    HWND dialog = Recorder("dialog");
    HWND inner = Recorder("inner", dialog);
    HWND other = Recorder("other");
    PostMessageA(other, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(other, WM_USER, 0, 0);
    PostMessageA(inner, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(dialog, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(mainWindow, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(other, WM_USER, 0, 0);
    EXPECT_TRUE(PumpMessages(dialog));
    EXPECT_TRUE(Log().empty()) << "the first click was lost and the pump ended on it";
    EXPECT_TRUE(PumpMessages(dialog));
    EXPECT_EQ(Log(), (std::vector<std::string> { "other:user", "inner:press", "dialog:press", "other:user" }))
        << "other messages, and clicks in the dialog, its children and the main window, go through";
}

// A press that opened the dialog holds the mouse; its release, dropped with the other window's
// input, gives the mouse back, so the window's next press is not taken for a drag.
TEST_F(PumpTest, ADroppedReleaseGivesTheMouseBack)
{
    HWND dialog = Recorder("dialog");
    HWND other = Recorder("other");
    SetCapture(other);
    PostMessageA(other, WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_TRUE(PumpMessages(dialog));
    EXPECT_EQ(GetCapture(), other) << "a move while the button is down keeps it";
    PostMessageA(other, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(PumpMessages(dialog));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(Log().empty()) << "the release itself is still dropped";
}

TEST_F(PumpTest, AStreamOfMessagesIsHandledForAtMostHalfASecond)
{
    HWND stream = Recorder("stream");
    PostMessageA(stream, kStreamMessage, 0, 0);
    uint64_t start = driver::ClockMs();
    PumpMessages(stream);
    uint64_t spent = driver::ClockMs() - start;
    EXPECT_GE(spent, 500u);
    EXPECT_LE(spent, 500u + 2 * kStreamStepMs);
    EXPECT_EQ(Log().size(), spent / kStreamStepMs);
    DestroyWindow(stream);
}

TEST_F(PumpTest, TheQuitMessageIsLeftForTheOuterLoop)
{
    HWND dialog = Recorder("dialog");
    struct Case {
        const char* name;
        bool running;
        bool postQuit;
        int exitCode;
    } cases[] = {
        { "a quit already waiting is put back", true, true, 7 },
        { "the application stopped while a message was handled", false, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Log().clear();
        if (!c.running)
            AppGlue::Application() = nullptr;
        PostMessageA(dialog, WM_USER, 0, 0);
        PostMessageA(dialog, WM_USER, 0, 0);
        if (c.postQuit)
            PostQuitMessage(c.exitCode);
        PumpMessages(dialog, true);
        EXPECT_EQ(Log().size(), c.running ? 2u : 1u);
        int code = -1;
        EXPECT_TRUE(driver::QuitPending(&code));
        EXPECT_EQ(code, c.exitCode);
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        driver::RunUntilIdle();
    }
}
