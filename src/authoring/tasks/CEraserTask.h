#pragma once

#include "authoring/tasks/CPenTask.h"

// The eraser's stroke: at each step one rectangle of the eraser's size in the erase colour,
// centred on the current point (a quarter of the size on each side in a magnified pane). Fast
// moves leave gaps.
class CEraserTask : public CPenTask {
public:
    CEraserTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CPenTool>& pen);

    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // Fails "pen != NULL && member(pen,CEraserTool)" for any other pen.
    void DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags modifiers) override;
};
