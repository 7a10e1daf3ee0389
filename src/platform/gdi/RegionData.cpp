#include "platform/gdi/RegionData.h"

#include <cstdint>
#include <limits>

namespace pw::platform::gdi {

namespace {

using Span = RegionData::Span;

int Clamp(LONG v)
{
    return static_cast<int>(std::clamp<LONG>(v, -RegionData::kCoordLimit, RegionData::kCoordLimit));
}

// Sorts spans and merges the ones that overlap or touch; drops empty ones.
void Normalize(std::vector<Span>& spans)
{
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    size_t out = 0;
    for (const Span& s : spans) {
        if (s.left >= s.right)
            continue;
        if (out > 0 && s.left <= spans[out - 1].right)
            spans[out - 1].right = std::max(spans[out - 1].right, s.right);
        else
            spans[out++] = s;
    }
    spans.resize(out);
}

bool Inside(int mode, bool inA, bool inB)
{
    switch (mode) {
    case kRgnAnd:
        return inA && inB;
    case kRgnOr:
        return inA || inB;
    case kRgnXor:
        return inA != inB;
    case kRgnDiff:
        return inA && !inB;
    default:
        return false;
    }
}

// One row's set operation: a sweep over the span edges of both rows. All edges at one x are taken
// before the result is looked at, so the output spans never touch.
void CombineSpans(std::span<const Span> a, std::span<const Span> b, int mode, std::vector<Span>& out)
{
    constexpr int kNone = std::numeric_limits<int>::max();
    size_t i = 0, j = 0;
    bool inA = false, inB = false, inside = false;
    int start = 0;
    for (;;) {
        int nextA = i < a.size() ? (inA ? a[i].right : a[i].left) : kNone;
        int nextB = j < b.size() ? (inB ? b[j].right : b[j].left) : kNone;
        int x = std::min(nextA, nextB);
        if (x == kNone)
            break;
        if (nextA == x) {
            inA = !inA;
            if (!inA)
                ++i;
        }
        if (nextB == x) {
            inB = !inB;
            if (!inB)
                ++j;
        }
        bool now = Inside(mode, inA, inB);
        if (now && !inside)
            start = x;
        else if (!now && inside)
            out.push_back({ start, x });
        inside = now;
    }
}

} // namespace

// Appends bands from the top down, merging a band into the one above when they touch and hold
// the same spans; this is what keeps every region canonical.
class RegionData::Builder {
public:
    // `spans` must be sorted, non-empty, disjoint and not touching; top must not be above the
    // bottom of the last band added.
    void AddBand(int top, int bottom, std::span<const Span> spans)
    {
        if (spans.empty() || top >= bottom)
            return;
        if (!region.bands.empty()) {
            Band& last = region.bands.back();
            if (last.bottom == top && std::ranges::equal(region.BandSpans(last), spans)) {
                last.bottom = bottom;
                return;
            }
        }
        region.bands.push_back({ top, bottom, static_cast<uint32_t>(region.spans.size()),
                                 static_cast<uint32_t>(spans.size()) });
        region.spans.insert(region.spans.end(), spans.begin(), spans.end());
    }

    RegionData Take() { return std::move(region); }

private:
    RegionData region;
};

RegionData::RegionData(const RECT& rect)
    : RegionData(rect.left, rect.top, rect.right, rect.bottom)
{
}

RegionData::RegionData(int left, int top, int right, int bottom)
{
    left = Clamp(left);
    top = Clamp(top);
    right = Clamp(right);
    bottom = Clamp(bottom);
    if (left >= right || top >= bottom)
        return;
    bands.push_back({ top, bottom, 0, 1 });
    spans.push_back({ left, right });
}

RegionData RegionData::FromPolygon(const POINT* points, int count, int fillMode, const RECT* limit)
{
    struct Edge {
        int64_t x0, y0, x1, y1; // y0 < y1
        int direction;
    };
    if (!points || count < 3)
        return {};
    std::vector<Edge> edges;
    int64_t top = kCoordLimit, bottom = -kCoordLimit;
    for (int i = 0; i < count; ++i) {
        POINT p = points[i], q = points[(i + 1) % count];
        int64_t px = Clamp(p.x), py = Clamp(p.y), qx = Clamp(q.x), qy = Clamp(q.y);
        if (py == qy)
            continue; // horizontal edges never cross a row's centre line
        if (py < qy)
            edges.push_back({ px, py, qx, qy, 1 });
        else
            edges.push_back({ qx, qy, px, py, -1 });
        top = std::min({ top, py, qy });
        bottom = std::max({ bottom, py, qy });
    }
    int64_t minX = -kCoordLimit, maxX = kCoordLimit;
    if (limit) {
        top = std::max<int64_t>(top, Clamp(limit->top));
        bottom = std::min<int64_t>(bottom, Clamp(limit->bottom));
        minX = Clamp(limit->left);
        maxX = Clamp(limit->right);
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });

    Builder builder;
    std::vector<const Edge*> active;
    std::vector<std::pair<int64_t, int>> crossings; // pixel boundary, direction
    std::vector<Span> row;
    size_t nextEdge = 0;
    for (int64_t y = top; y < bottom; ++y) {
        // The row's centre line y + 0.5 crosses edges with y0 <= y < y1.
        while (nextEdge < edges.size() && edges[nextEdge].y0 <= y)
            active.push_back(&edges[nextEdge++]);
        std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
        crossings.clear();
        for (const Edge* e : active) {
            // The first pixel whose centre is at or right of the crossing x:
            // ceil(x0 + (y + 0.5 - y0) * (x1 - x0) / (y1 - y0) - 0.5), in exact integers.
            int64_t d = e->y1 - e->y0;
            int64_t n = 2 * e->x0 * d + (2 * (y - e->y0) + 1) * (e->x1 - e->x0) - d;
            int64_t den = 2 * d;
            int64_t q = n >= 0 ? (n + den - 1) / den : -((-n) / den);
            crossings.push_back({ q, e->direction });
        }
        std::sort(crossings.begin(), crossings.end());
        row.clear();
        int winding = 0;
        int64_t start = 0;
        for (size_t i = 0; i < crossings.size(); ++i) {
            int before = winding;
            winding += crossings[i].second;
            bool wasInside = fillMode == kWinding ? before != 0 : (i % 2) == 1;
            bool nowInside = fillMode == kWinding ? winding != 0 : (i % 2) == 0;
            if (nowInside && !wasInside)
                start = crossings[i].first;
            else if (!nowInside && wasInside) {
                int64_t l = std::max(start, minX), r = std::min(crossings[i].first, maxX);
                if (l < r)
                    row.push_back({ static_cast<int>(l), static_cast<int>(r) });
            }
        }
        Normalize(row);
        builder.AddBand(static_cast<int>(y), static_cast<int>(y + 1), row);
    }
    return builder.Take();
}

RegionData RegionData::Combine(const RegionData& a, const RegionData& b, int mode)
{
    if (mode == kRgnCopy)
        return a;
    if (mode < kRgnAnd || mode > kRgnDiff)
        return {};
    // Shortcuts for an empty side keep the common clip cases cheap.
    if (b.IsEmpty())
        return mode == kRgnAnd ? RegionData {} : a;
    if (a.IsEmpty())
        return (mode == kRgnOr || mode == kRgnXor) ? b : RegionData {};

    std::vector<int> ys;
    ys.reserve(2 * (a.bands.size() + b.bands.size()));
    for (const RegionData* r : { &a, &b })
        for (const Band& band : r->bands) {
            ys.push_back(band.top);
            ys.push_back(band.bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Builder builder;
    std::vector<Span> row;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k], y1 = ys[k + 1];
        while (ia < a.bands.size() && a.bands[ia].bottom <= y0)
            ++ia;
        while (ib < b.bands.size() && b.bands[ib].bottom <= y0)
            ++ib;
        std::span<const Span> sa, sb;
        if (ia < a.bands.size() && a.bands[ia].top <= y0)
            sa = a.BandSpans(a.bands[ia]);
        if (ib < b.bands.size() && b.bands[ib].top <= y0)
            sb = b.BandSpans(b.bands[ib]);
        row.clear();
        CombineSpans(sa, sb, mode, row);
        builder.AddBand(y0, y1, row);
    }
    return builder.Take();
}

bool RegionData::Offset(int dx, int dy)
{
    if (IsEmpty())
        return true;
    RECT box = Box();
    auto fits = [](int64_t v) { return v >= -kCoordLimit && v <= kCoordLimit; };
    if (!fits(int64_t(box.left) + dx) || !fits(int64_t(box.right) + dx) || !fits(int64_t(box.top) + dy)
        || !fits(int64_t(box.bottom) + dy))
        return false;
    for (Band& band : bands) {
        band.top += dy;
        band.bottom += dy;
    }
    for (Span& s : spans) {
        s.left += dx;
        s.right += dx;
    }
    return true;
}

int RegionData::Type() const
{
    if (bands.empty())
        return kNullRegion;
    return spans.size() == 1 ? kSimpleRegion : kComplexRegion;
}

RECT RegionData::Box() const
{
    if (bands.empty())
        return RECT { 0, 0, 0, 0 };
    RECT box { kCoordLimit, bands.front().top, -kCoordLimit, bands.back().bottom };
    for (const Band& band : bands) {
        auto row = BandSpans(band);
        box.left = std::min<LONG>(box.left, row.front().left);
        box.right = std::max<LONG>(box.right, row.back().right);
    }
    return box;
}

size_t RegionData::FirstBandBelow(int y) const
{
    auto it = std::upper_bound(bands.begin(), bands.end(), y, [](int v, const Band& b) { return v < b.bottom; });
    return static_cast<size_t>(it - bands.begin());
}

std::span<const RegionData::Span> RegionData::RowSpans(int y) const
{
    size_t b = FirstBandBelow(y);
    if (b == bands.size() || bands[b].top > y)
        return {};
    return BandSpans(bands[b]);
}

bool RegionData::Contains(int x, int y) const
{
    bool inside = false;
    ForEachSpanInRow(y, x, x + 1, [&](int, int) { inside = true; });
    return inside;
}

bool RegionData::IntersectsRect(const RECT& rect) const
{
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return false;
    for (size_t b = FirstBandBelow(rect.top); b < bands.size() && bands[b].top < rect.bottom; ++b) {
        auto row = BandSpans(bands[b]);
        auto it = std::upper_bound(row.begin(), row.end(), rect.left,
                                   [](LONG x, const Span& s) { return x < s.right; });
        if (it != row.end() && it->left < rect.right)
            return true;
    }
    return false;
}

RegionData RegionData::Intersected(const RECT& rect) const
{
    Builder builder;
    std::vector<Span> row;
    int bandTop = 0, bandBottom = 0;
    auto flush = [&] {
        builder.AddBand(bandTop, bandBottom, row);
        row.clear();
    };
    ForEachRectInside(rect, [&](const RECT& r) {
        if (r.top != bandTop || r.bottom != bandBottom) {
            flush();
            bandTop = r.top;
            bandBottom = r.bottom;
        }
        row.push_back({ static_cast<int>(r.left), static_cast<int>(r.right) });
    });
    flush();
    return builder.Take();
}

std::vector<RECT> RegionData::Rects() const
{
    std::vector<RECT> rects;
    rects.reserve(spans.size());
    for (const Band& band : bands)
        for (const Span& s : BandSpans(band))
            rects.push_back({ s.left, band.top, s.right, band.bottom });
    return rects;
}

bool RegionData::operator==(const RegionData& other) const
{
    // Canonical forms are equal exactly when the pixel sets are.
    if (bands.size() != other.bands.size() || spans != other.spans)
        return false;
    for (size_t i = 0; i < bands.size(); ++i)
        if (bands[i].top != other.bands[i].top || bands[i].bottom != other.bands[i].bottom
            || bands[i].count != other.bands[i].count)
            return false;
    return true;
}

} // namespace pw::platform::gdi
