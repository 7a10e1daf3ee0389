#include "authoring/palettes/CSwitchPalette.h"

CSwitchPalette::CSwitchPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first, int16_t alternative)
    : CToolPalette(parent, std::move(grid), first)
    , previousCell(alternative)
    , alternativeCell(alternative)
{
    SelectTool(first);
}

CSwitchPalette::~CSwitchPalette()
{
    NotifyClients(kGone);
}

void CSwitchPalette::SwapSelection()
{
    int16_t goTo = previousCell;
    previousCell = GetSelectedTool();
    NotifyClients(goTo);
}
