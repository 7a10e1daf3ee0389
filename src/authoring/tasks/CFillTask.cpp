#include "authoring/tasks/CFillTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/FloodFiller.h"
#include "graphics/Gradient.h"
#include "graphics/OffScreen.h"

using pw::authoring::PaintSettings;

CFillTask::CFillTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen)
    : CPaintTask(0, pane, offScreen)
{
}

// The region is the surface the child sees around the point (CPixPane::SeenPicture), shaded
// and dithered skies included, and is filled in the picture alone.
void CFillTask::Begin(Point& start, BitFlags modifiers)
{
    Start(start, modifiers);
    Rect bounds = pane->GetBounds();
    Point at = pane->ViewToImage(start);
    at = Point(at.h - bounds.left, at.v - bounds.top);
    SmartPtr<BitMap> picture = offScreen->GetBitMap();
    if (!picture->GetBounds().Contains(at.h, at.v))
        return;
    FloodFiller filler(pane->SeenPicture(), at.h, at.v, FloodFiller::Reach::kAsSeen);
    Point size = filler.GetFilledBounds().Size();
    Rect moved(0, 0, size.h, size.v);
    OffScreen gradient(size.h, size.v, picture->GetColorTable(), Color(0), true);
    {
        DisplayPort port(gradient, moved, 0);
        const PaintSettings& paint = PaintSettings::Current();
        Gradient::Draw(port, moved, paint.foreground, paint.background, paint.fillStyle, 8);
    }
    filler.FillWithPattern(*picture.Get(), *gradient.GetBitMap().Get());
    pane->InvalidateView(false);
}
