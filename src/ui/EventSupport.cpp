#include "ui/EventSupport.h"

#include "graphics/WinVersion.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"

namespace {

constexpr DWORD kPumpLimitMs = 500;

// Recorded by the unit's static initialiser.
const bool win31Platform = IsWin31Only();

// Whether a mouse message may reach its window while `dialog` waits.
bool MouseAllowed(const MSG& msg, HWND dialog)
{
    if (msg.hwnd == pw::ui::MainWindow())
        return true;
    return dialog && (msg.hwnd == dialog || (msg.hwnd && GetParent(msg.hwnd) == dialog));
}

// Waits for the next message (or timer tick) and takes it. A quit found here belongs to the outer
// loop: it is posted again and false answered.
bool WaitForMessage(MSG& msg)
{
    if (GetMessageA(&msg, nullptr, 0, 0) > 0)
        return true;
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
}

} // namespace

Point MakeMouseEvent(HWND, LPARAM packed)
{
    auto word = static_cast<uint32_t>(packed);
    return Point(static_cast<int16_t>(word & 0xFFFF), static_cast<int16_t>(word >> 16));
}

uint32_t MakeModifiers(WPARAM keyState)
{
    uint32_t modifiers = 0;
    if (keyState & MK_SHIFT)
        modifiers |= 1u << 0;
    if (keyState & MK_CONTROL)
        modifiers |= 1u << 2;
    return modifiers;
}

uint8_t MakeKeyCode(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_LEFT: return kLeftArrowKey;
    case VK_RIGHT: return kRightArrowKey;
    case VK_UP: return kUpArrowKey;
    case VK_DOWN: return kDownArrowKey;
    case VK_DELETE: return kDeleteKey;
    default: return 0;
    }
}

bool IsButtonUp(UINT message)
{
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

bool IsMouseMessage(UINT message)
{
    return (message >= 0x200 && message <= 0x209) || (message >= 0xA0 && message <= 0xA9);
}

bool PumpMessages(HWND dialog, bool waitWhenIdle)
{
    DWORD start = GetTickCount();
    MSG msg;
    bool first = true;
    while (GetTickCount() - start <= kPumpLimitMs) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!first || !waitWhenIdle)
                break;
            if (!WaitForMessage(msg))
                return false;
        } else if (msg.message == WM_QUIT) {
            // Not ours to take: the outer loop ends on it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        first = false;
        if (IsMouseMessage(msg.message) && !MouseAllowed(msg, dialog)) {
            // The release of a press that began before the dialog is dropped with the rest; the
            // window that took the press must not keep the mouse, or its next press is lost.
            if (IsButtonUp(msg.message) && GetCapture() == msg.hwnd)
                ReleaseCapture();
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (!AppGlue::IsAppFlagSet()) {
            PostQuitMessage(0);
            return false;
        }
    }
    return true;
}

bool IsWin31Platform()
{
    return win31Platform;
}
