#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

class BitMap;

namespace pw::graphics {

// The part of a picture that the eye takes for one surface around a point: what a paint bucket
// fills. It holds every pixel of the point's value joined to it (as an exact flood fill reaches
// them) and, when the point lies on a dithered or shaded surface (a sky mixed pixel by pixel from
// two or three palette colours, its colour changing from row to row), that whole surface up to
// the shapes drawn on it. Two rules tell a surface from its edges:
//  - a step between pixels of different values never enters or leaves a solid patch of one value
//    (a cloud, a hill, a stroke), only the specks and threads a dither is made of;
//  - the colour seen over a pixel's 4 x 4 neighbourhood may drift slowly along the way, as a
//    shaded sky does, but not jump, as it does at an outline.
// The last pixels before an edge, whose neighbourhood already takes in the edge, join when they go
// on with the mixture of the surface next to them.
class SeenRegion {
public:
    // `x`, `y` in image coordinates; a point outside the picture has an empty region.
    SeenRegion(BitMap& picture, int32_t x, int32_t y);

    // Image coordinates; false outside the picture.
    bool Contains(int32_t x, int32_t y) const;
    // The smallest rectangle that holds the region.
    Rect GetBounds() const { return bounds; }

private:
    struct Rgb {
        int32_t red;
        int32_t green;
        int32_t blue;
        Rgb operator+(const Rgb& other) const { return { red + other.red, green + other.green, blue + other.blue }; }
    };
    // Whether a lies further than `limit` from b in any channel.
    static bool Strays(const Rgb& a, const Rgb& b, int32_t limit)
    {
        return std::abs(a.red - b.red) > limit || std::abs(a.green - b.green) > limit || std::abs(a.blue - b.blue) > limit;
    }

    void ReadPixels(BitMap& picture);
    void SumNeighbourhoods();
    // Labels the patches of one value (4-connected) and marks the solid ones.
    void FindPatches();
    // The surface from the seed under the two rules; answers where it reached.
    std::vector<int32_t> GrowSurface(int32_t seed);
    // The pixels by the surface's edge, up to two deep.
    void TakeRim(std::vector<int32_t> front);
    bool Solid(int32_t pixel) const { return solid[size_t(patch[size_t(pixel)])]; }
    // Calls `visit` with each of the pixel's four neighbours, -1 for one outside the picture.
    template <typename Visit>
    void ForNeighbours(int32_t pixel, Visit&& visit) const;

    int32_t width { 0 };
    int32_t height { 0 };
    Point origin { 0, 0 };
    Rect bounds { 0, 0, 0, 0 };
    std::vector<uint32_t> values;
    std::vector<Rgb> colors;
    // The colours of each pixel's neighbourhood added up: `cells` times the mean colour seen.
    std::vector<Rgb> seen;
    int32_t cells { 1 };
    std::vector<int32_t> patch;
    std::vector<bool> solid;
    // What the way to each pixel of the surface led the eye to expect (`cells` times a colour).
    std::vector<Rgb> expected;
    std::vector<uint8_t> inside;
};

} // namespace pw::graphics
