#pragma once

#include "foundation/Point.h"

#include <windows.h>

#include <cstdint>
#include <memory>

// The size of every platform pattern: 8 by 8 pixels, one byte a row.
inline constexpr Point patternSize { 8, 8 };

// The platform form of a Pattern: a handle to an 8-byte block of pattern rows from which pattern
// brushes are made. Copies share the block; it is freed with the last handle to it.
class OSPattern {
public:
    // A new zeroed block.
    OSPattern();

    // Copy the rows out or in; fail "bytes == patternSize.x" unless `bytes` is 8.
    void GetPattern(void* destination, uint32_t bytes) const;
    void SetPattern(const void* source, uint32_t bytes);

    // A new pattern brush of the rows (set bits draw in the DC's background colour, clear bits in
    // its text colour); the caller owns and deletes it.
    HBRUSH CreateBrush() const;

private:
    std::shared_ptr<uint8_t[]> block;
};
