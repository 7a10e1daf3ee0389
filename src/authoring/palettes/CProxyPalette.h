#pragma once

#include "authoring/palettes/CFramedPalette.h"
#include "authoring/tools/CDropperTool.h"

#include <cstdint>

class CTool;

// An option palette whose cells the tool it stands for draws, so that each cell shows what that
// option paints (a line of that width, a shape of that kind, a gradient of that kind) in the
// current colours; it redraws whenever the dropper announces new colours.
class CProxyPalette : public CFramedPalette, public pw::authoring::PaintClient {
    PW_CLASS_INFO(CProxyPalette)

public:
    // Fails "tool != NULL" without a tool. Selects the cell of the tool's current option.
    CProxyPalette(View* parent, const SmartPtr<CTool>& tool, std::unique_ptr<ButtonGrid> grid, int16_t first,
        int16_t group);
    ~CProxyPalette() override;

    // White cells with the tool's sample of each option, inset by 2 pixels.
    void DrawCell(DisplayPort& port, int16_t index, const Rect& cellRect, bool inFullDraw) override;
    // The cell of the tool's current option is selected; none for option 0.
    void SyncSelection();
    void PaintChanged(CDropperTool* dropper) override;

    SmartPtr<CTool> GetTool() const { return tool; }

private:
    SmartPtr<CTool> tool;
    int16_t group;
    // The dropper the palette registered with.
    SmartPtr<CDropperTool> dropper;
};
