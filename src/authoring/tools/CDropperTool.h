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

    // The one dropper the paint's views register with (made on first use, kept for the run).
    static const SmartPtr<CDropperTool>& Shared();

    int16_t CountOptions(int16_t) override { return 32; }
    int16_t GetOption(int16_t) override { return colourIndex; }
    // Choosing the current index again changes nothing and tells no one.
    void SetOption(int16_t kind, int16_t value) override;
    // Warns "Not implemented.": the dropper's option cells show nothing.
    void Apply(DisplayPort& port, const Rect& rect) override;

    // A new paint of the current settings: the foreground colour alone, or with `patterned` the
    // current pattern in the foreground and background colours.
    SmartPtr<Paint> MakeFill(bool patterned) const;
    // Adds the client to one list, or removes it when it is there already.
    void ToggleClient(pw::authoring::PaintClient* client, bool selector);
    void NotifyClients();
    // A press with the dropper in a pane: warns "Not implemented.".
    static void NotImplemented(int32_t h, int32_t v);

private:
    std::vector<pw::authoring::PaintClient*> paintClients;
    std::vector<pw::authoring::PaintClient*> selectorClients;
    int16_t colourIndex { 0 };
};
