// The window menu: GetSystemMenu's copy, the box at the caption's left end that drops it, and Alt
// with the space bar; a chosen command comes back as WM_SYSCOMMAND.
#include "MenuWindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/Geometry.h"
#include "platform/user/Window.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuLayout.h"

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr UINT kAddedItem = 0x0010;

class SystemMenu : public MenuWindowFixture {
protected:
    // The main window with "Added" after a separator in its window menu.
    HWND MainWithAddedItem()
    {
        HWND main = MakeMainWindow();
        HMENU menu = GetSystemMenu(main, FALSE);
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kAddedItem, "&Added");
        driver::RunUntilIdle();
        log.clear();
        return main;
    }
    // The window menu's box on the screen.
    static RECT Box(HWND hwnd)
    {
        const Window* window = WindowTable::Find(hwnd);
        RECT screen = ScreenRect(*window);
        return OffsetRectBy(LayoutOf(*window).systemBox, screen.left, screen.top);
    }
    // The middle of item `item` of the window menu when it drops from the box.
    static POINT ItemBelowBox(HWND hwnd, int item)
    {
        RECT box = Box(hwnd);
        RECT r = MenuLayout::LayOutDropDown(GetSystemMenu(hwnd, FALSE)).items.at(static_cast<size_t>(item));
        return POINT { box.left + (r.left + r.right) / 2, box.bottom + (r.top + r.bottom) / 2 };
    }
    // Runs until idle; the first time the loop waits with a menu shown, notes where the drop-downs
    // are and queues `then`.
    std::vector<RECT> ShownWhileWaiting(const std::function<void()>& then)
    {
        std::vector<RECT> shown;
        bool acted = false;
        driver::SetIdleHandler([&] {
            if (acted || DropDowns().empty())
                return false;
            acted = true;
            for (HWND dropDown : DropDowns())
                shown.push_back(WindowRectOf(dropDown));
            then();
            return true;
        });
        driver::RunUntilIdle();
        driver::SetIdleHandler(nullptr);
        return shown;
    }
    // The WM_SYSCOMMAND numbers delivered, in order.
    std::vector<WPARAM> SysCommands() const
    {
        std::vector<WPARAM> numbers;
        for (const Delivered& d : Messages({ WM_SYSCOMMAND }))
            numbers.push_back(d.wParam);
        return numbers;
    }
};

} // namespace

// The window menu is one copy per window, made with "&Close" (SC_CLOSE) on the first call; revert
// throws the copy away. Windows without WS_SYSMENU have none; a bad window fails with 1400.
TEST_F(SystemMenu, GetSystemMenuHandsOutOneCopyPerWindow)
{
    HWND main = MakeMainWindow();
    HMENU menu = GetSystemMenu(main, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(main, FALSE), menu);
    const Menu* made = MenuTable::Find(menu);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->items.size(), 1u);
    EXPECT_EQ(made->items[0].command, UINT(SC_CLOSE));
    EXPECT_EQ(made->items[0].title, "&Close");
    EXPECT_EQ(GetSystemMenu(main, TRUE), nullptr);
    EXPECT_EQ(MenuTable::Find(menu), nullptr) << "the copy is gone";
    HMENU fresh = GetSystemMenu(main, FALSE);
    EXPECT_NE(fresh, nullptr);
    DestroyWindow(main);
    EXPECT_EQ(MenuTable::Find(fresh), nullptr) << "destroyed with its window";

    HWND plain = Popup(RECT { 10, 10, 60, 40 });
    EXPECT_EQ(GetSystemMenu(plain, FALSE), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetSystemMenu(reinterpret_cast<HWND>(0x1234), FALSE), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

// Only an overlapped top-level window with WS_SYSMENU shows the box: at the caption's left end,
// as large as the close box, hit-tested as HTSYSMENU, with the title beginning after it.
TEST_F(SystemMenu, TheBoxSitsAtTheCaptionsLeftOfOverlappedWindows)
{
    HWND main = MakeMainWindow();
    POINT box = driver::SystemBoxPoint(main);
    ASSERT_GE(box.x, 0);
    const Window* window = WindowTable::Find(main);
    FrameLayout layout = LayoutOf(*window);
    EXPECT_EQ(layout.systemBox.left, layout.caption.left + 2);
    EXPECT_EQ(layout.systemBox.bottom - layout.systemBox.top, layout.closeBox.bottom - layout.closeBox.top);
    EXPECT_EQ(layout.systemBox.right - layout.systemBox.left, layout.closeBox.right - layout.closeBox.left);
    EXPECT_EQ(SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)), HTSYSMENU);
    EXPECT_GT(driver::CaptionPoint(main).x, ScreenRect(*window).left + layout.systemBox.right)
        << "the caption to drag begins after the box";
    driver::RunUntilIdle();
    Frame shown = driver::ReadDesktop();
    EXPECT_EQ(shown.At(box.x, box.y), 255) << "the box's white bar";
    EXPECT_EQ(shown.At(box.x, box.y + 1), 0) << "its shadow";
    EXPECT_EQ(shown.At(box.x, box.y - 3), 7) << "the grey box around it";

    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
    };
    const Case without[] = {
        { "no WS_SYSMENU", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0 },
        { "a pop-up", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0 },
        { "a tool window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW },
    };
    for (const Case& c : without) {
        SCOPED_TRACE(c.name);
        HWND other = CreateWindowExA(c.exStyle, kClassName, "Other", c.style, 30, 30, 200, 100, nullptr, nullptr,
            nullptr, nullptr);
        EXPECT_LT(driver::SystemBoxPoint(other).x, 0);
        DestroyWindow(other);
    }
    HWND child = CreateWindowExA(0, kClassName, "Child", WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 5, 5, 150,
        80, main, nullptr, nullptr, nullptr);
    EXPECT_LT(driver::SystemBoxPoint(child).x, 0) << "a child";
}

// A press on the box drops the window menu below it after WM_INITMENU; a click on an item closes
// it and sends WM_SYSCOMMAND with the item's command; a click elsewhere closes it without one.
TEST_F(SystemMenu, ThePressedBoxDropsTheMenuAndAClickChooses)
{
    HWND main = MainWithAddedItem();
    HMENU menu = GetSystemMenu(main, FALSE);
    RECT box = Box(main);
    POINT added = ItemBelowBox(main, 2);
    driver::Click((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    std::vector<RECT> shown = ShownWhileWaiting([&] { driver::Click(added.x, added.y); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].left, box.left);
    EXPECT_EQ(shown[0].top, box.bottom);
    std::vector<Delivered> init = Messages({ WM_INITMENU });
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].wParam, reinterpret_cast<WPARAM>(menu));
    EXPECT_TRUE(DropDowns().empty());
    EXPECT_EQ(SysCommands(), (std::vector<WPARAM> { SC_MOUSEMENU, kAddedItem }));
    EXPECT_TRUE(Messages({ WM_COMMAND }).empty()) << "a window menu's command is no WM_COMMAND";

    log.clear();
    driver::Click((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    EXPECT_EQ(ShownWhileWaiting([&] { driver::Click(box.left + 150, box.top + 150); }).size(), 1u);
    EXPECT_TRUE(DropDowns().empty());
    EXPECT_EQ(SysCommands(), (std::vector<WPARAM> { SC_MOUSEMENU }));
}

// Alt with the space bar opens the window menu on its first item, from the window or from a
// focused child; arrows, Return and Esc act as in any menu.
TEST_F(SystemMenu, AltSpaceOpensItFromTheKeyboard)
{
    HWND main = MainWithAddedItem();
    HWND child = Popup(RECT { 10, 10, 60, 40 }, main);
    struct Case {
        const char* name;
        HWND focus;
        std::vector<UINT> keys;
        std::vector<WPARAM> commands;
    };
    const Case cases[] = {
        { "Enter chooses the first item", main, { VK_RETURN }, { SC_KEYMENU, SC_CLOSE } },
        { "Down Enter the next one after the separator", main, { VK_DOWN, VK_RETURN }, { SC_KEYMENU, kAddedItem } },
        { "from a focused child", child, { VK_DOWN, VK_RETURN }, { SC_KEYMENU, kAddedItem } },
        { "Esc chooses nothing", main, { VK_ESCAPE }, { SC_KEYMENU } },
    };
    // SC_CLOSE reaching DefWindowProcA would close the window: the test only records it.
    answer = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
            return 0;
        return std::nullopt;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFocus(c.focus);
        driver::RunUntilIdle();
        log.clear();
        driver::PressKey(VK_MENU);
        driver::TypeKey(VK_SPACE);
        driver::ReleaseKey(VK_MENU);
        std::vector<RECT> shown = ShownWhileWaiting([&] {
            for (UINT key : c.keys)
                driver::TypeKey(key);
        });
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_TRUE(DropDowns().empty());
        std::vector<WPARAM> commands;
        for (const Delivered& d : Messages({ WM_SYSCOMMAND })) {
            if (d.hwnd == main)
                commands.push_back(d.wParam);
        }
        EXPECT_EQ(commands, c.commands);
    }
    answer = nullptr;
}

} // namespace pw::platform::tests
