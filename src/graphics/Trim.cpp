#include "graphics/Trim.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/OSBitMap.h"

#include <vector>

namespace {

// One step clockwise on the screen through the 8 neighbour directions.
void Turn(Point& d)
{
    if (d.v == 0)
        d.v = d.h;
    else if (d.h + d.v == 0)
        d.v = 0;
    else
        d.h = d.h - d.v;
}

} // namespace

Trim::Trim(OSBitMap& bitmap, const uint8_t* rows, uint8_t background)
    : rows(rows)
    , background(background)
    , width(bitmap.GetSize().h)
    , height(bitmap.GetSize().v)
    , rowBytes((width + 3) & ~3)
{
}

bool Trim::InShape(int32_t x, int32_t y) const
{
    return x >= 0 && y >= 0 && x < width && y < height && rows[size_t(y) * size_t(rowBytes) + size_t(x)] != background;
}

Point Trim::FindStart(int32_t row) const
{
    for (int32_t y = row < 0 ? 0 : row; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (InShape(x, y))
                return Point(x, y);
        }
    }
    return Point(-1, 0);
}

// The walk keeps its own coordinates; flipping applies only to the points handed to the region.
// A dead end steps back to the previous point, which is the start while the walk holds only one
// point, so single pixels and one-pixel lines end too.
HRGN Trim::TraceOutline(int32_t x, int32_t y, bool flip) const
{
    const Point start(x, y);
    Point d(-1, -1);
    Point current = start;
    std::vector<Point> walk;
    do {
        Point candidate;
        bool found = false;
        for (int tries = 0; tries < 7; ++tries) {
            candidate = Point(current.h + d.h, current.v + d.v);
            if (InShape(candidate.h, candidate.v)) {
                found = true;
                break;
            }
            Turn(d);
        }
        if (!found)
            candidate = walk.size() > 1 ? walk[walk.size() - 2] : start;
        walk.push_back(candidate);
        if (int32_t(walk.size()) >= maxArraySize)
            AssertionFailed("arraySize < maxArraySize", PW_HERE);
        d = Point(current.h - candidate.h, current.v - candidate.v);
        Turn(d);
        current = candidate;
    } while (current != start);

    std::vector<POINT> points;
    points.reserve(walk.size());
    for (const Point& point : walk)
        points.push_back(POINT { point.h, flip ? height - 1 - point.v : point.v });
    HRGN region = CreatePolygonRgn(points.data(), int(points.size()), WINDING);
    CheckNotNull(region, PW_HERE);
    return region;
}

HRGN Trim::MakeRegion(bool flip)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    CheckNotNull(result, PW_HERE);
    int combined = NULLREGION;
    Point start = FindStart(0);
    if (start.h >= 0) {
        HRGN outline;
        try {
            outline = TraceOutline(start.h, start.v, flip);
        } catch (...) {
            DeleteObject(result);
            throw;
        }
        combined = CombineRgn(result, result, outline, RGN_OR);
        BOOL deleted = DeleteObject(outline);
        if (combined == ERROR)
            DeleteObject(result);
        CheckCall(combined != ERROR, PW_HERE);
        CheckCall(deleted, PW_HERE);
    }
    if (combined == NULLREGION) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}
