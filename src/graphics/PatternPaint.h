#pragma once

#include "graphics/Paint.h"
#include "graphics/Pattern.h"

// A pattern without colours. It selects nothing: as a pen the DC's current pen draws, and as a
// brush it warns "Not implemented." each time and answers false, so nothing is filled with it.
class PatternPaint : public Paint {
public:
    explicit PatternPaint(const Pattern& pattern);

    bool SelectAsBrush(HDC dc) override;
    bool SelectAsPen(HDC dc, int32_t width) override;
    void ReleaseBrush(HDC) override { }
    void ReleasePen(HDC) override { }

private:
    Pattern pattern;
};
