// Logical palettes, the system palette and palette realisation.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/Screen.h"
#include "platform/kernel/LastError.h"

#include <algorithm>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

bool SameColor(const RGBQUAD& q, const PALETTEENTRY& e)
{
    return q.rgbRed == e.peRed && q.rgbGreen == e.peGreen && q.rgbBlue == e.peBlue;
}

// Loads a palette into the system palette as the foreground palette: entries that may collapse
// and match a static colour (or an entry already loaded) use it; the others take the free
// entries 10..245 in order. Returns how many system entries changed.
UINT Realize(const Palette& palette)
{
    std::span<RGBQUAD, 256> system = Screen::SystemPalette();
    UINT changed = 0;
    int next = 10;
    for (const PALETTEENTRY& entry : palette.entries) {
        if (entry.peFlags & PC_EXPLICIT)
            continue;
        bool mayCollapse = (entry.peFlags & (PC_RESERVED | PC_NOCOLLAPSE)) == 0;
        if (mayCollapse) {
            bool found = false;
            for (int i = 0; i < 256 && !found; ++i)
                found = (Screen::IsStaticIndex(i) || i < next) && SameColor(system[i], entry);
            if (found)
                continue;
        }
        if (next > 245)
            continue;
        RGBQUAD color { entry.peBlue, entry.peGreen, entry.peRed, 0 };
        if (!SameColor(system[next], entry))
            ++changed;
        system[next++] = color;
    }
    return changed;
}

} // namespace

// Copies the entries (flags included); version 0x300 only.
HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal)
{
    if (!plpal || plpal->palVersion != 0x300 || plpal->palNumEntries == 0)
        return Fail(ERROR_INVALID_PARAMETER, HPALETTE(nullptr));
    std::vector<PALETTEENTRY> entries(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
    return static_cast<HPALETTE>(ObjectTable::Add(std::make_shared<Palette>(std::move(entries))));
}

// Copies min(cEntries, size - iStart) entries; a NULL buffer asks for the size.
UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries)
{
    Palette* palette = ObjectTable::Find<Palette>(hpal);
    if (!palette)
        return Fail(ERROR_INVALID_HANDLE, 0u);
    UINT size = static_cast<UINT>(palette->entries.size());
    if (!pPalEntries)
        return size;
    if (iStart >= size)
        return Fail(ERROR_INVALID_PARAMETER, 0u);
    UINT count = std::min(cEntries, size - iStart);
    std::copy_n(palette->entries.begin() + iStart, count, pPalEntries);
    return count;
}

// The system palette as the screen reports it (256 entries unless a test says otherwise).
UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries)
{
    if (!ObjectTable::Find<DeviceContext>(hdc))
        return Fail(ERROR_INVALID_HANDLE, 0u);
    UINT size = static_cast<UINT>(std::clamp(Screen::Settings().paletteEntries, 0, 256));
    if (!pPalEntries)
        return size;
    if (iStart >= size)
        return 0;
    UINT count = std::min(cEntries, size - iStart);
    std::span<RGBQUAD, 256> system = Screen::SystemPalette();
    for (UINT i = 0; i < count; ++i) {
        const RGBQUAD& q = system[iStart + i];
        pPalEntries[i] = { q.rgbRed, q.rgbGreen, q.rgbBlue, 0 };
    }
    return count;
}

// Least squared RGB distance, the lowest index on ties; the flag byte is ignored.
UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF color)
{
    Palette* palette = ObjectTable::Find<Palette>(h);
    if (!palette)
        return Fail(ERROR_INVALID_HANDLE, UINT(CLR_INVALID));
    return static_cast<UINT>(NearestIndex(palette->entries, color));
}

// Returns the previous palette (DEFAULT_PALETTE at first).
HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    Palette* palette = ObjectTable::Find<Palette>(hPal);
    if (!dc || !palette)
        return Fail(ERROR_INVALID_HANDLE, HPALETTE(nullptr));
    return static_cast<HPALETTE>(dc->Select(*palette));
}

// On the screen and window DCs, loads the selected palette into the system palette and returns
// how many entries changed (0 when already realised); in a memory DC the palette only steers
// colour matching.
UINT WINAPI RealizePalette(HDC hdc)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, UINT(GDI_ERROR));
    const Palette& palette = dc->SelectedPalette();
    if (dc->type == DeviceContext::Type::Memory || palette.IsStock())
        return 0;
    return Realize(palette);
}
