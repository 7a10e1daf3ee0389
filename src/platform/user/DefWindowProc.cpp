// The default window procedure: what every window procedure passes on.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/Activation.h"
#include "platform/user/Cursors.h"
#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/Modal.h"
#include "platform/user/MenuBarHook.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/NonClientTracking.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/ZOrder.h"

#include <algorithm>
#include <cstring>

using pw::platform::Fail;
using pw::platform::SendToWindow;
using pw::platform::Window;
using pw::platform::WindowTable;

namespace {

constexpr UINT kArrowId = 32512;

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)), static_cast<WORD>(static_cast<int16_t>(y)));
}

POINT PointOf(LPARAM lParam)
{
    return POINT { static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)) };
}

// WM_WINDOWPOSCHANGED: WM_SIZE when the client area changed size, WM_MOVE when it moved (both the
// first time, as a new window has had neither).
void SendSizeAndMove(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return;
    SIZE size = window->ClientSize();
    POINT origin { window->rect.left + window->clientRect.left, window->rect.top + window->clientRect.top };
    bool first = !window->sizeSent;
    bool sized = first || size.cx != window->sentClient.right - window->sentClient.left
        || size.cy != window->sentClient.bottom - window->sentClient.top;
    bool moved = first || origin.x != window->sentClient.left || origin.y != window->sentClient.top;
    window->sizeSent = true;
    window->sentClient = RECT { origin.x, origin.y, origin.x + size.cx, origin.y + size.cy };
    WPARAM kind = window->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    if (sized)
        SendToWindow(hwnd, WM_SIZE, kind, MAKELPARAM(size.cx, size.cy));
    if (moved && WindowTable::Find(hwnd))
        SendToWindow(hwnd, WM_MOVE, 0, PointParam(origin.x, origin.y));
}

// WM_ACTIVATE: the focus goes back where it was in this window, else to the window itself.
void TakeFocus(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    HWND focus = pw::platform::Focus::Get();
    if (!window || (focus && pw::platform::Activation::IsWithin(focus, hwnd)))
        return;
    HWND last = window->lastFocus;
    bool lastUsable = last && WindowTable::Find(last) && pw::platform::Activation::IsWithin(last, hwnd);
    pw::platform::Focus::Set(lastUsable ? last : hwnd);
}

// WM_SETCURSOR: a child asks its parent first; the client area shows the class cursor of the
// window the pointer is over (none: the cursor stays as set), the frame the arrow.
LRESULT ChooseCursor(HWND hwnd, const Window& window, WPARAM wParam, LPARAM lParam)
{
    if (window.IsChild() && SendMessageA(window.ParentWindow(), WM_SETCURSOR, wParam, lParam))
        return TRUE;
    int hit = static_cast<int16_t>(LOWORD(lParam));
    if (hit == HTCLIENT) {
        Window* under = WindowTable::Find(reinterpret_cast<HWND>(wParam));
        if (reinterpret_cast<HWND>(wParam) != hwnd || !under || !under->Class().Cursor())
            return FALSE;
        SetCursor(under->Class().Cursor());
        return TRUE;
    }
    if (reinterpret_cast<HWND>(wParam) != hwnd)
        return FALSE;
    SetCursor(pw::platform::Cursors::System(kArrowId));
    return TRUE;
}

void PressInFrame(HWND hwnd, Window& window, int hit, POINT at)
{
    switch (hit) {
    case HTCAPTION:
        if (window.IsChild())
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        pw::platform::NonClientTracking::DragCaption(hwnd, at);
        break;
    case HTCLOSE:
        pw::platform::NonClientTracking::PressCloseBox(hwnd);
        break;
    case HTSYSMENU:
        SendToWindow(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, PointParam(at.x, at.y));
        break;
    case HTMENU:
        if (pw::platform::MenuBarHook* hook = pw::platform::CurrentMenuBarHook())
            hook->Press(hwnd, reinterpret_cast<HMENU>(window.idOrMenu), at);
        break;
    default:
        break;
    }
}

// The keyboard's way into the menu bar: F10, a tap of Alt, or Alt with a character ask the
// top-level window for its bar (WM_SYSCOMMAND SC_KEYMENU, the character in lParam).
void KeyMenu(HWND hwnd, LPARAM character)
{
    SendMessageA(pw::platform::Activation::TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, character);
}

// The window menu drops from its box in the caption; nothing for a window without the box.
void RunSystemMenu(HWND hwnd, const Window& window, bool fromKeys)
{
    pw::platform::MenuBarHook* hook = pw::platform::CurrentMenuBarHook();
    RECT box = pw::platform::LayoutOf(window).systemBox;
    if (!hook || pw::platform::IsEmptyRect(box) || !pw::platform::AcceptsInput(hwnd))
        return;
    RECT screen = pw::platform::ScreenRect(window);
    hook->SystemMenu(hwnd, pw::platform::OffsetRectBy(box, screen.left, screen.top), fromKeys);
}

// Not while a blocking window other than this one is up: its bar takes no clicks then either.
// Alt with the space bar opens the window menu instead.
void RunKeyMenu(HWND hwnd, const Window& window, LPARAM character)
{
    if (character == ' ' && !pw::platform::IsEmptyRect(pw::platform::LayoutOf(window).systemBox)) {
        RunSystemMenu(hwnd, window, true);
        return;
    }
    pw::platform::MenuBarHook* hook = pw::platform::CurrentMenuBarHook();
    if (hook && !window.IsChild() && window.idOrMenu && pw::platform::AcceptsInput(hwnd))
        hook->KeyMenu(hwnd, reinterpret_cast<HMENU>(window.idOrMenu), static_cast<UINT>(character));
}

} // namespace

// The documented defaults the program relies on: closing destroys; painting validates (through
// BeginPaint, which erases with the class background); WM_WINDOWPOSCHANGED sends WM_SIZE and
// WM_MOVE; activation gives the focus back; the frame is hit-tested, dragged by its caption and
// closed by its close box (WM_SYSCOMMAND SC_CLOSE, then WM_CLOSE); the window menu's box and Alt with
// the space bar open the window menu (SC_MOUSEMENU, SC_KEYMENU ' '); text is stored and the caption
// repainted; F10, a tap of Alt or Alt with a mnemonic open the menu bar.
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
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return pw::platform::Painting::EraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_WINDOWPOSCHANGED:
        SendSizeAndMove(hwnd);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            TakeFocus(hwnd);
        return 0;
    case WM_NCHITTEST:
        return pw::platform::HitTest(*window, PointOf(lParam));
    case WM_SETCURSOR:
        return ChooseCursor(hwnd, *window, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        PressInFrame(hwnd, *window, static_cast<int>(wParam), PointOf(lParam));
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendToWindow(hwnd, WM_CLOSE, 0, 0);
        else if ((wParam & 0xFFF0) == SC_KEYMENU)
            RunKeyMenu(hwnd, *window, lParam);
        else if ((wParam & 0xFFF0) == SC_MOUSEMENU)
            RunSystemMenu(hwnd, *window, false);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10)
            KeyMenu(hwnd, 0);
        return 0;
    case WM_SYSKEYUP:
        if (wParam == VK_MENU && pw::platform::InputRouter::AltTapped())
            KeyMenu(hwnd, 0);
        return 0;
    case WM_SYSCHAR:
        KeyMenu(hwnd, static_cast<LPARAM>(wParam));
        return 0;
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        pw::platform::NonClientPainter::Paint(hwnd);
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
