#pragma once

#include "graphics/Color.h"
#include "graphics/Paint.h"
#include "graphics/Pattern.h"

// A two-colour pattern as a brush, or its foreground as a pen. A foreground of standard colour 13
// paints nothing; a background of colour 13 leaves the pattern's background pixels as they were
// (the pattern is merged onto a black background with R2_MERGEPEN).
class ColoredPatternPaint : public Paint {
public:
    ColoredPatternPaint(const Color& foreground, const Pattern& pattern, const Color& background);

    bool SelectAsBrush(HDC dc) override;
    bool SelectAsPen(HDC dc, int32_t width) override;
    void ReleaseBrush(HDC dc) override;
    void ReleasePen(HDC dc) override;

private:
    Color foreground;
    Color background;
    Pattern pattern;
};
