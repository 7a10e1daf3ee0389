#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Exception.h"
#include "foundation/GenericSignal.h"

// A command signal for watchers of class T (or classes derived from it). A concrete signal names
// the place of its definition, keeps its datum (a value, a handle, a text) as its own fields, and
// fills in the action and, where the command is not always available, the status test. It is not
// registered of its own: it reports itself as a GenericSignal.
//
//     class CloseSignal : public Signal<Window> {
//     public:
//         CloseSignal() : Signal(PW_HERE) { }
//     protected:
//         void Act(Window& window) override { window.Close(); }
//     };
template <typename T>
class Signal : public GenericSignal {
public:
    // A watcher that is not a T is disabled; a T answers Status.
    int32_t GetSignalStatus(Smart* watcher) override
    {
        T* target = SmartCast<T>(watcher);
        return target ? Status(*target) : disabled;
    }

    // The status is asked through the virtual slot, so a subclass's own rule decides.
    void Send(Smart* watcher) override
    {
        if (GetSignalStatus(watcher) == disabled)
            AssertionFailed("GetSignalStatus(watcher) != disabled", file, line);
        Act(*SmartCast<T>(watcher));
    }

protected:
    // `file` and `line` name the signal's definition in assertion messages (pass PW_HERE).
    Signal(const char* file, int line)
        : file(file)
        , line(line)
    {
    }

    // The status for a watcher already known to be a T: enabled unless overridden.
    virtual int32_t Status(T&) { return enabled; }
    virtual void Act(T& watcher) = 0;

private:
    const char* file;
    int line;
};
