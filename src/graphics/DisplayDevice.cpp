#include "graphics/DisplayDevice.h"

#include "graphics/ColorTable.h"

PW_DEFINE_CLASS(DisplayDevice, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(DisplayDevice)

DisplayDevice::DisplayDevice(const Color& background, bool eraseOnUpdate)
    : flags(eraseOnUpdate ? kEraseFlag : 0)
    , background(background)
{
}

void DisplayDevice::BeginDraw(int32_t)
{
    ++drawingCount;
}

void DisplayDevice::EndDraw()
{
    if (drawingCount > 0)
        --drawingCount;
}

void DisplayDevice::Invalidate(const Area& area)
{
    pendingArea.Merge(area);
    flags |= kInvalidFlag;
}

void DisplayDevice::Validate()
{
    pendingArea = Area::EmptyArea();
    flags &= uint8_t(~kInvalidFlag);
}

SmartPtr<Area> DisplayDevice::InvalidArea() const
{
    return new Area(pendingArea);
}

HDC DisplayDevice::GetHDC()
{
    return IsDrawing() ? OSContext() : nullptr;
}
