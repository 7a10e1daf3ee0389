#include "platform/gdi/Shapes.h"

#include "platform/gdi/RegionData.h"

#include <algorithm>
#include <cmath>

namespace pw::platform::gdi {

namespace {

// A box of pixels, both ends included.
struct PixelBox {
    long long x0;
    long long y0;
    long long x1;
    long long y1;

    bool IsEmpty() const { return x1 < x0 || y1 < y0; }
    PixelBox Inset(long long by) const { return { x0 + by, y0 + by, x1 - by, y1 - by }; }
};

// The pixels [left, right] of row y whose centres lie in the ellipse inscribed in the box: with
// A and B the box's width and height in pixels and u, v the doubled offsets of a centre from the
// box's centre, u^2 B^2 + v^2 A^2 <= A^2 B^2. Returns false when the row holds no such pixel.
bool EllipseRow(const PixelBox& box, long long y, long long& left, long long& right)
{
    if (box.IsEmpty() || y < box.y0 || y > box.y1)
        return false;
    __int128 a = box.x1 - box.x0 + 1;
    __int128 b = box.y1 - box.y0 + 1;
    // A box two pixels across keeps no pixel at the tips of the other axis (nor near the sides,
    // when two high), yet every ellipse reaches all four sides of its box: it is the whole box.
    if (a <= 2 || b <= 2) {
        left = box.x0;
        right = box.x1;
        return true;
    }
    __int128 v = 2 * y - (box.y0 + box.y1);
    __int128 num = a * a * (b * b - v * v);
    __int128 den = b * b;
    // m = floor(sqrt(num / den)), found near the floating-point estimate and made exact.
    __int128 m = static_cast<__int128>(std::sqrt(static_cast<long double>(num) / static_cast<long double>(den)));
    while (m > 0 && m * m * den > num)
        --m;
    while ((m + 1) * (m + 1) * den <= num)
        ++m;
    // u = 2x - (x0 + x1) has the parity of A - 1.
    if (((m - (a - 1)) & 1) != 0)
        --m;
    if (m < 0)
        return false;
    long long mm = static_cast<long long>(m);
    left = (box.x0 + box.x1 - mm) / 2;
    right = (box.x0 + box.x1 + mm) / 2;
    return true;
}

void MarkRows(Coverage& coverage, const PixelBox& box, uint8_t what)
{
    if (box.IsEmpty())
        return;
    const RECT& window = coverage.Window();
    long long top = std::max<long long>(box.y0, window.top);
    long long bottom = std::min<long long>(box.y1, window.bottom - 1);
    for (long long y = top; y <= bottom; ++y)
        coverage.Mark(static_cast<int>(y), static_cast<int>(std::max<long long>(box.x0, window.left - 1)),
                      static_cast<int>(std::min<long long>(box.x1 + 1, window.right + 1)), what);
}

// Marks the pixels within half the pen's width of the segment from a to b. An even width has no
// middle pixel, so its band sits half a pixel up and left of the segment.
void AddStroke(Coverage& coverage, POINT a, POINT b, int width)
{
    double shift = width % 2 == 0 ? -0.5 : 0.0;
    double ax = a.x + shift;
    double ay = a.y + shift;
    double bx = b.x + shift;
    double by = b.y + shift;
    double radius = width / 2.0;
    double radius2 = radius * radius;
    const RECT& window = coverage.Window();
    long long reach = static_cast<long long>(std::ceil(radius)) + 1;
    long long left = std::max<long long>(std::min(a.x, b.x) - reach, window.left);
    long long right = std::min<long long>(std::max(a.x, b.x) + reach, window.right - 1);
    long long top = std::max<long long>(std::min(a.y, b.y) - reach, window.top);
    long long bottom = std::min<long long>(std::max(a.y, b.y) + reach, window.bottom - 1);
    double dx = bx - ax;
    double dy = by - ay;
    double length2 = dx * dx + dy * dy;
    for (long long y = top; y <= bottom; ++y) {
        for (long long x = left; x <= right; ++x) {
            double t = length2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / length2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            double ex = ax + t * dx - x;
            double ey = ay + t * dy - y;
            if (ex * ex + ey * ey <= radius2)
                coverage.MarkPixel(static_cast<int>(x), static_cast<int>(y), Coverage::kPen);
        }
    }
}

} // namespace

int ClampCoord(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, -kShapeCoordLimit, kShapeCoordLimit));
}

void AddRectangle(Coverage& coverage, const RECT& box, int penWidth, bool fill)
{
    PixelBox pixels { box.left, box.top, box.right - 1LL, box.bottom - 1LL };
    if (penWidth == 0) {
        if (fill)
            MarkRows(coverage, { pixels.x0, pixels.y0, pixels.x1 - 1, pixels.y1 - 1 }, Coverage::kBrush);
        return;
    }
    if (pixels.IsEmpty())
        return;
    if (fill)
        MarkRows(coverage, pixels.Inset(1), Coverage::kBrush);
    if (penWidth == 1) {
        MarkRows(coverage, { pixels.x0, pixels.y0, pixels.x1, pixels.y0 }, Coverage::kPen);
        MarkRows(coverage, { pixels.x0, pixels.y1, pixels.x1, pixels.y1 }, Coverage::kPen);
        MarkRows(coverage, { pixels.x0, pixels.y0, pixels.x0, pixels.y1 }, Coverage::kPen);
        MarkRows(coverage, { pixels.x1, pixels.y0, pixels.x1, pixels.y1 }, Coverage::kPen);
        return;
    }
    POINT corners[4] = { { box.left, box.top }, { box.right - 1, box.top }, { box.right - 1, box.bottom - 1 },
                         { box.left, box.bottom - 1 } };
    for (int i = 0; i < 4; ++i)
        AddStroke(coverage, corners[i], corners[(i + 1) % 4], penWidth);
}

void AddEllipse(Coverage& coverage, const RECT& box, int penWidth, bool fill)
{
    PixelBox pixels { box.left, box.top, box.right - 1LL, box.bottom - 1LL };
    const RECT& window = coverage.Window();
    long long top = std::max<long long>(pixels.y0 - penWidth, window.top);
    long long bottom = std::min<long long>(pixels.y1 + penWidth, window.bottom - 1);
    auto mark = [&](long long y, long long x0, long long x1, uint8_t what) {
        if (x0 <= x1)
            MarkRows(coverage, { x0, y, x1, y }, what);
    };
    long long left = 0;
    long long right = 0;
    if (penWidth == 0) {
        if (!fill)
            return;
        PixelBox smaller { pixels.x0, pixels.y0, pixels.x1 - 1, pixels.y1 - 1 };
        for (long long y = top; y <= bottom; ++y)
            if (EllipseRow(smaller, y, left, right))
                mark(y, left, right, Coverage::kBrush);
        return;
    }
    if (penWidth == 1) {
        for (long long y = top; y <= bottom; ++y) {
            if (!EllipseRow(pixels, y, left, right))
                continue;
            long long aboveLeft = 0, aboveRight = 0, belowLeft = 0, belowRight = 0;
            if (!EllipseRow(pixels, y - 1, aboveLeft, aboveRight) || !EllipseRow(pixels, y + 1, belowLeft, belowRight)) {
                mark(y, left, right, Coverage::kPen);
                continue;
            }
            long long leftEnd = std::max(left, std::max(aboveLeft, belowLeft) - 1);
            long long rightStart = std::min(right, std::min(aboveRight, belowRight) + 1);
            if (leftEnd + 1 >= rightStart) {
                mark(y, left, right, Coverage::kPen);
                continue;
            }
            mark(y, left, leftEnd, Coverage::kPen);
            mark(y, rightStart, right, Coverage::kPen);
            if (fill)
                mark(y, leftEnd + 1, rightStart - 1, Coverage::kBrush);
        }
        return;
    }
    // A wide pen: the ring between the ellipse grown by the outer half of the width and the one
    // shrunk by the inner half.
    long long outerGrow = (penWidth - 1) / 2;
    PixelBox outer = pixels.Inset(-outerGrow);
    PixelBox inner = pixels.Inset(penWidth - outerGrow);
    for (long long y = top; y <= bottom; ++y) {
        if (!EllipseRow(outer, y, left, right))
            continue;
        long long innerLeft = 0;
        long long innerRight = 0;
        if (!EllipseRow(inner, y, innerLeft, innerRight)) {
            mark(y, left, right, Coverage::kPen);
            continue;
        }
        mark(y, left, innerLeft - 1, Coverage::kPen);
        mark(y, innerRight + 1, right, Coverage::kPen);
        if (fill)
            mark(y, innerLeft, innerRight, Coverage::kBrush);
    }
}

void AddPolygon(Coverage& coverage, const POINT* points, int count, int penWidth, bool fill)
{
    const RECT& window = coverage.Window();
    if (fill && !coverage.IsEmpty()) {
        RegionData inside = RegionData::FromPolygon(points, count, kAlternate, &window);
        inside.ForEachRectInside(window, [&](const RECT& piece) {
            for (int y = piece.top; y < piece.bottom; ++y)
                coverage.Mark(y, piece.left, piece.right, Coverage::kBrush);
        });
    }
    if (penWidth == 0)
        return;
    for (int i = 0; i < count; ++i)
        AddLine(coverage, points[i], points[(i + 1) % count], penWidth);
}

void AddLine(Coverage& coverage, POINT a, POINT b, int penWidth)
{
    if (penWidth <= 1) {
        ForEachLinePixel(a, b, coverage.Window(), [&](int x, int y) { coverage.MarkPixel(x, y, Coverage::kPen); });
        return;
    }
    AddStroke(coverage, a, b, penWidth);
}

} // namespace pw::platform::gdi
