#pragma once

#include "graphics/Color.h"
#include "ui/GridView.h"

#include <cstdint>

class CDropperTool;
class ColorTable;
class GridSelector;

// The 256-colour selector: a grid of 32 x 8 swatches of 10 x 10 pixels, the cell in column h and
// row v showing entry v x 32 + h of the 8-bit colour table in use. A pick writes the colour into
// its target (one of the current paint colours) and has the dropper tell its clients. It lives in
// a pop-up window that OpenColorSelector makes.
class ColorView : public GridView {
    PW_CLASS_INFO(ColorView)

public:
    // `gridBounds` in cells; both targets are borrowed and outlive the view.
    ColorView(View* parent, const Rect& gridBounds, CDropperTool* notifyTarget, Color* colorTarget);
    ~ColorView() override;

    // The swatch of the cell's colour (no outline).
    void DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cellRect) override;
    // The highlighted cell's colour becomes the target's; the dropper tells its clients.
    void CellChosen() override;

    // Entry v x 32 + h of the offered table when it is 8 bits deep (which is kept), else of the
    // table kept before, else of a freshly set-up 8-bit table.
    Color ColorAt(const SmartPtr<ColorTable>& offered, int32_t h, int32_t v);

private:
    Color* colorTarget;
    CDropperTool* notifyTarget;
    SmartPtr<ColorTable> table;
};

// Opens the selector window, its frame's bottom-right corner at `where` (screen coordinates), for
// picking into `colorTarget`; the answer, made the current tool's gesture, takes the next press.
SmartPtr<GridSelector> OpenColorSelector(CDropperTool* notifyTarget, Color* colorTarget, Point where);
