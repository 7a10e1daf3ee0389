#include "ui/ViewSignals.h"

#include "graphics/Area.h"

ViewAreaSignal::ViewAreaSignal(const SmartPtr<Area>& area)
    : Signal(PW_HERE)
    , area(area)
{
}

int32_t ViewAreaSignal::Status(View& view)
{
    return view.HasPicture() ? enabled : disabled;
}

void ViewAreaSignal::Act(View& view)
{
    view.BlitBufferToFrame(area.Valid() ? *area.Get() : Area::EmptyArea());
}
