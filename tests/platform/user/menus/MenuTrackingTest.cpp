#include "MenuWindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/menus/MenuTesting.h"

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class MenuTracking : public MenuWindowFixture { };

void Click(POINT at)
{
    driver::Click(at.x, at.y);
}

TEST_F(MenuTracking, TheClassMenuGivesTheMainWindowAnEmptyBar)
{
    HWND main = MakeMainWindow();
    HMENU bar = GetMenu(main);
    ASSERT_NE(bar, nullptr);
    RECT client;
    GetClientRect(main, &client);
    POINT origin { 0, 0 };
    ClientToScreen(main, &origin);
    // Frame, caption, then one bar row above the client area.
    EXPECT_EQ(origin.y, 20 + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
    SetMenu(main, nullptr);
    POINT without { 0, 0 };
    ClientToScreen(main, &without);
    EXPECT_EQ(origin.y - without.y, GetSystemMetrics(SM_CYMENU));
}

TEST_F(MenuTracking, ClicksChooseAnItemAfterWmInitMenu)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    driver::RunUntilIdle();
    log.clear();
    Click(TitlePoint(main, 0));
    Click(ItemPoint(main, 0, 0));
    driver::RunUntilIdle();
    HMENU bar = GetMenu(main);
    EXPECT_EQ(Messages({ WM_INITMENU, WM_COMMAND }), (std::vector<Delivered> { { main, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0 },
                                                         { main, WM_COMMAND, MAKEWPARAM(10, 0), 0 } }));
    EXPECT_TRUE(DropDowns().empty());
}

TEST_F(MenuTracking, APressDraggedToAnItemChoosesItOnRelease)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    POINT title = TitlePoint(main, 1);
    POINT undo = ItemPoint(main, 1, 0);
    driver::Drag(title.x, title.y, undo.x, undo.y);
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ WM_COMMAND }), (std::vector<Delivered> { { main, WM_COMMAND, MAKEWPARAM(90, 0), 0 } }));
}

TEST_F(MenuTracking, GrayedItemsAndSeparatorsAreNeverChosen)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    // WM_INITMENU comes before anything shows, so the program can gray items there.
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENU)
            EnableMenuItem(GetMenu(hwnd), 10, MF_GRAYED);
        return std::nullopt;
    };
    struct Case {
        const char* name;
        int item;
    };
    for (Case c : { Case { "grayed when appended", 2 }, Case { "grayed by WM_INITMENU", 0 }, Case { "separator", 1 } }) {
        SCOPED_TRACE(c.name);
        log.clear();
        Click(TitlePoint(main, 0));
        Click(ItemPoint(main, 0, c.item));
        // The menu stays open after such a click; Esc closes it.
        driver::TypeKey(VK_ESCAPE);
        driver::RunUntilIdle();
        EXPECT_EQ(Messages({ WM_INITMENU }).size(), 1u);
        EXPECT_TRUE(Messages({ WM_COMMAND }).empty());
        EXPECT_TRUE(DropDowns().empty());
    }
}

TEST_F(MenuTracking, KeysMoveThroughItemsAndTitles)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    struct Case {
        const char* name;
        std::vector<UINT> keys;
        int expected; // 0: nothing chosen
    };
    const Case cases[] = {
        { "down to the first item", { VK_DOWN, VK_RETURN }, 10 },
        { "past the separator to a grayed item", { VK_DOWN, VK_DOWN, VK_RETURN }, 0 },
        { "up wraps to the last item", { VK_UP, VK_UP, VK_RETURN }, 10 },
        { "right to the next title", { VK_RIGHT, VK_RETURN }, 90 },
        { "left wraps to the last title", { VK_LEFT, VK_RETURN }, 90 },
        { "into a nested menu", { VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RETURN }, 95 },
        { "out of a nested menu", { VK_RIGHT, VK_DOWN, VK_RETURN, VK_LEFT, VK_UP, VK_RETURN }, 90 },
        { "esc closes", { VK_ESCAPE, VK_DOWN, VK_RETURN }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        Click(TitlePoint(main, 0));
        for (UINT key : c.keys)
            driver::TypeKey(key);
        driver::TypeKey(VK_ESCAPE);
        driver::TypeKey(VK_ESCAPE);
        driver::RunUntilIdle();
        std::vector<Delivered> commands = Messages({ WM_COMMAND });
        if (c.expected == 0) {
            EXPECT_TRUE(commands.empty());
        } else {
            ASSERT_EQ(commands.size(), 1u);
            EXPECT_EQ(commands[0].wParam, MAKEWPARAM(c.expected, 0));
        }
        EXPECT_TRUE(DropDowns().empty());
    }
}

TEST_F(MenuTracking, APressOutsideClosesTheMenusWithoutACommand)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    Click(TitlePoint(main, 0));
    driver::Click(600, 450);
    driver::RunUntilIdle();
    EXPECT_TRUE(Messages({ WM_COMMAND }).empty());
    EXPECT_TRUE(DropDowns().empty());
    // The press that closed the menus went to no window.
    EXPECT_TRUE(Messages({ WM_LBUTTONDOWN, WM_NCLBUTTONDOWN }).size() == 1u);
}

TEST_F(MenuTracking, ATerminationRequestClosesTheMenusAndEndsTheLoop)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    Click(TitlePoint(main, 0));
    driver::RequestQuit();
    driver::RunUntilIdle();
    EXPECT_TRUE(DropDowns().empty());
    EXPECT_TRUE(Messages({ WM_COMMAND }).empty());
    EXPECT_TRUE(driver::QuitPending());
}

TEST_F(MenuTracking, TimersKeepRunningWhileAMenuIsOpen)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    SetTimer(main, 7, 50, nullptr);
    size_t dropDownsSeen = 0;
    driver::SetIdleHandler([&] {
        // Each idle moment of the menu loop: look, then let the clock jump to the next tick; after
        // three ticks close the menu.
        dropDownsSeen = std::max(dropDownsSeen, DropDowns().size());
        if (Messages({ WM_TIMER }).size() < 3)
            return false;
        driver::TypeKey(VK_ESCAPE);
        return true;
    });
    Click(TitlePoint(main, 0));
    driver::RunUntilIdle();
    EXPECT_EQ(dropDownsSeen, 1u);
    EXPECT_EQ(Messages({ WM_TIMER }).size(), 3u);
    EXPECT_TRUE(DropDowns().empty());
}

TEST_F(MenuTracking, AMessageBoxFromATimerClosesTheMenusAndGetsTheInput)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    driver::ShowDialogs(true);
    int boxAnswer = 0;
    answer = [&boxAnswer](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_TIMER)
            return std::nullopt;
        KillTimer(hwnd, wParam);
        boxAnswer = MessageBoxA(hwnd, "Tick", "Timer", MB_OKCANCEL);
        return 0;
    };
    SetTimer(main, 1, 100, nullptr);
    size_t dropDownsWithBox = 0;
    driver::SetIdleHandler([&] {
        if (!driver::FindWindowByTitle("Timer"))
            return false;
        dropDownsWithBox = DropDowns().size();
        driver::TypeKey(VK_ESCAPE);
        return true;
    });
    Click(TitlePoint(main, 0));
    driver::RunUntilIdle();
    EXPECT_EQ(boxAnswer, IDCANCEL);
    EXPECT_EQ(dropDownsWithBox, 0u);
    EXPECT_TRUE(DropDowns().empty());
    EXPECT_TRUE(Messages({ WM_COMMAND }).empty());
}

TEST_F(MenuTracking, TheOpenMenuShowsTheTitleAndTheKeyboardHighlight)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    POINT title = TitlePoint(main, 0);
    POINT item = ItemPoint(main, 0, 0);
    POINT grayed = ItemPoint(main, 0, 2);
    Frame shown;
    driver::SetIdleHandler([&] {
        if (shown.width > 0)
            return false;
        shown = driver::ReadDesktop();
        driver::SaveDesktopAsBmp(::testing::TempDir() + "menu-open.bmp");
        driver::TypeKey(VK_ESCAPE);
        return true;
    });
    Click(title);
    driver::TypeKey(VK_DOWN);
    driver::RunUntilIdle();
    ASSERT_GT(shown.width, 0);
    constexpr uint8_t kNavy = 4;
    constexpr uint8_t kSilver = 7;
    EXPECT_EQ(shown.At(title.x - 10, title.y), kNavy);
    // The highlight runs across the item, from the check column to the shortcut's right.
    EXPECT_EQ(shown.At(item.x - 20, item.y - 5), kNavy);
    EXPECT_EQ(shown.At(grayed.x - 20, grayed.y - 5), kSilver);
    // Once closed, neither shows.
    Frame after = driver::ReadDesktop();
    EXPECT_NE(after.At(title.x - 10, title.y), kNavy);
    EXPECT_NE(after.At(item.x - 20, item.y - 5), kNavy);
}

TEST_F(MenuTracking, ChoosingACommandByIdSendsWmInitMenuFirst)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    EXPECT_TRUE(driver::ChooseMenuCommand(main, 95));
    EXPECT_FALSE(driver::ChooseMenuCommand(main, 11));
    EXPECT_FALSE(driver::ChooseMenuCommand(main, 12345));
    HMENU bar = GetMenu(main);
    EXPECT_EQ(Messages({ WM_INITMENU, WM_COMMAND }),
        (std::vector<Delivered> { { main, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0 }, { main, WM_COMMAND, MAKEWPARAM(95, 0), 0 },
            { main, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0 }, { main, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0 } }));
}

} // namespace

} // namespace pw::platform::tests
