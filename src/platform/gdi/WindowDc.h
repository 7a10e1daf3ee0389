// How the window manager makes the DCs of windows. A window DC is the screen seen through a
// window: logical (0, 0) lies at the client area's top-left corner on the screen, and drawing is
// limited to a visible region in screen coordinates (the visible client area; inside BeginPaint,
// that and the update region). Each call makes a fresh DC with the documented defaults;
// ReleaseDC(window, dc) frees it.
#pragma once

#include "platform/gdi/RegionData.h"

#include <windows.h>

#include <functional>

namespace pw::platform::gdi {

HDC CreateWindowDC(HWND window, POINT origin, const RegionData& visible);

// Moves a live window DC (its window moved, or was covered or uncovered, while the DC is held);
// false for a handle that is not a live window DC.
bool UpdateWindowDC(HDC dc, POINT origin, const RegionData& visible);

// GetDC(hwnd) with a window asks this for the DC (normally through CreateWindowDC). Without a
// provider, or when it answers NULL, GetDC fails with ERROR_INVALID_WINDOW_HANDLE. The provider
// stays installed across test resets.
void SetWindowDCProvider(std::function<HDC(HWND)> provider);

} // namespace pw::platform::gdi
