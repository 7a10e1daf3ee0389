#include "authoring/palettes/CDropperOptionWindow.h"

#include "authoring/palettes/CProxyPalette.h"
#include "authoring/palettes/CTilePane.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CTool.h"
#include "ui/WindowFrame.h"

CDropperOptionWindow::CDropperOptionWindow(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid,
    const Rect& placement)
    : COptionWindow(tool)
{
    SmartPtr<CTilePane> tiles = new CTilePane(this, false, true, 0);
    AddChild(SmartPtr<View>(tiles.Get()));
    optionPalette = new CProxyPalette(tiles.Get(), tool, std::move(grid), 1, 0);
    optionPalette->AddClient(this);
    tiles->AddChild(SmartPtr<View>(optionPalette.Get()));
    tiles->AddChild(new CPatternSelector(tiles.Get()));
    tiles->Layout(0, 0);
    SizeToFit(true);
    Rect frame = GetRect();
    frame.Offset(placement.left - frame.left, placement.top - frame.top);
    SetFrame(frame);
}

CDropperOptionWindow::~CDropperOptionWindow()
{
    optionPalette->RemoveClient(this);
}

void CDropperOptionWindow::ChooseOption(int16_t index)
{
    optionPalette->SelectTool(index);
    COptionWindow::ChooseOption(index);
}
