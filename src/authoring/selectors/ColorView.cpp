#include "authoring/selectors/ColorView.h"

#include "authoring/selectors/SelectorWindow.h"
#include "authoring/tools/CDropperTool.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "ui/GridSelector.h"

PW_DEFINE_CLASS(ColorView, nullptr, nullptr, GridView)

namespace {

const Point kCellSize(10, 10);
const Point kGridSize(32, 8);

} // namespace

ColorView::ColorView(View* parent, const Rect& gridBounds, CDropperTool* notifyTarget, Color* colorTarget)
    : GridView(parent, gridBounds, kCellSize, Point(0, 0))
    , colorTarget(colorTarget)
    , notifyTarget(notifyTarget)
{
}

ColorView::~ColorView() = default;

Color ColorView::ColorAt(const SmartPtr<ColorTable>& offered, int32_t h, int32_t v)
{
    if (offered.Valid() && offered->BitDepth() == 8)
        table = offered;
    if (!table.Valid())
        table = ColorTable::Setup(8);
    return table->GetColor(static_cast<uint32_t>(v * kGridSize.h + h));
}

void ColorView::DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cellRect)
{
    SmartPtr<ColorTable> offered = port.Device() ? port.Device()->GetColorTable() : SmartPtr<ColorTable>();
    port.DrawRectangle(cellRect, ColorAt(offered, column, row), Color(Color::kNoColor), 1);
}

void ColorView::CellChosen()
{
    Point cell = GetHighlight();
    SmartPtr<ColorTable> offered = GetDevice().GetColorTable();
    *colorTarget = ColorAt(offered, cell.h, cell.v);
    if (notifyTarget)
        notifyTarget->NotifyClients();
}

SmartPtr<GridSelector> OpenColorSelector(CDropperTool* notifyTarget, Color* colorTarget, Point where)
{
    return pw::authoring::OpenSelectorWindow(where, [&](View* window) {
        return SmartPtr<GridView>(new ColorView(window, Rect(0, 0, kGridSize.h, kGridSize.v), notifyTarget, colorTarget));
    });
}
