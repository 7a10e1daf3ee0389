#include "MenuWindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/menus/MenuTesting.h"

#include <functional>
#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr const char* kCaption = "Plumewright says";

class ShownMessageBox : public MenuWindowFixture {
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        driver::ShowDialogs(true);
        main = MakeMainWindow();
        driver::RunUntilIdle();
    }

    // At the first idle moment of the box's loop, `act` gets the box and queues input; later
    // idle moments let the clock jump (or end a loop that waits for ever).
    void WhenShown(std::function<void(HWND)> act)
    {
        driver::SetIdleHandler([this, act] {
            HWND box = driver::FindWindowByTitle(kCaption);
            if (acted || !box)
                return false;
            acted = true;
            act(box);
            return true;
        });
    }

    static POINT CentreOf(HWND hwnd)
    {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        return POINT { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
    }

    static void ClickButton(const char* label)
    {
        POINT at = CentreOf(driver::FindWindowByTitle(label));
        driver::Click(at.x, at.y);
    }

    HWND main { nullptr };
    bool acted { false };
};

TEST_F(ShownMessageBox, AClickedButtonIsTheAnswer)
{
    struct Case {
        UINT style;
        const char* button;
        int expected;
    };
    const Case cases[] = {
        { MB_OK | MB_ICONINFORMATION, "OK", IDOK },
        { MB_OKCANCEL | MB_ICONEXCLAMATION, "Cancel", IDCANCEL },
        { MB_YESNOCANCEL | MB_ICONSTOP, "No", IDNO },
        { MB_YESNOCANCEL, "Yes", IDYES },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        acted = false;
        WhenShown([&](HWND) { ClickButton(c.button); });
        EXPECT_EQ(MessageBoxA(main, "Do you want to save the changes?", kCaption, c.style), c.expected);
        EXPECT_EQ(driver::FindWindowByTitle(kCaption), nullptr);
    }
    ASSERT_EQ(driver::AlertLog().size(), 4u);
    EXPECT_EQ(driver::AlertLog()[2].answer, IDNO);
    EXPECT_EQ(driver::UnscriptedMessageBoxCount(), 0u);
}

TEST_F(ShownMessageBox, KeysAnswerAsTheButtonsSay)
{
    struct Case {
        const char* name;
        UINT style;
        std::vector<UINT> keys;
        int expected;
    };
    const Case cases[] = {
        { "return takes the default button", MB_OKCANCEL, { VK_RETURN }, IDOK },
        { "the style picks the default", MB_YESNOCANCEL | MB_DEFBUTTON2, { VK_RETURN }, IDNO },
        { "tab moves to the next button", MB_YESNOCANCEL, { VK_TAB, VK_RETURN }, IDNO },
        { "space clicks the focused button", MB_YESNOCANCEL, { VK_TAB, VK_TAB, VK_SPACE }, IDCANCEL },
        { "esc cancels", MB_YESNOCANCEL | MB_ICONQUESTION, { VK_ESCAPE }, IDCANCEL },
        { "esc answers OK in a box of OK alone", MB_OK | MB_ICONSTOP, { VK_ESCAPE }, IDOK },
        { "esc does nothing without Cancel", MB_YESNO, { VK_ESCAPE, VK_TAB, VK_RETURN }, IDNO },
        { "other keys do nothing", MB_OKCANCEL, { 'A', VK_F1, VK_RETURN }, IDOK },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        acted = false;
        WhenShown([&](HWND) {
            for (UINT key : c.keys)
                driver::TypeKey(key);
        });
        EXPECT_EQ(MessageBoxA(main, "Keys", kCaption, c.style), c.expected);
    }
}

TEST_F(ShownMessageBox, OtherWindowsGetNoInputWhileTimersKeepRunning)
{
    SetTimer(main, 3, 100, nullptr);
    POINT inMain { 100, 250 };
    int ticksWhileShown = 0;
    driver::SetIdleHandler([&] {
        if (!driver::FindWindowByTitle(kCaption))
            return false;
        ticksWhileShown = static_cast<int>(Messages({ WM_TIMER }).size());
        if (ticksWhileShown < 2)
            return false;
        if (!acted) {
            acted = true;
            driver::Click(inMain.x, inMain.y);
            driver::TypeKey('X');
            driver::TypeKey(VK_RETURN);
            return true;
        }
        return false;
    });
    log.clear();
    EXPECT_EQ(MessageBoxA(main, "Busy", kCaption, MB_OK), IDOK);
    EXPECT_GE(ticksWhileShown, 2);
    EXPECT_TRUE(Messages({ WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR }).empty());
    // The refused press beeps.
    EXPECT_FALSE(driver::BeepLog().empty());
}

TEST_F(ShownMessageBox, TheBoxShowsItsIconTextAndButtonsOverItsOwner)
{
    Frame shown;
    RECT boxRect {};
    WhenShown([&](HWND box) {
        GetWindowRect(box, &boxRect);
        shown = driver::ReadDesktop();
        driver::SaveDesktopAsBmp(::testing::TempDir() + "message-box.bmp");
        driver::TypeKey(VK_RETURN);
    });
    MessageBoxA(main, "The file could not be saved because the disk is full.", kCaption, MB_OK | MB_ICONSTOP);
    ASSERT_GT(boxRect.right, boxRect.left);
    // Centred over the main window (20, 20, 420, 320).
    EXPECT_NEAR((boxRect.left + boxRect.right) / 2, 220, 1);
    EXPECT_NEAR((boxRect.top + boxRect.bottom) / 2, 170, 1);
    auto count = [&](uint8_t index) {
        int found = 0;
        for (int y = boxRect.top; y < boxRect.bottom; ++y) {
            for (int x = boxRect.left; x < boxRect.right; ++x)
                found += shown.At(x, y) == index;
        }
        return found;
    };
    constexpr uint8_t kRed = 249;
    constexpr uint8_t kNavy = 4;
    constexpr uint8_t kBlack = 0;
    EXPECT_GT(count(kRed), 300);   // the stop icon
    EXPECT_GT(count(kNavy), 1000); // the active caption
    EXPECT_GT(count(kBlack), 200); // text, frames
}

// However long the text, the box and its buttons lie on the screen: words wrap, a word wider than
// a line is broken, and a text taller than the screen is cut.
TEST_F(ShownMessageBox, LongTextsWrapInsideTheScreen)
{
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    const struct {
        const char* name;
        std::string text;
        int leastLines;
    } cases[] = {
        { "one word of 300 letters", std::string(300, 'm'), 5 },
        { "a name in a sentence", "Too long: " + std::string(290, 'a'), 4 },
        { "300 characters of words", words, 3 },
        { "a text taller than the screen", std::string(6000, 'x'), 30 },
    };
    RECT screen { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        acted = false;
        RECT boxRect {};
        RECT ok {};
        Frame shown;
        WhenShown([&](HWND box) {
            GetWindowRect(box, &boxRect);
            GetWindowRect(driver::FindWindowByTitle("OK"), &ok);
            shown = driver::ReadDesktop();
            driver::TypeKey(VK_RETURN);
        });
        EXPECT_EQ(MessageBoxA(main, c.text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION), IDOK);
        EXPECT_GE(boxRect.left, screen.left);
        EXPECT_GE(boxRect.top, screen.top);
        EXPECT_LE(boxRect.right, screen.right);
        EXPECT_LE(boxRect.bottom, screen.bottom);
        EXPECT_LE(boxRect.right - boxRect.left, 480) << "at most a line of 360 pixels beside the icon";
        EXPECT_GT(ok.right, ok.left);
        EXPECT_TRUE(ok.left >= boxRect.left && ok.right <= boxRect.right && ok.bottom <= boxRect.bottom)
            << "the button lies inside the box";
        // Text rows: the rows of the box's middle (below the caption, above the button) with black
        // pixels right of the icon; lines of the 11-pixel font are at least 11 rows apart.
        int inked = 0;
        for (int y = boxRect.top + 20; y < ok.top - 4; ++y) {
            bool black = false;
            for (int x = boxRect.left + 60; x < boxRect.right - 4 && !black; ++x)
                black = shown.At(x, y) == 0;
            inked += black;
        }
        EXPECT_GE(inked, c.leastLines * 6) << "the text shows on at least " << c.leastLines << " lines";
    }
}

TEST_F(ShownMessageBox, AQuitEndsTheBoxAndStaysPending)
{
    struct Case {
        const char* name;
        std::function<void()> quit;
        int code;
    } cases[] = {
        { "a quit message", [] { PostQuitMessage(4); }, 4 },
        { "a termination request", [] { driver::RequestQuit(); }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        acted = false;
        WhenShown([&](HWND) { c.quit(); });
        EXPECT_EQ(MessageBoxA(main, "Quit", kCaption, MB_YESNOCANCEL), IDCANCEL);
        int code = -1;
        EXPECT_TRUE(driver::QuitPending(&code));
        EXPECT_EQ(code, c.code);
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

} // namespace

} // namespace pw::platform::tests
