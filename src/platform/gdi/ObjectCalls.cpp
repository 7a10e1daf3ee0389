// Selecting, querying and deleting GDI objects; pens and brushes.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/RegionObject.h"
#include "platform/kernel/LastError.h"

#include <algorithm>
#include <cstring>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

Brush::Tile TileOf(const Surface& surface, bool monochrome)
{
    Brush::Tile tile;
    tile.width = surface.width;
    tile.height = surface.height;
    tile.monochrome = monochrome;
    tile.cells.reserve(static_cast<size_t>(surface.width) * surface.height);
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x) {
            uint32_t value = surface.Get(x, y);
            tile.cells.push_back(monochrome ? value : surface.ColorOf(value));
        }
    return tile;
}

} // namespace

// Returns the previous object of the same kind; a bitmap goes only into a memory DC and only
// when no other DC holds it. A region becomes the clip (as SelectClipRgn) and its type returns.
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    GdiObject* object = ObjectTable::Find(h);
    if (!dc || !object)
        return Fail(ERROR_INVALID_HANDLE, HGDIOBJ(nullptr));
    switch (object->Kind()) {
    case ObjectKind::Pen:
    case ObjectKind::Brush:
    case ObjectKind::Font:
        return dc->Select(*object);
    case ObjectKind::Bitmap: {
        auto* bitmap = static_cast<Bitmap*>(object);
        if (dc->type != DeviceContext::Type::Memory || (bitmap->selectedInto && bitmap->selectedInto != hdc))
            return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
        return dc->Select(*object);
    }
    case ObjectKind::Region: {
        int type = SelectClipRgn(hdc, static_cast<HRGN>(h));
        return type == ERROR ? HGDIOBJ(nullptr) : reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    default:
        return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
    }
}

// The selected object of a kind; the default palette when none was selected.
HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, HGDIOBJ(nullptr));
    switch (type) {
    case OBJ_PEN:
        return dc->pen;
    case OBJ_BRUSH:
        return dc->brush;
    case OBJ_FONT:
        return dc->font;
    case OBJ_PAL:
        return dc->palette;
    case OBJ_BITMAP:
        return dc->type == DeviceContext::Type::Memory ? dc->bitmap : Fail(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
    default:
        return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
    }
}

// The shared stock objects; they are never destroyed.
HGDIOBJ WINAPI GetStockObject(int i)
{
    HGDIOBJ stock = ObjectTable::Stock(i);
    return stock ? stock : Fail(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
}

// TRUE and the handle is dead; a stock object: TRUE and nothing happens; an object still
// selected into a DC is refused and kept.
BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    GdiObject* object = ObjectTable::Find(ho);
    if (!object || object->Kind() == ObjectKind::Dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (object->IsStock())
        return TRUE;
    if (object->selections > 0)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    ObjectTable::Remove(ho);
    return TRUE;
}

// Fills a BITMAP (at most c bytes of it) for a bitmap; NULL pv asks for the size.
int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(h);
    if (!bitmap)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (!pv)
        return static_cast<int>(sizeof(BITMAP));
    if (c <= 0)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    BITMAP bm {};
    bm.bmType = 0;
    bm.bmWidth = bitmap->width;
    bm.bmHeight = bitmap->height;
    bm.bmWidthBytes = static_cast<LONG>(bitmap->rowBytes);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(bitmap->depth);
    bm.bmBits = bitmap->type == Bitmap::Type::DibSection ? bitmap->Bits() : nullptr;
    size_t bytes = std::min(static_cast<size_t>(c), sizeof(BITMAP));
    std::memcpy(pv, &bm, bytes);
    return static_cast<int>(bytes);
}

// Solid pens of any width, and the null pen.
HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    if (iStyle != PS_SOLID && iStyle != PS_NULL)
        return Fail(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    return static_cast<HPEN>(ObjectTable::Add(std::make_shared<Pen>(iStyle, std::max(cWidth, 0), color)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(ObjectTable::Add(Brush::MakeSolid(color)));
}

// Copies the bitmap's pixels, so it may be deleted at once. A monochrome bitmap paints with the
// DC's text colour (0 bits) and background colour (1 bits); others with their own colours.
HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(hbm);
    if (!bitmap)
        return Fail(ERROR_INVALID_HANDLE, HBRUSH(nullptr));
    Brush::Tile tile = TileOf(bitmap->GetSurface(), bitmap->depth == 1);
    return static_cast<HBRUSH>(ObjectTable::Add(Brush::MakePattern(std::move(tile))));
}

// Copies a packed DIB (header, colour table, bits), which the caller may free at once; its
// colours come from its own table, at every depth.
HBRUSH WINAPI CreateDIBPatternBrushPt(const VOID* lpPackedDIB, UINT iUsage)
{
    auto* info = static_cast<const BITMAPINFO*>(lpPackedDIB);
    std::optional<DibFormat> format = ReadDibFormat(info);
    if (!format || iUsage != DIB_RGB_COLORS)
        return Fail(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    const uint8_t* bits = static_cast<const uint8_t*>(lpPackedDIB) + format->headerBytes;
    Brush::Tile tile = TileOf(format->Over(bits), false);
    return static_cast<HBRUSH>(ObjectTable::Add(Brush::MakePattern(std::move(tile))));
}
