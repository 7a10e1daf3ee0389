#include "authoring/palettes/COptionWindow.h"

#include "authoring/palettes/CProxyPalette.h"
#include "authoring/palettes/CTilePane.h"
#include "authoring/resources/KidResources.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CTool.h"

COptionWindow::COptionWindow(const SmartPtr<CTool>& tool)
    : CPaletteDir(3, KidResources::Lookup(2))
    , tool(tool)
{
}

COptionWindow::~COptionWindow()
{
    if (optionPalette.Valid())
        optionPalette->RemoveClient(this);
}

void COptionWindow::CellChosen(int16_t index)
{
    if (index >= 1 && index <= tool->CountOptions(0))
        CPaletteDir::CellChosen(index);
}

void COptionWindow::ChooseOption(int16_t index)
{
    if (optionPalette.Valid())
        optionPalette->SelectTool(index);
    tool->SetOption(0, index);
}

void COptionWindow::BuildOptionRow(std::unique_ptr<ButtonGrid> grid, bool withPattern, const Rect& placement)
{
    SmartPtr<CTilePane> tiles = new CTilePane(this, false, true, 0);
    AddChild(SmartPtr<View>(tiles.Get()));
    optionPalette = new CProxyPalette(tiles.Get(), tool, std::move(grid), 1, 0);
    optionPalette->AddClient(this);
    tiles->AddChild(SmartPtr<View>(optionPalette.Get()));
    if (withPattern)
        tiles->AddChild(new CPatternSelector(tiles.Get()));
    FitAt(*tiles.Get(), placement);
}

void COptionWindow::FitAt(CTilePane& tiles, const Rect& placement)
{
    tiles.Layout(0, 0);
    SizeToFit(true);
    Rect frame = GetRect();
    frame.Offset(placement.left - frame.left, placement.top - frame.top);
    SetFrame(frame);
}

COneOption::COneOption(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid, const Rect& placement)
    : COptionWindow(tool)
{
    BuildOptionRow(std::move(grid), false, placement);
}
