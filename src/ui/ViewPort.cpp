#include "ui/ViewPort.h"

#include "foundation/ClassInfo.h"
#include "graphics/Translation.h"
#include "ui/ViewBuffer.h"

ViewPort::ViewPort(DisplayDevice& device, const Rect& rect, int32_t drawMode)
    : DisplayPort(device, Rect(rect.left - DeviceOrigin(device).h, rect.top - DeviceOrigin(device).v,
                              rect.right - DeviceOrigin(device).h, rect.bottom - DeviceOrigin(device).v),
          drawMode)
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
