#pragma once

#include "authoring/palettes/COptionWindow.h"

#include <memory>

struct ButtonGrid;

// The option window of the dropper: a palette of the dropper's colours, each cell drawn by the
// dropper, beside a swatch of the current colours and pattern. It is placed with its top-left
// corner on the given rectangle's; a chosen colour is selected in its palette.
class CDropperOptionWindow : public COptionWindow {
public:
    CDropperOptionWindow(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid, const Rect& placement);
};
