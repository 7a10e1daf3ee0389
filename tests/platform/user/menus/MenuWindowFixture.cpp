#include "MenuWindowFixture.h"

#include "platform/user/Geometry.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/MenuLayout.h"

namespace pw::platform::tests {

namespace {

constexpr const char* kMainClass = "MainWClass";

POINT Centre(const RECT& r)
{
    return POINT { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

// Title `title` of the window's bar, on the screen.
RECT TitleRect(HWND hwnd, int title)
{
    const Window* window = WindowTable::Find(hwnd);
    FrameLayout frame = LayoutOf(*window);
    RECT screen = ScreenRect(*window);
    BarLayout bar = MenuLayout::LayOutBar(GetMenu(hwnd), frame.menuBar.right - frame.menuBar.left);
    return OffsetRectBy(bar.items.at(static_cast<size_t>(title)), screen.left + frame.menuBar.left,
        screen.top + frame.menuBar.top);
}

} // namespace

SampleMenus::SampleMenus(HMENU bar)
    : bar(bar)
{
    AppendMenuA(file, MF_STRING, 10, "New\tcntl+N");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, 11, "Open\xC9");
    AppendMenuA(more, MF_STRING, 95, "Deeper");
    AppendMenuA(edit, MF_STRING, 90, "Undo");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
}

void MenuWindowFixture::SetUp()
{
    WindowFixture::SetUp();
    // A white client area shows what covered it is gone once it was painted again.
    RegisterLoggingClass(kMainClass, 0, "MainMenu", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
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
    sample.emplace(GetMenu(hwnd));
    DrawMenuBar(hwnd);
}

POINT MenuWindowFixture::TitlePoint(HWND hwnd, int title) const
{
    return Centre(TitleRect(hwnd, title));
}

POINT MenuWindowFixture::ItemPoint(HWND hwnd, int title, int item) const
{
    RECT titleRect = TitleRect(hwnd, title);
    DropDownLayout dropDown = MenuLayout::LayOutDropDown(title == 0 ? sample->file : sample->edit);
    return Centre(OffsetRectBy(dropDown.items.at(static_cast<size_t>(item)), titleRect.left, titleRect.bottom));
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

} // namespace pw::platform::tests
