#include "WindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/Modal.h"

#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class InputTest : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        RegisterLoggingClass(kDoubleClass, CS_DBLCLKS);
    }

    std::vector<Delivered> Mouse() const
    {
        return Messages({ WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
            WM_RBUTTONDBLCLK });
    }

    static constexpr const char* kDoubleClass = "DoubleWClass";
};

TEST_F(InputTest, MouseMessagesCarryClientCoordinatesAndTheKeysAfterTheEvent)
{
    HWND hwnd = Popup({ 100, 100, 300, 200 });
    driver::RunUntilIdle();
    log.clear();
    driver::PressKey(VK_SHIFT);
    driver::Click(110, 120);
    driver::ReleaseKey(VK_SHIFT);
    driver::Click(111, 121, MouseButton::Right);
    driver::RunUntilIdle();
    EXPECT_EQ(Mouse(), (std::vector<Delivered> {
                           { hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20) },
                           { hwnd, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(10, 20) },
                           { hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(11, 21) },
                           { hwnd, WM_RBUTTONUP, 0, MAKELPARAM(11, 21) },
                       }));
    // The window is asked what lies under the pointer and which cursor to show, each time.
    EXPECT_EQ(Messages({ WM_NCHITTEST }).size(), 4u);
    EXPECT_EQ(Messages({ WM_SETCURSOR }).size(), 4u);
}

TEST_F(InputTest, FramePartsGetNonClientMessagesInScreenCoordinates)
{
    HWND hwnd = CreateWindowExA(0, kClassName, "Frame", WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 100, 100, 200, 100,
        nullptr, nullptr, nullptr, nullptr);
    driver::RunUntilIdle();
    POINT box = driver::CloseBoxPoint(hwnd);
    log.clear();
    driver::MoveMouse(120, 110);
    driver::MoveMouse(box.x, box.y);
    driver::MoveMouse(100, 150);
    driver::MoveMouse(150, 150);
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_NCMOUSEMOVE, WM_MOUSEMOVE }), (std::vector<Delivered> {
                                                            { hwnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(120, 110) },
                                                            { hwnd, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(box.x, box.y) },
                                                            { hwnd, WM_NCMOUSEMOVE, HTBORDER, MAKELPARAM(100, 150) },
                                                            { hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(49, 31) },
                                                        }));
}

TEST_F(InputTest, TheCaptureHolderGetsEveryMouseMessageInItsClientCoordinates)
{
    HWND hwnd = Popup({ 100, 100, 300, 200 });
    HWND other = Popup({ 0, 250, 100, 350 });
    driver::RunUntilIdle();
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) {
            EXPECT_EQ(SetCapture(hwnd), nullptr);
        }
        if (message == WM_LBUTTONUP)
            ReleaseCapture();
        return std::nullopt;
    };
    log.clear();
    driver::PressMouse(150, 150);
    driver::MoveMouse(105, 99);
    driver::MoveMouse(50, 300);
    driver::ReleaseMouse(50, 300);
    driver::MoveMouse(50, 300);
    driver::RunUntilIdle();
    EXPECT_EQ(Mouse(), (std::vector<Delivered> {
                           { hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50) },
                           // (5, -1): the signed 16-bit halves
                           { hwnd, WM_MOUSEMOVE, MK_LBUTTON, static_cast<LPARAM>(0xFFFF0005) },
                           { hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-50, 200) },
                           { hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-50, 200) },
                           { other, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50) },
                       }));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(MessageNumbers({ WM_CAPTURECHANGED }), std::vector<UINT> { WM_CAPTURECHANGED });
    // A captured window's destruction releases the capture.
    SetCapture(other);
    DestroyWindow(other);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleAndComeWithin500MsAnd4Pixels)
{
    struct Case {
        const char* name;
        bool wantsDoubleClicks;
        uint64_t gapMs;
        int dx;
        int dy;
        UINT second;
    };
    for (const Case& c : {
             Case { "quick and still", true, 0, 0, 0, WM_LBUTTONDBLCLK },
             Case { "500 ms and 4 pixels away", true, 500, 4, -4, WM_LBUTTONDBLCLK },
             Case { "501 ms", true, 501, 0, 0, WM_LBUTTONDOWN },
             Case { "5 pixels across", true, 0, 5, 0, WM_LBUTTONDOWN },
             Case { "5 pixels down", true, 0, 0, 5, WM_LBUTTONDOWN },
             Case { "a class without CS_DBLCLKS", false, 0, 0, 0, WM_LBUTTONDOWN },
         }) {
        SCOPED_TRACE(c.name);
        HWND hwnd = Popup({ 100, 100, 200, 200 }, nullptr, c.wantsDoubleClicks ? kDoubleClass : kClassName);
        driver::RunUntilIdle();
        log.clear();
        driver::Click(150, 150);
        driver::RunUntilIdle();
        driver::AdvanceClock(c.gapMs);
        driver::Click(150 + c.dx, 150 + c.dy);
        driver::RunUntilIdle();
        std::vector<UINT> numbers = MessageNumbers({ WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK });
        EXPECT_EQ(numbers, (std::vector<UINT> { WM_LBUTTONDOWN, WM_LBUTTONUP, c.second, WM_LBUTTONUP }));
        DestroyWindow(hwnd);
        driver::AdvanceClock(1000);
    }
    // A third quick click starts a new pair; another button does not pair with the left one.
    Popup({ 100, 100, 200, 200 }, nullptr, kDoubleClass);
    driver::RunUntilIdle();
    log.clear();
    driver::Click(150, 150);
    driver::Click(150, 150);
    driver::Click(150, 150);
    driver::Click(150, 150, MouseButton::Right);
    driver::RunUntilIdle();
    EXPECT_EQ(MessageNumbers({ WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK }),
        (std::vector<UINT> { WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_RBUTTONDOWN }));
}

TEST_F(InputTest, FocusChangesAreToldAndKeysGoToTheFocus)
{
    HWND top = Popup({ 0, 0, 200, 200 });
    HWND a = Popup({ 0, 0, 50, 50 }, top);
    HWND b = Popup({ 60, 0, 110, 50 }, top);
    driver::RunUntilIdle();
    // Activation gave the focus to the top-level window.
    EXPECT_EQ(GetFocus(), top);
    log.clear();
    EXPECT_EQ(SetFocus(a), top);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(Messages({ WM_SETFOCUS, WM_KILLFOCUS }), (std::vector<Delivered> {
                                                          { top, WM_KILLFOCUS, reinterpret_cast<WPARAM>(a), 0 },
                                                          { a, WM_SETFOCUS, reinterpret_cast<WPARAM>(top), 0 },
                                                          { a, WM_KILLFOCUS, reinterpret_cast<WPARAM>(b), 0 },
                                                          { b, WM_SETFOCUS, reinterpret_cast<WPARAM>(a), 0 },
                                                      }));
    log.clear();
    driver::TypeText("h");
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_KEYDOWN, WM_CHAR, WM_KEYUP }), (std::vector<Delivered> {
                                                               { b, WM_KEYDOWN, 'H', 1 },
                                                               { b, WM_CHAR, 'h', 1 },
                                                               { b, WM_KEYUP, 'H', static_cast<LPARAM>(0xC0000001) },
                                                           }));
    // The focus window's destruction leaves nobody with the focus.
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), nullptr);
    SetLastError(0);
    EXPECT_EQ(SetFocus(b), nullptr);
    EXPECT_EQ(GetLastError(), 1400u);
}

TEST_F(InputTest, KeysTranslateIntoCharactersWithControlCodes)
{
    HWND hwnd = Popup({ 0, 0, 50, 50 });
    driver::RunUntilIdle();
    SetFocus(hwnd);
    struct Case {
        const char* name;
        std::vector<UINT> held;
        UINT key;
        int character; // -1: no WM_CHAR
    };
    for (const Case& c : {
             Case { "letter", {}, 'A', 'a' },
             Case { "shifted letter", { VK_SHIFT }, 'A', 'A' },
             Case { "digit", {}, '7', '7' },
             Case { "shifted digit", { VK_SHIFT }, '1', '!' },
             Case { "Ctrl+C", { VK_CONTROL }, 'C', 3 },
             Case { "Ctrl+Z", { VK_CONTROL }, 'Z', 26 },
             Case { "Backspace", {}, VK_BACK, 8 },
             Case { "Tab", {}, VK_TAB, 9 },
             Case { "Return", {}, VK_RETURN, 13 },
             Case { "Esc", {}, VK_ESCAPE, 27 },
             Case { "full stop", {}, VK_OEM_PERIOD, '.' },
             Case { "question mark", { VK_SHIFT }, VK_OEM_2, '?' },
             Case { "arrow", {}, VK_LEFT, -1 },
             Case { "Ctrl+digit", { VK_CONTROL }, '5', -1 },
         }) {
        SCOPED_TRACE(c.name);
        for (UINT key : c.held)
            driver::PressKey(key);
        driver::TypeKey(c.key);
        for (UINT key : c.held)
            driver::ReleaseKey(key);
        log.clear();
        driver::RunUntilIdle();
        std::vector<Delivered> chars = Messages({ WM_CHAR });
        if (c.character < 0) {
            EXPECT_TRUE(chars.empty());
        } else {
            ASSERT_EQ(chars.size(), 1u);
            EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(c.character));
        }
    }
}

// Letters the US layout has no key for (typed on another layout, or composed) arrive as VK_PACKET
// keys, which translate into the very characters, in order with the others.
TEST_F(InputTest, AccentedLettersTranslateIntoTheirCharacters)
{
    HWND hwnd = Popup({ 0, 0, 50, 50 });
    driver::RunUntilIdle();
    SetFocus(hwnd);
    log.clear();
    driver::TypeText("Zo\xE9 \xC7" "a \xFC");
    driver::RunUntilIdle();
    std::string typed;
    for (const Delivered& d : Messages({ WM_CHAR }))
        typed += static_cast<char>(d.wParam);
    EXPECT_EQ(typed, "Zo\xE9 \xC7" "a \xFC");
    std::vector<Delivered> downs = Messages({ WM_KEYDOWN });
    ASSERT_EQ(downs.size(), 9u) << "Shift for the capital Z, then a key a character";
    EXPECT_EQ(downs[3].wParam, static_cast<WPARAM>(VK_PACKET));
}

TEST_F(InputTest, KeyStateFollowsTheRetrievedMessages)
{
    Popup({ 0, 0, 50, 50 });
    driver::RunUntilIdle();
    static SHORT shiftAtClick;
    static SHORT controlAtClick;
    answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) {
            shiftAtClick = GetKeyState(VK_SHIFT);
            controlAtClick = GetKeyState(VK_CONTROL);
        }
        return std::nullopt;
    };
    driver::PressKey(VK_CONTROL);
    driver::Click(10, 10);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "nothing retrieved yet";
    driver::RunUntilIdle();
    EXPECT_LT(controlAtClick, 0);
    EXPECT_GE(shiftAtClick, 0);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    driver::ReleaseKey(VK_CONTROL);
    driver::RunUntilIdle();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, ABlockingWindowRefusesInputToTheOthers)
{
    HWND app = Popup({ 0, 0, 100, 100 });
    HWND box = Popup({ 200, 0, 300, 100 });
    driver::RunUntilIdle();
    SetFocus(app);
    std::optional<ModalScope> modal;
    modal.emplace(box);
    log.clear();
    size_t beeps = driver::BeepLog().size();
    driver::Click(50, 50);
    driver::Click(250, 50);
    driver::TypeKey('Q');
    driver::RunUntilIdle();
    EXPECT_EQ(MessageNumbers({ WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN }),
        (std::vector<UINT> { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN }));
    for (const Delivered& d : Messages({ WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN }))
        EXPECT_EQ(d.hwnd, box);
    EXPECT_EQ(driver::BeepLog().size(), beeps + 1);
    modal.reset();
    log.clear();
    driver::Click(50, 50);
    driver::RunUntilIdle();
    ASSERT_EQ(Messages({ WM_LBUTTONDOWN }).size(), 1u);
    EXPECT_EQ(Messages({ WM_LBUTTONDOWN })[0].hwnd, app);
}

TEST_F(InputTest, DisabledWindowsTakeNoInput)
{
    HWND top = Popup({ 0, 0, 100, 100 });
    HWND child = Popup({ 10, 10, 50, 50 }, top);
    HWND other = Popup({ 200, 0, 300, 100 });
    driver::RunUntilIdle();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    EnableWindow(other, FALSE);
    log.clear();
    size_t beeps = driver::BeepLog().size();
    driver::Click(20, 20);
    driver::Click(250, 50);
    driver::RunUntilIdle();
    // The disabled child's parent gets the press; the disabled top-level window refuses it.
    std::vector<Delivered> downs = Messages({ WM_LBUTTONDOWN });
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, top);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(20, 20));
    EXPECT_EQ(driver::BeepLog().size(), beeps + 1);
    EXPECT_EQ(Messages({ WM_ENABLE }).size(), 0u) << "no change since the log was cleared";
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_EQ(Messages({ WM_ENABLE }), (std::vector<Delivered> { { child, WM_ENABLE, TRUE, 0 } }));
}

TEST_F(InputTest, AModalLoopKeepsTimersAndPaintsGoingAndEndsWhenDone)
{
    HWND hwnd = Popup({ 0, 0, 50, 50 });
    SetTimer(hwnd, 7, 100, nullptr);
    static int ticks;
    ticks = 0;
    answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER)
            ++ticks;
        return std::nullopt;
    };
    EXPECT_TRUE(RunModalLoop([] { return ticks == 3; }));
    EXPECT_EQ(driver::ClockMs(), 300u);
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    PostQuitMessage(5);
    EXPECT_FALSE(RunModalLoop([] { return false; }));
    int code = 0;
    EXPECT_TRUE(driver::QuitPending(&code));
    EXPECT_EQ(code, 5);
}

} // namespace

} // namespace pw::platform::tests
