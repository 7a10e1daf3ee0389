#pragma once

#include "authoring/palettes/CToolPalette.h"

// A tool palette that marks its selected cell with an inverted frame one pixel wide, inside the
// cell's separators, whatever pictures its grid has.
class CFramedPalette : public CToolPalette {
public:
    CFramedPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first);

    void Hook() override { }
    void DrawSelection(DisplayPort& port, int16_t index, bool inFullDraw) override;
};

// The palette of the animation tools: always the layout of authoring palette 201.
class CAnimPalette : public CToolPalette {
public:
    CAnimPalette(View* parent, int16_t first);
};
