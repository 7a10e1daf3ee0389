// Capture, focus, key state and the translation of keys into characters.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/Activation.h"
#include "platform/user/InputRouter.h"
#include "platform/user/Window.h"

using pw::platform::Fail;
using pw::platform::Focus;
using pw::platform::InputRouter;
using pw::platform::WindowTable;

namespace {

constexpr UINT kDoubleClickTime = 500;

// The character a key gives on the US layout, or 0: letters with Shift or Caps Lock, Ctrl+letter
// as 1..26, digits and punctuation with their shifted forms, and the control keys.
UINT CharacterOf(UINT key, bool shift, bool control, bool capsLock)
{
    if (key >= 'A' && key <= 'Z') {
        if (control)
            return key - 'A' + 1;
        return shift != capsLock ? key : key - 'A' + 'a';
    }
    switch (key) {
    case VK_RETURN: return control ? 10 : 13;
    case VK_ESCAPE: return 27;
    case VK_TAB: return 9;
    case VK_BACK: return control ? 127 : 8;
    case VK_SPACE: return ' ';
    default: break;
    }
    if (control)
        return 0;
    if (key >= '0' && key <= '9')
        return static_cast<UINT>(static_cast<unsigned char>((shift ? ")!@#$%^&*(" : "0123456789")[key - '0']));
    struct Pair {
        UINT key;
        char plain;
        char shifted;
    };
    static constexpr Pair kPunctuation[] = {
        { VK_OEM_1, ';', ':' }, { VK_OEM_PLUS, '=', '+' }, { VK_OEM_COMMA, ',', '<' }, { VK_OEM_MINUS, '-', '_' },
        { VK_OEM_PERIOD, '.', '>' }, { VK_OEM_2, '/', '?' }, { VK_OEM_3, '`', '~' }, { VK_OEM_4, '[', '{' },
        { VK_OEM_5, '\\', '|' }, { VK_OEM_6, ']', '}' }, { VK_OEM_7, '\'', '"' },
    };
    for (const Pair& pair : kPunctuation) {
        if (pair.key == key)
            return static_cast<UINT>(shift ? pair.shifted : pair.plain);
    }
    return 0;
}

} // namespace

// Sends every mouse message to `hwnd` until released; returns the previous holder.
HWND WINAPI SetCapture(HWND hwnd)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
    return Focus::SetCapture(hwnd);
}

BOOL WINAPI ReleaseCapture(void)
{
    Focus::ReleaseCapture();
    return TRUE;
}

HWND WINAPI GetCapture(void)
{
    return Focus::Capture();
}

// Gives the keyboard focus to `hwnd` (NULL: to nobody): WM_KILLFOCUS to the old focus, then
// WM_SETFOCUS to the new one. Returns the previous focus; NULL with 1400 for a bad window.
HWND WINAPI SetFocus(HWND hwnd)
{
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
    return Focus::Set(hwnd);
}

HWND WINAPI GetFocus(void)
{
    return Focus::Get();
}

// The key's state as of the input messages retrieved so far: negative while down, bit 0 toggled.
SHORT WINAPI GetKeyState(int virtualKey)
{
    return InputRouter::KeyState(virtualKey);
}

// The same state: input has no other source than the messages' events.
SHORT WINAPI GetAsyncKeyState(int virtualKey)
{
    return static_cast<SHORT>(InputRouter::KeyState(virtualKey) & 0x8000);
}

// Where the pointer was at the last mouse event, in screen coordinates.
BOOL WINAPI GetCursorPos(LPPOINT point)
{
    if (!point)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    *point = InputRouter::MousePosition();
    return TRUE;
}

UINT WINAPI GetDoubleClickTime(void)
{
    return kDoubleClickTime;
}

// For WM_KEYDOWN (WM_SYSKEYDOWN) of a character key posts WM_CHAR (WM_SYSCHAR) behind it, with
// the key message's lParam; non-zero when it posted one. VK_PACKET gives the character it carries.
BOOL WINAPI TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    UINT character = msg->wParam == VK_PACKET
        ? static_cast<UINT>((msg->lParam >> 16) & 0xFF)
        : CharacterOf(static_cast<UINT>(msg->wParam), shift, control, capsLock);
    if (character == 0)
        return FALSE;
    UINT message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    return PostMessageA(msg->hwnd, message, character, msg->lParam);
}
