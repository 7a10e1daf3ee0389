#pragma once

#include "foundation/Signal.h"
#include "ui/Window.h"

// Closes the window it is sent to (the OK buttons of simple dialogs).
class WindowCloseSignal : public Signal<Window> {
public:
    WindowCloseSignal();

protected:
    void Act(Window& window) override;
};

// Undoes or redoes the window's undo step; enabled while the window holds one.
class UndoSignal : public Signal<Window> {
public:
    UndoSignal();

protected:
    int32_t Status(Window& window) override;
    void Act(Window& window) override;
};
