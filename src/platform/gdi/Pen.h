// A pen: how lines and the outlines of shapes are stroked. Only solid pens and the null pen exist;
// widths 0 and 1 both draw one pixel wide, wider pens are round and centred on the outline.
#pragma once

#include "platform/gdi/GdiObject.h"

namespace pw::platform::gdi {

class Pen : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Pen;

    Pen(int style, int width, COLORREF color)
        : GdiObject(kKind)
        , style(style)
        , width(width)
        , color(color)
    {
    }

    bool IsNull() const { return style == PS_NULL; }
    // The stroke width in pixels: at least 1.
    int StrokeWidth() const { return width > 1 ? width : 1; }

    const int style;
    const int width;
    const COLORREF color;
};

} // namespace pw::platform::gdi
