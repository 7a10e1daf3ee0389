#include "graphics/ColorPaint.h"

#include "foundation/Checks.h"
#include "graphics/PlatformConversions.h"

bool IsNoColor(const Color& color)
{
    return color.Equals(Color(Color::kNoColor));
}

ColorPaint::ColorPaint(const Color& color)
    : color(color)
{
}

bool ColorPaint::SelectAsBrush(HDC dc)
{
    HGDIOBJ brush = IsNoColor(color) ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(ColorToOSColor(color));
    CheckNotNull(brush, PW_HERE);
    SaveBrush(SelectObject(dc, brush));
    return true;
}

bool ColorPaint::SelectAsPen(HDC dc, int32_t width)
{
    return SelectSolidPen(dc, color, width);
}

void ColorPaint::ReleaseBrush(HDC dc)
{
    RestoreBrush(dc);
    ResetDrawingState(dc);
}

void ColorPaint::ReleasePen(HDC dc)
{
    RestorePen(dc);
}
