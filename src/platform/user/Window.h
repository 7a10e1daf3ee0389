#pragma once

#include "platform/gdi/RegionData.h"
#include "platform/user/WindowLayers.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

class WindowClass;

// A window: what CreateWindowExA made, named by its HWND. The window table owns every live window;
// callers look a window up by handle each time they need it, because any call into a window
// procedure may destroy it.
//
// Geometry: `rect` is the window rectangle in the parent's client coordinates (screen coordinates
// for a top-level window); `clientRect` is the client area relative to the window's top-left
// corner, laid out from the style by the frame layout (Geometry.h). The update region is kept in
// client coordinates, cut to the client area.
class Window {
public:
    Window(HWND handle, WindowClass& windowClass, HWND parent);

    HWND Handle() const { return handle; }
    WindowClass& Class() const { return *windowClass; }
    // The parent of a child, the owner of a top-level window (or null).
    HWND Parent() const { return parent; }
    bool IsChild() const { return (style & WS_CHILD) != 0; }
    HWND ParentWindow() const { return IsChild() ? parent : nullptr; }
    HWND Owner() const { return IsChild() ? nullptr : parent; }
    SIZE ClientSize() const { return { clientRect.right - clientRect.left, clientRect.bottom - clientRect.top }; }

    WNDPROC procedure { nullptr };
    DWORD style { 0 };
    DWORD exStyle { 0 };
    HINSTANCE instance { nullptr };
    // The child id (children) or the menu handle (top-level windows).
    LONG_PTR idOrMenu { 0 };
    // The window menu GetSystemMenu handed out (none before); destroyed with the window.
    HMENU systemMenu { nullptr };
    LONG_PTR userData { 0 };
    std::string text;
    RECT rect {};
    RECT clientRect {};
    gdi::RegionData update;
    bool erasePending { false };
    WindowLayer layer { WindowLayer::Normal };
    bool maximized { false };
    RECT restoreRect {};
    // Whether DefWindowProcA has sent WM_SIZE and WM_MOVE once: the first WM_WINDOWPOSCHANGED
    // sends both even when nothing changed, as a new window has never had them.
    bool sizeSent { false };
    // The client area (in the parent's client coordinates) that WM_SIZE and WM_MOVE last told.
    RECT sentClient {};
    // The focus inside this top-level window when it was last active, given back on activation.
    HWND lastFocus { nullptr };
    bool destroying { false };
    std::vector<uint8_t> extraBytes;

private:
    HWND handle;
    WindowClass* windowClass;
    HWND parent;
};

// The live windows in creation order.
class WindowTable {
public:
    static Window& Add(WindowClass& windowClass, HWND parent);
    static void Remove(HWND handle);

    // The live window named by `handle`, or null.
    static Window* Find(HWND handle);

    // Handles of the live windows in creation order (a copy: procedures may change the table).
    static std::vector<HWND> Handles();
    static size_t Count();

    // The first live window, in creation order, that `predicate` accepts; null when none does.
    static Window* FindIf(const std::function<bool(const Window&)>& predicate);
};

// Sends `message` to the window's procedure and returns its result; 0 for a dead window.
LRESULT SendToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace pw::platform
