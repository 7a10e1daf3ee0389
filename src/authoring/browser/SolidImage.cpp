#include "authoring/browser/SolidImage.h"

#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"

PW_DEFINE_CLASS(SolidImage, nullptr, nullptr, Image, SmartImplementation)
PW_DEFINE_COPY_SLOTS(SolidImage)

SolidImage::SolidImage(const Rect& bounds, const Color& color)
    : bounds(bounds)
    , color(color)
{
}

void SolidImage::Draw(DisplayPort& port, int)
{
    port.DrawRectangle(bounds, color, Color(Color::kNoColor), 1);
}

SmartPtr<ColorTable> SolidImage::GetColorTable()
{
    return SmartPtr<ColorTable>();
}
