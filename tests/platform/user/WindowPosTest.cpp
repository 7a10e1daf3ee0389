#include "WindowFixture.h"

#include "platform/testing/TestDriver.h"

#include <algorithm>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class WindowPosTest : public WindowFixture { };

TEST_F(WindowPosTest, FramesLayTheClientAreaOutFromTheStyle)
{
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
        const char* client; // the client area on the screen, of a window at (10, 10, 110, 110)
    };
    for (const Case& c : {
             Case { "overlapped: caption and thin border", WS_OVERLAPPED, 0, "11,29,109,109" },
             Case { "thick frame", WS_OVERLAPPEDWINDOW, 0, "13,31,107,107" },
             Case { "small caption", WS_OVERLAPPED, WS_EX_TOOLWINDOW, "11,21,109,109" },
             Case { "bare pop-up", WS_POPUP, 0, "10,10,110,110" },
             Case { "bordered pop-up", WS_POPUP | WS_BORDER, 0, "11,11,109,109" },
             Case { "pop-up with caption", WS_POPUP | WS_CAPTION, 0, "11,29,109,109" },
             Case { "client edge", WS_POPUP, WS_EX_CLIENTEDGE, "12,12,108,108" },
         }) {
        SCOPED_TRACE(c.name);
        HWND hwnd = CreateWindowExA(c.exStyle, kClassName, "T", c.style, 10, 10, 100, 100, nullptr, nullptr, nullptr, nullptr);
        POINT origin {};
        ClientToScreen(hwnd, &origin);
        RECT client {};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(RectText({ origin.x, origin.y, origin.x + client.right, origin.y + client.bottom }), c.client);
        POINT back = origin;
        ScreenToClient(hwnd, &back);
        EXPECT_EQ(RectText({ back.x, back.y, 0, 0 }), "0,0,0,0");
        DestroyWindow(hwnd);
    }
}

TEST_F(WindowPosTest, PositionChangesSendWindowPosChangedThenSizeAndMove)
{
    HWND parent = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND child = MakeWindow(parent);
    log.clear();
    ShowWindow(child, SW_SHOW);
    // The first showing tells the size and place.
    EXPECT_EQ(Messages({ WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE }).size(), 3u);
    EXPECT_EQ(Messages({ WM_SIZE })[0].lParam, MAKELPARAM(100, 50));

    struct Case {
        const char* name;
        std::function<void()> change;
        std::vector<UINT> expected;
    };
    std::vector<Case> cases = {
        { "move", [&] { MoveWindow(child, 10, 20, 100, 50, TRUE); }, { WM_WINDOWPOSCHANGED, WM_MOVE } },
        { "resize", [&] { MoveWindow(child, 10, 20, 120, 60, TRUE); }, { WM_WINDOWPOSCHANGED, WM_SIZE } },
        { "restack", [&] { SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }, { WM_WINDOWPOSCHANGED } },
        { "hide", [&] { ShowWindow(child, SW_HIDE); }, { WM_WINDOWPOSCHANGED } },
        { "hide again", [&] { ShowWindow(child, SW_HIDE); }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        c.change();
        EXPECT_EQ(MessageNumbers({ WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE }), c.expected);
    }
    // WM_MOVE tells the client area's place in the parent's client area.
    log.clear();
    MoveWindow(child, 30, 40, 120, 60, TRUE);
    EXPECT_EQ(Messages({ WM_MOVE })[0].lParam, MAKELPARAM(30, 40));
    EXPECT_EQ(RectText(WindowRectOf(child)), "130,140,250,200");

    // A procedure that keeps WM_WINDOWPOSCHANGED from DefWindowProcA gets no WM_SIZE.
    answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_WINDOWPOSCHANGED ? std::optional<LRESULT>(0) : std::nullopt;
    };
    log.clear();
    MoveWindow(child, 30, 40, 10, 10, TRUE);
    EXPECT_EQ(MessageNumbers({ WM_WINDOWPOSCHANGED, WM_SIZE }), std::vector<UINT> { WM_WINDOWPOSCHANGED });
    SetLastError(0);
    DestroyWindow(child);
    EXPECT_FALSE(MoveWindow(child, 0, 0, 1, 1, TRUE));
    EXPECT_EQ(GetLastError(), 1400u);
}

TEST_F(WindowPosTest, MaximisingFillsTheScreenAndRestoringGivesTheRectangleBack)
{
    HWND hwnd = CreateWindowExA(0, kClassName, "Plumewright", WS_OVERLAPPEDWINDOW, 5, 5, 630, 465, nullptr, nullptr, nullptr, nullptr);
    log.clear();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWMAXIMIZED));
    EXPECT_EQ(RectText(WindowRectOf(hwnd)), "0,0,640,480");
    std::vector<Delivered> sizes = Messages({ WM_SIZE });
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(640 - 6, 480 - 18 - 6));
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_TRUE(ShowWindow(hwnd, SW_RESTORE));
    EXPECT_EQ(RectText(WindowRectOf(hwnd)), "5,5,635,470");
    EXPECT_EQ(Messages({ WM_SIZE }).back().wParam, static_cast<WPARAM>(SIZE_RESTORED));
}

TEST_F(WindowPosTest, TopLevelWindowsKeepTheirCaptionOnTheScreen)
{
    HWND hwnd = CreateWindowExA(0, kClassName, "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND bare = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    struct Case {
        const char* name;
        HWND hwnd;
        POINT to;
        const char* expected;
    };
    for (Case c : {
             Case { "inside", hwnd, { 100, 100 }, "100,100,300,200" },
             Case { "above the top", hwnd, { 100, -50 }, "100,0,300,100" },
             Case { "below the bottom", hwnd, { 100, 500 }, "100,461,300,561" },
             Case { "far left", hwnd, { -500, 10 }, "0,10,200,110" },
             Case { "far right", hwnd, { 700, 10 }, "440,10,640,110" },
             Case { "a window without caption goes anywhere", bare, { -500, -500 }, "-500,-500,-300,-400" },
         }) {
        SCOPED_TRACE(c.name);
        MoveWindow(c.hwnd, c.to.x, c.to.y, 200, 100, TRUE);
        EXPECT_EQ(RectText(WindowRectOf(c.hwnd)), c.expected);
    }
}

TEST_F(WindowPosTest, TheCaptionDragsTheWindowAndTheCloseBoxClosesIt)
{
    HWND hwnd = CreateWindowExA(0, kClassName, "Drag me", WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 50, 50, 200, 100,
        nullptr, nullptr, nullptr, nullptr);
    driver::RunUntilIdle();
    POINT caption = driver::CaptionPoint(hwnd);
    ASSERT_GE(caption.x, 0);
    log.clear();
    driver::Drag(caption.x, caption.y, caption.x + 30, caption.y + 20);
    driver::RunUntilIdle();
    EXPECT_EQ(RectText(WindowRectOf(hwnd)), "80,70,280,170");
    // The drag took the mouse: no client mouse message reached the window.
    EXPECT_TRUE(MessageNumbers({ WM_MOUSEMOVE, WM_LBUTTONUP }).empty());
    EXPECT_FALSE(MessageNumbers({ WM_MOVE }).empty());

    // Esc puts it back where the drag began.
    caption = driver::CaptionPoint(hwnd);
    driver::PressMouse(caption.x, caption.y);
    driver::MoveMouse(caption.x + 40, caption.y);
    driver::TypeKey(VK_ESCAPE);
    driver::ReleaseMouse(caption.x + 40, caption.y);
    driver::RunUntilIdle();
    EXPECT_EQ(RectText(WindowRectOf(hwnd)), "80,70,280,170");

    // A press on the close box released elsewhere does nothing; released on it, it closes.
    POINT box = driver::CloseBoxPoint(hwnd);
    driver::PressMouse(box.x, box.y);
    driver::ReleaseMouse(box.x - 50, box.y);
    driver::RunUntilIdle();
    EXPECT_TRUE(IsWindow(hwnd));
    log.clear();
    driver::ClickCloseBox(hwnd);
    driver::RunUntilIdle();
    EXPECT_EQ(MessageNumbers({ WM_SYSCOMMAND, WM_CLOSE }), (std::vector<UINT> { WM_SYSCOMMAND, WM_CLOSE }));
    EXPECT_FALSE(IsWindow(hwnd));
}

// A child dragged by its caption toward any edge, and beyond, keeps its whole caption inside the
// parent's client area (so below the parent's menu bar), where its close box still closes it.
TEST_F(WindowPosTest, ADraggedChildKeepsItsCaptionBelowTheMenuBarAndInsideItsParent)
{
    HWND main = CreateWindowExA(0, kClassName, "Main", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
        nullptr, nullptr);
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "File");
    ASSERT_TRUE(SetMenu(main, bar));
    RECT client {};
    GetClientRect(main, &client);
    POINT origin { 0, 0 };
    ClientToScreen(main, &origin);
    struct Case {
        const char* name;
        POINT by;
        POINT to; // where the child's top-left corner ends, in the parent's client area
    };
    const int captionBottom = 1 + 18; // the frame's top line, then the caption
    for (Case c : {
             Case { "to the top edge", { 0, -40 }, { 60, 0 } },
             Case { "far above, under the menu bar and off the screen", { 0, -400 }, { 60, 0 } },
             Case { "far below", { 0, 600 }, { 60, client.bottom - captionBottom } },
             Case { "far left", { -600, 0 }, { 0, 40 } },
             Case { "far right", { 600, 0 }, { client.right - 200, 40 } },
         }) {
        SCOPED_TRACE(c.name);
        HWND child = CreateWindowExA(0, kClassName, "Child", WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 60, 40,
            200, 100, main, nullptr, nullptr, nullptr);
        driver::RunUntilIdle();
        POINT caption = driver::CaptionPoint(child);
        driver::Drag(caption.x, caption.y, caption.x + c.by.x, caption.y + c.by.y);
        driver::RunUntilIdle();
        RECT shown = WindowRectOf(child);
        EXPECT_EQ(RectText(shown),
            RectText(RECT { origin.x + c.to.x, origin.y + c.to.y, origin.x + c.to.x + 200, origin.y + c.to.y + 100 }));
        // What shows of the caption takes it back, and then its close box closes it.
        RECT onScreen = WindowRectOf(child);
        POINT grab { std::max(onScreen.left, origin.x) + 4, onScreen.top + 8 };
        driver::Drag(grab.x, grab.y, origin.x + 150, origin.y + 50);
        driver::RunUntilIdle();
        driver::ClickCloseBox(child);
        driver::RunUntilIdle();
        EXPECT_FALSE(IsWindow(child)) << "closed through its close box";
    }
    DestroyWindow(main);
}

// A floating tool window dragged toward any edge, and beyond, stays wholly in its parent's client
// area (on the screen when it has no parent), where all of its buttons can be reached.
TEST_F(WindowPosTest, ADraggedToolWindowStaysWhollyInside)
{
    HWND main = CreateWindowExA(0, kClassName, "Main", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
        nullptr, nullptr);
    RECT client {};
    GetClientRect(main, &client);
    POINT origin { 0, 0 };
    ClientToScreen(main, &origin);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* name;
        bool child;
        POINT by;
        POINT to; // the window's top-left corner at the end, in screen coordinates
    };
    for (Case c : {
             Case { "a child far up", true, { 0, -400 }, { origin.x + 60, origin.y } },
             Case { "a child far down", true, { 0, 600 }, { origin.x + 60, origin.y + client.bottom - 100 } },
             Case { "a child far left", true, { -600, 0 }, { origin.x, origin.y + 40 } },
             Case { "a child far right", true, { 600, 0 }, { origin.x + client.right - 120, origin.y + 40 } },
             Case { "a child within", true, { 10, 20 }, { origin.x + 70, origin.y + 60 } },
             Case { "top-level far right and down", false, { 900, 900 }, { screenWidth - 120, screenHeight - 100 } },
         }) {
        SCOPED_TRACE(c.name);
        HWND tool = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Tools",
            (c.child ? WS_CHILD : WS_POPUP) | WS_CAPTION | WS_VISIBLE, 60, 40, 120, 100, c.child ? main : nullptr,
            nullptr, nullptr, nullptr);
        driver::RunUntilIdle();
        POINT caption = driver::CaptionPoint(tool);
        driver::Drag(caption.x, caption.y, caption.x + c.by.x, caption.y + c.by.y);
        driver::RunUntilIdle();
        RECT shown = WindowRectOf(tool);
        EXPECT_EQ(RectText(shown), RectText(RECT { c.to.x, c.to.y, c.to.x + 120, c.to.y + 100 }));
        DestroyWindow(tool);
    }
    DestroyWindow(main);
}

TEST_F(WindowPosTest, ClickingActivatesAndTheAppActivationIsToldToEveryTopLevelWindow)
{
    HWND first = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND second = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetActiveWindow(), second);
    log.clear();
    driver::Click(50, 50);
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_ACTIVATE }), (std::vector<Delivered> {
                                            { second, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(first) },
                                            { first, WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(second) },
                                        }));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);

    log.clear();
    driver::SetAppActive(false);
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_ACTIVATEAPP }), (std::vector<Delivered> {
                                               { first, WM_ACTIVATEAPP, FALSE, 0 },
                                               { second, WM_ACTIVATEAPP, FALSE, 0 },
                                           }));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    log.clear();
    driver::SetAppActive(true);
    driver::RunUntilIdle();
    EXPECT_EQ(MessageNumbers({ WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS }),
        (std::vector<UINT> { WM_ACTIVATEAPP, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS }));
    EXPECT_EQ(Messages({ WM_ACTIVATEAPP })[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);

    // Closing the active window activates the one left.
    DestroyWindow(first);
    EXPECT_EQ(GetActiveWindow(), second);
}

TEST_F(WindowPosTest, ClosingTheHostWindowClosesTheMainWindow)
{
    HWND main = CreateWindowExA(0, kClassName, "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, main, nullptr, nullptr, nullptr);
    log.clear();
    driver::RequestClose();
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_SYSCOMMAND }), (std::vector<Delivered> { { main, WM_SYSCOMMAND, SC_CLOSE, 0 } }));
    EXPECT_FALSE(IsWindow(main));
    // With no window left, a close request ends the message loop.
    driver::RequestClose();
    driver::RunUntilIdle();
    EXPECT_TRUE(driver::QuitPending());
}

// A termination request is not the close box: no window is asked, the program's loop ends.
TEST_F(WindowPosTest, ATerminationRequestPostsTheQuitWithoutAskingTheWindows)
{
    HWND main = CreateWindowExA(0, kClassName, "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    log.clear();
    driver::RequestQuit();
    driver::RunUntilIdle();
    int code = -1;
    EXPECT_TRUE(driver::QuitPending(&code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Messages({ WM_SYSCOMMAND, WM_CLOSE }).empty());
    EXPECT_TRUE(IsWindow(main));
}

} // namespace

} // namespace pw::platform::tests
