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
    constexpr bool operator==(const Rect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};
