#pragma once

#include <windows.h>

namespace pw::platform {

// The one road for changes of a window's position, size, z-order and visibility (SetWindowPos,
// MoveWindow, ShowWindow, BringWindowToTop and the caption drag all take it): the change is made
// inside a DesktopChange, the window is activated unless told not to, and WM_WINDOWPOSCHANGED is
// sent before returning (DefWindowProcA turns it into WM_SIZE and WM_MOVE).
//
// A top-level window with a caption is kept where its caption can be reached: the whole caption
// on the screen (see KeepInside).
class WindowPos {
public:
    // `rect` in the parent's client coordinates; SWP_NOMOVE / SWP_NOSIZE keep its parts.
    // `keepMaximized` is set by ShowWindow, whose sizes do not end the maximised state.
    static bool Change(HWND hwnd, HWND after, RECT rect, UINT flags, bool keepMaximized = false);

    // Where `rect` may go (the caption rule above); other windows go anywhere.
    static RECT Clamp(HWND hwnd, RECT rect);
    // Moves `rect` the least that puts its top `keptHeight` rows inside `area`: all of its width
    // (a window wider than `area` still covers it from side to side) and, from top to bottom, as
    // many of those rows as fit, its top never above the area's. The rows kept are a window's
    // caption, so that it can always be taken again and closed, or a tool window's whole height.
    static RECT KeepInside(RECT rect, int keptHeight, const RECT& area);
};

} // namespace pw::platform
