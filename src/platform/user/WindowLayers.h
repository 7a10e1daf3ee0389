#pragma once

#include <windows.h>

namespace pw::platform {

// The layers of top-level windows, bottom to top. Within a layer the most recently raised window
// is on top; raising never leaves the layer. Floating windows are those with WS_EX_TOPMOST;
// blocking windows are the ones a ModalScope holds; the popup layer holds transient windows such
// as a menu's drop-downs, above everything.
enum class WindowLayer {
    Normal,
    Floating,
    Blocking,
    Popup,
};

// Moves a top-level window into `layer`, on top of that layer. False for a bad or child window.
bool SetWindowLayer(HWND hwnd, WindowLayer layer);
WindowLayer LayerOf(HWND hwnd);

} // namespace pw::platform
