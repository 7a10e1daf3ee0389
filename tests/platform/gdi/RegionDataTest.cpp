#include "platform/gdi/RegionData.h"

#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>

using gditest::RectText;
using pw::platform::gdi::RegionData;
namespace gdi = pw::platform::gdi;

namespace {

// Pixel-set oracle: regions are compared with plain sets of (x, y) over a small world.
using Pixels = std::set<std::pair<int, int>>;
constexpr int kWorldMin = -3;
constexpr int kWorldMax = 20;

Pixels PixelsOf(const RegionData& region)
{
    Pixels pixels;
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.insert({ x, y });
    return pixels;
}

Pixels PixelsOf(const RECT& r)
{
    return PixelsOf(RegionData(r));
}

Pixels Apply(const Pixels& a, const Pixels& b, int mode)
{
    Pixels out;
    for (int y = kWorldMin; y < kWorldMax; ++y)
        for (int x = kWorldMin; x < kWorldMax; ++x) {
            bool inA = a.count({ x, y }) != 0, inB = b.count({ x, y }) != 0;
            bool in = mode == gdi::kRgnAnd ? inA && inB
                : mode == gdi::kRgnOr      ? inA || inB
                : mode == gdi::kRgnXor     ? inA != inB
                : mode == gdi::kRgnDiff    ? inA && !inB
                                           : inA;
            if (in)
                out.insert({ x, y });
        }
    return out;
}

// Checks the canonical form as seen through Rects(): bands sorted and disjoint, spans in a band
// sorted and not touching, and no two touching bands with the same spans.
void ExpectCanonical(const RegionData& region)
{
    auto rects = region.Rects();
    std::vector<std::vector<std::pair<int, int>>> bandSpans;
    std::vector<std::pair<int, int>> bandRows;
    for (const RECT& r : rects) {
        ASSERT_LT(r.left, r.right);
        ASSERT_LT(r.top, r.bottom);
        std::pair<int, int> rows { r.top, r.bottom };
        if (bandRows.empty() || bandRows.back() != rows) {
            if (!bandRows.empty()) {
                ASSERT_LE(bandRows.back().second, r.top) << "bands overlap or are out of order";
            }
            bandRows.push_back(rows);
            bandSpans.push_back({});
        } else {
            ASSERT_LT(bandSpans.back().back().second, r.left) << "spans touch, overlap or are out of order";
        }
        bandSpans.back().push_back({ r.left, r.right });
    }
    for (size_t i = 1; i < bandRows.size(); ++i)
        if (bandRows[i - 1].second == bandRows[i].first) {
            EXPECT_NE(bandSpans[i - 1], bandSpans[i]) << "touching bands with equal spans not merged";
        }
    int expectedType = rects.empty() ? gdi::kNullRegion : rects.size() == 1 ? gdi::kSimpleRegion : gdi::kComplexRegion;
    EXPECT_EQ(region.Type(), expectedType);
}

RECT RandomRect(std::mt19937& rng)
{
    std::uniform_int_distribution<int> coord(kWorldMin, kWorldMax - 1);
    int l = coord(rng), r = coord(rng), t = coord(rng), b = coord(rng);
    if (rng() % 8 == 0)
        return RECT { l, t, l, b }; // empty now and then
    return RECT { std::min(l, r), std::min(t, b), std::max(l, r) + 1, std::max(t, b) + 1 };
}

// A random region built from a few rectangles, tracked beside its oracle.
std::pair<RegionData, Pixels> RandomRegion(std::mt19937& rng)
{
    RegionData region;
    Pixels pixels;
    int parts = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < parts; ++i) {
        RECT r = RandomRect(rng);
        int mode = i == 0 ? gdi::kRgnOr : 1 + static_cast<int>(rng() % 4);
        region = RegionData::Combine(region, RegionData(r), mode);
        pixels = Apply(pixels, PixelsOf(r), mode);
    }
    return { region, pixels };
}

RECT BoxOf(const Pixels& pixels)
{
    if (pixels.empty())
        return RECT { 0, 0, 0, 0 };
    RECT box { 1000, 1000, -1000, -1000 };
    for (auto [x, y] : pixels) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
    return box;
}

std::string Grid(const RegionData& region, int width, int height)
{
    std::string s;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            s += region.Contains(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

} // namespace

TEST(RegionData, EmptyRectanglesGiveTheEmptyRegion)
{
    for (RECT r : { RECT { 0, 0, 0, 0 }, RECT { 5, 5, 5, 9 }, RECT { 5, 5, 9, 5 }, RECT { 9, 9, 5, 5 } }) {
        RegionData region(r);
        EXPECT_TRUE(region.IsEmpty());
        EXPECT_EQ(region.Type(), gdi::kNullRegion);
        EXPECT_EQ(RectText(region.Box()), "0,0,0,0");
        EXPECT_EQ(region, RegionData());
    }
    RegionData one(2, 3, 4, 7);
    EXPECT_EQ(one.Type(), gdi::kSimpleRegion);
    EXPECT_EQ(RectText(one.Box()), "2,3,4,7");
    EXPECT_TRUE(one.Contains(2, 3));
    EXPECT_FALSE(one.Contains(4, 3)); // right edge exclusive
    EXPECT_FALSE(one.Contains(2, 7)); // bottom edge exclusive
}

TEST(RegionData, CombineMatchesThePixelSetOperations)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 150; ++round) {
        auto [a, pa] = RandomRegion(rng);
        auto [b, pb] = RandomRegion(rng);
        for (int mode = gdi::kRgnAnd; mode <= gdi::kRgnCopy; ++mode) {
            SCOPED_TRACE("round " + std::to_string(round) + " mode " + std::to_string(mode));
            RegionData result = RegionData::Combine(a, b, mode);
            Pixels expected = Apply(pa, pb, mode);
            ASSERT_EQ(PixelsOf(result), expected);
            ExpectCanonical(result);
            EXPECT_EQ(RectText(result.Box()), RectText(BoxOf(expected)));
            // Same pixels, however built, means equal data.
            RegionData rebuilt;
            for (auto [x, y] : expected)
                rebuilt = RegionData::Combine(rebuilt, RegionData(x, y, x + 1, y + 1), gdi::kRgnOr);
            EXPECT_EQ(result, rebuilt);
        }
        EXPECT_EQ(RegionData::Combine(a, b, gdi::kRgnOr), RegionData::Combine(b, a, gdi::kRgnOr));
        EXPECT_EQ(RegionData::Combine(a, b, 0), RegionData());
    }
}

TEST(RegionData, QueriesAgreeWithThePixelSet)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto [region, pixels] = RandomRegion(rng);
        RECT clip = RandomRect(rng);
        Pixels clipped = Apply(pixels, PixelsOf(clip), gdi::kRgnAnd);

        Pixels fromSpans, fromRects;
        for (int y = kWorldMin; y < kWorldMax; ++y) {
            for (int x = kWorldMin; x < kWorldMax; ++x)
                ASSERT_EQ(region.Contains(x, y), pixels.count({ x, y }) != 0) << x << "," << y;
            int last = -1000;
            region.ForEachSpanInRow(y, clip.left, clip.right, [&](int l, int r) {
                EXPECT_LT(l, r);
                EXPECT_LT(last, l) << "spans out of order or touching";
                last = r;
                if (y >= clip.top && y < clip.bottom)
                    for (int x = l; x < r; ++x)
                        fromSpans.insert({ x, y });
            });
        }
        region.ForEachRectInside(clip, [&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    EXPECT_TRUE(fromRects.insert({ x, y }).second) << "rectangles overlap";
        });
        EXPECT_EQ(fromSpans, clipped);
        EXPECT_EQ(fromRects, clipped);
        EXPECT_EQ(region.IntersectsRect(clip), !clipped.empty());
        RegionData cut = region.Intersected(clip);
        EXPECT_EQ(cut, RegionData::Combine(region, RegionData(clip), gdi::kRgnAnd));
        ExpectCanonical(cut);
    }
}

TEST(RegionData, OffsetMovesEveryPixelAndRefusesToOverflow)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 100; ++round) {
        auto [region, pixels] = RandomRegion(rng);
        int dx = static_cast<int>(rng() % 21) - 10, dy = static_cast<int>(rng() % 21) - 10;
        Pixels moved;
        for (auto [x, y] : pixels)
            moved.insert({ x + dx, y + dy });
        ASSERT_TRUE(region.Offset(dx, dy));
        EXPECT_EQ(PixelsOf(region), moved);
        ExpectCanonical(region);
    }
    RegionData region(0, 0, 10, 10);
    EXPECT_FALSE(region.Offset(RegionData::kCoordLimit, 0));
    EXPECT_FALSE(region.Offset(0, -RegionData::kCoordLimit - 1));
    EXPECT_EQ(region, RegionData(0, 0, 10, 10));
    RegionData empty;
    EXPECT_TRUE(empty.Offset(2'000'000'000, 2'000'000'000));
    // Huge coordinates are clamped on the way in, so later arithmetic cannot overflow.
    RegionData huge(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(RectText(huge.Box()), RectText(RECT { -RegionData::kCoordLimit, -RegionData::kCoordLimit,
                                            RegionData::kCoordLimit, RegionData::kCoordLimit }));
}

TEST(RegionData, PolygonFillGoldens)
{
    struct Case {
        const char* name;
        std::vector<POINT> points;
        int fillMode;
        const char* grid; // the pixels from (0, 0); nothing outside it
    };
    const std::vector<POINT> hole { { 0, 0 }, { 6, 0 }, { 6, 6 }, { 0, 6 }, { 0, 0 }, { 2, 2 }, { 4, 2 }, { 4, 4 }, { 2, 4 }, { 2, 2 } };
    const std::vector<POINT> reversedHole { { 0, 0 }, { 6, 0 }, { 6, 6 }, { 0, 6 }, { 0, 0 }, { 2, 2 }, { 2, 4 }, { 4, 4 }, { 4, 2 }, { 2, 2 } };
    const std::vector<POINT> twice { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 }, { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 } };
    const char* full = "######\n######\n######\n######\n######\n######\n";
    const char* holed = "######\n"
                        "######\n"
                        "##..##\n"
                        "##..##\n"
                        "######\n"
                        "######\n";
    const Case cases[] = {
        { "rectangle corners cover the rectangle", { { 1, 1 }, { 5, 1 }, { 5, 4 }, { 1, 4 } }, gdi::kAlternate,
          "......\n"
          ".####.\n"
          ".####.\n"
          ".####.\n" },
        { "triangle", { { 0, 0 }, { 4, 0 }, { 0, 4 } }, gdi::kAlternate,
          "###.\n"
          "##..\n"
          "#...\n"
          "....\n" },
        // Centres on a left edge are in, centres on a right edge are out.
        { "diamond through pixel centres", { { 2, 0 }, { 4, 2 }, { 2, 4 }, { 0, 2 } }, gdi::kAlternate,
          ".#..\n"
          "###.\n"
          "###.\n"
          ".#..\n" },
        { "hole, alternate", hole, gdi::kAlternate, holed },
        { "hole wound the same way, winding", hole, gdi::kWinding, full },
        { "hole wound the other way, winding", reversedHole, gdi::kWinding, holed },
        { "square traced twice, winding", twice, gdi::kWinding, "####\n####\n####\n####\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegionData region = RegionData::FromPolygon(c.points.data(), static_cast<int>(c.points.size()), c.fillMode);
        std::string grid = c.grid;
        int width = static_cast<int>(grid.find('\n')), height = static_cast<int>(grid.size()) / (width + 1);
        EXPECT_EQ("\n" + Grid(region, width, height), "\n" + grid);
        EXPECT_EQ(PixelsOf(region), PixelsOf(region.Intersected({ 0, 0, width, height })));
        ExpectCanonical(region);
    }
    EXPECT_TRUE(RegionData::FromPolygon(twice.data(), 8, gdi::kAlternate).IsEmpty());
    EXPECT_TRUE(RegionData::FromPolygon(twice.data(), 2, gdi::kAlternate).IsEmpty());
    EXPECT_EQ(RegionData::FromPolygon(twice.data(), 4, gdi::kAlternate), RegionData(0, 0, 4, 4));
}

// Random polygons against a ray-casting oracle: a centre is inside when the crossings strictly
// to its right count odd (alternate) or wind to non-zero (winding). Exact integer arithmetic.
TEST(RegionData, PolygonFillMatchesRayCasting)
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> coord(-2, 14);
    for (int round = 0; round < 300; ++round) {
        std::vector<POINT> pts(3 + rng() % 6);
        for (POINT& p : pts)
            p = { coord(rng), coord(rng) };
        int fillMode = round % 2 ? gdi::kWinding : gdi::kAlternate;
        RECT limit { 0, 1, 11, 12 };
        RegionData region = RegionData::FromPolygon(pts.data(), static_cast<int>(pts.size()), fillMode);
        RegionData limited = RegionData::FromPolygon(pts.data(), static_cast<int>(pts.size()), fillMode, &limit);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectCanonical(region);
        EXPECT_EQ(limited, region.Intersected(limit));
        for (int y = -3; y < 16; ++y)
            for (int x = -3; x < 16; ++x) {
                int crossings = 0, winding = 0;
                for (size_t i = 0; i < pts.size(); ++i) {
                    POINT p = pts[i], q = pts[(i + 1) % pts.size()];
                    int dir = p.y < q.y ? 1 : -1;
                    if (p.y > q.y)
                        std::swap(p, q);
                    if (!(p.y <= y && y < q.y))
                        continue;
                    int64_t d = q.y - p.y;
                    // crossing x - centre x, times 2d
                    int64_t diff = 2 * int64_t(p.x) * d + (2 * int64_t(y - p.y) + 1) * (q.x - p.x) - (2 * int64_t(x) + 1) * d;
                    if (diff > 0) {
                        ++crossings;
                        winding += dir;
                    }
                }
                bool inside = fillMode == gdi::kWinding ? winding != 0 : crossings % 2 == 1;
                ASSERT_EQ(region.Contains(x, y), inside) << "pixel " << x << "," << y;
            }
    }
}
