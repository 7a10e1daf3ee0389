#include "authoring/tasks/CEraserTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/PaintSettings.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"

#include <algorithm>
#include <cstdlib>

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

void CEraserTask::DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags)
{
    auto* eraser = SmartCast<CEraserTool>(pen.Get());
    if (!eraser)
        AssertionFailed("pen != NULL && member(pen,CEraserTool)", PW_HERE);
    Point size = eraser->GetSize();
    if (pane->IsZoomed())
        size = Point(size.h / CPixPane::kZoom, size.v / CPixPane::kZoom);
    const Color& erase = pw::authoring::PaintSettings::Current().erase;
    Point way(to.h - from.h, to.v - from.v);
    int32_t steps = std::max(std::abs(way.h), std::abs(way.v));
    for (int32_t step = 0; step <= steps; ++step) {
        Point at = steps == 0 ? to : Point(from.h + way.h * step / steps, from.v + way.v * step / steps);
        Rect rubbed(at.h, at.v, at.h + size.h, at.v + size.v);
        rubbed.Offset(-(size.h / 2), -(size.v / 2));
        // Framed in the erase colour as well: a frameless fill would cover one pixel less each way.
        port.DrawRectangle(rubbed, erase, erase, 1);
        changed = step == 0 ? rubbed : changed.Union(rubbed);
    }
}
