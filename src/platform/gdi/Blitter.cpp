#include "platform/gdi/Blitter.h"

#include <algorithm>
#include <cstring>

namespace pw::platform::gdi {

namespace {

// Source pixel of each destination pixel of a run, for the part [from, to) of the destination
// run [start, start + length) that can be drawn; -1 marks pixels outside the source.
std::vector<int> PixelMap(long long start, long long length, long long from, long long to, long long sourceStart,
                          long long sourceLength, bool mirror, long long sourceLimit)
{
    std::vector<int> map;
    map.reserve(static_cast<size_t>(std::max<long long>(0, to - from)));
    for (long long d = from; d < to; ++d) {
        long long j = (d - start) * sourceLength / length;
        if (mirror)
            j = sourceLength - 1 - j;
        long long s = sourceStart + j;
        map.push_back(s >= 0 && s < sourceLimit ? static_cast<int>(s) : -1);
    }
    return map;
}

// A copy within one surface reads a snapshot, so overlapping rectangles copy as if at once.
// `snapshot` holds the rows when it is needed; the answer is the surface to read.
Surface Readable(const Surface& from, const Surface& dest, std::vector<uint8_t>& snapshot)
{
    Surface source = from;
    if (from.top == dest.top) {
        size_t rowBytes = static_cast<size_t>(from.stride < 0 ? -from.stride : from.stride);
        snapshot.resize(rowBytes * static_cast<size_t>(from.height));
        for (int y = 0; y < from.height; ++y)
            std::memcpy(snapshot.data() + rowBytes * static_cast<size_t>(y), from.Row(y), rowBytes);
        source.top = snapshot.data();
        source.stride = static_cast<ptrdiff_t>(rowBytes);
    }
    return source;
}

// An unscaled, unmirrored copy: destination pixel (x, y) takes source pixel (x + dx, y + dy). The
// rectangle is first cut to the pixels whose source lies inside the source surface (the others
// keep their value), so no pixel map is needed and whole rows copy at once.
bool OffsetCopy(const Surface& dest, const RegionData& clip, long long destLeft, long long destTop, long long width,
                long long height, const Surface& from, long long dx, long long dy)
{
    RECT box = clip.Box();
    long long left = std::max({ destLeft, static_cast<long long>(box.left), -dx });
    long long right = std::min({ destLeft + width, static_cast<long long>(box.right), from.width - dx });
    long long top = std::max({ destTop, static_cast<long long>(box.top), -dy });
    long long bottom = std::min({ destTop + height, static_cast<long long>(box.bottom), from.height - dy });
    if (left >= right || top >= bottom)
        return true;
    std::vector<uint8_t> snapshot;
    Surface source = Readable(from, dest, snapshot);
    ValueTranslator translate(source, dest);
    int sx = static_cast<int>(dx);
    int sy = static_cast<int>(dy);
    RECT area { static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom) };
    bool bytes = dest.depth == 8 && source.depth == 8;
    // Null for identical tables: rows are copied as they are.
    const uint32_t* lookup = translate.IsIdentity() ? nullptr : translate.Lookup();
    clip.ForEachRectInside(area, [&](const RECT& piece) {
        if (!bytes) {
            for (int y = piece.top; y < piece.bottom; ++y) {
                for (int x = piece.left; x < piece.right; ++x)
                    dest.Set(x, y, translate(source.Get(x + sx, y + sy)));
            }
            return;
        }
        auto count = static_cast<size_t>(piece.right - piece.left);
        uint8_t* out = dest.Row(piece.top) + piece.left;
        const uint8_t* in = source.Row(piece.top + sy) + piece.left + sx;
        ptrdiff_t outStride = dest.stride;
        ptrdiff_t inStride = source.stride;
        int height = piece.bottom - piece.top;
        // Whole unpadded rows stored the same way lie end to end: one move copies them all.
        if (!lookup && outStride == inStride && count == static_cast<size_t>(outStride < 0 ? -outStride : outStride)) {
            ptrdiff_t first = outStride < 0 ? outStride * (height - 1) : 0;
            std::memmove(out + first, in + first, count * static_cast<size_t>(height));
            return;
        }
        for (int rows = height; rows > 0; --rows, out += outStride, in += inStride) {
            if (!lookup) {
                std::memmove(out, in, count);
                continue;
            }
            for (size_t i = 0; i < count; ++i)
                out[i] = static_cast<uint8_t>(lookup[in[i]]);
        }
    });
    return true;
}

} // namespace

ValueTranslator::ValueTranslator(const Surface& source, const Surface& dest)
    : source(source)
    , dest(dest)
    , cache(dest)
{
    if (!source.IsIndexed())
        return;
    // Identical tables need no translation: one comparison instead of the memo's look-ups.
    if (dest.IsIndexed() && SameColors(source.table, dest.table)) {
        identity = true;
        return;
    }
    table = TableMemo::Translation(source, dest);
    identity = table->identity;
    lookup = table->values.data();
    lookupSize = table->values.size();
}

uint32_t ValueTranslator::Slow(uint32_t value)
{
    COLORREF color = source.ColorOf(value);
    return dest.IsIndexed() ? cache.ValueOf(color) : dest.ValueOf(color);
}

bool StretchCopy(const Surface& dest, const RegionData& clip, long long xd, long long yd, int wd, int hd,
                 const Surface& from, long long xs, long long ys, int ws, int hs)
{
    if (wd == 0 || hd == 0 || ws == 0 || hs == 0)
        return false;
    // A negative extent e at c covers c + e + 1 .. c: the run ends on the named pixel.
    auto runStart = [](long long at, int extent) { return extent < 0 ? at + extent + 1 : at; };
    long long destLeft = runStart(xd, wd);
    long long destTop = runStart(yd, hd);
    long long destWidth = wd < 0 ? -static_cast<long long>(wd) : wd;
    long long destHeight = hd < 0 ? -static_cast<long long>(hd) : hd;
    long long sourceLeft = runStart(xs, ws);
    long long sourceTop = runStart(ys, hs);
    long long sourceWidth = ws < 0 ? -static_cast<long long>(ws) : ws;
    long long sourceHeight = hs < 0 ? -static_cast<long long>(hs) : hs;
    bool mirrorX = (wd < 0) != (ws < 0);
    bool mirrorY = (hd < 0) != (hs < 0);
    if (!mirrorX && !mirrorY && destWidth == sourceWidth && destHeight == sourceHeight)
        return OffsetCopy(dest, clip, destLeft, destTop, destWidth, destHeight, from, sourceLeft - destLeft,
                          sourceTop - destTop);

    RECT box = clip.Box();
    long long left = std::max<long long>(destLeft, box.left);
    long long right = std::min<long long>(destLeft + destWidth, box.right);
    long long top = std::max<long long>(destTop, box.top);
    long long bottom = std::min<long long>(destTop + destHeight, box.bottom);
    if (left >= right || top >= bottom)
        return true;
    std::vector<int> xMap
        = PixelMap(destLeft, destWidth, left, right, sourceLeft, sourceWidth, mirrorX, from.width);
    std::vector<int> yMap
        = PixelMap(destTop, destHeight, top, bottom, sourceTop, sourceHeight, mirrorY, from.height);

    std::vector<uint8_t> snapshot;
    Surface source = Readable(from, dest, snapshot);
    ValueTranslator translate(source, dest);
    bool straight = !mirrorX && destWidth == sourceWidth;
    RECT area { static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom) };
    clip.ForEachRectInside(area, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            int sy = yMap[static_cast<size_t>(y - top)];
            if (sy < 0)
                continue;
            const int* map = xMap.data() + (piece.left - left);
            int count = piece.right - piece.left;
            if (dest.depth == 8 && source.depth == 8) {
                uint8_t* out = dest.Row(y) + piece.left;
                const uint8_t* in = source.Row(sy);
                if (straight && translate.IsIdentity() && map[0] >= 0 && map[count - 1] >= 0) {
                    std::memmove(out, in + map[0], static_cast<size_t>(count));
                    continue;
                }
                if (straight && map[0] >= 0 && map[count - 1] >= 0) {
                    const uint8_t* run = in + map[0];
                    const uint32_t* lookup = translate.Lookup();
                    for (int i = 0; i < count; ++i)
                        out[i] = static_cast<uint8_t>(lookup[run[i]]);
                    continue;
                }
                if (translate.IsIdentity()) {
                    for (int i = 0; i < count; ++i)
                        if (map[i] >= 0)
                            out[i] = in[map[i]];
                    continue;
                }
                for (int i = 0; i < count; ++i)
                    if (map[i] >= 0)
                        out[i] = static_cast<uint8_t>(translate(in[map[i]]));
                continue;
            }
            for (int i = 0; i < count; ++i)
                if (map[i] >= 0)
                    dest.Set(piece.left + i, y, translate(source.Get(map[i], sy)));
        }
    });
    return true;
}

namespace {

// floor(n / d) for d != 0.
long long FloorDiv(__int128 n, __int128 d)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    __int128 q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return static_cast<long long>(q);
}

long long Wrap(long long value, int size)
{
    long long r = value % size;
    return r < 0 ? r + size : r;
}

} // namespace

void ParallelogramCopy(const Surface& dest, const RegionData& clip, const long long (&corners)[3][2],
                       const Surface& from, long long xs, long long ys, int ws, int hs, const Surface* mask,
                       long long xm, long long ym)
{
    const long long x0 = corners[0][0], y0 = corners[0][1];
    const long long e1x = corners[1][0] - x0, e1y = corners[1][1] - y0;
    const long long e2x = corners[2][0] - x0, e2y = corners[2][1] - y0;
    const __int128 det = static_cast<__int128>(e1x) * e2y - static_cast<__int128>(e1y) * e2x;
    if (det == 0 || ws <= 0 || hs <= 0 || (mask && (mask->width <= 0 || mask->height <= 0)))
        return;
    long long xsAll[4] = { x0, x0 + e1x, x0 + e2x, x0 + e1x + e2x };
    long long ysAll[4] = { y0, y0 + e1y, y0 + e2y, y0 + e1y + e2y };
    RECT box = clip.Box();
    long long left = std::max<long long>(*std::min_element(xsAll, xsAll + 4), box.left);
    long long right = std::min<long long>(*std::max_element(xsAll, xsAll + 4), box.right);
    long long top = std::max<long long>(*std::min_element(ysAll, ysAll + 4), box.top);
    long long bottom = std::min<long long>(*std::max_element(ysAll, ysAll + 4), box.bottom);
    if (left >= right || top >= bottom)
        return;
    // Each pixel is sampled at the corner nearest the source's top-left: across, the side where a
    // is less (b where a does not change across), down, the side where b is less (a where b does
    // not change down). So a rectangle, upright, turned or mirrored, and a parallelogram sheared
    // along its rows map every pixel they cover to one source pixel, edge to edge.
    auto sign = [](__int128 v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
    int detSign = sign(det);
    int aAlongX = sign(e2y) * detSign, bAlongX = -sign(e1y) * detSign;
    int aAlongY = -sign(e2x) * detSign, bAlongY = sign(e1x) * detSign;
    const long long cx = (aAlongX != 0 ? aAlongX : bAlongX) < 0 ? 1 : 0;
    const long long cy = (bAlongY != 0 ? bAlongY : aAlongY) < 0 ? 1 : 0;
    std::vector<uint8_t> snapshot;
    Surface source = Readable(from, dest, snapshot);
    ValueTranslator translate(source, dest);
    RECT area { static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom) };
    clip.ForEachRectInside(area, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            for (int x = piece.left; x < piece.right; ++x) {
                long long dx = x + cx - x0, dy = y + cy - y0;
                __int128 na = static_cast<__int128>(dx) * e2y - static_cast<__int128>(dy) * e2x;
                __int128 nb = static_cast<__int128>(e1x) * dy - static_cast<__int128>(e1y) * dx;
                long long u = FloorDiv(na * ws, det);
                long long v = FloorDiv(nb * hs, det);
                if (u < 0 || u >= ws || v < 0 || v >= hs)
                    continue;
                if (mask && mask->Get(static_cast<int>(Wrap(xm + u, mask->width)),
                                      static_cast<int>(Wrap(ym + v, mask->height))) == 0)
                    continue;
                long long sx = xs + u, sy = ys + v;
                if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height)
                    continue;
                dest.Set(x, y, translate(source.Get(static_cast<int>(sx), static_cast<int>(sy))));
            }
        }
    });
}

} // namespace pw::platform::gdi
