#include "platform/user/menus/MenuSession.h"

#include "platform/backend/Backend.h"
#include "platform/user/Geometry.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/WindowLayers.h"
#include "platform/user/menus/MenuPainter.h"

#include <algorithm>

namespace pw::platform {

namespace {

constexpr const char* kDropDownClass = "PwMenuDropDown";

MenuSession* current = nullptr;

LRESULT CALLBACK DropDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    for (size_t i = 0; current && i < current->levels.size(); ++i) {
        const MenuSession::Level& level = current->levels[i];
        if (level.window == hwnd)
            MenuPainter::PaintDropDown(hdc, level.menu, level.layout, level.highlighted);
    }
    EndPaint(hwnd, &paint);
    return 0;
}

void EnsureDropDownClass()
{
    if (WindowClass::Find(kDropDownClass))
        return;
    WNDCLASSA wc {};
    wc.lpfnWndProc = DropDownProc;
    wc.hInstance = ProgramInstance();
    wc.lpszClassName = kDropDownClass;
    RegisterClassA(&wc);
}

void Redraw(const MenuSession::Level& level)
{
    InvalidateRect(level.window, nullptr, FALSE);
    UpdateWindow(level.window);
}

bool OpensMenu(const MenuItem* item)
{
    return item && item->kind == MenuItem::Kind::Popup && item->IsEnabled();
}

} // namespace

RECT MenuSession::Level::ScreenRect() const
{
    return RECT { origin.x, origin.y, origin.x + layout.size.cx, origin.y + layout.size.cy };
}

MenuSession::MenuSession(HWND owner, HMENU bar)
    : owner(owner)
    , bar(bar)
    , serial(MenuTable::Serial())
{
    if (const Window* window = WindowTable::Find(owner)) {
        FrameLayout frame = LayoutOf(*window);
        RECT onScreen = ScreenRect(*window);
        barOrigin = POINT { onScreen.left + frame.menuBar.left, onScreen.top + frame.menuBar.top };
        barLayout = MenuLayout::LayOutBar(bar, frame.menuBar.right - frame.menuBar.left);
    }
    current = this;
}

MenuSession::~MenuSession()
{
    CloseLevels(0);
    barItem = -1;
    current = nullptr;
    RepaintBar();
}

MenuSession* MenuSession::Current()
{
    return current;
}

const MenuItem* MenuSession::ItemOf(HMENU handle, int index)
{
    const Menu* menu = MenuTable::Find(handle);
    if (!menu || index < 0 || static_cast<size_t>(index) >= menu->items.size())
        return nullptr;
    return &menu->items[static_cast<size_t>(index)];
}

RECT MenuSession::TitleOnScreen(int index) const
{
    return OffsetRectBy(barLayout.items[static_cast<size_t>(index)], barOrigin.x, barOrigin.y);
}

void MenuSession::RepaintBar() const
{
    if (WindowTable::Find(owner))
        NonClientPainter::Paint(owner);
}

void MenuSession::RedrawIfChanged()
{
    if (serial == MenuTable::Serial())
        return;
    serial = MenuTable::Serial();
    for (const Level& level : levels)
        Redraw(level);
}

void MenuSession::CloseLevels(size_t keep)
{
    while (levels.size() > keep) {
        HWND window = levels.back().window;
        levels.pop_back();
        // Gone already when its owner was destroyed meanwhile.
        if (IsWindow(window))
            DestroyWindow(window);
    }
}

// Shows `menu` at `at` (screen), kept on the screen: when it would run off the right or bottom
// edge it goes to the other side of `anchor` (the title or item that opened it).
void MenuSession::OpenLevel(HMENU menu, POINT at, const RECT& anchor, bool below, bool highlightFirst)
{
    Level level;
    level.menu = menu;
    level.layout = MenuLayout::LayOutDropDown(menu);
    SIZE size = level.layout.size;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (at.x + size.cx > screenWidth)
        at.x = below ? screenWidth - size.cx : anchor.left - size.cx + MenuLayout::kFrame;
    if (at.y + size.cy > screenHeight)
        at.y = below ? anchor.top - size.cy : screenHeight - size.cy;
    level.origin = POINT { std::max<LONG>(at.x, 0), std::max<LONG>(at.y, 0) };
    if (highlightFirst) {
        const Menu* model = MenuTable::Find(menu);
        for (size_t i = 0; model && i < model->items.size() && level.highlighted < 0; ++i) {
            if (model->items[i].IsSelectable())
                level.highlighted = static_cast<int>(i);
        }
    }
    EnsureDropDownClass();
    level.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kDropDownClass, "", WS_POPUP, level.origin.x,
        level.origin.y, size.cx, size.cy, owner, nullptr, ProgramInstance(), nullptr);
    if (!level.window)
        return;
    SetWindowLayer(level.window, WindowLayer::Popup);
    levels.push_back(level);
    ShowWindow(level.window, SW_SHOWNOACTIVATE);
    UpdateWindow(level.window);
}

void MenuSession::SelectTitle(int index)
{
    CloseLevels(0);
    barItem = index;
    RepaintBar();
}

void MenuSession::OpenTitle(int index, bool highlightFirst)
{
    SelectTitle(index);
    const MenuItem* item = ItemOf(bar, index);
    if (!OpensMenu(item))
        return;
    RECT title = TitleOnScreen(index);
    OpenLevel(item->submenu, POINT { title.left, title.bottom }, title, true, highlightFirst);
}

void MenuSession::OpenMenu(HMENU menu, const RECT& anchor, bool highlightFirst)
{
    CloseLevels(0);
    OpenLevel(menu, POINT { anchor.left, anchor.bottom }, anchor, true, highlightFirst);
}

void MenuSession::OpenSubmenu(size_t levelIndex, bool highlightFirst)
{
    const Level& level = levels[levelIndex];
    const MenuItem* item = ItemOf(level.menu, level.highlighted);
    bool opens = OpensMenu(item);
    if (opens && levels.size() > levelIndex + 1 && levels[levelIndex + 1].menu == item->submenu)
        return;
    CloseLevels(levelIndex + 1);
    if (!opens)
        return;
    const RECT& r = level.layout.items[static_cast<size_t>(level.highlighted)];
    RECT anchor = OffsetRectBy(r, level.origin.x, level.origin.y);
    RECT parent = level.ScreenRect();
    POINT at { parent.right - MenuLayout::kFrame, anchor.top - MenuLayout::kFrame };
    OpenLevel(item->submenu, at, RECT { parent.left, anchor.top, parent.right, anchor.bottom }, false, highlightFirst);
}

void MenuSession::Highlight(size_t levelIndex, int item)
{
    Level& level = levels[levelIndex];
    if (level.highlighted == item)
        return;
    level.highlighted = item;
    Redraw(level);
}

MenuSession::Hit MenuSession::HitTest(POINT screen) const
{
    for (size_t i = levels.size(); i-- > 0;) {
        const Level& level = levels[i];
        if (!PointInRect(level.ScreenRect(), screen))
            continue;
        POINT local { screen.x - level.origin.x, screen.y - level.origin.y };
        return Hit { Hit::Where::Level, i, MenuLayout::ItemAt(level.layout.items, local) };
    }
    POINT inBar { screen.x - barOrigin.x, screen.y - barOrigin.y };
    int title = MenuLayout::ItemAt(barLayout.items, inBar);
    if (title >= 0)
        return Hit { Hit::Where::Bar, 0, title };
    return Hit {};
}

size_t MenuSession::TitleCount() const
{
    return barLayout.items.size();
}

} // namespace pw::platform
