#pragma once

#include "authoring/tasks/CMoveTask.h"

// Animation tool 5 anywhere else on a sprite: the drag moves a window of the sprite's size over
// its picture, and what the window covers becomes the part that shows in each frame (the
// sprite's crop there); the picture stays where it is. After a frame advance the window keeps
// the place the drag gave it.
class CCropMoveTask : public CMoveTask {
public:
    CCropMoveTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind);
    CCropMoveTask(const CCropMoveTask& other) = default;

    // The move's end; then the sprite's reference point goes to the release point.
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    SmartPtr<CMoveTask> Duplicate() const override;
    void PlaceInFrame(CSprite& sprite, int16_t frame, const Rect& rect) override;
    void Redraw(DisplayPort& port, const Rect& oldRect, const Rect& newRect) override;
    Rect RecordStart(const Rect& limit) override;
};
