#include "authoring/tasks/CSelectionDragTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/ColorPaint.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"
#include "ui/ViewPort.h"

CSelectionDragTask::CSelectionDragTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen)
    : CPaintTask(1, pane, offScreen)
{
}

CSelectionDragTask::~CSelectionDragTask() = default;

void CSelectionDragTask::Begin(Point&, BitFlags)
{
    SmartPtr<Area> selection = pane->GetSelectionArea();
    sourceArea = new Area(*selection.Get());
    Rect b = selection->ComputeBounds();
    if (b.IsEmpty())
        return;
    SmartPtr<BitMap> picture = offScreen->GetBitMap();
    Point size = b.Size();
    OffScreen lift(size.h, size.v, picture->GetColorTable(), Color(0), true);
    {
        DisplayPort port(lift, lift.GetBounds(), 0);
        Rect p = pane->GetBounds();
        Translation toOrigin(p.left - b.left, p.top - b.top);
        port.ApplyTransform(toOrigin);
        picture->DrawOpaque(port);
    }
    lifted = lift.GetBitMap();
}

void CSelectionDragTask::Track(Point& current, Point previous, Point start, BitFlags modifiers)
{
    ConstrainToLine(start, current, modifiers);
    SmartPtr<Area> selection = pane->GetSelectionArea();
    Rect b = selection->ComputeBounds();
    Rect p = pane->GetBounds();
    // The step from previous to current may move the bounds up to the pane's edges, no further.
    current = Clamp(current, Rect(p.left + previous.h - b.left, p.top + previous.v - b.top,
                                 p.right + previous.h - b.right, p.bottom + previous.v - b.bottom));
    if (current == previous)
        return;
    {
        DisplayPort port(*offScreen.Get(), offScreen->GetBounds(), 0);
        if (snapshot.Valid())
            snapshot->DrawOpaque(port);
        Translation toPicture(-p.left, -p.top);
        port.ApplyTransform(toPicture);
        // Framed in the erase colour too: a frameless fill would stop a pixel short of the right
        // and bottom edges and leave a strip of the lifted pixels behind.
        ColorPaint erase(pw::authoring::PaintSettings::Current().erase);
        if (sourceArea.Valid())
            port.DrawAreaRects(*sourceArea.Get(), erase, erase);
        selection->Offset(current.h - previous.h, current.v - previous.v);
        if (lifted.Valid()) {
            PortSaver clip(port, *selection.Get());
            Rect moved = selection->ComputeBounds();
            Translation toMoved(moved.left, moved.top);
            PortSaverTransform place(port, toMoved);
            // The lifted pixels keep the picture's see-through white: what they are moved over
            // shows through it, as the page shows through the picture.
            uint32_t white = 0;
            bool keyed = lifted->GetColorTable()->Convert(Color(0), white);
            lifted->DrawPart(port, lifted->GetBounds(), keyed, white);
        }
    }
    pw::ui::ViewPort screen(GetPort(), pane->ShownBounds());
    pane->DrawImageRect(screen, offScreen->GetBitMap()->GetBounds(), true);
}

void CSelectionDragTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Finish(current, previous, start, modifiers);
    if (pane->TestEditFlag(false))
        pane->InvalidateView(false);
}

void CSelectionDragTask::Undo()
{
    if (sourceArea.Valid()) {
        SmartPtr<Area> selection = pane->GetSelectionArea();
        Area before(*sourceArea.Get());
        *sourceArea.Get() = *selection.Get();
        *selection.Get() = before;
    }
    CPaintTask::Undo();
}
