#include "authoring/tasks/CSelectionRect.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CTool.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "ui/ViewPort.h"

#include <utility>

CSelectionRect::CSelectionRect(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CTool>& tool)
    : CPaintTask(0, pane, offScreen)
{
    *pane->GetSelectionArea().Get() = Area::EmptyArea();
    if (!tool.Valid())
        AssertionFailed("tool != NULL", PW_HERE);
    mode = tool->GetOption(0);
}

void CSelectionRect::Begin(Point& start, BitFlags modifiers)
{
    Start(start, modifiers);
    if (mode == 1 || mode == 3)
        band = Rect(start.h, start.v, start.h, start.v);
}

void CSelectionRect::Track(Point& current, Point previous, Point start, BitFlags)
{
    if (current == previous)
        return;
    pw::ui::ViewPort port(GetPort(), pane->ShownBounds());
    // The fresh picture takes away the band the previous event drew.
    pane->ApplyToStampBounds(port, true);
    band = Rect(start.h, start.v, current.h, current.v);
    if (band.right < band.left)
        std::swap(band.left, band.right);
    if (band.top > band.bottom)
        std::swap(band.top, band.bottom);
    port.DrawRectangle(band, Color(Color::kNoColor), Color(1), 1);
}

void CSelectionRect::End(Point&, Point, Point, BitFlags)
{
    pane->GetSelectionArea()->SetRect(band);
}
