#pragma once

#include "foundation/Point.h"

#include <windows.h>

#include <cstdint>

class OSBitMap;

// Turns the shape in an 8-bit mask into a polygon region by walking its outline clockwise over
// the 8 neighbours of each pixel. Pixels whose byte differs from the background belong to the
// shape; rows are `rows` bytes apart in memory, each padded to a multiple of 4 bytes, row 0 first.
// The trimmer reads the bitmap's size when made and borrows the pixel rows.
class Trim {
public:
    // Outline points per shape; a longer outline fails "arraySize < maxArraySize".
    static constexpr int32_t maxArraySize = 10000;

    Trim(OSBitMap& bitmap, const uint8_t* rows, uint8_t background);

    // The region of the first shape found, or null when there is none. With `flip` the rows are
    // taken as stored bottom-up (row 0 of memory is the image's last row).
    HRGN MakeRegion(bool flip);
    // The first shape pixel in row order from row `row` on; h is -1 when there is none.
    Point FindStart(int32_t row) const;
    // The polygon region of the outline that starts at (x, y), a shape pixel.
    HRGN TraceOutline(int32_t x, int32_t y, bool flip) const;

private:
    bool InShape(int32_t x, int32_t y) const;

    const uint8_t* rows;
    uint8_t background;
    int32_t width;
    int32_t height;
    int32_t rowBytes;
};
