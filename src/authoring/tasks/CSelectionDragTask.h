#pragma once

#include "authoring/tasks/CPaintTask.h"

class Area;

// Lifts the pixels under a picture pane's selection at the press and moves them with the mouse,
// leaving the erase colour where they were; their white stays see-through over the picture. Every step rebuilds the picture from the snapshot, so
// the moved pixels never smear; the selection's bounds stop at the pane's edges on each axis
// alone. Undo exchanges the picture and the selection with their state before the drag. The
// pane's paste runs its begin and end steps directly to make pasted pixels a floating selection.
class CSelectionDragTask : public CPaintTask {
public:
    CSelectionDragTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen);
    ~CSelectionDragTask() override;

    // Keeps the selection as the source area and lifts the pixels inside its bounds.
    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void Undo() override;
    void Redo() override { Undo(); }

private:
    SmartPtr<BitMap> lifted;
    SmartPtr<Area> sourceArea;
};
