// Drawing a BitMap: onto a device context, and with a key between bitmaps pixel by pixel; cropping
// to content; rendering any image into an 8-bit bitmap.
#include "graphics/BitMap.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "graphics/PlatformConversions.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

bool SameColors(ColorTable& first, ColorTable& second)
{
    return &first == &second || first.Equals(second);
}

// Turns pixel values of one table into the other's: decoded to a colour by the source table,
// encoded as the nearest palette entry or the packed value of the destination. Indexed sources
// use the translation the source table keeps for the destination.
class ValueTranslator {
public:
    ValueTranslator(ColorTable& source, ColorTable& destination)
        : source(source)
        , destination(destination)
        , lookup(source.BitDepth() < 16 ? source.TranslationTo(destination) : nullptr)
    {
    }

    uint32_t Translate(uint32_t value)
    {
        if (lookup)
            return value < 256 ? lookup[value] : Encode(Color());
        Color color;
        uint32_t count = source.NumColors();
        if (count == 0 || value < count)
            color = source.GetColor(value);
        return Encode(color);
    }

private:
    uint32_t Encode(const Color& color) const
    {
        if (destination.BitDepth() < 16)
            return GetNearestPaletteIndex(destination.GetPalette(), RGB(color.red >> 8, color.green >> 8, color.blue >> 8));
        uint32_t value = 0;
        destination.Convert(color, value);
        return value;
    }

    ColorTable& source;
    ColorTable& destination;
    const uint32_t* lookup;
};

// Adds the rectangles that make up the part of `region` within `bounds`. The platform tells
// whether a part is one rectangle, nothing or more: a part that is more is halved (across its rows
// first, as a region's rectangles lie in bands of rows) until every piece is one rectangle or
// nothing. `scratch` is a region to work in.
void AddRegionPieces(HRGN region, const Rect& bounds, HRGN scratch, std::vector<Rect>& pieces)
{
    HRGN box = CreateRectRgn(bounds.left, bounds.top, bounds.right, bounds.bottom);
    CheckNotNull(box, PW_HERE);
    int kind = CombineRgn(scratch, region, box, RGN_AND);
    CheckCall(DeleteObject(box), PW_HERE);
    CheckCall(kind != ERROR, PW_HERE);
    if (kind == NULLREGION)
        return;
    RECT found;
    CheckCall(GetRgnBox(scratch, &found) != ERROR, PW_HERE);
    Rect part = OSRectToRect(found);
    if (kind == SIMPLEREGION) {
        pieces.push_back(part);
        return;
    }
    Rect first = part;
    Rect second = part;
    if (part.bottom - part.top > 1) {
        first.bottom = second.top = part.top + (part.bottom - part.top) / 2;
    } else {
        first.right = second.left = part.left + (part.right - part.left) / 2;
    }
    AddRegionPieces(region, first, scratch, pieces);
    AddRegionPieces(region, second, scratch, pieces);
}

// The rectangles that make up the part of `region` within `bounds`.
std::vector<Rect> RegionPieces(HRGN region, const Rect& bounds)
{
    std::vector<Rect> pieces;
    if (bounds.IsEmpty())
        return pieces;
    HRGN scratch = CreateRectRgn(0, 0, 0, 0);
    CheckNotNull(scratch, PW_HERE);
    try {
        AddRegionPieces(region, bounds, scratch, pieces);
    } catch (...) {
        DeleteObject(scratch);
        throw;
    }
    CheckCall(DeleteObject(scratch), PW_HERE);
    return pieces;
}

} // namespace

void BitMap::Draw(DisplayPort& port, int mode)
{
    if (mode == 1 || !useChromaKey)
        DrawPart(port, GetBounds(), false, 0);
    else
        DrawPart(port, GetBounds(), true, chromaKey);
}

void BitMap::DrawKeyed(DisplayPort& port, uint32_t key)
{
    DrawPart(port, GetBounds(), true, key);
}

void BitMap::DrawOpaque(DisplayPort& port)
{
    DrawPart(port, GetBounds(), false, chromaKey);
}

void BitMap::DrawPart(DisplayPort& port, const Rect& rect, bool useKey, uint32_t key)
{
    HDC dc = port.GetHDC();
    if (!dc)
        return;
    auto* offScreen = SmartCast<OffScreen>(port.Device());
    Rect destination = port.MapRect(rect);
    SmartPtr<Area> clip = port.GetClip();
    if (!useKey || !offScreen || destination.Size() != rect.Size() || !clip.Valid()) {
        DrawPartTo(dc, offScreen ? offScreen->GetBitMap().Get() : nullptr, rect, destination, useKey, key);
        return;
    }
    // A keyed copy into a buffer writes the buffer's pixels itself, past the context's clip: it
    // keeps to the port's clip (a sprite's crop, a redrawn part) piece by piece.
    auto copyWithin = [&](const Rect& within) {
        Rect piece = destination.Intersect(within);
        if (piece.IsEmpty())
            return;
        Rect from = piece;
        from.Offset(rect.left - destination.left, rect.top - destination.top);
        DrawPartTo(dc, offScreen->GetBitMap().Get(), from, piece, true, key);
    };
    if (clip->InRegionMode()) {
        for (const Rect& piece : RegionPieces(clip->GetRegion(), destination.Intersect(clip->ComputeBounds())))
            copyWithin(piece);
        return;
    }
    const TypedArray<Rect>& pieces = clip->RectList();
    for (uint32_t index = 1; index <= pieces.NumItems(); ++index)
        copyWithin(pieces[index]);
}

void BitMap::DrawPartTo(HDC dc, BitMap* offScreen, const Rect& rect, const Rect& destination, bool useKey,
    uint32_t key)
{
    if (useKey && destination.Size() != rect.Size())
        useKey = false;
    HPALETTE palette = colorTable->GetPalette();
    if (!useKey)
        osBitMap->Draw(dc, palette, rect, destination);
    else if (!offScreen)
        osBitMap->DrawAny(dc, palette, rect, destination, key);
    else
        CopyKeyed(*offScreen, rect, destination, key);
}

void BitMap::CopyKeyed(BitMap& target, const Rect& rect, const Rect& destination, uint32_t key)
{
    bool sameColors = SameColors(*colorTable.Get(), *target.colorTable.Get());
    if (sameColors && GetBitDepth() == 8 && target.GetBitDepth() == 8) {
        osBitMap->CopyTransparent(*target.osBitMap.Get(), rect, destination, key);
        return;
    }

    bool sourceIsPalettized = GetBitDepth() < 16;
    bool destIsPalettized = target.GetBitDepth() < 16;
    if (sourceIsPalettized && !colorTable->GetPalette())
        AssertionFailed("!sourceIsPalettized || sourcePal", PW_HERE);
    if (destIsPalettized && !target.colorTable->GetPalette())
        AssertionFailed("!destIsPalettized || destPal", PW_HERE);

    // Both rectangles are clipped together, so each source pixel keeps its place.
    int32_t dh = destination.left - rect.left;
    int32_t dv = destination.top - rect.top;
    Rect targetBounds = target.GetBounds();
    targetBounds.Offset(-dh, -dv);
    Rect source = rect.Intersect(GetBounds()).Intersect(targetBounds);
    if (source.IsEmpty())
        return;
    Rect placed = source;
    placed.Offset(dh, dv);

    ValueTranslator translator(*colorTable.Get(), *target.colorTable.Get());
    if (GetBitDepth() == 8 && target.GetBitDepth() == 8) {
        osBitMap->CopyKeyedThrough(*target.osBitMap.Get(), rect, destination, key,
            colorTable->TranslationTo(*target.colorTable.Get()));
        return;
    }
    PixelIterator from(*this, source, true);
    PixelIterator to(target, placed, true);
    for (; from.More(); from.Next(), to.Next()) {
        uint32_t value = from.GetPixel();
        if (value != key)
            to.SetPixel(sameColors ? value : translator.Translate(value));
    }
}

Point BitMap::CropToContent(SmartPtr<BitMap>& handle, uint32_t background)
{
    BitMap& bitmap = *handle.operator->();
    Rect bounds = bitmap.GetBounds();
    Point min(bounds.right, bounds.bottom);
    Point max(bounds.left, bounds.top);
    {
        PixelIterator cursor(bitmap, bounds, true);
        for (; cursor.More(); cursor.Next()) {
            if (cursor.GetPixel() == background)
                continue;
            Point at = cursor.GetPosition();
            min = Point(std::min(min.h, at.h), std::min(min.v, at.v));
            max = Point(std::max(max.h, at.h), std::max(max.v, at.v));
        }
    }
    if (max.h < min.h || max.v < min.v) {
        handle = nullptr;
        return Point(0, 0);
    }
    Rect content(min.h, min.v, max.h + 1, max.v + 1);
    if (content == bounds)
        return Point(0, 0);

    Point size = content.Size();
    SmartPtr<BitMap> cropped(new BitMap(size.h, size.v, bitmap.colorTable, Color(), false));
    {
        PixelIterator from(bitmap, content, true);
        PixelIterator to(*cropped.Get(), cropped->GetBounds(), true);
        for (; from.More(); from.Next(), to.Next())
            to.SetPixel(from.GetPixel());
    }
    cropped->useChromaKey = bitmap.useChromaKey;
    if (bitmap.useChromaKey)
        cropped->chromaKey = bitmap.chromaKey;
    handle = cropped;
    return min;
}

bool ConvertToBitMap(SmartPtr<Smart>& handle)
{
    auto* image = SmartCast<Image>(handle.Get());
    if (!image)
        return false;
    handle = SmartPtr<Smart>(BitMap::RenderImage(*image).Get());
    return true;
}

SmartPtr<BitMap> BitMap::RenderImage(Image& image)
{
    Point size = image.GetBounds().Size();
    return RenderImage(image, size.h, size.v);
}

SmartPtr<BitMap> BitMap::RenderImage(Image& image, int32_t width, int32_t height)
{
    const Color white(0);
    SmartPtr<ColorTable> table = image.GetColorTable();
    if (table.Valid() && table->BitDepth() == 8) {
        SmartPtr<OffScreen> buffer = new OffScreen(image, width, height, white, true);
        return buffer->GetBitMap();
    }
    SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, white, true);
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        image.Draw(port, 1);
    }
    return buffer->GetBitMap();
}
