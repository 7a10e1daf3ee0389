#include "authoring/tasks/CFillTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Translation.h"

using pw::authoring::PaintSettings;

CFillTask::CFillTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen)
    : CPaintTask(0, pane, offScreen)
{
}

void CFillTask::Begin(Point& start, BitFlags modifiers)
{
    Start(start, modifiers);
    Point at = pane->ViewToImage(start);
    {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        Rect bounds = pane->GetBounds();
        Translation toPicture(-bounds.left, -bounds.top);
        port.ApplyTransform(toPicture);
        const PaintSettings& paint = PaintSettings::Current();
        port.GradientFill(paint.foreground, paint.background, at.h, at.v, 0, paint.fillStyle);
    }
    pane->InvalidateView(false);
}
