#pragma once

#include "graphics/Color.h"
#include "graphics/Paint.h"

// One colour as a solid brush or pen; standard colour 13 ("no colour") selects the null brush or
// the null pen, so nothing is painted.
class ColorPaint : public Paint {
public:
    explicit ColorPaint(const Color& color);

    bool SelectAsBrush(HDC dc) override;
    bool SelectAsPen(HDC dc, int32_t width) override;
    // Both put the saved object back and delete the one made; the brush also resets the drawing
    // state.
    void ReleaseBrush(HDC dc) override;
    void ReleasePen(HDC dc) override;

    const Color& GetColor() const { return color; }

private:
    Color color;
};

// Standard colour 13, which means no colour.
bool IsNoColor(const Color& color);
