// Looking windows up and reading or changing what a window holds: text, styles, data words.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

#include <cstring>
#include <optional>

using pw::platform::Fail;
using pw::platform::Window;
using pw::platform::WindowTable;

namespace {

constexpr DWORD kErrorInvalidIndex = 1413;

// Reads or writes `size` bytes of the window's extra bytes at `offset`; false when out of range.
bool ExtraBytes(Window& window, int offset, size_t size, void* read, const void* write)
{
    if (offset < 0 || static_cast<size_t>(offset) + size > window.extraBytes.size())
        return false;
    uint8_t* at = window.extraBytes.data() + offset;
    if (read)
        std::memcpy(read, at, size);
    if (write)
        std::memcpy(at, write, size);
    return true;
}

// The pointer-sized window fields; nullopt for an index that names none.
std::optional<LONG_PTR> ReadField(const Window& window, int index)
{
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window.procedure);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window.instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window.Parent());
    case GWLP_USERDATA: return window.userData;
    case GWLP_ID: return window.idOrMenu;
    case GWL_STYLE: return static_cast<LONG>(window.style);
    case GWL_EXSTYLE: return static_cast<LONG>(window.exStyle);
    default: return std::nullopt;
    }
}

bool WriteField(Window& window, int index, LONG_PTR value)
{
    switch (index) {
    case GWLP_WNDPROC: window.procedure = reinterpret_cast<WNDPROC>(value); return true;
    case GWLP_HINSTANCE: window.instance = reinterpret_cast<HINSTANCE>(value); return true;
    case GWLP_USERDATA: window.userData = value; return true;
    case GWLP_ID: window.idOrMenu = value; return true;
    case GWL_STYLE: window.style = static_cast<DWORD>(value); return true;
    case GWL_EXSTYLE: window.exStyle = static_cast<DWORD>(value); return true;
    default: return false;
    }
}

// The Get and Set forms of the window words in one: the field or extra-bytes value of type T at
// `index`, replaced by `*write` when given; 0 with 1400 for a bad window, 1413 for an index that has
// none. Pointer-valued fields do not fit the 32-bit forms, which refuse them as 64-bit Windows does.
template <typename T>
T WindowWord(HWND hwnd, int index, const T* write)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, T(0));
    T previous = 0;
    if (index >= 0)
        return ExtraBytes(*window, index, sizeof previous, &previous, write) ? previous : Fail(kErrorInvalidIndex, T(0));
    bool isPointerField = index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
    bool fits = sizeof(T) == sizeof(LONG_PTR) || !isPointerField;
    std::optional<LONG_PTR> field = fits ? ReadField(*window, index) : std::nullopt;
    if (!field || (write && !WriteField(*window, index, *write)))
        return Fail(kErrorInvalidIndex, T(0));
    return static_cast<T>(*field);
}

} // namespace

// The top-level window of that class and title (either NULL matches any), newest first; else NULL.
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName)
{
    pw::platform::WindowClass* windowClass = nullptr;
    if (className && !(windowClass = pw::platform::WindowClass::Find(className)))
        return nullptr;
    HWND found = nullptr;
    for (HWND hwnd : WindowTable::Handles()) {
        Window* window = WindowTable::Find(hwnd);
        if (window->IsChild() || window->destroying || (windowClass && windowClass != &window->Class()))
            continue;
        if (windowName && !pw::platform::SameNameIgnoringCase(window->text, windowName))
            continue;
        found = hwnd;
    }
    return found;
}

// A child's parent, or a pop-up's owner; NULL for other top-level windows, 1400 for a bad one.
HWND WINAPI GetParent(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
    if (window->IsChild() || (window->style & WS_POPUP))
        return window->Parent();
    return nullptr;
}

// Whether the handle names a live window.
BOOL WINAPI IsWindow(HWND hwnd)
{
    return WindowTable::Find(hwnd) ? TRUE : FALSE;
}

// Sets the text through WM_SETTEXT, so a control may keep it its own way.
BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

// Copies at most size - 1 characters and a NUL through WM_GETTEXT; returns the count copied.
int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (!buffer || size <= 0)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    buffer[0] = '\0';
    auto count = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer));
    return static_cast<int>(count);
}

// A 32-bit window field or extra-bytes word; 0 with 1413 for an index that has none.
LONG WINAPI GetWindowLongA(HWND hwnd, int index)
{
    return WindowWord<LONG>(hwnd, index, nullptr);
}

// Sets a 32-bit field or extra-bytes word and returns the previous value.
LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value)
{
    return WindowWord(hwnd, index, &value);
}

// A pointer-sized window field or extra-bytes value; 0 with 1413 for an index that has none.
LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index)
{
    return WindowWord<LONG_PTR>(hwnd, index, nullptr);
}

// Sets a pointer-sized field (GWLP_WNDPROC subclasses the window) and returns the previous value.
LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    return WindowWord(hwnd, index, &value);
}
