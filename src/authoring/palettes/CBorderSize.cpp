#include "authoring/palettes/CBorderSize.h"

#include "foundation/Exception.h"

CBorderSize::CBorderSize(View* parent, int32_t left, int32_t top, int32_t right, int32_t bottom)
    : View(parent, Rect(left, top, right, bottom), kSizeTopLeft, false, false)
{
}

Rect CBorderSize::GetContentRect()
{
    Rect bounds = GetBounds();
    Point size = bounds.Size();
    if (size.h <= 2 * kBorder || size.v <= 2 * kBorder)
        return bounds;
    return Rect(bounds.left + kBorder, bounds.top + kBorder, bounds.right - kBorder, bounds.bottom - kBorder);
}

bool CBorderSize::MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

bool CBorderSize::KeyDown(uint8_t, int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

void CBorderSize::Idle()
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
