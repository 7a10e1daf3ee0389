// Update regions and painting: invalidating, validating, BeginPaint and EndPaint, UpdateWindow.
#include <windows.h>

#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RegionObject.h"
#include "platform/kernel/LastError.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Painting.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cstring>

using pw::platform::Fail;
using pw::platform::Painting;
using pw::platform::Window;
using pw::platform::WindowTable;
using pw::platform::gdi::RegionData;

namespace {

// InvalidateRect(NULL, ...): everything on the desktop is drawn again.
void InvalidateDesktop(bool erase)
{
    pw::platform::Desktop::PaintBackground(pw::platform::Visibility::DesktopRegion());
    for (HWND hwnd : WindowTable::Handles()) {
        Window* window = WindowTable::Find(hwnd);
        if (window && pw::platform::IsShown(*window)) {
            Painting::InvalidateAll(*window, erase);
            pw::platform::NonClientPainter::Paint(hwnd);
        }
    }
}

const RegionData* RegionOf(HRGN region)
{
    auto* object = pw::platform::gdi::ObjectTable::Find<pw::platform::gdi::RegionObject>(region);
    return object ? &object->data : nullptr;
}

} // namespace

// Adds a client rectangle (NULL: the whole client area) to the update region; regions accumulate
// until painted. FALSE with 1400 for a bad window.
BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (!hwnd) {
        InvalidateDesktop(erase != FALSE);
        return TRUE;
    }
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (rect)
        Painting::Invalidate(*window, RegionData(*rect), erase != FALSE);
    else
        Painting::InvalidateAll(*window, erase != FALSE);
    return TRUE;
}

// Adds a region in client coordinates (NULL: the whole client area) to the update region.
BOOL WINAPI InvalidateRgn(HWND hwnd, HRGN region, BOOL erase)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (!region) {
        Painting::InvalidateAll(*window, erase != FALSE);
        return TRUE;
    }
    const RegionData* data = RegionOf(region);
    if (!data)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    Painting::Invalidate(*window, *data, erase != FALSE);
    return TRUE;
}

// Takes a client rectangle (NULL: everything) out of the update region.
BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (!rect) {
        Painting::Validate(*window, nullptr);
        return TRUE;
    }
    RegionData taken(*rect);
    Painting::Validate(*window, &taken);
    return TRUE;
}

// Takes a region in client coordinates (NULL: everything) out of the update region.
BOOL WINAPI ValidateRgn(HWND hwnd, HRGN region)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    const RegionData* data = region ? RegionOf(region) : nullptr;
    if (region && !data)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    Painting::Validate(*window, data);
    return TRUE;
}

// The update region's bounding box in client coordinates; TRUE when it is not empty, FALSE with an
// empty rectangle otherwise. `rect` may be NULL to ask only.
BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (rect)
        *rect = window->update.Box();
    return window->update.IsEmpty() ? FALSE : TRUE;
}

// A fresh DC clipped to the update region (and to what of the client area shows); the update
// region is emptied, and WM_ERASEBKGND is sent first when an erase is pending. ps.rcPaint is the
// region's box in client coordinates.
HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HDC(nullptr));
    if (!paint)
        return Fail(ERROR_INVALID_PARAMETER, HDC(nullptr));
    RegionData region = window->update;
    bool erase = window->erasePending;
    Painting::Validate(*window, nullptr);
    HDC hdc = Painting::ClientDC(hwnd, region);
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = hdc;
    paint->rcPaint = region.Box();
    paint->fErase = erase ? TRUE : FALSE;
    if (erase && SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0))
        paint->fErase = FALSE;
    return hdc;
}

// Releases the DC of BeginPaint.
BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    if (!paint)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

// Sends WM_PAINT at once (not through the queue) when the window shows and its update region is
// not empty; its children are not painted.
BOOL WINAPI UpdateWindow(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (pw::platform::IsShown(*window) && !window->update.IsEmpty())
        SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}
