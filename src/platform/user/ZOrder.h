#pragma once

#include "platform/user/WindowLayers.h"

#include <windows.h>

#include <vector>

namespace pw::platform {

class Window;

// The stacking order of windows: one list per parent (the desktop's list holds the top-level
// windows), top first. Each list is sorted by layer (popup, blocking, floating, normal) and, within
// a layer, by when a window was last raised. A new window goes on top of its layer. Owned windows
// are raised with their owner, so they stay above it.
class ZOrder {
public:
    // The windows under `parent` (null: the top-level windows), top first; a copy.
    static std::vector<HWND> Siblings(HWND parent);

    static void Insert(Window& window);
    static void Remove(HWND hwnd);

    // Moves the window to the top (or bottom) of its layer; true when the order changed.
    static bool Raise(Window& window);
    static bool Lower(Window& window);
    // Puts the window directly below `above` when both share a layer; otherwise on top of its layer.
    static bool PlaceBelow(Window& window, HWND above);
    // Moves the window into `layer`, on top of it; true when the order changed.
    static bool SetLayer(Window& window, WindowLayer layer);
};

} // namespace pw::platform
