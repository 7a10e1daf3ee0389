#include "authoring/tasks/CPaintTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tasks/CMoveTask.h"
#include "authoring/tools/PaintSettings.h"
#include "foundation/Exception.h"
#include "graphics/BitMap.h"
#include "graphics/OffScreen.h"

#include <algorithm>
#include <new>

using pw::authoring::PaintSettings;

CPaintTask::CPaintTask(int32_t kind, const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen)
    : CMouseTask(kind, SmartPtr<View>(pane.Get()))
    , pane(pane)
    , offScreen(offScreen)
{
    // Without memory for the copy the gesture still paints; only its undo is lost.
    snapshot = new (std::nothrow) BitMap(*offScreen->GetBitMap().Get());
}

CPaintTask::~CPaintTask() = default;

void CPaintTask::Begin(Point& start, BitFlags modifiers)
{
    Start(start, modifiers);
}

void CPaintTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Finish(current, previous, start, modifiers);
}

void CPaintTask::Start(Point& point, BitFlags modifiers)
{
    Track(point, point, point, modifiers);
}

void CPaintTask::Finish(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Track(current, previous, start, modifiers);
    const PaintSettings& paint = PaintSettings::Current();
    if (pane->TestEditFlag(false) && (paint.erase.Equals(paint.foreground) || paint.erase.Equals(paint.background)))
        pane->InvalidateView(false);
    pane->NotifyTask(SmartPtr<Task>(this));
}

void CPaintTask::Do()
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CPaintTask::Undo()
{
    if (!snapshot.Valid())
        return;
    SmartPtr<BitMap> shown = offScreen->GetBitMap();
    offScreen->SetBitMap(snapshot);
    snapshot = shown;
    pane->InvalidateView(false);
}

void CPaintTask::ConstrainToLine(Point origin, Point& point, BitFlags modifiers)
{
    if (modifiers.IsSet(0))
        CMoveTask::ConstrainPoint(origin, point, modifiers);
}

Point CPaintTask::Clamp(Point point, const Rect& rect)
{
    return Point(std::clamp(point.h, rect.left, std::max(rect.left, rect.right)),
        std::clamp(point.v, rect.top, std::max(rect.top, rect.bottom)));
}
