#include "authoring/palettes/CFramedPalette.h"

#include "authoring/resources/KidResources.h"
#include "graphics/DisplayPort.h"

CFramedPalette::CFramedPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first)
    : CToolPalette(parent, std::move(grid), first)
{
}

// Inverting twice restores the cell, so the frame is drawn once per drawing of the cell.
void CFramedPalette::DrawSelection(DisplayPort& port, int16_t index, bool)
{
    if (index == 0)
        return;
    Rect frame = GetCellRect(index);
    frame.right -= 1;
    frame.bottom -= 1;
    if (!frame.IsEmpty())
        port.InvertFrame(frame, 1);
}

CAnimPalette::CAnimPalette(View* parent, int16_t first)
    : CToolPalette(parent, KidResources::MakeButtonGrid(201), first)
{
}
