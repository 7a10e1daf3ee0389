#pragma once

#include "platform/backend/Backend.h"
#include "platform/user/MessageQueue.h"

#include <windows.h>

#include <functional>

namespace pw::platform {

// Turns the backend's input events into input messages, one event at a time as message retrieval
// asks for them, so that a capture or focus set while handling one message routes the next.
//
// Mouse events go to the capture holder (client messages in its client coordinates, which may be
// negative or beyond the client area), else to the deepest window under the point: WM_NCHITTEST
// chooses a client message or a non-client one (screen coordinates, the hit code in wParam), and
// WM_SETCURSOR lets the window choose the cursor. A press activates the window's top-level window.
// A second press of the same button on the same CS_DBLCLKS window within 500 ms and 4 pixels (on
// each axis) of the first comes as the double-click message. Keys go to the focus (the active
// window when nothing has it), as WM_SYSKEYDOWN/WM_SYSKEYUP while Alt is held without Ctrl (Alt
// itself and F10 too).
// While a blocking window is up, mouse input to other windows is dropped (a press beeps) and keys
// go to the blocking window. Every event updates the key state GetKeyState reads.
class InputRouter {
public:
    // The next input message that passes `filter`; without `remove` it stays for the next look.
    static bool Take(MSG& msg, const MessageFilter& filter, bool remove);

    // Tracking loops (a caption drag) read the backend's events themselves: while one runs, no
    // event is routed. `NoteEvent` keeps the pointer and key state up to date for such loops.
    class Suspension {
    public:
        Suspension();
        ~Suspension();
        Suspension(const Suspension&) = delete;
        Suspension& operator=(const Suspension&) = delete;
    };
    static void NoteEvent(const InputEvent& event);

    // GetKeyState's answer: the high bit while the key is down, bit 0 toggled by each press.
    static SHORT KeyState(int virtualKey);
    static POINT MousePosition();
    // False before the first mouse event and after the pointer left the host window.
    static bool MouseInside();
    // Whether the last release of Alt ended a press with no other key or mouse press in between:
    // such a tap is the keyboard's way into the menu bar.
    static bool AltTapped();

    // Drops routed messages of a window that is gone.
    static void Forget(HWND hwnd);
};

} // namespace pw::platform
