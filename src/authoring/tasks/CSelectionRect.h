#pragma once

#include "authoring/tasks/CPaintTask.h"

class CTool;

// The rubber band with which the child drags a rectangular selection in a picture pane (tool
// 111). While the button is down it shows the band from the press point to the mouse over a fresh
// drawing of the picture; at the release the pane's selection becomes the band. It changes no
// pixel of the picture and is never offered for undo.
class CSelectionRect : public CPaintTask {
public:
    // Empties the pane's selection at once; fails "tool != NULL" without a tool. The tool's
    // option (the selection mode, 1 to 4) is read here.
    CSelectionRect(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen, const SmartPtr<CTool>& tool);

    // In modes 1 and 3 the band starts as the empty rectangle at the press point.
    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    // The selection becomes the band; nothing is posted for undo.
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;

private:
    int16_t mode;
    // Normalised, in pane coordinates.
    Rect band { 0, 0, 0, 0 };
};
