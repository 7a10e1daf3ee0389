#include "ui/GridView.h"

#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"
#include "ui/ViewPort.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(GridView, nullptr, nullptr, View)

constinit const Point GridView::noCell { -1, -1 };

GridView::GridView(View* parent, const Rect& gridBounds, const Point& cellSize, const Point& initialCell)
    : View(parent, BoundsOf(gridBounds, cellSize), kSizeTopLeft, true, false)
    , cellSize(cellSize)
    , gridBounds(gridBounds)
    , initialCell(initialCell)
    , highlight(initialCell)
{
}

Rect GridView::BoundsOf(const Rect& gridBounds, const Point& cellSize)
{
    return Rect(gridBounds.left * cellSize.h, gridBounds.top * cellSize.v, gridBounds.right * cellSize.h,
        gridBounds.bottom * cellSize.v);
}

// The area is not used to skip cells: every cell is drawn, as its content may reach any pixel.
void GridView::DrawContent(DisplayPort& port, Area&)
{
    int32_t column = gridBounds.left;
    int32_t row = gridBounds.top;
    while (gridBounds.Contains(column, row)) {
        DrawCell(port, column, row, CellRect(column, row));
        if (++column == gridBounds.right) {
            column = gridBounds.left;
            ++row;
        }
    }
    if (highlight != noCell)
        HighlightCell(port, highlight.h, highlight.v);
}

void GridView::DrawCell(DisplayPort&, int32_t, int32_t, const Rect&)
{
}

void GridView::CellChosen()
{
}

void GridView::HighlightCell(DisplayPort& port, int32_t column, int32_t row)
{
    if (!gridBounds.Contains(column, row))
        AssertionFailed("gridBounds.Contains(gridLocation)", PW_HERE);
    Rect cell = CellRect(column, row);
    port.InvertFrame(cell, 2);
    SmartPtr<WindowFrame> frame = GetFrame();
    if (port.Device() == frame.Get())
        return;
    pw::ui::ViewPort onScreen(*frame.Get(), GetBounds(), 0);
    onScreen.InvertFrame(cell, 2);
}

Rect GridView::CellRect(int32_t column, int32_t row) const
{
    if (Point(column, row) == noCell)
        return Rect(0, 0, 0, 0);
    int32_t left = column * cellSize.h;
    int32_t top = row * cellSize.v;
    return Rect(left, top, left + cellSize.h, top + cellSize.v);
}

// Division truncates toward zero: up to one cell left of or above the grid's origin still falls
// in column or row 0.
Point GridView::CellAt(int32_t h, int32_t v) const
{
    Point cell(h / cellSize.h, v / cellSize.v);
    return gridBounds.Contains(cell.h, cell.v) ? cell : highlight;
}

void GridView::SetHighlight(const Point& cell)
{
    if (cell == highlight)
        return;
    pw::ui::ViewPort port(GetDevice(), GetBounds(), 0);
    if (highlight != noCell)
        HighlightCell(port, highlight.h, highlight.v);
    if (cell == noCell || gridBounds.Contains(cell.h, cell.v))
        highlight = cell;
    if (highlight != noCell)
        HighlightCell(port, highlight.h, highlight.v);
}
