#pragma once

#include "graphics/Paint.h"
#include "graphics/Pattern.h"

// A pattern kept as the outline pen of rubber-band feedback. It selects nothing: as a pen the DC's
// current pen draws, and as a brush it warns "Not implemented.".
class PatternPenPaint : public Paint {
public:
    explicit PatternPenPaint(const Pattern& pattern);

    bool SelectAsBrush(HDC dc) override;
    bool SelectAsPen(HDC dc, int32_t width) override;
    void ReleaseBrush(HDC) override { }
    void ReleasePen(HDC) override { }

private:
    Pattern pattern;
};
