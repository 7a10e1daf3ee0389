#pragma once

#include "authoring/tasks/CPenTask.h"
#include "graphics/Color.h"
#include "graphics/Pattern.h"

// The pencil's stroke, left unfinished: it warns "Not implemented." when made and at every step
// that moves, and paints nothing.
class CPencilTask : public CPenTask {
public:
    CPencilTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CPenTool>& pen);

    void DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags modifiers) override;

private:
    Color colour;
    Pattern pattern { Pattern(1) };
};
