#include "authoring/tasks/CPenTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CPenTool.h"
#include "foundation/Exception.h"
#include "graphics/OffScreen.h"
#include "graphics/Translation.h"
#include "ui/ViewPort.h"

CPenTask::CPenTask(int32_t kind, const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CPenTool>& pen)
    : CPaintTask(kind, pane, offScreen)
    , pen(pen)
{
    if (!pen.Valid())
        AssertionFailed("pen != NULL", PW_HERE);
}

CPenTask::~CPenTask() = default;

void CPenTask::Track(Point& current, Point previous, Point start, BitFlags modifiers)
{
    ConstrainToLine(start, current, modifiers);
    if (current != start && current == previous)
        return;
    Rect bounds = pane->GetBounds();
    current = Clamp(current, bounds);
    Point to = pane->ViewToImage(current);
    Point from = pane->ViewToImage(previous);
    Rect changed(0, 0, 0, 0);
    {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        Translation toPicture(-bounds.left, -bounds.top);
        port.ApplyTransform(toPicture);
        DrawSegment(port, changed, to, from, modifiers);
    }
    pw::ui::ViewPort screen(GetPort(), pane->ShownBounds());
    // A magnified pane shows the change through its zoom; a plain one gets the changed pixels.
    if (pane->IsZoomed()) {
        pane->ApplyToStampBounds(screen, true);
        return;
    }
    changed = changed.Intersect(Rect(bounds.left, bounds.top, bounds.right, bounds.bottom));
    if (changed.IsEmpty())
        return;
    changed.Offset(-bounds.left, -bounds.top);
    pane->DrawImageRect(screen, changed, true);
}

void CPenTask::DrawSegment(DisplayPort&, Rect&, Point, Point, BitFlags)
{
}
