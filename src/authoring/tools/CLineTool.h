#pragma once

#include "authoring/tools/CShapeTool.h"

#include <cstdint>

// Tool 106, the line tool: a shape tool that draws straight lines in the shared pen width. Its six
// options are the widths 1, 2, 4, 8, 12 and 16 pixels. With the shift key the line snaps to the
// horizontal, the vertical or 45 degrees, whichever is nearest.
class CLineTool : public CShapeTool {
public:
    static constexpr int16_t kLineOptions = 6;

    CLineTool();

    // Options outside 1..6 are ignored; the others set the shared pen width.
    void SetOption(int16_t kind, int16_t value) override;
    // The first width at least the pen width (6 past the widest).
    int16_t GetOption(int16_t kind) override;
    int16_t CountOptions(int16_t) override { return kLineOptions; }
    // A horizontal line across the cell, inset by 4, centred on the cell's middle.
    void Apply(DisplayPort& port, const Rect& rect) override;

    void TrackShape(Point&, Point, Point, BitFlags) override { }
    // The line from `to` towards `from` (snapped when constrained).
    void DrawShape(DisplayPort& port, const Rect& rect, Point from, Point to, BitFlags modifiers) override;

    // Width of option 1 to 6.
    static int16_t Width(int16_t option);
};
