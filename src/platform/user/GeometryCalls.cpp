// Reading where windows are, converting points, system metrics and colours, enabling windows.
#include <windows.h>

#include "platform/gdi/Screen.h"
#include "platform/kernel/LastError.h"
#include "platform/user/Activation.h"
#include "platform/user/Geometry.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"

using pw::platform::Fail;
using pw::platform::Window;
using pw::platform::WindowTable;

namespace {

constexpr int kScrollBarSize = 16;
constexpr int kCursorSize = 32;
constexpr int kMenuBarHeight = 19;

// The classic grey scheme on the static colours, so every system colour is an exact screen entry.
constexpr COLORREF kSystemColours[] = {
    RGB(192, 192, 192), // COLOR_SCROLLBAR
    RGB(0, 128, 128),   // COLOR_DESKTOP
    RGB(0, 0, 128),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(192, 192, 192), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(192, 192, 192), // COLOR_ACTIVEBORDER
    RGB(192, 192, 192), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(0, 0, 128),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(192, 192, 192), // COLOR_3DLIGHT
};

// The window a call writes an answer about to `out` for; NULL with 1400 for a bad window, with 87
// for nowhere to write.
Window* AnswerTarget(HWND hwnd, const void* out)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, nullptr);
    if (!out)
        return Fail(ERROR_INVALID_PARAMETER, nullptr);
    return window;
}

// Moves a point by the client origin in screen coordinates, times `sign`.
BOOL ShiftByClientOrigin(HWND hwnd, LPPOINT point, int sign)
{
    Window* window = AnswerTarget(hwnd, point);
    if (!window)
        return FALSE;
    POINT origin = pw::platform::ClientOrigin(*window);
    point->x += sign * origin.x;
    point->y += sign * origin.y;
    return TRUE;
}

} // namespace

// The window rectangle in screen coordinates; FALSE with 1400 for a bad window.
BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* window = AnswerTarget(hwnd, rect);
    if (!window)
        return FALSE;
    *rect = pw::platform::ScreenRect(*window);
    return TRUE;
}

// The client area as (0, 0, width, height); FALSE with 1400 for a bad window.
BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* window = AnswerTarget(hwnd, rect);
    if (!window)
        return FALSE;
    SIZE size = window->ClientSize();
    *rect = RECT { 0, 0, size.cx, size.cy };
    return TRUE;
}

// Client coordinates to screen coordinates.
BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, 1);
}

// Screen coordinates to client coordinates.
BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, -1);
}

// The deepest shown window under a screen point; NULL over the bare desktop.
HWND WINAPI WindowFromPoint(POINT point)
{
    return pw::platform::Visibility::WindowAt(point);
}

// Whether the window and its ancestors have WS_VISIBLE.
BOOL WINAPI IsWindowVisible(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    return window && pw::platform::IsShown(*window) ? TRUE : FALSE;
}

// Enables or disables mouse and keyboard input to a window; returns whether it was disabled. A
// window losing its input loses the focus too. WM_ENABLE tells it.
BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (enable)
        window->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        window->style |= WS_DISABLED;
    HWND focus = pw::platform::Focus::Get();
    if (!enable && focus && pw::platform::Activation::IsWithin(focus, hwnd) && WindowTable::Find(hwnd)->IsChild())
        pw::platform::Focus::Set(nullptr);
    SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    return (window->style & WS_DISABLED) ? FALSE : TRUE;
}

// The emulated screen's size and the frame's fixed measures; 0 for an index we do not answer.
int WINAPI GetSystemMetrics(int index)
{
    const pw::platform::gdi::ScreenSettings& screen = pw::platform::gdi::Screen::Settings();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
        return screen.width;
    case SM_CYSCREEN:
        return screen.height;
    case SM_CYFULLSCREEN:
        return screen.height - pw::platform::kCaptionHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return kScrollBarSize;
    case SM_CYCAPTION:
        return pw::platform::kCaptionHeight;
    case SM_CYSMCAPTION:
        return pw::platform::kSmallCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return pw::platform::kThinFrame;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXFRAME:
    case SM_CYFRAME:
        return pw::platform::kThickFrame;
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return kCursorSize;
    case SM_CYMENU:
        return kMenuBarHeight;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return pw::platform::kCaptionHeight - 1;
    default:
        return 0;
    }
}

// The colour of a display element; 0 for an unknown index.
DWORD WINAPI GetSysColor(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kSystemColours)))
        return 0;
    return kSystemColours[index];
}
