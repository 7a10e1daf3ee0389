#pragma once

#include "authoring/tasks/CPenTask.h"

// The eraser's stroke: rectangles of the eraser's size in the erase colour (a quarter of the size
// on each side in a magnified pane), centred on every point of the way from the previous point to
// the current one, so that a quick stroke rubs out a whole band.
class CEraserTask : public CPenTask {
public:
    CEraserTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CPenTool>& pen);

    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // Fails "pen != NULL && member(pen,CEraserTool)" for any other pen.
    void DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags modifiers) override;
};
