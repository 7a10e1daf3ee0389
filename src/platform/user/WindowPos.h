#pragma once

#include <windows.h>

namespace pw::platform {

// The one road for changes of a window's position, size, z-order and visibility (SetWindowPos,
// MoveWindow, ShowWindow, BringWindowToTop and the caption drag all take it): the change is made
// inside a DesktopChange, the window is activated unless told not to, and WM_WINDOWPOSCHANGED is
// sent before returning (DefWindowProcA turns it into WM_SIZE and WM_MOVE).
//
// A top-level window with a caption is kept where its caption can be reached: its top between the
// screen's top and the line where the caption would leave the bottom, and at least 32 pixels of it
// (or all of a narrower window) across the screen.
class WindowPos {
public:
    // `rect` in the parent's client coordinates; SWP_NOMOVE / SWP_NOSIZE keep its parts.
    // `keepMaximized` is set by ShowWindow, whose sizes do not end the maximised state.
    static bool Change(HWND hwnd, HWND after, RECT rect, UINT flags, bool keepMaximized = false);

    // Where `rect` may go (the caption rule above); other windows go anywhere.
    static RECT Clamp(HWND hwnd, RECT rect);
    // Moves `rect` the least that keeps its top `captionBottom` pixels (the caption) inside
    // `area` from top to bottom and at least 32 pixels of it across (all of a narrower one).
    static RECT KeepCaptionIn(RECT rect, int captionBottom, const RECT& area);
    // Moves `rect` the least that puts it inside `area`; one larger than `area` goes to its
    // top-left corner.
    static RECT KeepInside(RECT rect, const RECT& area);
};

} // namespace pw::platform
