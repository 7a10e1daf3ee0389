#pragma once

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
// procedure may destroy it. Geometry is kept as the rectangle given at creation (in the parent's
// client coordinates) and a client size; the update state is one flag until regions exist.
class Window {
public:
    Window(HWND handle, WindowClass& windowClass, HWND parent);

    HWND Handle() const { return handle; }
    WindowClass& Class() const { return *windowClass; }
    HWND Parent() const { return parent; }
    bool IsChild() const { return (style & WS_CHILD) != 0; }

    WNDPROC procedure { nullptr };
    DWORD style { 0 };
    DWORD exStyle { 0 };
    HINSTANCE instance { nullptr };
    // The child id (children) or the menu handle (top-level windows).
    LONG_PTR idOrMenu { 0 };
    LONG_PTR userData { 0 };
    std::string text;
    RECT rect {};
    SIZE clientSize {};
    bool needsPaint { false };
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
