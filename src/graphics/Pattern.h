#pragma once

#include <cstdint>

class Stream;

// An 8 by 8 monochrome fill pattern: one byte per row, top row first, bit 7 the leftmost pixel.
// A plain value, copied everywhere.
class Pattern {
public:
    static constexpr int numStandardPatterns = 5;
    static constexpr int kRows = 8;

    // No bits set.
    constexpr Pattern() = default;
    // Standard pattern `pattern`; fails "pattern >= 0" or "pattern < numStandardPatterns".
    explicit Pattern(int pattern);

    // The eight row bytes, top row first.
    void Set(const uint8_t* rows);
    bool Equals(const Pattern& other) const;

    // The eight bytes raw, in row order; never swapped.
    void ToStream(Stream& stream) const;
    void FromStream(Stream& stream);

    uint8_t rows[kRows] {};
};
