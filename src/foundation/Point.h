#pragma once

#include <cstdint>

// A plain point: h grows to the right, v downward, as in the platform's POINT. Sizes are points
// too (h the width, v the height). Default construction leaves both unset.
struct Point {
    // (0, 0).
    static const Point origin;

    int32_t h;
    int32_t v;

    Point() = default;
    constexpr Point(int32_t h, int32_t v)
        : h(h)
        , v(v)
    {
    }

    constexpr bool Equals(const Point& other) const { return h == other.h && v == other.v; }
    constexpr bool operator==(const Point& other) const { return Equals(other); }
    constexpr bool operator!=(const Point& other) const { return !Equals(other); }
    // The point moved by (-dh, -dv).
    constexpr Point Minus(int32_t dh, int32_t dv) const { return Point(h - dh, v - dv); }
};

inline constexpr Point Point::origin { 0, 0 };
