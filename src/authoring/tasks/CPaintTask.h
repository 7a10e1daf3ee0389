#pragma once

#include "authoring/tasks/CMouseTask.h"
#include "foundation/Rect.h"

#include <cstdint>

class BitMap;
class CPixPane;
class OffScreen;

// The base of every mouse task that changes the pixels of a picture pane. The task draws straight
// into the pane's off-screen picture while the mouse moves; before the gesture it takes one copy
// of the picture (the snapshot), and undo exchanges the picture's bitmap with it, so undo, redo
// and a second undo alternate the picture without copying a pixel. The first press runs the
// track step once at the press point; the release runs it at the release point and hands the
// task to the pane's window as its undoable step.
class CPaintTask : public CMouseTask {
public:
    // Runs the track step with the press point as current, previous and start point.
    void Begin(Point& start, BitFlags modifiers) override;
    // Finish.
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;

    // Warns "Not implemented.": painting happens during the gesture, never through Do.
    void Do() override;
    // Exchanges the picture and the snapshot and redraws the pane; nothing without a snapshot.
    void Undo() override;
    void Redo() override { Undo(); }

    // With Shift (modifier bit 0) held, `point` is kept on the horizontal or vertical line through
    // `origin` (whichever it is nearer), or with Control too on the nearer 45-degree diagonal.
    static void ConstrainToLine(Point origin, Point& point, BitFlags modifiers);

protected:
    // `kind` names the task (0 rubber band, 1 selection drag, 16 to 18 pens and shapes).
    CPaintTask(int32_t kind, const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen);
    ~CPaintTask() override;

    void Start(Point& point, BitFlags modifiers);
    // The track step at the release point; a whole-pane redraw when the pane is in its edit state
    // and the erase colour is one of the paint colours; then the task goes to the window for undo.
    void Finish(Point& current, Point previous, Point start, BitFlags modifiers);

    // Each coordinate into [left, right] and [top, bottom].
    static Point Clamp(Point point, const Rect& rect);

    SmartPtr<CPixPane> pane;
    SmartPtr<OffScreen> offScreen;
    SmartPtr<BitMap> snapshot;
};
