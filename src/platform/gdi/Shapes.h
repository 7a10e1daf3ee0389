// The pixel rules of the primitives, as marks on a Coverage (device coordinates). Shapes take the
// box [left, right) x [top, bottom) of Rectangle and Ellipse, already ordered.
//
// - Rectangle: a width-1 pen marks the outermost pixels of the box and the brush the pixels inside
//   them; without a pen the brush covers [left, right - 1) x [top, bottom - 1).
// - Ellipse: the pixels whose centres lie in the ellipse inscribed in the box of pixels (its
//   extreme pixels touch the box's sides). A width-1 pen marks a thin, 8-connected outline: each
//   row's ends, run out far enough to meet the rows above and below. Without a pen the brush fills
//   the ellipse of the box one pixel smaller at the right and bottom, as for rectangles. The set
//   is symmetric and computed in exact integers.
// - Lines of width 1 step once a pixel along the major axis and leave out their end pixel.
// - Wider pens are round: they mark the pixels within half the width of the outline.
#pragma once

#include "platform/gdi/Coverage.h"

#include <windows.h>

namespace pw::platform::gdi {

// Coordinates beyond this are clamped before any shape is computed, so the exact arithmetic
// cannot overflow.
constexpr int kShapeCoordLimit = 1 << 27;

int ClampCoord(long long value);

// penWidth 0 means no pen.
void AddRectangle(Coverage& coverage, const RECT& box, int penWidth, bool fill);
void AddEllipse(Coverage& coverage, const RECT& box, int penWidth, bool fill);
void AddPolygon(Coverage& coverage, const POINT* points, int count, int penWidth, bool fill);
// A pen stroke from a to b; width 1 leaves out b.
void AddLine(Coverage& coverage, POINT a, POINT b, int penWidth);

// Calls fn(x, y) for each pixel of the width-1 line from a to b (b left out) that lies inside
// `window`.
template <typename F>
void ForEachLinePixel(POINT a, POINT b, const RECT& window, F&& fn);

namespace detail {
// a / b rounded to the nearest integer, halves upwards; b > 0.
inline long long RoundDiv(long long a, long long b)
{
    long long n = 2 * a + b;
    long long d = 2 * b;
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}
} // namespace detail

template <typename F>
void ForEachLinePixel(POINT a, POINT b, const RECT& window, F&& fn)
{
    long long dx = static_cast<long long>(b.x) - a.x;
    long long dy = static_cast<long long>(b.y) - a.y;
    long long adx = dx < 0 ? -dx : dx;
    long long ady = dy < 0 ? -dy : dy;
    bool xMajor = adx >= ady;
    long long steps = xMajor ? adx : ady;
    if (steps == 0)
        return;
    // Only the steps whose major coordinate lies inside the window can mark anything.
    long long start = xMajor ? a.x : a.y;
    long long sign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    long long low = xMajor ? window.left : window.top;
    long long high = (xMajor ? window.right : window.bottom) - 1;
    long long first = sign > 0 ? low - start : start - high;
    long long last = sign > 0 ? high - start : start - low;
    first = first < 0 ? 0 : first;
    last = last > steps - 1 ? steps - 1 : last;
    for (long long i = first; i <= last; ++i) {
        long long major = start + sign * i;
        long long minor = xMajor ? a.y + detail::RoundDiv(i * dy, adx) : a.x + detail::RoundDiv(i * dx, ady);
        long long x = xMajor ? major : minor;
        long long y = xMajor ? minor : major;
        if (x >= window.left && x < window.right && y >= window.top && y < window.bottom)
            fn(static_cast<int>(x), static_cast<int>(y));
    }
}

} // namespace pw::platform::gdi
