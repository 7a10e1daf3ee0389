#include "authoring/palettes/CDropperOptionWindow.h"

#include "authoring/palettes/ButtonGrid.h"

CDropperOptionWindow::CDropperOptionWindow(const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid,
    const Rect& placement)
    : COptionWindow(tool)
{
    BuildOptionRow(std::move(grid), true, placement);
}
