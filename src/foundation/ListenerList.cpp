#include "foundation/ListenerList.h"

// The count is taken once. A listener that leaves the list anyway shortens it under the loop;
// positions past the new end are passed over rather than read.
void ListenerList::Notify(const SmartPtr<Smart>& subject)
{
    for (uint32_t index = listeners.NumItems(); index >= 1; --index) {
        if (index > listeners.NumItems())
            continue;
        listeners[index]->Notified(subject);
    }
}

void ListenerList::Toggle(Listener* listener)
{
    listeners.Toggle(listener);
}
