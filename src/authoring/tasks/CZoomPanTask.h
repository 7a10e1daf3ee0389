#pragma once

#include "authoring/tasks/CMouseTask.h"

class CPixPane;
class OffScreen;

// Drags the picture of a magnified picture pane (Control held): each step scrolls the zoom by the
// picture pixels the mouse crossed, Shift keeping the drag on one axis. It changes no pixel and
// leaves the window's undo step alone.
class CZoomPanTask : public CMouseTask {
public:
    explicit CZoomPanTask(const SmartPtr<CPixPane>& pane);
    ~CZoomPanTask() override;

    void Begin(Point&, BitFlags) override { }
    void Track(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void End(Point& current, Point previous, Point start, BitFlags modifiers) override;
    void Do() override { }
    void Undo() override { }
    void Redo() override { }

private:
    SmartPtr<CPixPane> pane;
};
