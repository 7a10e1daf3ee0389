#pragma once

#include "ui/Control.h"

#include <cstdint>

// A native check box in its container's next stack row, showing a two-state value of its target
// (0 clear, 1 ticked) for its tag. A click flips the value, hands it to the target and tells the
// window's owners that something changed; the target is asked again whenever the check box's
// activation changes.
class CheckBox : public Control {
    PW_CLASS_INFO(CheckBox)

public:
    CheckBox(View* container, const char* title, const SmartPtr<Controllable>& target, int32_t tag);

    // Makes one and adds it to the container.
    static SmartPtr<CheckBox> Create(View* container, const char* title, const SmartPtr<Controllable>& target,
        int32_t tag);

    // Any part: 1 - value.
    void Action(int32_t part) override;
};
