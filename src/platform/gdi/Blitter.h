// Copies pixels between surfaces: BitBlt, StretchBlt, StretchDIBits and the DIB conversions.
//
// Scaling is nearest neighbour (destination pixel i of a run of W takes source pixel
// floor(i * S / W) of a run of S); opposite signs of the source and destination extents mirror,
// and a negative extent e at c covers c + e + 1 .. c (the run ends on the pixel named);
// values go source value -> colour -> nearest value of the destination, except that identical
// colour tables copy values unchanged. Only destination pixels inside `clip` change, and those
// whose source pixel lies outside the source surface keep their value.
#pragma once

#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace pw::platform::gdi {

// Turns values of one surface into values of another that show the same colours. Indexed
// sources take the translation the table memo keeps for the pair of tables.
class ValueTranslator {
public:
    ValueTranslator(const Surface& source, const Surface& dest);

    bool IsIdentity() const { return identity; }
    // The lookup of an indexed source (one value per source value), else null.
    const uint32_t* Lookup() const { return lookup; }
    uint32_t operator()(uint32_t value)
    {
        if (identity)
            return value;
        if (lookup)
            return value < lookupSize ? lookup[value] : dest.ValueOf(RGB(0, 0, 0));
        return Slow(value);
    }

private:
    uint32_t Slow(uint32_t value);

    const Surface& source;
    const Surface& dest;
    bool identity = false;
    std::shared_ptr<const ValueTable> table;
    const uint32_t* lookup = nullptr;
    size_t lookupSize = 0;
    ValueCache cache;
};

// Extents may be negative (c + e + 1 .. c, mirroring); rectangles are in each surface's own pixels, row 0 at the
// top. Returns false when an extent is 0.
bool StretchCopy(const Surface& dest, const RegionData& clip, long long xd, long long yd, int wd, int hd,
                 const Surface& source, long long xs, long long ys, int ws, int hs);

// The source rectangle (xs, ys, ws x hs, extents positive) onto a parallelogram of the destination
// given by the points its top-left, top-right and bottom-left corners go to (`corners`, surface
// coordinates): a destination pixel whose sampled corner is p0 + a (p1 - p0) + b (p2 - p0) with
// 0 <= a, b < 1 takes source pixel (floor(a ws), floor(b hs)); the sampled corner is the one
// nearest the source's top-left, so an upright rectangle copies as StretchCopy does and a turned,
// mirrored or row-sheared one covers each of its pixels once. With a mask (1 bit deep, tiled from (xm, ym) as the source rectangle's
// top-left), only pixels whose mask bit is 1 change. Clip and colour rules as StretchCopy; a flat
// parallelogram changes nothing.
void ParallelogramCopy(const Surface& dest, const RegionData& clip, const long long (&corners)[3][2],
                       const Surface& source, long long xs, long long ys, int ws, int hs, const Surface* mask,
                       long long xm, long long ym);

} // namespace pw::platform::gdi
