// Conversions between the framework's values and the platform's: colours to and from COLORREF,
// rectangles and points to and from RECT and POINT, patterns to and from OSPattern. All pure.
#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "graphics/Color.h"
#include "graphics/OSPattern.h"
#include "graphics/Pattern.h"

#include <windows.h>

// Palette-relative (flag 0x02000000) from the high bytes of red, green and blue; extra is ignored.
COLORREF ColorToOSColor(const Color& color);
void ToColorRef(const Color& color, COLORREF& result);
// Each byte into the high byte of its component (low bytes 0, extra 0); the flag byte is ignored.
Color OSColorToColor(COLORREF color);

RECT ToRECT(const Rect& rect);
void ConvertRECT(const Rect& rect, RECT& result);
Rect FromRECT(const RECT& rect);
// The platform's rectangle of a region box or an update area as a Rect.
Rect OSRectToRect(const RECT& rect);

Point ToPoint(int32_t x, int32_t y);
Point FromPOINT(const POINT& point);
void ConvertPOINT(const POINT& point, Point& result);

// A new OSPattern holding the pattern's rows.
OSPattern PatternToOSPattern(const Pattern& pattern);
void PatternToOSPattern(const Pattern& pattern, OSPattern& result);
Pattern OSPatternToPattern(const OSPattern& pattern);
