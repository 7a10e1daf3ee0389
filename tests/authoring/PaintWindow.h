// A window that keeps each finished task as its undo step, as page windows do: the picture pane's
// tests and bench_paint paint in one.
#pragma once

#include "foundation/String.h"
#include "ui/Window.h"
#include "ui/WindowOwner.h"

namespace authoring {

class PaintWindow : public Window, public WindowOwner {
public:
    explicit PaintWindow(Point size = Point(60, 50))
        : Window(new String("paint"), 0, false, false, size)
    {
        AddOwner(this);
    }
    ~PaintWindow() override { RemoveOwner(this); }
    void WindowChanged(void*) override { }
    void TaskDone(const SmartPtr<Task>& task) override { SetUndoTask(task); }
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }
};

} // namespace authoring
