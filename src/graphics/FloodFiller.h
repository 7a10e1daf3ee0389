#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class BitMap;

// Finds the area around a seed point in a bitmap and paints a pattern into exactly that area. The
// area is the seed's value connected to it (4-connected, exact value, as the platform's surface
// flood fill reaches it), or the surface the eye sees there, shades and dithering included
// (pw::graphics::SeenRegion). It is kept as a 1-bit mask of the bitmap's size (0 inside, 1
// outside), made on first demand and kept with the filler.
class FloodFiller {
public:
    enum class Reach { kExactValue, kAsSeen };

    // Reads the seed's value from `target`.
    FloodFiller(const SmartPtr<BitMap>& target, int32_t x, int32_t y, Reach reach = Reach::kExactValue);

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
    void MakeMaskAsSeen();

    Rect filledBounds;
    int32_t seedX;
    int32_t seedY;
    SmartPtr<BitMap> target;
    Rect imageBounds;
    SmartPtr<BitMap> mask;
    uint32_t seedValue;
    Reach reach;
};
