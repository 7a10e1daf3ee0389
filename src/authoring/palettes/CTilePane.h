#pragma once

#include "ui/View.h"

#include <cstdint>

// A container view that stacks its shown children in one row or one column, each centred across
// the stacking direction, optionally with a one-pixel black frame around every child (which adds
// a pixel of advance), on a grey background, and then takes the size they need. The palette and
// option windows use it as their content: they add or remove children, call Layout at (0, 0) and
// size the window to the answer.
class CTilePane : public View {
public:
    // On the rectangle the parent gives its children, with sizing flags 3; the caller adds it.
    CTilePane(View* parent, bool vertical, bool framed, int16_t spacing);

    // Places the children from (h, v), resizes the pane and answers its new size; (0, 0) and no
    // change when no child is shown. A child whose sizing follows both edges across the stacking
    // direction does not widen the stack.
    Point Layout(int32_t h, int32_t v);
    // The least size Layout gives the pane from now on (none shown too): a smaller stack sits at
    // its start and centred across, so a window sized to the pane keeps its frame.
    void HoldSize(Point size) { held = size; }

    void DrawContent(DisplayPort& port, Area& area) override;

    bool IsVertical() const { return (flags & kVertical) != 0; }
    bool IsFramed() const { return (flags & kFramed) != 0; }

private:
    static constexpr uint8_t kVertical = 0x01;
    static constexpr uint8_t kFramed = 0x02;

    uint8_t flags { 0 };
    int16_t spacing { 0 };
    Point held { 0, 0 };
};
