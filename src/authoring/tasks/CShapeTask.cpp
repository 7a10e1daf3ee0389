#include "authoring/tasks/CShapeTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CShapeTool.h"
#include "foundation/Exception.h"
#include "graphics/BitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/Translation.h"
#include "ui/ViewPort.h"

#include <algorithm>

namespace {

Rect Spanned(Point a, Point b)
{
    return Rect(std::min(a.h, b.h), std::min(a.v, b.v), std::max(a.h, b.h), std::max(a.v, b.v));
}

} // namespace

CShapeTask::CShapeTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CShapeTool>& tool)
    : CPaintTask(16, pane, offScreen)
    , tool(tool)
{
    if (!tool.Valid())
        AssertionFailed("tool != NULL", PW_HERE);
}

CShapeTask::~CShapeTask() = default;

void CShapeTask::Begin(Point&, BitFlags)
{
    if (pane->TestEditFlag(false))
        backup = new BitMap(*offScreen->GetBitMap().Get());
}

void CShapeTask::Track(Point& current, Point previous, Point start, BitFlags modifiers)
{
    tool->TrackShape(current, previous, start, modifiers);
    Rect bounds = pane->GetBounds();
    current = Clamp(current, bounds);
    if (current == previous)
        return;
    pw::ui::ViewPort screen(GetPort(), pane->ShownBounds());
    // The picture is unchanged until the release: showing it again (over the page, magnified or
    // not) takes away the outline the last event drew.
    pane->ApplyToStampBounds(screen, true);
    Point from = pane->ViewToImage(start);
    Point to = pane->ViewToImage(current);
    // The points in the order the release draws them, so a constrained line shows as it will be.
    tool->DrawShape(screen, Spanned(from, to), to, from, modifiers);
}

void CShapeTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Finish(current, previous, start, modifiers);
    if (!pane->TestEditFlag(false)) {
        // Magnified the release draws nothing into the picture; the outline shown goes too.
        pw::ui::ViewPort screen(GetPort(), pane->ShownBounds());
        pane->ApplyToStampBounds(screen, true);
        return;
    }
    Rect bounds = pane->GetBounds();
    DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
    Translation toPicture(-bounds.left, -bounds.top);
    port.ApplyTransform(toPicture);
    tool->DrawShape(port, Spanned(current, start), current, start, modifiers);
}
