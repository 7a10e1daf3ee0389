#pragma once

#include "authoring/palettes/COptionWindow.h"
#include "authoring/palettes/CProxyPalette.h"
#include "authoring/tools/CDropperTool.h"

#include <cstdint>

class CTextTool;
class CTilePane;

// The option window of the text tool: in one row, for each option kind a picture button and a
// palette of the tool's options of that kind (cells 1.., 10.. and 20..), then the swatch of the
// current colours. A chosen cell is selected in its palette and becomes the tool's option of that
// kind. The shared text tool takes the foreground colour when the window opens and whenever the
// paint changes, so that new texts are written in the colour the window shows, and the palettes
// redraw their samples. The window holds the palettes; while it lives it stands in the client
// lists of the shared text tool and of the dropper.
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
    // The dropper and the text tool the view registered with, left again at destruction even
    // when a new tools window has made others since.
    SmartPtr<CDropperTool> dropper;
    SmartPtr<CTextTool> textTool;
    SmartPtr<CTilePane> tiles;
    SmartPtr<CProxyPalette> rows[3];
};
