// The primitives: shapes, lines, rectangle fills and single pixels.
#include "platform/gdi/Brush.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Shapes.h"
#include "platform/kernel/LastError.h"

#include <algorithm>
#include <vector>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom) };
    return r.left < r.right && r.top < r.bottom ? r : RECT {};
}

POINT ToDevice(const DeviceContext& dc, long long x, long long y)
{
    return { ClampCoord(x + dc.Origin().x), ClampCoord(y + dc.Origin().y) };
}

// Draws a shape with the DC's pen and brush under its ROP2 mode. `bounds` (device coordinates)
// holds every pixel the shape may touch before the pen's width is added.
template <typename AddShape>
BOOL DrawShape(HDC hdc, RECT bounds, bool filled, AddShape&& add)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    Painter painter(*dc);
    const Pen* pen = ObjectTable::Find<Pen>(dc->pen);
    const Brush* brush = ObjectTable::Find<Brush>(dc->brush);
    std::optional<Ink> penInk = pen ? Ink::OfPen(*dc, painter.Target(), *pen) : std::nullopt;
    std::optional<Ink> brushInk = filled && brush ? Ink::OfBrush(*dc, painter.Target(), *brush) : std::nullopt;
    if (!penInk && !brushInk)
        return TRUE;
    int penWidth = penInk ? pen->StrokeWidth() : 0;
    RECT reach { bounds.left - penWidth, bounds.top - penWidth, bounds.right + penWidth, bounds.bottom + penWidth };
    RECT window = Intersect(reach, painter.ClipBox());
    const Ink* brushPaint = brushInk ? &*brushInk : nullptr;
    const Ink* penPaint = penInk ? &*penInk : nullptr;
    if (Coverage::PaintsAtOnce(dc->rop2)) {
        Coverage spans(window, painter, brushPaint, penPaint, dc->rop2);
        if (!spans.IsEmpty())
            add(spans, penWidth, brushInk.has_value());
        return TRUE;
    }
    Coverage coverage(window);
    if (coverage.IsEmpty())
        return TRUE;
    add(coverage, penWidth, brushInk.has_value());
    painter.Shape(coverage, brushPaint, penPaint, dc->rop2);
    return TRUE;
}

BOOL DrawBox(HDC hdc, int left, int top, int right, int bottom, bool ellipse)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    POINT a = ToDevice(*dc, std::min(left, right), std::min(top, bottom));
    POINT b = ToDevice(*dc, std::max(left, right), std::max(top, bottom));
    RECT box { a.x, a.y, b.x, b.y };
    return DrawShape(hdc, box, true, [&](Coverage& coverage, int penWidth, bool fill) {
        if (ellipse)
            AddEllipse(coverage, box, penWidth, fill);
        else
            AddRectangle(coverage, box, penWidth, fill);
    });
}

} // namespace

// The brush fills, the pen frames the outermost pixels of [l, r) x [t, b); with the null pen the
// fill covers [l, r - 1) x [t, b - 1). ROP2 applies to both.
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawBox(hdc, left, top, right, bottom, false);
}

// Inscribed in the same box, with the same pen and null-pen rules as Rectangle.
BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawBox(hdc, left, top, right, bottom, true);
}

// Alternate fill of the pixels whose centres lie inside; the pen closes the outline.
BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!apt || cpt < 2)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    std::vector<POINT> points;
    points.reserve(static_cast<size_t>(cpt));
    RECT bounds { INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN };
    for (int i = 0; i < cpt; ++i) {
        POINT p = ToDevice(*dc, apt[i].x, apt[i].y);
        points.push_back(p);
        bounds = { std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x + 1),
                   std::max(bounds.bottom, p.y + 1) };
    }
    return DrawShape(hdc, bounds, true, [&](Coverage& coverage, int penWidth, bool fill) {
        AddPolygon(coverage, points.data(), cpt, penWidth, fill);
    });
}

// Sets the current position; returns the previous one.
BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lppt)
        *lppt = dc->position;
    dc->position = { x, y };
    return TRUE;
}

// Draws from the current position to (x, y), leaving out the end pixel; (x, y) becomes the
// current position.
BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    POINT from = ToDevice(*dc, dc->position.x, dc->position.y);
    POINT to = ToDevice(*dc, x, y);
    dc->position = { x, y };
    const Pen* pen = ObjectTable::Find<Pen>(dc->pen);
    if (pen && pen->StrokeWidth() == 1) {
        Painter painter(*dc);
        std::optional<Ink> ink = Ink::OfPen(*dc, painter.Target(), *pen);
        if (ink)
            ForEachLinePixel(from, to, painter.ClipBox(),
                             [&](int px, int py) { painter.Pixel(px, py, *ink, dc->rop2); });
        return TRUE;
    }
    RECT bounds { std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                  std::max(from.y, to.y) + 1 };
    return DrawShape(hdc, bounds, false,
                     [&](Coverage& coverage, int penWidth, bool) { AddLine(coverage, from, to, penWidth); });
}

// Fills all of [l, r) x [t, b) with the brush: no pen, no ROP2.
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hDC);
    const Brush* brush = ObjectTable::Find<Brush>(hbr);
    if (!dc || !brush)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (!lprc)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    Painter painter(*dc);
    std::optional<Ink> ink = Ink::OfBrush(*dc, painter.Target(), *brush);
    if (ink) {
        POINT a = ToDevice(*dc, lprc->left, lprc->top);
        POINT b = ToDevice(*dc, lprc->right, lprc->bottom);
        painter.Rect({ a.x, a.y, b.x, b.y }, *ink);
    }
    return 1;
}

// Each pixel value v becomes its complement (255 - v at 8 bits), whatever the ROP2 mode.
BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hDC);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!lprc)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    POINT a = ToDevice(*dc, lprc->left, lprc->top);
    POINT b = ToDevice(*dc, lprc->right, lprc->bottom);
    Painter(*dc).Invert({ a.x, a.y, b.x, b.y });
    return TRUE;
}

// The pixel's plain RGB colour; CLR_INVALID outside the clip.
COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, CLR_INVALID);
    POINT p = ToDevice(*dc, x, y);
    if (!dc->DeviceClip().Contains(p.x, p.y))
        return CLR_INVALID;
    Surface surface = dc->Target();
    return surface.ColorOf(surface.Get(p.x, p.y));
}

// Sets the pixel to the nearest value of the colour; returns the colour set, -1 outside the clip.
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, CLR_INVALID);
    POINT p = ToDevice(*dc, x, y);
    if (!dc->DeviceClip().Contains(p.x, p.y))
        return CLR_INVALID;
    Surface surface = dc->Target();
    uint32_t value = surface.ValueOf(dc->Resolve(color));
    surface.Set(p.x, p.y, value);
    return surface.ColorOf(value);
}
