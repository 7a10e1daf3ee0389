#pragma once

#include "authoring/tools/CTool.h"

#include <cstdint>
#include <vector>

class CDropperTool;
class Paint;

namespace pw::authoring {

// Told by the dropper that the current paint changed.
class PaintClient {
public:
    virtual void PaintChanged(CDropperTool* dropper) = 0;

protected:
    ~PaintClient() = default;
};

} // namespace pw::authoring

// Tool 110, the hub of the current paint rather than a tool for the mouse: its option n (1 to 32)
// makes entry n - 1 of the application's colour table the foreground colour, it makes the paints
// that brushes, shapes and samples lay down, and it tells the views that show or use the paint
// when it changed: the pattern selectors (selector clients) first, then the rest (paint clients).
// Clients are borrowed: a view adds itself when made and removes itself when it goes.
class CDropperTool : public CTool {
public:
    CDropperTool();

    int16_t CountOptions(int16_t) override { return 32; }
    int16_t GetOption(int16_t) override { return colourIndex; }
    // Choosing the current index again changes nothing and tells no one.
    void SetOption(int16_t kind, int16_t value) override;
    // Warns "Not implemented.".
    void Apply(DisplayPort& port, const Rect& rect) override;
    // The colour option `value` stands for, filling the cell; nothing for other values. The
    // current colour and option stay as they are and no one is told (choosing each option in turn
    // would repaint every client and, from option 0, fail on entry -1).
    void ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value) override;

    // A new paint of the current settings: the foreground colour alone, or with `patterned` the
    // current pattern in the foreground and background colours.
    SmartPtr<Paint> MakeFill(bool patterned) const;
    // Adds the client to one list, or removes it when it is there already.
    void ToggleClient(pw::authoring::PaintClient* client, bool selector);
    void NotifyClients();
    // A press with the dropper in a pane: warns "Not implemented.".
    static void NotImplemented(int32_t h, int32_t v);

    // Open the colour selector for the foreground or the background colour, or the pattern grid,
    // with its bottom-right corner at (h, v) on the screen, and make it the gesture of the
    // application's current tool, so that the next press picks in it.
    void SetToolRef(int32_t h, int32_t v);
    void SetBackgroundToolRef(int32_t h, int32_t v);
    void SetPatternToolRef(int32_t h, int32_t v);

private:
    std::vector<pw::authoring::PaintClient*> paintClients;
    std::vector<pw::authoring::PaintClient*> selectorClients;
    int16_t colourIndex { 0 };
};
