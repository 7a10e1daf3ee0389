#pragma once

#include "authoring/palettes/COptionWindow.h"
#include "authoring/palettes/CProxyPalette.h"
#include "authoring/tools/CDropperTool.h"

#include <cstdint>

class CTilePane;

// The option window of the text tool: three rows, each a picture button and a palette of the
// tool's options of one kind (cells 1.., 10.. and 20..), above the swatch of the current colours.
// A chosen cell is selected in its row and becomes the tool's option of that row's kind. When the
// paint changes, the shared text tool takes the new foreground colour, so that new texts are
// written in it, and the rows redraw their samples. The window holds the rows.
class COptionView : public COptionWindow, public pw::authoring::PaintClient {
public:
    // The window's top-left corner goes on the placement's.
    COptionView(const SmartPtr<CTool>& tool, const Rect& placement);
    ~COptionView() override;

    // A cell of the three rows that stands for an option of its kind, with the click sound.
    void CellChosen(int16_t index) override;
    // Cell n: kind 0 value n below 10, kind 1 value n - 9 below 20, else kind 2 value n - 19.
    void ChooseOption(int16_t index) override;

    void PaintChanged(CDropperTool* dropper) override;

    SmartPtr<CProxyPalette> GetRow(int kind) const { return rows[kind]; }

private:
    // The dropper the view registered with.
    SmartPtr<CDropperTool> dropper;
    SmartPtr<CTilePane> tiles;
    SmartPtr<CProxyPalette> rows[3];
};
