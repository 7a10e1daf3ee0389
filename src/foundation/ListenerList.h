#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"

// Whatever registers with a ListenerList to hear about its subject.
class Listener {
public:
    // Called with a counted copy of the subject, released when the call returns.
    virtual void Notified(SmartPtr<Smart> subject) = 0;

protected:
    Listener() = default;
    Listener(const Listener&) = default;
    Listener& operator=(const Listener&) = default;
    virtual ~Listener() = default;
};

// The objects that want to hear about something (players, tool palettes, the application), told
// when it happens, last registered first. The list takes no references: a listener toggles itself
// out before it is destroyed, and nobody changes the list from inside a notification.
class ListenerList {
public:
    ListenerList() = default;
    virtual ~ListenerList() = default;

    // Tells every listener, from the last registered to the first.
    virtual void Notify(const SmartPtr<Smart>& subject);
    // Removes the listener's first entry, or appends it when it is not in the list.
    void Toggle(Listener* listener);

    uint32_t NumListeners() const { return listeners.NumItems(); }

private:
    TypedArray<Listener*> listeners;
};
