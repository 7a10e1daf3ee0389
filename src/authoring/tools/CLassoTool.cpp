#include "authoring/tools/CLassoTool.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/resources/KidResources.h"

CLassoTool::CLassoTool()
    : CTool(111, KidResources::Lookup(36), true, nullptr)
{
}

void CLassoTool::SetOption(int16_t, int16_t value)
{
    if (value < 1 || value > 4)
        return;
    mode = value;
    CPixPane* pane = CPixPane::Active();
    if (!pane)
        return;
    if (value == 4)
        pane->DropSelection(true);
    else
        pane->ResetSelectionArea();
}
