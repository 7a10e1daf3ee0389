#include "graphics/StdImageChannel.h"

#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

PW_DEFINE_CLASS(StdImageChannel, nullptr, nullptr, ImageChannel, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(StdImageChannel)

StdImageChannel::StdImageChannel(const SmartPtr<Image>& image, const SmartPtr<DisplayDevice>& target)
    : ImageChannel(target)
    , image(image)
{
    image->AddChannel(this);
}

StdImageChannel::~StdImageChannel()
{
    image->RemoveChannel(this);
}

void StdImageChannel::Changed(DisplayDevice&, Area& area)
{
    visibleArea = area;
    area.Subtract(*image->GetUpdateArea().Get());
}

void StdImageChannel::Render(DisplayPort& port, Area& area)
{
    area.Merge(pendingArea);
    pendingArea = Area();
    SmartPtr<Area> shown = visibleArea.Intersection(area);
    PortSaver clip(port, *shown.Get());
    image->Draw(port, 0);
}

void StdImageChannel::ImageChanged(const Area& removed, const Area& added)
{
    pendingArea.Subtract(removed);
    pendingArea.Merge(added);
    target->Invalidate(removed);
    target->Invalidate(added);
}
