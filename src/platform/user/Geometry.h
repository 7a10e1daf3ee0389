#pragma once

#include <windows.h>

namespace pw::platform {

class Window;

// Caption heights, each including the line that separates the caption from what lies below: the
// framework's title-bar heights (normal, and small for WS_EX_TOOLWINDOW).
constexpr int kCaptionHeight = 18;
constexpr int kSmallCaptionHeight = 10;
constexpr int kThinFrame = 1;
constexpr int kThickFrame = 3;
constexpr int kClientEdge = 2;

// The parts of a window's frame, in window coordinates (0, 0 at the window's top-left corner).
// Empty rectangles for parts the window does not have.
//
// Layout rules (our choice, close to the classic look): a top-level window that is not a pop-up
// always has a caption; other windows have one when WS_CAPTION is set. The frame is 3 pixels for
// WS_THICKFRAME and dialog frames (WS_DLGFRAME without WS_BORDER, WS_EX_DLGMODALFRAME), else 1
// pixel with a caption or WS_BORDER, else none. WS_EX_CLIENTEDGE adds a sunken 2-pixel edge. The
// close box sits at the caption's right end when WS_SYSMENU is set and the class has no
// CS_NOCLOSE; the box of the window menu (GetSystemMenu) at its left end when WS_SYSMENU is set on
// a top-level window that is neither a pop-up nor a tool window. A top-level window holding a menu
// has the menu bar below the caption.
struct FrameLayout {
    int frame { 0 };
    int edge { 0 };
    RECT caption {};
    RECT closeBox {};
    RECT systemBox {};
    RECT menuBar {};
    RECT client {};
    bool smallCaption { false };
};

FrameLayout LayoutOf(const Window& window);

// Lays the client area out again from the style, the size and the menu bar's height.
void UpdateClientRect(Window& window);

// The window rectangle and the client area in screen coordinates.
RECT ScreenRect(const Window& window);
RECT ClientScreenRect(const Window& window);
POINT ClientOrigin(const Window& window);

// Whether the window and all its ancestors are visible and alive.
bool IsShown(const Window& window);

// What lies at `screen` in the window: HTCLIENT, HTCAPTION, HTCLOSE, HTSYSMENU, HTMENU, HTBORDER,
// or HTNOWHERE outside it.
int HitTest(const Window& window, POINT screen);

bool PointInRect(const RECT& rect, POINT point);
RECT OffsetRectBy(RECT rect, int dx, int dy);
RECT IntersectRects(const RECT& a, const RECT& b);
bool IsEmptyRect(const RECT& rect);

} // namespace pw::platform
