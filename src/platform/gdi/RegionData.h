// A GDI region as pure data: a set of device pixels kept as disjoint y-x banded rectangles.
//
// Canonical form, which every operation keeps: bands are sorted top to bottom and never overlap;
// each band holds at least one span; spans within a band are sorted, non-empty, and neither
// overlap nor touch; two bands that touch vertically never hold the same spans (they would have
// been merged). Two regions with the same pixels therefore have the same data, so equality is
// structural. Rectangles and spans are [left, right) x [top, bottom).
//
// RegionData holds no handle and no device; the GDI calls (CreateRectRgn, CombineRgn, clipping)
// wrap it. Coordinates are kept within +-kCoordLimit so no arithmetic on them can overflow.
#pragma once

#include <windef.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace pw::platform::gdi {

// CombineRgn modes.
constexpr int kRgnAnd = 1;
constexpr int kRgnOr = 2;
constexpr int kRgnXor = 3;
constexpr int kRgnDiff = 4;
constexpr int kRgnCopy = 5;

// Region types, as CombineRgn, OffsetRgn and GetRgnBox return them.
constexpr int kNullRegion = 1;
constexpr int kSimpleRegion = 2;
constexpr int kComplexRegion = 3;

// Polygon fill modes.
constexpr int kAlternate = 1;
constexpr int kWinding = 2;

class RegionData {
public:
    // One run of pixels of a row: [left, right).
    struct Span {
        int left;
        int right;
        bool operator==(const Span&) const = default;
    };

    // Coordinates are clamped to this range on the way in; Offset refuses to leave it.
    static constexpr int kCoordLimit = 1 << 27;

    RegionData() = default;
    // An empty rectangle (right <= left or bottom <= top) gives the empty region.
    explicit RegionData(const RECT& rect);
    RegionData(int left, int top, int right, int bottom);

    // The pixels whose centres (x + 0.5, y + 0.5) lie inside the polygon under the fill mode
    // (kAlternate: odd crossing count; kWinding: non-zero winding number). A centre exactly on an
    // edge belongs to the pixel only when the edge is a left boundary, so the right boundary is
    // exclusive; centres never lie on a horizontal edge, so top is inclusive and bottom exclusive.
    // A polygon along a rectangle's corners therefore covers exactly that rectangle. The polygon
    // is closed implicitly; fewer than 3 points give the empty region. `limit`, when given,
    // restricts the result to that rectangle (saves work when only a surface's pixels matter).
    static RegionData FromPolygon(const POINT* points, int count, int fillMode,
                                  const RECT* limit = nullptr);

    // The set operation `mode` (kRgnAnd, kRgnOr, kRgnXor, kRgnDiff: a minus b, kRgnCopy: a).
    // An unknown mode gives the empty region; callers check the mode first.
    static RegionData Combine(const RegionData& a, const RegionData& b, int mode);

    // Moves every pixel by (dx, dy). Returns false, leaving the region unchanged, when the result
    // would leave +-kCoordLimit.
    bool Offset(int dx, int dy);

    bool IsEmpty() const { return bands.empty(); }
    // kNullRegion, kSimpleRegion (one rectangle) or kComplexRegion.
    int Type() const;
    // The bounding box; (0, 0, 0, 0) when empty.
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool IntersectsRect(const RECT& rect) const;
    // The region cut to a rectangle (the same as Combine with kRgnAnd, without building a region).
    RegionData Intersected(const RECT& rect) const;

    // The rectangles of the canonical form, band by band, left to right.
    std::vector<RECT> Rects() const;
    bool operator==(const RegionData& other) const;

    // The spans of row y, left to right (empty when the row holds no pixel). O(log bands).
    std::span<const Span> RowSpans(int y) const;

    // Calls fn(left, right) for each piece of [x0, x1) in row y that lies inside the region, left
    // to right: the clip of a horizontal run of pixels.
    template <typename F>
    void ForEachSpanInRow(int y, int x0, int x1, F&& fn) const
    {
        if (x0 >= x1)
            return;
        auto row = RowSpans(y);
        // Skip spans that end at or before x0 (binary search: rows of many spans stay fast).
        auto it = std::upper_bound(row.begin(), row.end(), x0,
                                   [](int x, const Span& s) { return x < s.right; });
        for (; it != row.end() && it->left < x1; ++it)
            fn(std::max(it->left, x0), std::min(it->right, x1));
    }

    // Calls fn(const RECT&) for each rectangle of the region cut to `rect`, top to bottom, left to
    // right: the clip of a filled rectangle or a blit.
    template <typename F>
    void ForEachRectInside(const RECT& rect, F&& fn) const
    {
        if (rect.left >= rect.right || rect.top >= rect.bottom)
            return;
        for (size_t b = FirstBandBelow(rect.top); b < bands.size(); ++b) {
            const Band& band = bands[b];
            if (band.top >= rect.bottom)
                break;
            LONG top = std::max<LONG>(band.top, rect.top);
            LONG bottom = std::min<LONG>(band.bottom, rect.bottom);
            for (uint32_t i = band.first; i < band.first + band.count; ++i) {
                const Span& s = spans[i];
                if (s.right <= rect.left)
                    continue;
                if (s.left >= rect.right)
                    break;
                fn(RECT { std::max<LONG>(s.left, rect.left), top, std::min<LONG>(s.right, rect.right), bottom });
            }
        }
    }

private:
    struct Band {
        int top;
        int bottom;
        uint32_t first; // index of its first span in spans
        uint32_t count;
    };
    class Builder; // appends rows and bands in canonical form (RegionData.cpp)

    // Index of the first band whose bottom lies below y (bands.size() when none).
    size_t FirstBandBelow(int y) const;
    std::span<const Span> BandSpans(const Band& band) const
    {
        return { spans.data() + band.first, band.count };
    }

    std::vector<Band> bands;
    std::vector<Span> spans;
};

} // namespace pw::platform::gdi
