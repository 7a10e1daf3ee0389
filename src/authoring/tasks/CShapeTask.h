#pragma once

#include "authoring/tasks/CPaintTask.h"

class CShapeTool;

// The task of the shape tools: while the mouse moves, the tool's figure from the press point to
// the mouse is shown on the screen over a restored copy of the picture (so a figure dragged back
// and forth leaves only the last one); the release draws it into the picture.
class CShapeTask : public CPaintTask {
public:
    // Fails "tool != NULL" without a tool.
    CShapeTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CShapeTool>& tool);
    ~CShapeTask() override;

    // Takes the copy that each step restores; the track step does not run at the press.
    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;

private:
    SmartPtr<CShapeTool> tool;
    SmartPtr<BitMap> backup;
};
