#include "authoring/tasks/CCropMoveTask.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/tasks/CropFeedback.h"

CCropMoveTask::CCropMoveTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind)
    : CMoveTask(pane, index, altMode, kind)
{
}

SmartPtr<CMoveTask> CCropMoveTask::Duplicate() const
{
    return new CCropMoveTask(*this);
}

void CCropMoveTask::End(Point& current, Point previousPoint, Point startPoint, BitFlags modifiers)
{
    CMoveTask::End(current, previousPoint, startPoint, modifiers);
    Point release = pane->ToMovie(current);
    sprite->PlaceAtFrame(pane->CPanePlay::GetPlayer().GetFrame(), nullptr, &release);
}

// The window is kept relative to the reference point after the commit; the rectangle the move
// computed for the picture is not used, since the picture stays.
void CCropMoveTask::PlaceInFrame(CSprite& target, int16_t f, const Rect&)
{
    if (!target.ShowsInFrames(f, 1))
        return;
    Rect crop = feedback;
    crop.Offset(reference.h, reference.v);
    target.SetClipAtFrame(f, &crop);
}

void CCropMoveTask::Redraw(DisplayPort& port, const Rect&, const Rect& newRect)
{
    pw::authoring::DrawCropped(*pane.Get(), *sprite.Get(), DrawingFrame(), newRect, port);
}

Rect CCropMoveTask::RecordStart(const Rect& limit)
{
    Rect kept = feedback;
    Point point = reference;
    Rect area = CMoveTask::RecordStart(limit);
    if (kept.IsEmpty())
        return area;
    oldRect = feedback;
    reference = point;
    feedback = kept;
    return area;
}
