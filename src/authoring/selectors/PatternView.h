#pragma once

#include "ui/GridView.h"

#include <cstdint>

class CDropperTool;
class GridSelector;
class Pattern;

// The pattern grid: 8 columns by 4 rows of 32 x 32 cells showing the 32 fill patterns of the
// authoring resources (cell (h, v) shows pattern v x 8 + h in black on white); a pick makes that
// pattern the current paint pattern and has the dropper tell its clients. It lives in a pop-up
// window that Open makes.
class PatternView : public GridView {
    PW_CLASS_INFO(PatternView)

public:
    // `value` is the caller's, kept and never read. The dropper is borrowed.
    PatternView(View* parent, const Rect& gridBounds, CDropperTool* notifyTarget, int32_t value);

    void DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cellRect) override;
    void CellChosen() override;

    static Pattern PatternAt(int32_t column, int32_t row);
    // Opens the selector window with its frame's bottom-right corner at `where` (screen).
    static SmartPtr<GridSelector> Open(CDropperTool* notifyTarget, int32_t value, Point where);

private:
    CDropperTool* notifyTarget;
    [[maybe_unused]] int32_t value;
};
