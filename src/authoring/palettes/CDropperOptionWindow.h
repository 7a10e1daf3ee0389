#pragma once

#include "authoring/palettes/COptionWindow.h"

#include <memory>

class CProxyPalette;
struct ButtonGrid;

// The option window of the dropper: a palette of the dropper's colours, each cell drawn by the
// dropper, beside a swatch of the current colours and pattern, in a framed row. It is placed with
// its top-left corner on the given rectangle's.
class CDropperOptionWindow : public COptionWindow {
public:
    CDropperOptionWindow(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid, const Rect& placement);
    ~CDropperOptionWindow() override;

    // Selects the cell, then sets the option.
    void ChooseOption(int16_t index) override;

    SmartPtr<CProxyPalette> GetOptionPalette() const { return optionPalette; }

private:
    SmartPtr<CProxyPalette> optionPalette;
};
