#pragma once

#include "foundation/GenericSignal.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "ui/Control.h"

#include <cstdint>

// The command button dialogs build from a command signal: a native push button that, when
// pressed, sends its signal to its watcher unless the signal is disabled for it. The progress
// dialog's Stop button and the children's dialogs are made of them.
class ViewControl : public Control {
    PW_CLASS_INFO(ViewControl)

public:
    // In `container` at the rectangle, fixed to the parent's top-left corner; the container adds
    // it. The watcher is borrowed: commonly the dialog that holds the button.
    ViewControl(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom, const String& title,
        const SmartPtr<GenericSignal>& signal, Smart* watcher);

    void Action(int32_t part) override;

    const SmartPtr<GenericSignal>& GetSignal() const { return signal; }

private:
    SmartPtr<GenericSignal> signal;
    Smart* watcher;
};
