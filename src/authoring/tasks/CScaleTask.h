#pragma once

#include "authoring/tasks/CMoveTask.h"

#include <map>
#include <utility>

// Resizes the pressed sprite by dragging a corner of its rectangle: the grabbed corner follows
// the mouse, the opposite corner stays where it was, and the rectangle never gets narrower or
// lower than 4 pixels nor flips across the fixed corner. With Shift the picture keeps its own
// proportions and snaps to its natural size within 16 pixels. Everything else (frames, feedback,
// commit, undo) is the move task's. While dragging, the sprite's reference point is parked on
// the fixed corner; at the end it returns to the same place inside the resized picture. A text
// sprite is not stretched: its text frame takes the new width and height while the drag goes on,
// keeping its top edge, and the text is laid out in it again.
class CScaleTask : public CMoveTask {
    PW_CLASS_INFO(CScaleTask)

public:
    static constexpr int32_t kMinimumSize = 4;
    static constexpr int32_t kSnapDistance = 16;
    // Modifier bit that scales about the reference point instead of the opposite corner; the
    // mouse path never sets it.
    static constexpr int kFreeCentreBit = 1;
    // Modifier bit that stretches a text sprite like a picture; the mouse path never sets it.
    static constexpr int kStretchTextBit = 3;

    CScaleTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind);
    CScaleTask(const CScaleTask& other) = default;

    void Begin(Point& start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void Undo() override;
    SmartPtr<CMoveTask> Duplicate() const override;
    void RectFromPoint(Point& point, BitFlags modifiers) override;
    Rect RecordStart(const Rect& limit) override;
    void Constrain(Point& point, Point origin, BitFlags modifiers) override;
    void PlaceInFrame(CSprite& sprite, int16_t frame, const Rect& rect) override;
    void ApplyToFrames(CSprite& sprite, int16_t frame, const Rect& from, const Rect& to) override;
    void Redraw(DisplayPort& port, const Rect& oldRect, const Rect& newRect) override;

    // The start rectangle `start` (relative to the fixed point) scaled so that the grabbed edges
    // lie at `d` from it; each quotient rounded half away from zero.
    static Rect ScaledRect(const Rect& start, Point grab, Point d);
    // Keeps the natural proportions of `natural` (relative to the fixed point) for the
    // displacement `q`, snapping to the natural size unless in the alternate mode.
    static Point KeepProportions(Point q, const Rect& natural, Point grab, bool altMode);

protected:
    Rect natural { 0, 0, 0, 0 };
    bool textMode { false };
    bool cornerAnchored { true };
    Point grab { 1, 1 };
    Point savedReference { 0, 0 };
    int16_t savedFrame { 0 };
    Rect carriedStart { 0, 0, 0, 0 };
    Rect start { 0, 0, 0, 0 };
    Point origin { 0, 0 };
    // False where a subclass puts the rectangle elsewhere than in the sprite's place.
    bool keepsPlaces { true };
    // True while the step stands undone.
    bool undone { false };
    // Per sprite and frame, its rectangle before and after the step's first run.
    std::map<std::pair<const CSprite*, int16_t>, std::pair<Rect, Rect>> places;
};
