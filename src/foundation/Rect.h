#pragma once

#include "foundation/Point.h"

#include <cstdint>

// A plain rectangle, as in the platform's RECT; right and bottom are exclusive, so the width is
// right - left and the height bottom - top. Nothing reorders the edges.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    Rect() = default;
    constexpr Rect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : left(left)
        , top(top)
        , right(right)
        , bottom(bottom)
    {
    }

    constexpr Point Size() const { return Point(right - left, bottom - top); }
    constexpr Point TopLeft() const { return Point(left, top); }
    constexpr Point BottomRight() const { return Point(right, bottom); }
    // Integer halves, truncating toward zero.
    constexpr Point Center() const { return Point((left + right) / 2, (top + bottom) / 2); }

    constexpr bool IsEmpty() const { return top >= bottom || right <= left; }
    constexpr bool Contains(int32_t h, int32_t v) const { return left <= h && h < right && top <= v && v < bottom; }
    // Both share at least one pixel; touching edges do not intersect.
    constexpr bool Intersects(const Rect& other) const { return !Intersect(other).IsEmpty(); }
    // The common part; empty (possibly with reversed edges) when they do not intersect.
    constexpr Rect Intersect(const Rect& other) const
    {
        return Rect(left > other.left ? left : other.left, top > other.top ? top : other.top,
            right < other.right ? right : other.right, bottom < other.bottom ? bottom : other.bottom);
    }
    // The smallest rectangle holding both; an empty operand adds nothing.
    constexpr Rect Union(const Rect& other) const
    {
        if (other.IsEmpty())
            return *this;
        if (IsEmpty())
            return other;
        return Rect(left < other.left ? left : other.left, top < other.top ? top : other.top,
            right > other.right ? right : other.right, bottom > other.bottom ? bottom : other.bottom);
    }
    constexpr void Offset(int32_t dh, int32_t dv)
    {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
    }

    constexpr bool operator==(const Rect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};
