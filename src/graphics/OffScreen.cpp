#include "graphics/OffScreen.h"

#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/PortSaver.h"
#include "graphics/ScaleTrans.h"

#include <algorithm>

PW_DEFINE_CLASS(OffScreen, nullptr, nullptr, DisplayDevice)

OffScreen::OffScreen(int32_t width, int32_t height, int16_t depth, const Color& background, bool erase)
    : DisplayDevice(background, true)
{
    BuildBitMap(width, height, ColorTable::Setup(depth), background, false, erase);
}

OffScreen::OffScreen(int32_t width, int32_t height, const SmartPtr<ColorTable>& colorTable, const Color& background,
    bool erase)
    : DisplayDevice(background, true)
{
    BuildBitMap(width, height, colorTable, background, false, erase);
}

OffScreen::OffScreen(DisplayDevice& like, const Rect& rect, bool useChromaKey, bool erase)
    : DisplayDevice(Color(0), true)
{
    Point size = rect.Size();
    BuildBitMap(size.h, size.v, like.GetColorTable(), like.GetBackground(), useChromaKey, erase);
}

OffScreen::OffScreen(Image& image, int32_t width, int32_t height, const Color& background, bool erase)
    : DisplayDevice(background, true)
{
    BuildBitMap(width, height, image.GetColorTable(), background, false, erase);
    Rect bounds = GetBounds();
    DisplayPort port(*this, bounds, 0);
    ScaleTrans fit(image.GetBounds(), bounds, true);
    PortSaverTransform saver(port, fit);
    image.Draw(port, 0);
}

OffScreen::~OffScreen() = default;

// A buffer of no pixels cannot hold a Windows bitmap, so every buffer keeps at least one pixel.
void OffScreen::BuildBitMap(int32_t width, int32_t height, const SmartPtr<ColorTable>& colorTable,
    const Color& keyColor, bool useChromaKey, bool erase)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    bitMap = new BitMap(width, height, colorTable, keyColor, useChromaKey);
    if (!erase)
        return;
    Rect bounds(0, 0, width, height);
    DisplayPort port(*this, bounds, 0);
    port.EraseArea(Area(bounds));
}

void OffScreen::BeginDraw(int32_t mode)
{
    if (!IsDrawing()) {
        if (!bitMap->Lock())
            AssertionFailed("bitMap->Lock()", PW_HERE);
        dc = bitMap->GetDC();
    }
    DisplayDevice::BeginDraw(mode);
}

void OffScreen::EndDraw()
{
    if (!IsDrawing())
        return;
    DisplayDevice::EndDraw();
    if (IsDrawing())
        return;
    bitMap->Unlock();
    bitMap->ReleaseDC(dc);
    dc = nullptr;
}

Rect OffScreen::GetBounds()
{
    return bitMap->GetBounds();
}

SmartPtr<ColorTable> OffScreen::GetColorTable()
{
    return bitMap->GetColorTable();
}

int16_t OffScreen::GetDepth()
{
    return bitMap->GetBitDepth();
}

void OffScreen::Resize(int32_t leftDelta, int32_t topDelta, int32_t rightDelta, int32_t bottomDelta, bool keep)
{
    if (IsDrawing())
        return;
    Rect bounds = GetBounds();
    Rect resized(bounds.left + leftDelta, bounds.top + topDelta, bounds.right + rightDelta, bounds.bottom + bottomDelta);
    SmartPtr<BitMap> old = bitMap;
    Point size = resized.Size();
    BuildBitMap(size.h, size.v, GetColorTable(), GetBackground(), old->UsesChromaKey(), true);
    if (!keep)
        return;
    DisplayPort port(*this, resized, 0);
    old->DrawOpaque(port);
}
