#pragma once

#include "ui/View.h"

#include <cstdint>

// The editing view a resource movie makes for itself: a view whose content lies inside a fixed
// 5-pixel border. Its mouse handling is not built: presses and the like warn "Not implemented.".
class CBorderSize : public View {
public:
    CBorderSize(View* parent, int32_t left, int32_t top, int32_t right, int32_t bottom);

    // The bounds inset by 5 on every side; the bounds themselves when 10 pixels or less across.
    Rect GetContentRect() override;
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    bool KeyDown(uint8_t key, int32_t value) override;
    void Idle() override;

    static constexpr int32_t kBorder = 5;
};
