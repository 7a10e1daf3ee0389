// The port's shapes: rectangles, ovals, polygons, lines, bevels, area fills and inversions.
#include "graphics/DisplayPort.h"

#include "foundation/Checks.h"
#include "graphics/Area.h"
#include "graphics/ColorPaint.h"
#include "graphics/ColoredPatternPaint.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Paint.h"
#include "graphics/PlatformConversions.h"
#include "graphics/WinVersion.h"

#include <vector>

namespace {

// The frameless pen of rectangle fills; it lives for the run.
ColorPaint& NoColorPaint()
{
    static ColorPaint paint { Color(Color::kNoColor) };
    return paint;
}

} // namespace

void DisplayPort::InvertRect(const Rect& rect)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    SetROP2(context, R2_COPYPEN);
    RECT mapped = ToRECT(MapRect(rect));
    CheckCall(::InvertRect(context, &mapped), PW_HERE);
}

void DisplayPort::InvertFrame(const Rect& rect, int32_t thickness)
{
    Rect inside(rect.left + thickness, rect.top + thickness, rect.right - thickness, rect.bottom - thickness);
    InvertRect(inside);
    InvertRect(rect);
}

void DisplayPort::DrawRectangle(const Rect& rect, Paint& brush, Paint& pen, int32_t penWidth)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    Rect mapped = MapRect(rect);
    BrushSelector brushSelection(brush, context);
    PenSelector penSelection(pen, context, penWidth);
    CheckCall(::Rectangle(context, mapped.left, mapped.top, mapped.right, mapped.bottom), PW_HERE);
}

void DisplayPort::DrawRectangle(const Rect& rect, const Color& fill, const Color& frame, int32_t frameWidth)
{
    ColorPaint brush(fill);
    ColorPaint pen(frame);
    DrawRectangle(rect, brush, pen, frameWidth);
}

void DisplayPort::DrawRoundRect(const Rect& rect, int32_t, int32_t, Paint& brush, Paint& pen, int32_t penWidth)
{
    DrawRectangle(rect, brush, pen, penWidth);
}

void DisplayPort::DrawOval(const Rect& rect, Paint& brush, Paint& pen, int32_t penWidth)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    Rect mapped = MapRect(rect);
    Point size = mapped.Size();
    if (IsWin31Only() && (size.h <= 2 || size.v <= 2))
        return;
    BrushSelector brushSelection(brush, context);
    PenSelector penSelection(pen, context, penWidth);
    CheckCall(::Ellipse(context, mapped.left, mapped.top, mapped.right, mapped.bottom), PW_HERE);
}

void DisplayPort::DrawPolygon(const TypedArray<Point>& points, Paint& brush, Paint& pen, int32_t penWidth)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    std::vector<POINT> mapped;
    mapped.reserve(points.NumItems());
    for (uint32_t index = 1; index <= points.NumItems(); ++index) {
        Point point = MapPoint(points[index].h, points[index].v);
        mapped.push_back(POINT { point.h, point.v });
    }
    BrushSelector brushSelection(brush, context);
    PenSelector penSelection(pen, context, penWidth);
    CheckCall(::Polygon(context, mapped.data(), int(mapped.size())), PW_HERE);
}

void DisplayPort::DrawLine(int32_t fromH, int32_t fromV, int32_t toH, int32_t toV, Paint& pen, int32_t penWidth)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    Point from = MapPoint(fromH, fromV);
    Point to = MapPoint(toH, toV);
    PenSelector penSelection(pen, context, penWidth);
    CheckCall(MoveToEx(context, from.h, from.v, nullptr), PW_HERE);
    CheckCall(LineTo(context, to.h, to.v), PW_HERE);
}

void DisplayPort::DrawLine(int32_t fromH, int32_t fromV, int32_t toH, int32_t toV, const Color& color, int32_t width)
{
    ColorPaint pen(color);
    DrawLine(fromH, fromV, toH, toV, pen, width);
}

void DisplayPort::DrawBevel(const Rect& rect, Paint& topLeft, Paint& bottomRight, int32_t penWidth)
{
    DrawLine(rect.left, rect.top, rect.right, rect.top, topLeft, penWidth);
    DrawLine(rect.left, rect.top, rect.left, rect.bottom, topLeft, penWidth);
    DrawLine(rect.right, rect.bottom, rect.right, rect.top, bottomRight, penWidth);
    DrawLine(rect.right, rect.bottom, rect.left, rect.bottom, bottomRight, penWidth);
}

void DisplayPort::DrawBevel(const Rect& rect, const Color& topLeft, const Color& bottomRight, int32_t width)
{
    ColorPaint first(topLeft);
    ColorPaint second(bottomRight);
    DrawBevel(rect, first, second, width);
}

void DisplayPort::FrameRect(const Rect& rect, Paint& topLeft, Paint& bottomRight, int32_t penWidth)
{
    DrawBevel(rect, topLeft, bottomRight, penWidth);
}

void DisplayPort::FrameRect(const Rect& rect, const Color& topLeft, const Color& bottomRight, int32_t width)
{
    ColorPaint first(topLeft);
    ColorPaint second(bottomRight);
    FrameRect(rect, first, second, width);
}

void DisplayPort::DrawAreaRects(const Area& area, Paint& brush, Paint& pen, int32_t penWidth)
{
    const TypedArray<Rect>& rects = area.RectList();
    for (uint32_t index = 1; index <= rects.NumItems(); ++index)
        DrawRectangle(rects[index], brush, pen, penWidth);
}

void DisplayPort::DrawAreaRects(const Area& area, const Color& fill, const Color& frame, int32_t frameWidth)
{
    ColorPaint brush(fill);
    ColorPaint pen(frame);
    DrawAreaRects(area, brush, pen, frameWidth);
}

void DisplayPort::EraseArea(const Area& area)
{
    ColorPaint background(GetBackground());
    DrawAreaRects(area, background, background);
}

void DisplayPort::FillRect(const Rect& rect)
{
    ColoredPatternPaint white(Color(0), Pattern(3), Color(Color::kNoColor));
    DrawRectangle(rect, white, NoColorPaint(), 1);
}
