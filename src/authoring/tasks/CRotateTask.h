#pragma once

#include "authoring/panes/PaneFeedback.h"
#include "authoring/tasks/CMouseTask.h"
#include "engine/CMovie.h"
#include "engine/CSprite.h"
#include "engine/SpritePlacement.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"

#include <array>
#include <cstdint>
#include <optional>

class CHAPane;

// Turns a sprite about a centre with the mouse over a run of frames; undo and redo turn it back
// and forth. The press decides the centre: the middle of the sprite at the shown frame (the
// sprite's reference point is moved there), or with modifier bit 1 held its existing reference
// point. Angles are whole degrees, counter-clockwise on the screen; with modifier bit 0 held the
// sprite's rotation snaps to multiples of 45 degrees. Undo puts the sprite back exactly as it
// stood before the press (its reference point among it), redo as the drag left it, and selects
// the shown frame in the pane when the pane selects frames. In the animation pane the outline of
// the turned picture and a line from the centre to the middle of its top edge are drawn over the
// page while the drag goes on, and the finished turn becomes the window's undo step.
class CRotateTask : public CMouseTask, public pw::authoring::PaneFeedback {
public:
    // Modifier bits.
    static constexpr int kSnapBit = 0;
    static constexpr int kKeepCentreBit = 1;

    // The frames first..last of the movie (at least the shown frame) take the rotation.
    CRotateTask(const SmartPtr<View>& view, const SmartPtr<CMovie>& movie, const SmartPtr<CSprite>& sprite,
        int16_t shownFrame, int16_t first, int16_t last);
    ~CRotateTask() override;

    // The pointer angle of `p` about `centre`, in (-180, 180]; 0 at the centre.
    static int16_t PointerAngle(Point p, Point centre);
    // `q` turned about `centre` by `degrees`.
    static Point RotatePoint(Point q, Point centre, int32_t degrees);
    // The accumulated angle after the pointer moved to `pointer` degrees: snapped when asked, and
    // advanced the short way round so that a turn across +-180 goes on smoothly.
    static int16_t Advance(int16_t angle, int16_t pointer, int16_t startAngle, int16_t frameRotation, bool snap);

    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // The drag has already turned the sprite.
    void Do() override { }
    // Both run the same exchange of angles and placements: the second call restores the first
    // state.
    void Undo() override;
    void Redo() override;

    int16_t GetAngle() const { return angle; }
    int16_t GetStartAngle() const { return startAngle; }
    Point GetCentre() const { return centre; }
    // The outline of the turned cel: the four corners of the shown frame turned by the drag.
    std::array<Point, 4> Outline() const;
    // The outline, in black, clipped to the pane.
    void DrawFeedback(DisplayPort& port) override;

private:
    static constexpr uint8_t kEnded = 0x02;
    static constexpr uint8_t kRecentred = 0x04;

    void ApplyAll();
    void ApplyAt(int16_t frame);
    void Exchange();
    // Tells the movie of the sprite's rectangle in every frame of the run.
    void TellFrames();
    // Adds blank frames at the movie's end, or takes them off, until it has `count`.
    void FitMovie(int16_t count);
    // The animation pane the task works in, or null.
    CHAPane* Pane() const;
    // Has the pane draw again where the outline lies.
    void RedrawOutline();

    SmartPtr<CMovie> movie;
    SmartPtr<CSprite> sprite;
    int16_t shownFrame;
    int16_t first;
    int16_t last;
    uint8_t flags { 0 };
    // The sprite as it stood before the press and as the drag left it, and the movie's frame
    // count then (a drag past the movie's end adds blank frames).
    std::optional<pw::engine::SpritePlacement> before;
    std::optional<pw::engine::SpritePlacement> after;
    int16_t framesBefore { 0 };
    int16_t framesAfter { 0 };
    bool undone { false };
    Rect startBounds { 0, 0, 0, 0 };
    Point centre;
    int16_t startAngle { 0 };
    int16_t angle { 0 };
    int16_t baseRotation { 0 };
    int16_t frameRotation { 0 };
    std::array<Point, 4> corners {};
};
