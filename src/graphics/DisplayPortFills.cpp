// Fills that reach past one GDI call: flood fills with a pattern bitmap, gradient fills of a
// connected area, and paints through a mask.
#include "graphics/DisplayPort.h"

#include "foundation/Checks.h"
#include "graphics/BitMap.h"
#include "graphics/FloodFiller.h"
#include "graphics/Gradient.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"

namespace {

// Deletes a brush made for one call, whatever happens in between.
class BrushHolder {
public:
    explicit BrushHolder(HBRUSH brush)
        : brush(brush)
    {
    }
    ~BrushHolder()
    {
        if (brush)
            DeleteObject(brush);
    }
    BrushHolder(const BrushHolder&) = delete;
    BrushHolder& operator=(const BrushHolder&) = delete;

    HBRUSH Get() const { return brush; }

private:
    HBRUSH brush;
};

} // namespace

void DisplayPort::FloodFill(int32_t h, int32_t v, BitMap& pattern)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    OSBitMap* patternBits = pattern.GetOSBitMap();
    CheckNotNull(patternBits, PW_HERE);
    BrushHolder brush(patternBits->MakePatternBrush());
    CheckNotNull(brush.Get(), PW_HERE);
    COLORREF seedColor = GetPixel(context, h, v);
    CheckCall(seedColor != CLR_INVALID, PW_HERE);
    HGDIOBJ previous = SelectObject(context, brush.Get());
    ExtFloodFill(context, h, v, seedColor, FLOODFILLSURFACE);
    SelectObject(context, previous);
}

// Without a transform the point is taken as it is: a port need not carry one. The gradient is
// drawn in the buffer's own colour table, since its pixel values are copied into the buffer as
// they are.
void DisplayPort::GradientFill(const Color& first, const Color& second, int32_t h, int32_t v, int32_t, int16_t kind)
{
    auto* buffer = SmartCast<OffScreen>(device);
    if (!buffer || !PrepareToDraw())
        return;
    Point seed = MapPoint(h, v);
    SmartPtr<BitMap> target = buffer->GetBitMap();
    FloodFiller filler(target, seed.h, seed.v);
    Rect bounds = filler.GetFilledBounds();
    Point size = bounds.Size();
    Rect moved(0, 0, size.h, size.v);
    OffScreen gradient(size.h, size.v, target->GetColorTable(), Color(0), true);
    {
        DisplayPort port(gradient, moved, 0);
        Gradient::Draw(port, moved, first, second, kind, 8);
    }
    filler.FillWithPattern(*target.Get(), *gradient.GetBitMap().Get());
}

void DisplayPort::PaintBitMap(BitMap& bitmap, Paint& paint)
{
    bitmap.PaintThroughMask(*this, paint);
}
