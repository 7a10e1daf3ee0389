#include "graphics/SeenRegion.h"

#include "graphics/BitMap.h"
#include "graphics/PixelIterator.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace pw::graphics {

namespace {

// The neighbourhood whose mean colour the eye sees at a pixel: 4 x 4 pixels, from the column and
// row before it to two after it, moved inwards at the picture's edges so that it always covers a
// whole cell of an ordered dither.
constexpr int32_t kSide = 4;
constexpr int32_t kReachBefore = 1;
// How far (per channel, 0 to 255) the colour seen may stray from what the way there led the eye
// to expect. A shaded sky drifts by a unit or two a pixel and a dither's unevenness stays under
// 7; across an outline the colour seen changes by a quarter of the outline's contrast a pixel.
constexpr int32_t kDrift = 16;
// The expectation follows the colour seen by a quarter of each step, so that a slow shading is
// followed while a run of small steps in one direction (a soft edge) adds up and stops the way.
constexpr int32_t kFollow = 4;
// A shape may hold a stray speck of another value, but fewer than one in this many of its pixels;
// even a sparse dither has more.
constexpr int64_t kSpeckRarity = 64;
// How far from the surface a pixel next to its edge may lie and still be taken with it: the
// neighbourhood reaches two pixels past a pixel, so the rim whose colour seen the edge tints is
// two pixels deep.
constexpr int32_t kRimDepth = 2;

int32_t Byte(uint16_t component)
{
    return component >> 8;
}

} // namespace

template <typename Visit>
void SeenRegion::ForNeighbours(int32_t pixel, Visit&& visit) const
{
    int32_t h = pixel % width;
    int32_t v = pixel / width;
    for (auto [dh, dv] : { std::pair { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } }) {
        int32_t nh = h + dh;
        int32_t nv = v + dv;
        visit(nh < 0 || nv < 0 || nh >= width || nv >= height ? -1 : nv * width + nh);
    }
}

SeenRegion::SeenRegion(BitMap& picture, int32_t x, int32_t y)
{
    Rect image = picture.GetBounds();
    origin = Point(image.left, image.top);
    if (!image.Contains(x, y))
        return;
    width = image.right - image.left;
    height = image.bottom - image.top;
    ReadPixels(picture);
    SumNeighbourhoods();
    FindPatches();
    int32_t seed = (y - image.top) * width + (x - image.left);
    inside.assign(values.size(), 0);
    expected.assign(values.size(), Rgb { 0, 0, 0 });
    TakeRim(GrowSurface(seed));
    int32_t seedPatch = patch[size_t(seed)];
    Rect found(width, height, 0, 0);
    for (int32_t pixel = 0; pixel < width * height; ++pixel) {
        if (patch[size_t(pixel)] == seedPatch)
            inside[size_t(pixel)] = 1;
        if (!inside[size_t(pixel)])
            continue;
        int32_t h = pixel % width;
        int32_t v = pixel / width;
        found = Rect(std::min(found.left, h), std::min(found.top, v), std::max(found.right, h + 1),
            std::max(found.bottom, v + 1));
    }
    found.Offset(image.left, image.top);
    bounds = found;
}

bool SeenRegion::Contains(int32_t x, int32_t y) const
{
    int32_t h = x - origin.h;
    int32_t v = y - origin.v;
    if (h < 0 || v < 0 || h >= width || v >= height)
        return false;
    return inside[size_t(v * width + h)] != 0;
}

void SeenRegion::ReadPixels(BitMap& picture)
{
    values.resize(size_t(width) * size_t(height));
    colors.resize(values.size());
    std::unordered_map<uint32_t, Rgb> known;
    PixelIterator cursor(picture, picture.GetBounds(), true);
    for (size_t pixel = 0; cursor.More(); cursor.Next(), ++pixel) {
        uint32_t value = cursor.GetPixel();
        auto found = known.find(value);
        if (found == known.end()) {
            Color color = picture.GetColorOfValue(value);
            found = known.emplace(value, Rgb { Byte(color.red), Byte(color.green), Byte(color.blue) }).first;
        }
        values[pixel] = value;
        colors[pixel] = found->second;
    }
}

// Sums along the rows first, then sums of those down the columns.
void SeenRegion::SumNeighbourhoods()
{
    int32_t across = std::min(kSide, width);
    int32_t down = std::min(kSide, height);
    cells = across * down;
    // Each pixel's run of `extent` pixels along a line of `length`, `step` apart in the buffer.
    auto sum = [this](const std::vector<Rgb>& from, std::vector<Rgb>& to, int32_t extent, bool alongRows) {
        int32_t length = alongRows ? width : height;
        int32_t step = alongRows ? 1 : width;
        to.resize(from.size());
        for (int32_t pixel = 0; pixel < width * height; ++pixel) {
            int32_t at = alongRows ? pixel % width : pixel / width;
            int32_t first = pixel + (std::clamp(at - kReachBefore, 0, length - extent) - at) * step;
            Rgb total { 0, 0, 0 };
            for (int32_t n = 0; n < extent; ++n)
                total = total + from[size_t(first + n * step)];
            to[size_t(pixel)] = total;
        }
    };
    std::vector<Rgb> rows;
    sum(colors, rows, across, true);
    sum(rows, seen, down, false);
}

// A patch is solid, a shape rather than part of a dither, when at least half its pixels have all
// four neighbours of its value (the picture's edge counting as such) and specks of other values
// (single pixels it surrounds) are rare in it: a dither's threads have few such pixels, and the
// ground of a sparse dither is riddled with specks. A solid patch takes in its specks.
void SeenRegion::FindPatches()
{
    patch.assign(values.size(), -1);
    std::vector<int64_t> sizes;
    std::vector<int64_t> enclosed;
    std::vector<int32_t> stack;
    for (int32_t start = 0; start < width * height; ++start) {
        if (patch[size_t(start)] >= 0)
            continue;
        auto label = static_cast<int32_t>(sizes.size());
        uint32_t value = values[size_t(start)];
        sizes.push_back(0);
        enclosed.push_back(0);
        patch[size_t(start)] = label;
        stack.push_back(start);
        while (!stack.empty()) {
            int32_t pixel = stack.back();
            stack.pop_back();
            ++sizes.back();
            int32_t alike = 0;
            ForNeighbours(pixel, [&](int32_t next) {
                if (next >= 0 && values[size_t(next)] != value)
                    return;
                ++alike;
                if (next >= 0 && patch[size_t(next)] < 0) {
                    patch[size_t(next)] = label;
                    stack.push_back(next);
                }
            });
            enclosed.back() += alike == 4;
        }
    }
    std::vector<int64_t> specks(sizes.size(), 0);
    std::vector<std::pair<int32_t, int32_t>> specksIn;
    for (int32_t pixel = 0; pixel < width * height; ++pixel) {
        if (sizes[size_t(patch[size_t(pixel)])] != 1)
            continue;
        int32_t around = -1;
        bool surrounded = true;
        ForNeighbours(pixel, [&](int32_t next) {
            if (next < 0)
                return;
            int32_t other = patch[size_t(next)];
            surrounded = surrounded && (around < 0 || around == other);
            around = other;
        });
        if (surrounded && around >= 0) {
            ++specks[size_t(around)];
            specksIn.emplace_back(pixel, around);
        }
    }
    solid.resize(sizes.size());
    for (size_t label = 0; label < sizes.size(); ++label)
        solid[label] = 2 * enclosed[label] >= sizes[label] && specks[label] * kSpeckRarity < sizes[label];
    // The eye takes a stray speck for part of the shape around it.
    for (auto [pixel, around] : specksIn) {
        if (solid[size_t(around)])
            patch[size_t(pixel)] = around;
    }
}

std::vector<int32_t> SeenRegion::GrowSurface(int32_t seed)
{
    std::vector<int32_t> reached { seed };
    inside[size_t(seed)] = 1;
    expected[size_t(seed)] = seen[size_t(seed)];
    for (size_t next = 0; next < reached.size(); ++next) {
        int32_t pixel = reached[next];
        Rgb hope = expected[size_t(pixel)];
        ForNeighbours(pixel, [&](int32_t step) {
            if (step < 0 || inside[size_t(step)])
                return;
            if (values[size_t(step)] != values[size_t(pixel)] && (Solid(pixel) || Solid(step)))
                return;
            const Rgb& there = seen[size_t(step)];
            if (Strays(there, hope, kDrift * cells))
                return;
            inside[size_t(step)] = 1;
            expected[size_t(step)] = Rgb { hope.red + (there.red - hope.red) / kFollow,
                hope.green + (there.green - hope.green) / kFollow, hope.blue + (there.blue - hope.blue) / kFollow };
            reached.push_back(step);
        });
    }
    return reached;
}

// A pixel by the edge joins when a pixel of the surface near it (within a dither cell's side each
// way) has its value: the rim goes on with the surface's own mixture, never into what lies beyond.
void SeenRegion::TakeRim(std::vector<int32_t> front)
{
    std::vector<uint8_t> surface = inside;
    auto continuesSurface = [&](int32_t h, int32_t v) {
        uint32_t value = values[size_t(v * width + h)];
        for (int32_t nv = std::max(0, v - kSide); nv <= std::min(height - 1, v + kSide); ++nv) {
            for (int32_t nh = std::max(0, h - kSide); nh <= std::min(width - 1, h + kSide); ++nh) {
                if (surface[size_t(nv * width + nh)] && values[size_t(nv * width + nh)] == value)
                    return true;
            }
        }
        return false;
    };
    for (int32_t depth = 0; depth < kRimDepth; ++depth) {
        std::vector<int32_t> taken;
        for (int32_t pixel : front) {
            ForNeighbours(pixel, [&](int32_t step) {
                if (step < 0 || inside[size_t(step)] || !continuesSurface(step % width, step / width))
                    return;
                inside[size_t(step)] = 1;
                taken.push_back(step);
            });
        }
        front = std::move(taken);
    }
}

} // namespace pw::graphics
