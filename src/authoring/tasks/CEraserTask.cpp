#include "authoring/tasks/CEraserTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/PaintSettings.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"

CEraserTask::CEraserTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CPenTool>& pen)
    : CPenTask(17, pane, offScreen, pen)
{
}

void CEraserTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Finish(current, previous, start, modifiers);
    if (pane->TestEditFlag(false))
        pane->InvalidateView(false);
}

void CEraserTask::DrawSegment(DisplayPort& port, Rect& changed, Point to, Point, BitFlags)
{
    auto* eraser = SmartCast<CEraserTool>(pen.Get());
    if (!eraser)
        AssertionFailed("pen != NULL && member(pen,CEraserTool)", PW_HERE);
    Point size = eraser->GetSize();
    if (pane->IsZoomed())
        size = Point(size.h / CPixPane::kZoom, size.v / CPixPane::kZoom);
    changed = Rect(to.h, to.v, to.h + size.h, to.v + size.v);
    changed.Offset(-(size.h / 2), -(size.v / 2));
    // Framed in the erase colour as well: a frameless fill would cover one pixel less each way.
    const Color& erase = pw::authoring::PaintSettings::Current().erase;
    port.DrawRectangle(changed, erase, erase, 1);
}
