#include "graphics/DisplayChannel.h"

#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

PW_DEFINE_CLASS(DisplayChannel, nullptr, nullptr, ImageChannel)
PW_DEFINE_NO_COPY_SLOTS(DisplayChannel)

DisplayChannel::DisplayChannel(const SmartPtr<DisplayDevice>& target)
    : ImageChannel(target)
{
}

DisplayChannel::DisplayChannel(DisplayDevice* target)
    : ImageChannel(SmartPtr<DisplayDevice>(target))
{
}

void DisplayChannel::Changed(DisplayDevice& device, Area& area)
{
    const ListHandle& children = GetChildren();
    for (uint32_t index = children.NumItems(); index >= 1; --index) {
        if (auto* child = SmartCast<ImageChannel>(children.GetItem(index)))
            child->Changed(device, area);
    }
    if (target.Get() == &device)
        Invalidate(area);
}

void DisplayChannel::Render(DisplayPort& port, Area& area)
{
    PortSaverRect saver(port, GetBounds());
    if (port.Device() == target.Get())
        DrawContent(port, area);
    const ListHandle& children = GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        if (auto* child = SmartCast<ImageChannel>(children.GetItem(index)))
            child->Render(port, area);
    }
}

void DisplayChannel::Update(DisplayDevice& device)
{
    if (!device.HasInvalidArea())
        return;
    Rect bounds = GetBounds();
    Area changed(bounds);
    Changed(device, changed);
    DisplayPort port(device, bounds, 0);
    Area waiting;
    port.TakeInvalidArea(changed, waiting);
    SmartPtr<Area> narrowed = waiting.Intersection(Area(bounds));
    PortSaver clip(port, *narrowed.Get());
    Render(port, *narrowed.Get());
}
