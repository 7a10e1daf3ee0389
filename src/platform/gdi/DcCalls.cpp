// Device contexts and their drawing state.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Screen.h"
#include "platform/gdi/WindowDc.h"
#include "platform/kernel/LastError.h"

#include <memory>
#include <type_traits>
#include <utility>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

std::function<HDC(HWND)>& Provider()
{
    static std::function<HDC(HWND)> provider;
    return provider;
}

HDC AddDc(DeviceContext::Type type, HWND window)
{
    return static_cast<HDC>(ObjectTable::Add(std::make_shared<DeviceContext>(type, window)));
}

DeviceContext* FindDc(HDC hdc)
{
    return ObjectTable::Find<DeviceContext>(hdc);
}

// One setting of a DC's drawing state: the Set call answers the value it replaces; both answer
// `failure` with 6 for a bad DC, and Set with 87 for a value it does not take.
template <typename T>
T SetSetting(HDC hdc, T DeviceContext::*setting, std::type_identity_t<T> value, std::type_identity_t<T> failure,
    bool valid = true)
{
    DeviceContext* dc = FindDc(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, failure);
    if (!valid)
        return Fail(ERROR_INVALID_PARAMETER, failure);
    return std::exchange(dc->*setting, value);
}

template <typename T>
T GetSetting(HDC hdc, T DeviceContext::*setting, std::type_identity_t<T> failure)
{
    DeviceContext* dc = FindDc(hdc);
    return dc ? dc->*setting : Fail(ERROR_INVALID_HANDLE, failure);
}

} // namespace

namespace pw::platform::gdi {

HDC CreateWindowDC(HWND window, POINT origin, const RegionData& visible)
{
    HDC hdc = AddDc(DeviceContext::Type::Window, window);
    FindDc(hdc)->SetVisible(origin, visible);
    return hdc;
}

bool UpdateWindowDC(HDC hdc, POINT origin, const RegionData& visible)
{
    DeviceContext* dc = FindDc(hdc);
    if (!dc || dc->type != DeviceContext::Type::Window)
        return false;
    dc->SetVisible(origin, visible);
    return true;
}

void SetWindowDCProvider(std::function<HDC(HWND)> provider)
{
    Provider() = std::move(provider);
}

} // namespace pw::platform::gdi

// A fresh DC with the defaults each time: the whole screen for NULL, else the window's client area.
HDC WINAPI GetDC(HWND hWnd)
{
    if (!hWnd)
        return AddDc(DeviceContext::Type::Screen, nullptr);
    HDC hdc = Provider() ? Provider()(hWnd) : nullptr;
    return hdc ? hdc : Fail(ERROR_INVALID_WINDOW_HANDLE, HDC(nullptr));
}

// Frees a DC that GetDC (or BeginPaint) made: 1, or 0 for any other DC.
int WINAPI ReleaseDC(HWND, HDC hDC)
{
    DeviceContext* dc = FindDc(hDC);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (dc->type == DeviceContext::Type::Memory)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    dc->ReleaseSelections();
    ObjectTable::Remove(hDC);
    return 1;
}

// A memory DC compatible with the screen, holding the 1 x 1 monochrome bitmap.
HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc && !FindDc(hdc))
        return Fail(ERROR_INVALID_HANDLE, HDC(nullptr));
    return AddDc(DeviceContext::Type::Memory, nullptr);
}

// Deletes a memory DC; the objects selected into it survive.
BOOL WINAPI DeleteDC(HDC hdc)
{
    DeviceContext* dc = FindDc(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (dc->type != DeviceContext::Type::Memory)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    dc->ReleaseSelections();
    ObjectTable::Remove(hdc);
    return TRUE;
}

// Every DC reports the screen, memory DCs included (not the bitmap they hold).
int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    if (!FindDc(hdc))
        return Fail(ERROR_INVALID_HANDLE, 0);
    const ScreenSettings& screen = Screen::Settings();
    bool palette = screen.paletteEntries > 0;
    switch (index) {
    case HORZRES:
        return screen.width;
    case VERTRES:
        return screen.height;
    case BITSPIXEL:
        return screen.bitsPerPixel;
    case PLANES:
        return 1;
    case RASTERCAPS:
        return RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB | (palette ? RC_PALETTE : 0);
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case SIZEPALETTE:
        return screen.paletteEntries;
    case NUMRESERVED:
        return palette ? 20 : 0;
    default:
        return 0;
    }
}

// Returns the previous mode; the mode applies to pens and shape interiors.
int WINAPI SetROP2(HDC hdc, int rop2)
{
    return SetSetting(hdc, &DeviceContext::rop2, rop2, 0, rop2 >= R2_BLACK && rop2 <= R2_WHITE);
}

int WINAPI GetROP2(HDC hdc)
{
    return GetSetting(hdc, &DeviceContext::rop2, 0);
}

// Returns the previous value; Get answers exactly what was set, flag byte included.
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    return SetSetting(hdc, &DeviceContext::textColor, color, CLR_INVALID);
}

COLORREF WINAPI GetTextColor(HDC hdc)
{
    return GetSetting(hdc, &DeviceContext::textColor, CLR_INVALID);
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color)
{
    return SetSetting(hdc, &DeviceContext::bkColor, color, CLR_INVALID);
}

COLORREF WINAPI GetBkColor(HDC hdc)
{
    return GetSetting(hdc, &DeviceContext::bkColor, CLR_INVALID);
}

// TRANSPARENT or OPAQUE; only text cells are affected. Returns the previous mode.
int WINAPI SetBkMode(HDC hdc, int mode)
{
    return SetSetting(hdc, &DeviceContext::bkMode, mode, 0, mode == TRANSPARENT || mode == OPAQUE);
}

int WINAPI GetBkMode(HDC hdc)
{
    return GetSetting(hdc, &DeviceContext::bkMode, 0);
}

// Returns the previous mode (BLACKONWHITE at first); every mode scales by nearest neighbour.
int WINAPI SetStretchBltMode(HDC hdc, int mode)
{
    return SetSetting(hdc, &DeviceContext::stretchMode, mode, 0, mode >= BLACKONWHITE && mode <= HALFTONE);
}

// Pattern pixel ((x - orgX) mod w, (y - orgY) mod h) lands on DC pixel (x, y).
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContext* dc = FindDc(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lppt)
        *lppt = dc->brushOrigin;
    dc->brushOrigin = { x, y };
    return TRUE;
}
