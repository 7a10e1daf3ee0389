// SetWindowPos and its relatives: moving, sizing, stacking, showing and hiding windows.
#include "platform/user/WindowPos.h"

#include "platform/gdi/Screen.h"
#include "platform/kernel/LastError.h"
#include "platform/user/Activation.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

#include <algorithm>

using pw::platform::Fail;
using pw::platform::Window;
using pw::platform::WindowPos;
using pw::platform::WindowTable;

namespace pw::platform {

namespace {

bool IsSpecialInsertAfter(HWND after)
{
    return after == HWND_TOP || after == HWND_BOTTOM || after == HWND_TOPMOST || after == HWND_NOTOPMOST;
}

bool Restack(Window& window, HWND after)
{
    if (after == HWND_TOP)
        return ZOrder::Raise(window);
    if (after == HWND_BOTTOM)
        return ZOrder::Lower(window);
    if (after == HWND_TOPMOST) {
        window.exStyle |= WS_EX_TOPMOST;
        return window.layer == WindowLayer::Normal ? ZOrder::SetLayer(window, WindowLayer::Floating) : ZOrder::Raise(window);
    }
    if (after == HWND_NOTOPMOST) {
        window.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        return window.layer == WindowLayer::Floating ? ZOrder::SetLayer(window, WindowLayer::Normal) : false;
    }
    return ZOrder::PlaceBelow(window, after);
}

RECT MaximizedRect(const Window& window)
{
    if (const Window* parent = WindowTable::Find(window.ParentWindow())) {
        SIZE size = parent->ClientSize();
        return RECT { 0, 0, size.cx, size.cy };
    }
    const gdi::ScreenSettings& screen = gdi::Screen::Settings();
    return RECT { 0, 0, screen.width, screen.height };
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

RECT WindowPos::Clamp(HWND hwnd, RECT rect)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window || window->IsChild() || window->maximized)
        return rect;
    int captionBottom = LayoutOf(*window).caption.bottom;
    if (captionBottom == 0)
        return rect;
    const gdi::ScreenSettings& screen = gdi::Screen::Settings();
    return KeepInside(rect, captionBottom, RECT { 0, 0, screen.width, screen.height });
}

RECT WindowPos::KeepInside(RECT rect, int keptHeight, const RECT& area)
{
    int width = rect.right - rect.left;
    int lowestLeft = std::min<int>(area.left, area.right - width);
    int left = std::clamp<int>(rect.left, lowestLeft, std::max<int>(area.left, area.right - width));
    int top = std::clamp<int>(rect.top, area.top, std::max<int>(area.top, area.bottom - keptHeight));
    return OffsetRectBy(rect, left - rect.left, top - rect.top);
}

bool WindowPos::Change(HWND hwnd, HWND after, RECT rect, UINT flags, bool keepMaximized)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return false;
    RECT target = window->rect;
    if (!(flags & SWP_NOSIZE)) {
        target.right = target.left + std::max<LONG>(0, rect.right - rect.left);
        target.bottom = target.top + std::max<LONG>(0, rect.bottom - rect.top);
    }
    if (!(flags & SWP_NOMOVE))
        target = OffsetRectBy(target, rect.left - target.left, rect.top - target.top);
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE))
        target = Clamp(hwnd, target);
    bool wasVisible = (window->style & WS_VISIBLE) != 0;
    bool isChild = window->IsChild();
    HWND parent = window->ParentWindow();
    bool resized = target.right - target.left != window->rect.right - window->rect.left
        || target.bottom - target.top != window->rect.bottom - window->rect.top;
    {
        DesktopChange change;
        window->rect = target;
        if (resized || (flags & SWP_FRAMECHANGED))
            UpdateClientRect(*window);
        if (flags & SWP_SHOWWINDOW)
            window->style |= WS_VISIBLE;
        if (flags & SWP_HIDEWINDOW)
            window->style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (!(flags & SWP_NOZORDER))
            Restack(*window, after);
        if (resized && !keepMaximized && window->maximized) {
            window->maximized = false;
            window->style &= ~static_cast<DWORD>(WS_MAXIMIZE);
        }
    }
    if (flags & SWP_FRAMECHANGED)
        NonClientPainter::Paint(hwnd);
    // A child's caption shows whether it is the top one: stacking changes, and a child shown or
    // hidden, repaint its siblings'.
    if (isChild && (!(flags & SWP_NOZORDER) || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))) {
        for (HWND sibling : ZOrder::Siblings(parent))
            NonClientPainter::Paint(sibling);
    }
    if (wasVisible && (flags & SWP_HIDEWINDOW))
        Activation::WindowGoing(hwnd);
    // Only top-level windows are activated; a child's changes leave activation alone.
    if (!(flags & SWP_NOACTIVATE) && !(flags & SWP_HIDEWINDOW) && !isChild)
        Activation::Activate(hwnd, WA_ACTIVE);
    window = WindowTable::Find(hwnd);
    if (!window)
        return true;
    RECT now = window->rect;
    WINDOWPOS pos { hwnd, after, now.left, now.top, now.right - now.left, now.bottom - now.top, flags };
    SendToWindow(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return true;
}

} // namespace pw::platform

// Moves, sizes, restacks, shows or hides a window in one step; sends WM_WINDOWPOSCHANGED before
// returning and activates a top-level window unless SWP_NOACTIVATE. FALSE with 1400 for a bad
// window (or a bad window to insert after).
BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int width, int height, UINT flags)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (!(flags & SWP_NOZORDER) && !pw::platform::IsSpecialInsertAfter(after) && !WindowTable::Find(after))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    return WindowPos::Change(hwnd, after, RECT { x, y, x + width, y + height }, flags) ? TRUE : FALSE;
}

// SetWindowPos without restacking or activating.
BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW));
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

// Shows, hides or maximises a window; returns whether it was visible before. SW_SHOWMAXIMIZED fills
// the screen (a child: its parent's client area) and SW_SHOWNORMAL / SW_RESTORE give back the
// rectangle it had before. No window is ever minimised: those commands show without activating.
BOOL WINAPI ShowWindow(HWND hwnd, int command)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    BOOL wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    RECT rect = window->rect;
    UINT flags = SWP_SHOWWINDOW | SWP_NOZORDER;
    switch (command) {
    case SW_HIDE:
        if (wasVisible)
            WindowPos::Change(hwnd, nullptr, rect, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return wasVisible;
    case SW_SHOWMAXIMIZED:
        if (!window->maximized) {
            window->restoreRect = window->rect;
            window->maximized = true;
            window->style |= WS_MAXIMIZE;
            rect = pw::platform::MaximizedRect(*window);
        }
        flags = SWP_SHOWWINDOW;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        if (window->maximized) {
            rect = window->restoreRect;
            window->maximized = false;
            window->style &= ~static_cast<DWORD>(WS_MAXIMIZE);
        }
        flags = SWP_SHOWWINDOW;
        break;
    case SW_SHOW:
        flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    bool sameRect = pw::platform::SameRect(rect, window->rect);
    // Showing a window that already shows where it is only activates it.
    if (wasVisible && sameRect) {
        if (!(flags & SWP_NOACTIVATE) && !window->IsChild())
            pw::platform::Activation::Activate(hwnd, WA_ACTIVE);
        return wasVisible;
    }
    WindowPos::Change(hwnd, HWND_TOP, rect, flags, true);
    return wasVisible;
}

// Raises a window to the top of its layer among its siblings; a top-level window is activated.
BOOL WINAPI BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Raises and activates the window's top-level window.
BOOL WINAPI SetForegroundWindow(HWND hwnd)
{
    HWND top = pw::platform::Activation::TopLevelOf(hwnd);
    if (!top)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    return SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The active top-level window; NULL while the application is not active.
HWND WINAPI GetForegroundWindow(void)
{
    return pw::platform::Activation::Active();
}

HWND WINAPI GetActiveWindow(void)
{
    return pw::platform::Activation::Active();
}

// Activates the window's top-level window; returns the previously active one.
HWND WINAPI SetActiveWindow(HWND hwnd)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
    HWND previous = pw::platform::Activation::Active();
    pw::platform::Activation::Activate(hwnd, WA_ACTIVE);
    return previous;
}
