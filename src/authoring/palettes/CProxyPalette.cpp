#include "authoring/palettes/CProxyPalette.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/CTool.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

PW_DEFINE_CLASS(CProxyPalette, nullptr, nullptr, View)

CProxyPalette::CProxyPalette(View* parent, const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid,
    int16_t first, int16_t group)
    : CFramedPalette(parent, std::move(grid), first)
    , tool(tool)
    , group(group)
    , dropper(CToolsDir::GetDropperTool())
{
    if (!tool.Valid())
        AssertionFailed("tool != NULL", PW_HERE);
    dropper->ToggleClient(this, false);
    SyncSelection();
}

CProxyPalette::~CProxyPalette()
{
    dropper->ToggleClient(this, false);
}

void CProxyPalette::SyncSelection()
{
    int16_t option = tool->GetOption(group);
    SelectTool(option != 0 ? static_cast<int16_t>(GetFirst() + option - 1) : 0);
}

void CProxyPalette::DrawCell(DisplayPort& port, int16_t index, const Rect& cellRect, bool)
{
    if (!Contains(index))
        return;
    // Inside the separators, which are the cell's last row and column.
    port.DrawRectangle(Rect(cellRect.left, cellRect.top, cellRect.right - 1, cellRect.bottom - 1), Color(0), Color(0), 1);
    Rect inner(cellRect.left + 2, cellRect.top + 2, cellRect.right - 2, cellRect.bottom - 2);
    PortSaverRect clip(port, inner);
    tool->ApplyWithOption(port, inner, group, static_cast<int16_t>(index - GetFirst() + 1));
}

void CProxyPalette::PaintChanged(CDropperTool*)
{
    InvalidateView(false);
}
