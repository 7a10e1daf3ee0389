// Painting a pattern through a BitMap used as a 1-bit mask.
#include "graphics/BitMap.h"

#include "graphics/ColorPaint.h"
#include "graphics/DisplayPort.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/Paint.h"

// The pattern is laid into the 8-bit pattern buffer with its brush origin set from the port's
// origin, then copied through the mask: into the port's own buffer at the mapped bounds, or into
// a second buffer that is drawn into any other device. The pattern buffer stays with the bitmap
// and is made again only when it has grown too small.
void BitMap::PaintThroughMask(DisplayPort& port, Paint& pattern)
{
    if (!port.IsDrawing())
        return;
    Point origin = port.MapPoint(0, 0);
    Rect bounds = GetBounds();
    OffScreen& buffer = PatternBuffer();
    {
        DisplayPort bufferPort(buffer, buffer.GetBounds(), 0);
        HDC dc = bufferPort.GetHDC();
        POINT previous {};
        SetBrushOrgEx(dc, 7 - origin.h % 8, 7 - origin.v % 8, &previous);
        ColorPaint frameless { Color(Color::kNoColor) };
        bufferPort.DrawRectangle(Rect(bounds.left, bounds.top, bounds.right + 1, bounds.bottom + 1), pattern, frameless, 1);
        SetBrushOrgEx(dc, previous.x, previous.y, nullptr);
    }
    OSBitMap& patternBits = *buffer.GetBitMap()->GetOSBitMap();
    auto* device = SmartCast<OffScreen>(port.Device());
    if (!device) {
        OffScreen masked(bounds.right, bounds.bottom, 8, Color(0), true);
        patternBits.CopyMasked(*masked.GetBitMap()->GetOSBitMap(), bounds, *osBitMap.Get());
        masked.GetBitMap()->Draw(port, 1);
        return;
    }
    patternBits.CopyMasked(*device->GetBitMap()->GetOSBitMap(), port.MapRect(bounds), *osBitMap.Get());
}

OffScreen& BitMap::PatternBuffer()
{
    Point size = GetBounds().Size();
    if (patternBuffer.Valid()) {
        Point held = patternBuffer->GetBounds().Size();
        if (held.h >= size.h && held.v >= size.v)
            return *patternBuffer.Get();
    }
    patternBuffer = new OffScreen(size.h, size.v, 8, Color(0), true);
    ++patternBuffersMade;
    return *patternBuffer.Get();
}
