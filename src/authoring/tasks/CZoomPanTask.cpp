#include "authoring/tasks/CZoomPanTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tasks/CPaintTask.h"
#include "graphics/OffScreen.h"
#include "ui/ViewPort.h"

CZoomPanTask::CZoomPanTask(const SmartPtr<CPixPane>& pane)
    : CMouseTask(0, SmartPtr<View>(pane.Get()))
    , pane(pane)
{
}

CZoomPanTask::~CZoomPanTask() = default;

void CZoomPanTask::Track(Point& current, Point previous, Point start, BitFlags modifiers)
{
    // Control is held throughout a pan, so only the axis rule of Shift applies.
    CPaintTask::ConstrainToLine(start, current, BitFlags(modifiers.word & ~4u));
    Point from = pane->ViewToImage(previous);
    Point to = pane->ViewToImage(current);
    if (from == to)
        return;
    // The picture follows the mouse: moving right shows what lies further left.
    pane->ScrollZoom(from.h - to.h, from.v - to.v);
    pw::ui::ViewPort screen(GetPort(), pane->ShownBounds());
    pane->ApplyToStampBounds(screen, true);
}

void CZoomPanTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Track(current, previous, start, modifiers);
}
