#include "authoring/selectors/PatternView.h"

#include "authoring/resources/KidResources.h"
#include "authoring/selectors/SelectorWindow.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/ColorPaint.h"
#include "graphics/ColoredPatternPaint.h"
#include "graphics/DisplayPort.h"
#include "graphics/Pattern.h"
#include "ui/GridSelector.h"

PW_DEFINE_CLASS(PatternView, nullptr, nullptr, GridView)

namespace {

const Point kCellSize(32, 32);
const Point kGridSize(8, 4);

} // namespace

PatternView::PatternView(View* parent, const Rect& gridBounds, CDropperTool* notifyTarget, int32_t value)
    : GridView(parent, gridBounds, kCellSize, Point(0, 0))
    , notifyTarget(notifyTarget)
    , value(value)
{
}

Pattern PatternView::PatternAt(int32_t column, int32_t row)
{
    uint8_t rows[Pattern::kRows];
    KidResources::GetPattern(rows, static_cast<int16_t>(row * kGridSize.h + column));
    Pattern pattern;
    pattern.Set(rows);
    return pattern;
}

void PatternView::DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cellRect)
{
    ColoredPatternPaint paint(Color(1), PatternAt(column, row), Color(0));
    ColorPaint pen(Color(1));
    port.DrawRectangle(cellRect, paint, pen, 1);
}

void PatternView::CellChosen()
{
    Point cell = GetHighlight();
    pw::authoring::PaintSettings::Current().pattern = PatternAt(cell.h, cell.v);
    if (notifyTarget)
        notifyTarget->NotifyClients();
}

SmartPtr<GridSelector> PatternView::Open(CDropperTool* notifyTarget, int32_t value, Point where)
{
    return pw::authoring::OpenSelectorWindow(where, [&](View* window) {
        return SmartPtr<GridView>(new PatternView(window, Rect(0, 0, kGridSize.h, kGridSize.v), notifyTarget, value));
    });
}
