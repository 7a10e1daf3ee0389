#pragma once

#include "authoring/tasks/CPenTask.h"

// The brush's stroke: the brush stamped along the line from the previous to the current point,
// one stamp per pixel of the longer axis, kept wholly inside the picture.
class CBrushTask : public CPenTask {
public:
    CBrushTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CPenTool>& pen);

    void DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags modifiers) override;
};
