// Creating and destroying windows.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/Activation.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/MenuBarHook.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/ZOrder.h"

#include <algorithm>
#include <cstring>
#include <utility>

using pw::platform::Fail;
using pw::platform::SendToWindow;
using pw::platform::Window;
using pw::platform::WindowTable;

namespace {

constexpr DWORD kErrorTopLevelWithChildStyle = 1406;
// The size CW_USEDEFAULT gives a top-level window: the emulated screen's.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

// Removes what is left of a window whose creation or destruction has run its messages.
void Discard(HWND hwnd)
{
    if (Window* window = WindowTable::Find(hwnd); window && window->systemMenu)
        DestroyMenu(std::exchange(window->systemMenu, nullptr));
    pw::platform::Timers::KillAllOf(hwnd);
    pw::platform::MessageQueue::DiscardFor(hwnd);
    pw::platform::InputRouter::Forget(hwnd);
    pw::platform::Focus::Forget(hwnd);
    pw::platform::Activation::Forget(hwnd);
    pw::platform::ZOrder::Remove(hwnd);
    WindowTable::Remove(hwnd);
}

// A top-level window made without a menu gets its class's menu ("MainMenu") from the menus code.
HMENU ClassMenu(const Window& window)
{
    pw::platform::MenuBarHook* hook = pw::platform::CurrentMenuBarHook();
    if (!hook || window.IsChild() || window.Class().MenuName().empty())
        return nullptr;
    return hook->LoadClassMenu(window.instance, window.Class().MenuName());
}

RECT InitialRect(const Window& window, int x, int y, int width, int height)
{
    bool child = window.IsChild();
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : kDefaultWidth;
        height = child ? 0 : kDefaultHeight;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    return RECT { x, y, x + width, y + height };
}

} // namespace

// Makes a window of a registered class and sends WM_NCCREATE, then WM_CREATE, before returning.
// NULL with 1407 for an unknown class, 1400 for a bad parent; NULL when a creation message refuses.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    pw::platform::WindowClass* windowClass = pw::platform::WindowClass::Find(className);
    if (!windowClass)
        return Fail(ERROR_CANNOT_FIND_WND_CLASS, HWND(nullptr));
    if (parent && !WindowTable::Find(parent))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
    if ((style & WS_CHILD) && !parent)
        return Fail(kErrorTopLevelWithChildStyle, HWND(nullptr));

    Window& window = WindowTable::Add(*windowClass, parent);
    window.style = style;
    window.exStyle = exStyle;
    window.instance = instance;
    window.idOrMenu = reinterpret_cast<LONG_PTR>(menu);
    if (!menu)
        window.idOrMenu = reinterpret_cast<LONG_PTR>(ClassMenu(window));
    window.text = windowName ? windowName : "";
    window.rect = InitialRect(window, x, y, width, height);
    window.layer = (exStyle & WS_EX_TOPMOST) ? pw::platform::WindowLayer::Floating : pw::platform::WindowLayer::Normal;
    pw::platform::UpdateClientRect(window);
    // The window is stacked at once but shows only after its creation messages (below).
    window.style &= ~static_cast<DWORD>(WS_VISIBLE);
    pw::platform::ZOrder::Insert(window);

    HWND hwnd = window.Handle();
    int windowWidth = window.rect.right - window.rect.left;
    int windowHeight = window.rect.bottom - window.rect.top;
    CREATESTRUCTA create { param, instance, menu, parent, windowHeight, windowWidth, static_cast<int>(window.rect.top),
        static_cast<int>(window.rect.left), static_cast<LONG>(style), windowName, className, exStyle };
    auto createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendToWindow(hwnd, WM_NCCREATE, 0, createParam)) {
        if (WindowTable::Find(hwnd)) {
            SendToWindow(hwnd, WM_NCDESTROY, 0, 0);
            Discard(hwnd);
        }
        return nullptr;
    }
    if (!WindowTable::Find(hwnd))
        return nullptr;
    if (SendToWindow(hwnd, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!WindowTable::Find(hwnd))
        return nullptr;
    // Made visible: shown as ShowWindow(SW_SHOW) would, so it is painted, activated and told its
    // size.
    if (style & WS_VISIBLE) {
        UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
        if ((style & WS_CHILD) || (exStyle & WS_EX_NOACTIVATE))
            flags |= SWP_NOACTIVATE;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    }
    return WindowTable::Find(hwnd) ? hwnd : nullptr;
}

// Sends WM_DESTROY, destroys the children (and owned windows), sends WM_NCDESTROY; the window's
// posted messages and timers go with it. FALSE with 1400 for a bad window.
BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    // Asked again from inside its own destruction: the first call finishes the job.
    if (window->destroying)
        return TRUE;
    // It disappears first: another window is activated and what it covered is uncovered.
    pw::platform::Activation::WindowGoing(hwnd);
    window = WindowTable::Find(hwnd);
    if (!window || window->destroying)
        return TRUE;
    {
        pw::platform::DesktopChange change;
        window->destroying = true;
    }
    pw::platform::Focus::Forget(hwnd);
    SendToWindow(hwnd, WM_DESTROY, 0, 0);
    for (HWND other : WindowTable::Handles()) {
        Window* candidate = WindowTable::Find(other);
        if (candidate && candidate->Parent() == hwnd)
            DestroyWindow(other);
    }
    SendToWindow(hwnd, WM_NCDESTROY, 0, 0);
    Discard(hwnd);
    return TRUE;
}

// Calls a procedure kept from SetWindowLongPtrA (subclassing); NULL answers 0.
LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!procedure)
        return 0;
    return procedure(hwnd, message, wParam, lParam);
}
