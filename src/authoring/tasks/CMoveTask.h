#pragma once

#include "authoring/panes/PaneFeedback.h"
#include "authoring/tasks/CMouseTask.h"
#include "engine/CSprite.h"
#include "foundation/Rect.h"
#include "foundation/SmartList.h"
#include "ui/View.h"

#include <cstdint>

class CHAPane;
class CMovieGroup;
class DisplayPort;

// The animation pane's task that drags sprites: the pressed sprite, or every selected sprite
// together, at the frame the player shows or over the selected run of frames. With the tool in
// its alternate mode the frame moves on as the mouse moves, so one drag records a motion over
// several frames: each frame visited leaves a step (a copy of the task taken when the drag moved
// on), and the steps form a chain back to the first frame. While the mouse moves the pane draws
// the dragged picture over the unchanged page; the release writes every step into the sprites'
// paths and posts the task as the window's undo step. Undo and redo walk the whole chain.
//
// Rectangles and points are in the movie's coordinates. Subclasses (scaling, cropping) replace
// how the mouse point becomes a rectangle and how a rectangle is put into a frame.
class CMoveTask : public CMouseTask, public pw::authoring::PaneFeedback {
    PW_CLASS_INFO(CMoveTask)

public:
    // Modifier bits of the constraint.
    static constexpr int kShiftBit = 0;
    static constexpr int kControlBit = 2;
    // Alternate mode: a track event this long (divided by the frame rate) after the last advance
    // moves the drag on to the next frame.
    static constexpr uint32_t kAdvanceTicks = 120;

    // `index` is the pressed sprite's index in the page's sprite movie.
    CMoveTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind);
    CMoveTask(const CMoveTask& other);
    ~CMoveTask() override;

    // The sprites moved together: the list's (copied), or with none the pressed sprite alone.
    void SetSelection(const SmartList<CSprite>* list);

    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // Applies the step to every moved sprite (the last listed first).
    void Do() override;
    void Undo() override;
    void Redo() override;

    // A copy of this step of the same class, sharing the chain before it.
    virtual SmartPtr<CMoveTask> Duplicate() const;
    // Puts the sprite's rectangle `from` at `to` in the frame: a translation or a scaling of
    // whatever the sprite shows there; an empty `to` takes it out of the frame.
    virtual void ApplyToFrames(CSprite& sprite, int16_t frame, const Rect& from, const Rect& to);
    // Makes the sprite's picture fill the rectangle in the frame.
    virtual void PlaceInFrame(CSprite& sprite, int16_t frame, const Rect& rect);
    virtual void ApplyToSprite(CSprite& sprite);
    // Draws the dragged picture into the new rectangle.
    virtual void Redraw(DisplayPort& port, const Rect& oldRect, const Rect& newRect);
    // Turns the mouse point (movie coordinates) into the feedback rectangle.
    virtual void RectFromPoint(Point& point, BitFlags modifiers);
    // Reads the sprite's place at the step's frame; answers what the pane must redraw.
    virtual Rect RecordStart(const Rect& limit);
    // Frames the other moved sprites where they are dragged to.
    virtual void DrawOutlines(DisplayPort& port);
    virtual void Constrain(Point& point, Point origin, BitFlags modifiers);

    // Shift: the horizontal or vertical line through the origin (a tie goes horizontal);
    // Shift and Control: the nearest 45-degree diagonal.
    static void ConstrainPoint(Point origin, Point& point, BitFlags modifiers);
    // The frame the drag shows now.
    int16_t NextFrame();
    // The pane's drawing of the feedback over the frame.
    void DrawFeedback(DisplayPort& port) override;


protected:
    // Asks the pane to redraw the movie rectangle.
    void RedrawArea(const Rect& area);
    // The step's frame or the nearest earlier one showing the pressed sprite; -1 for none.
    int16_t DrawingFrame() const;
    // Writes the chain into the sprites, oldest step first.
    void Commit();

    Rect oldRect { 0, 0, 0, 0 };
    Rect feedback { 0, 0, 0, 0 };
    Point reference { 0, 0 };
    SmartPtr<CHAPane> pane;
    SmartPtr<CMovieGroup> movie;
    SmartPtr<CSprite> sprite;
    int16_t frame { 0 };
    SmartPtr<CMoveTask> previous;
    bool altMode { false };
    bool shown { false };
    int16_t frameCount { 1 };
    uint32_t stepTime { 0 };
    SmartList<CSprite> sprites;
};
