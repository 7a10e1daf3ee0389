#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "ui/View.h"

#include <cstdint>

// A grid of equal cells with one of them highlighted by an inverted ring. The cells that exist
// are gridBounds in cell units (column h, row v, right and bottom exclusive); cell (column, row)
// covers column x cellSize.h to the right by one cell, row x cellSize.v downwards, in the
// window's coordinates, so the view's bounds are gridBounds scaled by the cell size. Subclasses
// draw a cell's content (DrawCell) and take the highlighted cell as the user's choice
// (CellChosen); the colour and pattern selectors are grid views in pop-up windows, followed by a
// GridSelector while the mouse button is held. Moving the highlight repaints only the two rings.
// Cell sizes are never 0.
class GridView : public View {
    PW_CLASS_INFO(GridView)

public:
    // No cell: (-1, -1).
    static const Point noCell;

    // Fixed to the parent's top-left corner, taking focus; highlights `initialCell`, which must
    // lie in the grid or be noCell. The parent adds the view.
    GridView(View* parent, const Rect& gridBounds, const Point& cellSize, const Point& initialCell);

    // Every cell, row by row, then the highlight.
    void DrawContent(DisplayPort& port, Area& area) override;

    // One cell's content; nothing here.
    virtual void DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cellRect);
    // The highlighted cell is the user's choice; nothing here.
    virtual void CellChosen();
    // Inverts the cell's ring, 2 pixels wide inside it, on the port and, when the port draws off
    // the screen, on the window frame as well. Fails "gridBounds.Contains(gridLocation)" for a cell
    // outside the grid. A second call takes the ring away.
    virtual void HighlightCell(DisplayPort& port, int32_t column, int32_t row);

    // The empty rectangle for noCell.
    Rect CellRect(int32_t column, int32_t row) const;
    // The cell under the point, or the current highlight when that cell lies outside the grid.
    Point CellAt(int32_t h, int32_t v) const;
    // Moves the ring to the cell; a cell outside the grid (other than noCell) is ignored.
    void SetHighlight(const Point& cell);

    Point GetHighlight() const { return highlight; }
    Point GetCellSize() const { return cellSize; }
    const Rect& GetGridBounds() const { return gridBounds; }

private:
    static Rect BoundsOf(const Rect& gridBounds, const Point& cellSize);

    Point cellSize;
    Rect gridBounds;
    [[maybe_unused]] Point initialCell;
    Point highlight;
};
