#pragma once

#include "authoring/tools/CPenTool.h"

#include <array>
#include <cstdint>

class BitMap;
class CDropperTool;

// Tool 102, the default paint tool. Its one option is the brush, 1 to 24; each brush's shape is
// exactly the black of its cursor (brushes 1 to 20 show cursors 300 to 319, 21 to 24 all show
// 319), trimmed of white and anchored at the cursor's hot spot, so what the child sees under the
// mouse is what the brush paints. The shapes are made on first use and kept until flushed. The
// dropper, which it holds, supplies the paint.
class CBrushTool : public CPenTool {
    PW_CLASS_INFO(CBrushTool)
    PW_COPY_SLOTS

public:
    static constexpr int16_t kBrushes = 24;

    // Fails "dropper != NULL" without a dropper.
    explicit CBrushTool(const SmartPtr<CDropperTool>& dropper);
    ~CBrushTool() override;

    // One kind; the kind is not read. 0 selects brush 1, anything above 24 (negative values too,
    // taken unsigned) brush 24; the cursor follows.
    void SetOption(int16_t kind, int16_t value) override;
    int16_t GetOption(int16_t) override { return static_cast<int16_t>(brushIndex); }
    int16_t CountOptions(int16_t) override { return kBrushes; }
    // The brush stamped at the centre of the cell.
    void Apply(DisplayPort& port, const Rect& rect) override;
    // The brush's cursor; the alternate mode is not consulted.
    void UpdateCursor() override;
    // The current brush's rectangle around the hot point; empty for a cursor with no black.
    Rect GetPenBounds() override;

    // Paints the current brush once, hot point at (h, v), in the dropper's patterned paint.
    void Stamp(DisplayPort& port, int32_t h, int32_t v);
    // Forgets every brush shape made so far.
    void FlushBrushes();

private:
    // The current brush's shape (a 1-bit mask, black paints), made from its cursor when missing;
    // none for a cursor with no black.
    SmartPtr<BitMap> GetBrushImage();

    SmartPtr<CDropperTool> dropper;
    int32_t brushIndex { 6 };
    std::array<SmartPtr<BitMap>, kBrushes> brushImages;
    std::array<Rect, kBrushes> brushBounds {};
};
