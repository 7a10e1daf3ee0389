#pragma once

#include <windows.h>

namespace pw::platform {

class Window;

// Paints a window's frame straight onto the screen, inside what of it shows: the border (a black
// line, or a raised grey frame three pixels wide), the caption (navy when active, grey when not)
// with the title in bold white, the close box (a raised grey button with a cross, sunken while
// pressed), the window menu's box (a raised grey button with a bar, sunken while its menu is
// open), the client edge, and the menu bar through the menu bar hook. No message is sent: the
// frame belongs to the window manager.
class NonClientPainter {
public:
    static void Paint(HWND hwnd, bool closePressed = false, bool systemPressed = false);

    // Whether the caption shows active: a top-level window that is the active one while the
    // application is active; inside an active top-level window, a floating child, and the top
    // captioned child of its parent outside the floating layer.
    static bool IsCaptionActive(const Window& window);
};

} // namespace pw::platform
