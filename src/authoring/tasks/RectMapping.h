#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"

#include <cmath>
#include <cstdint>

namespace pw::authoring {

// Rounds to the nearest integer, halves away from zero.
inline int32_t RoundAway(double value)
{
    return static_cast<int32_t>(std::lround(value));
}

// One coordinate carried from the span [from0, from1] onto [to0, to1]; a span of no length only
// moves.
inline int32_t MapCoordinate(int32_t value, int32_t from0, int32_t from1, int32_t to0, int32_t to1)
{
    if (from1 == from0)
        return value - from0 + to0;
    return to0 + RoundAway(double(value - from0) * double(to1 - to0) / double(from1 - from0));
}

// The point carried proportionally from one rectangle onto another.
inline Point MapPoint(Point p, const Rect& from, const Rect& to)
{
    return Point(MapCoordinate(p.h, from.left, from.right, to.left, to.right),
        MapCoordinate(p.v, from.top, from.bottom, to.top, to.bottom));
}

// The rectangle carried proportionally from one rectangle onto another, so that several
// rectangles keep their arrangement.
inline Rect MapRect(const Rect& r, const Rect& from, const Rect& to)
{
    Point a = MapPoint(r.TopLeft(), from, to);
    Point b = MapPoint(r.BottomRight(), from, to);
    return Rect(a.h, a.v, b.h, b.v);
}

inline Rect Moved(Rect r, int32_t dh, int32_t dv)
{
    r.Offset(dh, dv);
    return r;
}

} // namespace pw::authoring
