#pragma once

#include "authoring/palettes/CToolPalette.h"

#include <cstdint>

// The paint-tool palette of the children's tools window. Besides the palette's own selection it
// remembers the cell used before, so that the picture pane's Tab key can switch back to the
// previous paint tool and again forth. Its clients (the tools window) make the chosen tool current.
class CSwitchPalette : public CToolPalette {
public:
    // Selects the first cell; the cell to switch back to starts as `alternative`.
    CSwitchPalette(View* parent, std::unique_ptr<ButtonGrid> grid, int16_t first, int16_t alternative);
    // Tells the clients of the cell -666 first.
    ~CSwitchPalette() override;

    // Tells the clients of the remembered cell, and remembers the current one instead.
    void SwapSelection();

    int16_t GetPreviousCell() const { return previousCell; }

    // The cell number clients are told when the palette goes.
    static constexpr int16_t kGone = -666;

private:
    int16_t previousCell;
    [[maybe_unused]] int16_t alternativeCell;
};
