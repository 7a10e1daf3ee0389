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
    if (value != 4 && CPixPane::Active())
        CPixPane::Active()->ResetSelectionArea();
}
