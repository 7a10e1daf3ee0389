#pragma once

#include "authoring/tasks/CScaleTask.h"

// Animation tool 5 on a corner handle: the drag resizes a rectangle from the grabbed corner as
// the scale task does, and the result becomes the part of the picture that shows in each frame
// (the sprite's crop there) instead of its new size.
class CCropScaleTask : public CScaleTask {
public:
    CCropScaleTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind);
    CCropScaleTask(const CCropScaleTask& other) = default;

    SmartPtr<CMoveTask> Duplicate() const override;
    void PlaceInFrame(CSprite& sprite, int16_t frame, const Rect& rect) override;
    void Redraw(DisplayPort& port, const Rect& oldRect, const Rect& newRect) override;
};
