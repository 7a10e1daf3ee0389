#pragma once

#include "ui/Window.h"

// The floating top-level window under every palette window, titled "Floater". Its shown flag
// records what the last toggle set.
class Floater : public Window {
public:
    explicit Floater(int32_t kind);

    // When it is shown, hides it.
    virtual void Hide();
    // With true hides a shown window or shows a hidden one; answers whether it is shown now.
    virtual bool ToggleShown(bool toggle);

private:
    static constexpr uint8_t kShownFlag = 0x01;

    uint8_t flags { 0 };
};
