#include "ui/ViewPort.h"

#include "foundation/ClassInfo.h"
#include "graphics/Translation.h"
#include "ui/ViewBuffer.h"

namespace pw::ui {

namespace {

Rect OnDevice(DisplayDevice& device, Rect rect)
{
    Point origin = ViewPort::DeviceOrigin(device);
    rect.Offset(-origin.h, -origin.v);
    return rect;
}

} // namespace

ViewPort::ViewPort(DisplayDevice& device, const Rect& rect, int32_t drawMode)
    : DisplayPort(device, OnDevice(device, rect), drawMode)
{
    Point origin = DeviceOrigin(device);
    if (origin != Point::origin) {
        Translation toDevice(-origin.h, -origin.v);
        ApplyTransform(toDevice);
    }
}

Point ViewPort::DeviceOrigin(DisplayDevice& device)
{
    auto* buffer = SmartCast<ViewBuffer>(&device);
    return buffer ? buffer->GetOrigin() : Point::origin;
}

} // namespace pw::ui
