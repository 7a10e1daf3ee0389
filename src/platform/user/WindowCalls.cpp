// Creating and destroying windows, and the default window procedure.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

#include <algorithm>
#include <cstring>

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
    pw::platform::Timers::KillAllOf(hwnd);
    pw::platform::MessageQueue::DiscardFor(hwnd);
    WindowTable::Remove(hwnd);
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
    window.text = windowName ? windowName : "";
    window.rect = InitialRect(window, x, y, width, height);
    window.clientSize = SIZE { window.rect.right - window.rect.left, window.rect.bottom - window.rect.top };
    // A window made visible has everything to paint.
    window.needsPaint = (style & WS_VISIBLE) != 0;

    HWND hwnd = window.Handle();
    CREATESTRUCTA create { param, instance, menu, parent, static_cast<int>(window.clientSize.cy),
        static_cast<int>(window.clientSize.cx), static_cast<int>(window.rect.top),
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
    window->destroying = true;
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

// The defaults every procedure passes on: closing destroys, painting validates, text is stored.
LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, LRESULT(0));
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT:
        window->needsPaint = false;
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendToWindow(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPSTR>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        size_t count = std::min<size_t>(window->text.size(), wParam - 1);
        std::memcpy(buffer, window->text.data(), count);
        buffer[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    default:
        return 0;
    }
}

// Calls a procedure kept from SetWindowLongPtrA (subclassing); NULL answers 0.
LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!procedure)
        return 0;
    return procedure(hwnd, message, wParam, lParam);
}
