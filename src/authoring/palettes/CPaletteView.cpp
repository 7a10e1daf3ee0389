#include "authoring/palettes/CPaletteView.h"

CPaletteView::CPaletteView(View* parent, const Rect& bounds, uint8_t sizing)
    : View(parent, bounds, sizing, false, false)
{
}

bool CPaletteView::ToggleFlag(bool toggle)
{
    if (toggle)
        showFlag = !showFlag;
    return showFlag;
}
