#include "authoring/tasks/CCropScaleTask.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/tasks/CropFeedback.h"

CCropScaleTask::CCropScaleTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind)
    : CScaleTask(pane, index, altMode, kind)
{
    keepsPlaces = false;
}

SmartPtr<CMoveTask> CCropScaleTask::Duplicate() const
{
    return new CCropScaleTask(*this);
}

void CCropScaleTask::PlaceInFrame(CSprite& target, int16_t f, const Rect& rect)
{
    if (target.ShowsInFrames(f, 1))
        target.SetClipAtFrame(f, &rect);
}

void CCropScaleTask::Redraw(DisplayPort& port, const Rect&, const Rect& newRect)
{
    pw::authoring::DrawCropped(*pane.Get(), *sprite.Get(), DrawingFrame(), newRect, port);
}
