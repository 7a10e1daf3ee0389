#include "authoring/palettes/COptionWindow.h"

#include "authoring/resources/KidResources.h"
#include "authoring/tools/CTool.h"

COptionWindow::COptionWindow(const SmartPtr<CTool>& tool)
    : CPaletteDir(3, KidResources::LookupSound(2))
    , tool(tool)
{
}

COptionWindow::~COptionWindow() = default;

void COptionWindow::CellChosen(int16_t index)
{
    if (index >= 1 && index <= tool->CountOptions(0))
        CPaletteDir::CellChosen(index);
}

void COptionWindow::ChooseOption(int16_t index)
{
    tool->SetOption(0, index);
}
