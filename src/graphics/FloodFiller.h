#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class BitMap;

// Finds the area of one pixel value connected to a seed point in a bitmap (4-connected, exact
// value, as the platform's surface flood fill reaches it) and paints a pattern into exactly that
// area. The area is kept as a 1-bit mask of the bitmap's size (0 inside, 1 outside), made on first
// demand and kept with the filler.
class FloodFiller {
public:
    // Reads the seed's value from `target`.
    FloodFiller(const SmartPtr<BitMap>& target, int32_t x, int32_t y);

    // The filled area's bounding box, widened by 2 to the right and bottom (the room a frameless
    // rectangle fill needs).
    Rect GetFilledBounds();
    // Every pixel of `destination` inside the area takes the pattern's pixel at the same place
    // relative to the filled bounds; the pattern must have the bounds' size.
    void FillWithPattern(BitMap& destination, BitMap& pattern);

    // The mask, made if needed.
    SmartPtr<BitMap> GetMask();

private:
    void MakeMask();

    Rect filledBounds;
    int32_t seedX;
    int32_t seedY;
    SmartPtr<BitMap> target;
    Rect imageBounds;
    SmartPtr<BitMap> mask;
    uint32_t seedValue;
};
