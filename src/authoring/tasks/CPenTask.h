#pragma once

#include "authoring/tasks/CPaintTask.h"

class CPenTool;
class DisplayPort;

// The base of the tasks that leave a pen's trail along the mouse path (brush, eraser, pencil):
// each track step draws one segment from the previous to the current point into the picture and
// copies just the changed rectangle to the screen. A press without movement draws once.
class CPenTask : public CPaintTask {
public:
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // Draws the pen from `from` to `to` (picture coordinates of the pane's space) into the port and
    // answers the rectangle it changed; nothing here.
    virtual void DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags modifiers);

protected:
    // Fails "pen != NULL" without a pen.
    CPenTask(int32_t kind, const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
        const SmartPtr<CPenTool>& pen);
    ~CPenTask() override;

    SmartPtr<CPenTool> pen;
};
