#pragma once

#include "ui/View.h"

// A view that draws a palette and keeps a show flag (the base of the tab bars).
class CPaletteView : public View {
public:
    CPaletteView(View* parent, const Rect& bounds, uint8_t sizing);

    // With true flips the show flag first; answers the flag.
    bool ToggleFlag(bool toggle);

private:
    bool showFlag { false };
};
