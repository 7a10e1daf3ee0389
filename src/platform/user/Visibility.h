#pragma once

#include "platform/gdi/RegionData.h"

#include <windows.h>

namespace pw::platform {

class Window;

// What of each window shows on the desktop, in screen coordinates. Every window is clipped as if
// WS_CLIPSIBLINGS and WS_CLIPCHILDREN were always set: siblings above it, its ancestors' client
// areas and the screen cut it, and its own children are left out of what it draws itself.
class Visibility {
public:
    // The window's visible part, its children included; empty for a hidden window.
    static gdi::RegionData WindowRegion(const Window& window);
    // The window's visible part without its shown children: the pixels it draws itself.
    static gdi::RegionData OwnRegion(const Window& window);
    // The own region cut to the client area: where a window DC may draw.
    static gdi::RegionData ClientRegion(const Window& window);
    // The own region outside the client area: where the frame is drawn.
    static gdi::RegionData FrameRegion(const Window& window);
    // The screen no shown top-level window covers.
    static gdi::RegionData DesktopRegion();

    // The deepest shown window under a screen point (children before parents, top before bottom);
    // NULL over the bare desktop. Disabled children are passed over, so their parent gets the
    // input; a disabled top-level window answers itself, so a press on it can be refused rather
    // than go through to what lies below.
    static HWND WindowAt(POINT screen);
};

} // namespace pw::platform
