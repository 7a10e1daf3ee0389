#pragma once

#include "ui/View.h"

#include <cstdint>

// The bar of the progress dialog: a framed box whose inside fills from the left in proportion to
// value / maximum. It remembers the filled length it last computed so that its owner redraws it
// only when that length changes by at least one pixel.
class ProgressBar : public View {
    PW_CLASS_INFO(ProgressBar)

public:
    // A child of `parent` (not yet added) at `bounds`, fixed to the top-left corner.
    ProgressBar(View* parent, const Rect& bounds);

    // Takes value (at most maximum) and maximum; true when the filled length changed. A maximum of
    // 0 fills nothing.
    bool SetValue(uint32_t value, uint32_t maximum);

    void DrawContent(DisplayPort& port, Area& area) override;

    uint32_t GetValue() const { return value; }
    uint32_t GetMaximum() const { return maximum; }
    int32_t GetFilledLength() const { return pixels; }

private:
    uint32_t maximum { 0 };
    uint32_t value { 0 };
    int32_t width;
    int32_t pixels { 0 };
};
