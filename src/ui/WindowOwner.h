#pragma once

#include "foundation/SmartPtr.h"

class GenericSignal;
class Task;
class Window;

// What a window and its views report to whoever owns the window (the application, a document
// window): a change, a finished task, a window opened or closed, a command. Owners are borrowed
// (never counted); the window's ViewNotifier relays each report to every registered owner.
class WindowOwner {
public:
    virtual ~WindowOwner() = default;

    // Something in the window changed; `data` is whatever the reporter passes (views pass null).
    virtual void WindowChanged(void* data) = 0;
    virtual void TaskDone(const SmartPtr<Task>& task) = 0;
    virtual void WindowOpened(const SmartPtr<Window>& window) = 0;
    virtual void WindowClosed(const SmartPtr<Window>& window) = 0;
    virtual void WindowCommand(const SmartPtr<GenericSignal>& signal) = 0;
};
