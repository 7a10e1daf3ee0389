#pragma once

#include "platform/backend/Backend.h"

#include <windows.h>

#include <functional>

namespace pw::platform {

// The frame's own mouse tracking, run from DefWindowProcA on a press in the frame. Like the
// documented move loop, it reads the input events itself (no mouse message reaches any window
// while it runs) and keeps dispatching posted messages, paints and timers. It ends at the release
// of the left button, at Esc, or when no more input can come (tests); other events wait for after.
class NonClientTracking {
public:
    // Moves the window with the pointer until the button is released (Esc puts it back). The
    // whole caption stays inside the parent's client area for a child, on the screen for a
    // top-level window; a tool window (WS_EX_TOOLWINDOW) stays there whole as far as it fits.
    // No close box is left under a floating tool window: the window, or the tool window dragged
    // over it, stops beside it (at the nearest place clear of it).
    static void DragCaption(HWND hwnd, POINT start);
    // Shows the close box pressed while the pointer is over it; a release over it sends
    // WM_SYSCOMMAND SC_CLOSE.
    static void PressCloseBox(HWND hwnd);

    // The input loop that this tracking and the menus share: `onEvent` gets each mouse and key
    // event; the loop ends once `done` answers true (asked before each event and each wait) or
    // when no more input can come. Other events are queued again afterwards. The caller suspends
    // the routing of input meanwhile.
    static void ReadInput(const std::function<void(const InputEvent&)>& onEvent, const std::function<bool()>& done);
};

} // namespace pw::platform
