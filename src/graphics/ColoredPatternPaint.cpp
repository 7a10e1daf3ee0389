#include "graphics/ColoredPatternPaint.h"

#include "foundation/Checks.h"
#include "graphics/ColorPaint.h"
#include "graphics/PlatformConversions.h"

ColoredPatternPaint::ColoredPatternPaint(const Color& foreground, const Pattern& pattern, const Color& background)
    : foreground(foreground)
    , background(background)
    , pattern(pattern)
{
}

bool ColoredPatternPaint::SelectAsBrush(HDC dc)
{
    HGDIOBJ brush;
    if (IsNoColor(foreground)) {
        brush = GetStockObject(NULL_BRUSH);
        ResetDrawingState(dc);
    } else {
        brush = PatternToOSPattern(pattern).CreateBrush();
        SetTextColor(dc, ColorToOSColor(foreground));
        if (IsNoColor(background)) {
            SetROP2(dc, R2_MERGEPEN);
            SetBkColor(dc, ColorToOSColor(Color(1)));
        } else {
            SetBkColor(dc, ColorToOSColor(background));
        }
    }
    CheckNotNull(brush, PW_HERE);
    SaveBrush(SelectObject(dc, brush));
    return true;
}

bool ColoredPatternPaint::SelectAsPen(HDC dc, int32_t width)
{
    return SelectSolidPen(dc, foreground, width);
}

void ColoredPatternPaint::ReleaseBrush(HDC dc)
{
    RestoreBrush(dc);
    ResetDrawingState(dc);
}

void ColoredPatternPaint::ReleasePen(HDC dc)
{
    RestorePen(dc);
}
