#pragma once

#include "authoring/tools/CDropperTool.h"
#include "ui/View.h"

// The 74 x 74 swatch shown below the option palette of a colour-using tool: the current paint's
// foreground colour as a square inside a ring of its background colour, under a strip labelled
// "Pattern". A click on the strip opens the pattern grid, on the square or the ring the colour
// selector for that colour; whenever the dropper announces a change the swatch redraws at once.
// It is the dropper's selector client for exactly its lifetime.
class CPatternSelector : public View, public pw::authoring::PaintClient {
public:
    // On (0, 0, 74, 74) with sizing flags 3; the caller adds it to the parent.
    explicit CPatternSelector(View* parent);
    ~CPatternSelector() override;

    void DrawContent(DisplayPort& port, Area& area) override;
    void SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    // Always handled.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;

    void PaintChanged(CDropperTool* dropper) override;

    // The colours the children's program starts with: yellow in blue, white erase.
    static void SetKidColors();

    Rect GetPatternRect() const { return patternRect; }
    Rect GetInnerRect() const { return innerRect; }
    Rect GetOuterRect() const { return outerRect; }

private:
    void Layout();

    // The dropper the swatch registered with, kept so it unregisters from the same one.
    SmartPtr<CDropperTool> dropper;
    Rect patternRect { 0, 0, 0, 0 };
    Rect innerRect { 0, 0, 0, 0 };
    Rect outerRect { 0, 0, 0, 0 };
};
