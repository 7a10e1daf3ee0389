#pragma once

#include <windows.h>

namespace pw::platform {

// The layers of windows among their siblings (the top-level windows are the desktop's), bottom to
// top. Within a layer the most recently raised window is on top; raising never leaves the layer.
// Floating windows are those with WS_EX_TOPMOST (at creation, or SetWindowPos with HWND_TOPMOST /
// HWND_NOTOPMOST); blocking windows are the ones a ModalScope holds; the popup layer holds
// transient windows such as a menu's drop-downs, above everything, which are never activated.
enum class WindowLayer {
    Normal,
    Floating,
    Blocking,
    Popup,
};

// Moves a window into `layer`, on top of that layer. False for a bad window.
bool SetWindowLayer(HWND hwnd, WindowLayer layer);
WindowLayer LayerOf(HWND hwnd);

} // namespace pw::platform
