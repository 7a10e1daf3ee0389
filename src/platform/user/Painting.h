#pragma once

#include "platform/gdi/RegionData.h"

#include <windows.h>

#include <optional>

namespace pw::platform {

class Window;

// Update regions and window DCs. A window's update region (client coordinates, cut to the client
// area) accumulates until it is validated; while it is not empty and the window shows, message
// retrieval makes WM_PAINT for it. A window DC draws only into the window's visible client area,
// and a paint DC only into the part of that in the update region taken by BeginPaint.
class Painting {
public:
    static void Invalidate(Window& window, const gdi::RegionData& clientRegion, bool erase);
    static void InvalidateAll(Window& window, bool erase);
    // Empties the update region, or takes `clientRegion` out of it.
    static void Validate(Window& window, const gdi::RegionData* clientRegion);

    // A screen region of the window came into view: its client part joins the update region (with
    // erase), its frame part is painted at once.
    static void Expose(Window& window, const gdi::RegionData& screenRegion);

    // A fresh window DC on the client area; with `paintClip` (client coordinates) drawing is also
    // kept inside it. The DC follows the window when it moves while held.
    static HDC ClientDC(HWND hwnd, const std::optional<gdi::RegionData>& paintClip);
    // A DC on the whole window, limited to `screenClip`; its origin lies `offset` from the window's
    // top-left corner.
    static HDC FrameDC(HWND hwnd, const gdi::RegionData& screenClip, POINT offset = {});

    // Moves the held window DCs after windows moved or were covered; forgets released ones.
    static void RefreshWindowDCs();

    // Fills the client area in `hdc` with the class background (WM_ERASEBKGND's default); false
    // when the class has none.
    static bool EraseWithClassBrush(HWND hwnd, HDC hdc);
};

} // namespace pw::platform
