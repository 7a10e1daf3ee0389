#include "ui/ViewControl.h"

PW_DEFINE_CLASS(ViewControl, nullptr, nullptr, Control)

ViewControl::ViewControl(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom,
    const String& title, const SmartPtr<GenericSignal>& signal, Smart* watcher)
    : Control(container, left, top, right, bottom, kSizeTopLeft, kPushButton, title, SmartPtr<Controllable>(), 0)
    , signal(signal)
    , watcher(watcher)
{
}

// The button may be the last thing holding the dialog it closes: it keeps itself alive for the
// send.
void ViewControl::Action(int32_t)
{
    if (!signal.Valid())
        return;
    SmartPtr<View> self;
    if (ReferenceCount() > 0)
        self = this;
    SmartPtr<GenericSignal> command = signal;
    if (command->GetSignalStatus(watcher) != GenericSignal::disabled)
        command->Send(watcher);
}
