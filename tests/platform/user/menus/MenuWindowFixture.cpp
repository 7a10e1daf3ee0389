#include "MenuWindowFixture.h"

#include "platform/user/Geometry.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/MenuLayout.h"

#include <algorithm>

namespace pw::platform::tests {

namespace {

constexpr const char* kMainClass = "MainWClass";

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuWindowFixture::log.push_back(Logged { message, wParam, lParam });
    if (MenuWindowFixture::answer) {
        if (std::optional<LRESULT> result = MenuWindowFixture::answer(hwnd, message, wParam, lParam))
            return *result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

POINT Centre(const RECT& r)
{
    return POINT { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

} // namespace

void MenuWindowFixture::SetUp()
{
    log.clear();
    answer = nullptr;
    WNDCLASSA wc {};
    wc.lpfnWndProc = MainProcedure;
    wc.lpszMenuName = "MainMenu";
    // A white client area shows what covered it is gone once it was painted again.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
}

void MenuWindowFixture::TearDown()
{
    answer = nullptr;
}

HWND MenuWindowFixture::MakeMainWindow()
{
    HWND hwnd = CreateWindowExA(0, kMainClass, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300, nullptr,
        nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

void MenuWindowFixture::FillSampleBar(HWND hwnd)
{
    HMENU bar = GetMenu(hwnd);
    file = CreatePopupMenu();
    edit = CreatePopupMenu();
    more = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 10, "New\tcntl+N");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, 11, "Open\xC9");
    AppendMenuA(more, MF_STRING, 95, "Deeper");
    AppendMenuA(edit, MF_STRING, 90, "Undo");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    DrawMenuBar(hwnd);
}

POINT MenuWindowFixture::TitlePoint(HWND hwnd, int title) const
{
    const Window* window = WindowTable::Find(hwnd);
    FrameLayout frame = LayoutOf(*window);
    RECT screen = ScreenRect(*window);
    BarLayout bar = MenuLayout::LayOutBar(GetMenu(hwnd), frame.menuBar.right - frame.menuBar.left);
    RECT r = OffsetRectBy(bar.items.at(static_cast<size_t>(title)), screen.left + frame.menuBar.left,
        screen.top + frame.menuBar.top);
    return Centre(r);
}

POINT MenuWindowFixture::ItemPoint(HWND hwnd, int title, int item) const
{
    const Window* window = WindowTable::Find(hwnd);
    FrameLayout frame = LayoutOf(*window);
    RECT screen = ScreenRect(*window);
    BarLayout bar = MenuLayout::LayOutBar(GetMenu(hwnd), frame.menuBar.right - frame.menuBar.left);
    RECT titleRect = bar.items.at(static_cast<size_t>(title));
    HMENU menu = title == 0 ? file : edit;
    DropDownLayout dropDown = MenuLayout::LayOutDropDown(menu);
    RECT r = OffsetRectBy(dropDown.items.at(static_cast<size_t>(item)), screen.left + frame.menuBar.left + titleRect.left,
        screen.top + frame.menuBar.top + titleRect.bottom);
    return Centre(r);
}

std::vector<HWND> MenuWindowFixture::DropDowns()
{
    std::vector<HWND> found;
    for (HWND hwnd : WindowTable::Handles()) {
        const Window* window = WindowTable::Find(hwnd);
        if (window && window->Class().Name() == "PwMenuDropDown" && IsWindowVisible(hwnd))
            found.push_back(hwnd);
    }
    return found;
}

std::vector<Logged> MenuWindowFixture::Messages(std::initializer_list<UINT> only) const
{
    std::vector<Logged> result;
    std::copy_if(log.begin(), log.end(), std::back_inserter(result),
        [&](const Logged& l) { return std::find(only.begin(), only.end(), l.message) != only.end(); });
    return result;
}

} // namespace pw::platform::tests
