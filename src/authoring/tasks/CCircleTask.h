#pragma once

#include "authoring/panes/PaneFeedback.h"
#include "authoring/tasks/CMouseTask.h"
#include "foundation/Rect.h"

#include <cstdint>
#include <vector>

class CHAPane;
class CSprite;

// The task of animation tool 6: the drag across a sprite draws an ellipse (one diameter along the
// drag's main direction, the other spread equally about the press; with Shift a circle), and the
// release sends the sprite once round it, clockwise, over a number of frames from the frame shown,
// starting where the press was. The sprite and the page grow when the motion runs past their
// ends. Undo takes exactly those added frames away again and puts back the old places of the
// frames the sprite had.
class CCircleTask : public CMouseTask, public pw::authoring::PaneFeedback {
public:
    static constexpr int kShiftBit = 0;
    static constexpr int16_t kDefaultFrames = 20;

    // `index` is the pressed sprite's index in the page's sprite movie.
    CCircleTask(const SmartPtr<CHAPane>& pane, int16_t index);
    ~CCircleTask() override;

    void Begin(Point&, BitFlags) override { }
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void Do() override;
    void Undo() override;
    void Redo() override { Do(); }
    void DrawFeedback(DisplayPort& port) override;

    // The ellipse of a drag from `start` to `end` (integers, halves truncated toward zero).
    static Rect EllipseBox(Point start, Point end, bool horizontal, bool circle);
    // Where frame `i` of `count` puts the sprite on the box's ellipse (count above 0).
    static Point PointOnEllipse(const Rect& box, bool horizontal, bool forward, int32_t i, int32_t count);

private:
    // Moves the sprite's reference point at the frame to `to`, the picture with it.
    void PlaceReference(int16_t frame, Point to, bool key);
    void Announce(int16_t frame);

    SmartPtr<CHAPane> pane;
    SmartPtr<CSprite> sprite;
    bool active { false };
    bool horizontal { false };
    bool forward { false };
    int16_t startFrame { 0 };
    int16_t movieFrames { 0 };
    int16_t spriteEnd { 0 };
    int16_t count { 0 };
    int16_t kept { 0 };
    Rect box { 0, 0, 0, 0 };
    // The reference point and key-frame flag of each kept frame before the motion.
    std::vector<Point> oldPositions;
    std::vector<bool> oldKeys;
    // The picture's rectangle at the start frame, for frames the sprite grew by.
    Rect startRect { 0, 0, 0, 0 };
    Point startReference { 0, 0 };
};
