#include "graphics/PlatformConversions.h"

namespace {

// The high byte of a 16-bit component: what the device sees.
constexpr BYTE DeviceByte(uint16_t component)
{
    return static_cast<BYTE>(component >> 8);
}

} // namespace

COLORREF ColorToOSColor(const Color& color)
{
    return 0x02000000 | (static_cast<COLORREF>(DeviceByte(color.blue)) << 16)
        | (static_cast<COLORREF>(DeviceByte(color.green)) << 8) | DeviceByte(color.red);
}

void ToColorRef(const Color& color, COLORREF& result)
{
    result = ColorToOSColor(color);
}

Color OSColorToColor(COLORREF color)
{
    Color result;
    result.SetComponents(static_cast<uint16_t>((color & 0xFF) << 8), static_cast<uint16_t>(color & 0xFF00),
        static_cast<uint16_t>((color >> 8) & 0xFF00), 0);
    return result;
}

RECT ToRECT(const Rect& rect)
{
    return RECT { rect.left, rect.top, rect.right, rect.bottom };
}

void ConvertRECT(const Rect& rect, RECT& result)
{
    result = ToRECT(rect);
}

Rect FromRECT(const RECT& rect)
{
    return Rect(rect.left, rect.top, rect.right, rect.bottom);
}

Rect OSRectToRect(const RECT& rect)
{
    return FromRECT(rect);
}

Point ToPoint(int32_t x, int32_t y)
{
    return Point(x, y);
}

Point FromPOINT(const POINT& point)
{
    return Point(point.x, point.y);
}

void ConvertPOINT(const POINT& point, Point& result)
{
    result = FromPOINT(point);
}

OSPattern PatternToOSPattern(const Pattern& pattern)
{
    OSPattern result;
    result.SetPattern(pattern.rows, Pattern::kRows);
    return result;
}

void PatternToOSPattern(const Pattern& pattern, OSPattern& result)
{
    result = PatternToOSPattern(pattern);
}

Pattern OSPatternToPattern(const OSPattern& pattern)
{
    Pattern result;
    pattern.GetPattern(result.rows, Pattern::kRows);
    return result;
}
