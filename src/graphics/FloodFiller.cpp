#include "graphics/FloodFiller.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "graphics/SeenRegion.h"

#include <algorithm>

FloodFiller::FloodFiller(const SmartPtr<BitMap>& target, int32_t x, int32_t y, Reach reach)
    : filledBounds(x, y, x, y)
    , seedX(x)
    , seedY(y)
    , target(target)
    , imageBounds(target->GetBounds())
    , seedValue(this->target->GetPixelValue(x, y))
    , reach(reach)
{
}

Rect FloodFiller::GetFilledBounds()
{
    if (!mask.Valid())
        MakeMask();
    return filledBounds;
}

SmartPtr<BitMap> FloodFiller::GetMask()
{
    if (!mask.Valid())
        MakeMask();
    return mask;
}

// The pixels of the seed's value become black in a 1-bit copy; the platform's flood fill then
// whitens the part of them connected to the seed, and comparing the two gives the area.
void FloodFiller::MakeMask()
{
    if (reach == Reach::kAsSeen) {
        MakeMaskAsSeen();
        return;
    }
    Point size = imageBounds.Size();
    OffScreen maskBuffer(size.h, size.v, 1, Color(0), true);
    SmartPtr<BitMap> made = maskBuffer.GetBitMap();
    {
        PixelIterator from(*target.Get(), imageBounds, true);
        PixelIterator to(*made.Get(), imageBounds, true);
        for (; from.More(); from.Next(), to.Next()) {
            if (from.GetPixel() == seedValue)
                to.SetPixel(0);
        }
    }

    OffScreen copyBuffer(size.h, size.v, 1, Color(0), false);
    {
        DisplayPort port(copyBuffer, copyBuffer.GetBounds(), 0);
        made->DrawOpaque(port);
        HDC dc = port.GetHDC();
        COLORREF seedColor = GetPixel(dc, seedX, seedY);
        CheckCall(seedColor != CLR_INVALID, PW_HERE);
        HBRUSH white = CreateSolidBrush(0xFFFFFF);
        CheckNotNull(white, PW_HERE);
        HGDIOBJ previous = SelectObject(dc, white);
        BOOL filled = ExtFloodFill(dc, seedX, seedY, seedColor, FLOODFILLSURFACE);
        SelectObject(dc, previous);
        DeleteObject(white);
        CheckCall(filled, PW_HERE);
    }

    SmartPtr<BitMap> copy = copyBuffer.GetBitMap();
    PixelIterator filledCopy(*copy.Get(), imageBounds, true);
    PixelIterator marks(*made.Get(), imageBounds, true);
    for (; marks.More(); marks.Next(), filledCopy.Next()) {
        if (marks.GetPixel() == filledCopy.GetPixel()) {
            marks.SetPixel(1);
            continue;
        }
        marks.SetPixel(0);
        Point at = marks.GetPosition();
        filledBounds.left = std::min(filledBounds.left, at.h);
        filledBounds.top = std::min(filledBounds.top, at.v);
        filledBounds.right = std::max(filledBounds.right, at.h);
        filledBounds.bottom = std::max(filledBounds.bottom, at.v);
    }
    filledBounds.right += 2;
    filledBounds.bottom += 2;
    mask = made;
}

void FloodFiller::MakeMaskAsSeen()
{
    pw::graphics::SeenRegion region(*target.Get(), seedX, seedY);
    Point size = imageBounds.Size();
    OffScreen maskBuffer(size.h, size.v, 1, Color(0), true);
    SmartPtr<BitMap> made = maskBuffer.GetBitMap();
    {
        PixelIterator marks(*made.Get(), imageBounds, true);
        for (; marks.More(); marks.Next()) {
            Point at = marks.GetPosition();
            marks.SetPixel(region.Contains(at.h, at.v) ? 0 : 1);
        }
    }
    // As the exact fill reckons them: the last pixel's place, then 2 further.
    Rect found = region.GetBounds();
    filledBounds = Rect(found.left, found.top, found.right + 1, found.bottom + 1);
    mask = made;
}

void FloodFiller::FillWithPattern(BitMap& destination, BitMap& pattern)
{
    Rect bounds = GetFilledBounds();
    if (bounds.Size() != pattern.GetBounds().Size())
        AssertionFailed("bounds.Size() == fillPattern->GetBounds().Size()", PW_HERE);
    PixelIterator to(destination, bounds, true);
    PixelIterator marks(*mask.Get(), bounds, true);
    PixelIterator from(pattern, pattern.GetBounds(), true);
    for (; to.More(); to.Next(), marks.Next(), from.Next()) {
        if (marks.GetPixel() == 0)
            to.SetPixel(from.GetPixel());
    }
}
