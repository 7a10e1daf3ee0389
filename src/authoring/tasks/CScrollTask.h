#pragma once

#include "authoring/tasks/CMouseTask.h"
#include "foundation/Point.h"

class CHAPane;

// The task of animation tool 8: shifts the whole picture of the pane's selected frames (every
// sprite showing in each) by an offset. The press hands it to the window as the undo step without
// running it, so the offset is still (0, 0) there and no mouse step is ever reached; undo shifts
// back by the offset and redraws the whole pane.
class CScrollTask : public CMouseTask {
public:
    // `kind` names the task (the pane passes 3).
    CScrollTask(const SmartPtr<CHAPane>& pane, int32_t kind);

    void Begin(Point&, BitFlags) override { }
    void Track(Point&, Point, Point, BitFlags) override { }
    void End(Point&, Point, Point, BitFlags) override { }
    void Do() override;
    void Undo() override;
    // Not carried out: warns and changes nothing.
    void Redo() override;


private:
    SmartPtr<CHAPane> pane;
    Point offset { 0, 0 };
};
