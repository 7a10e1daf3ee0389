#include "authoring/tasks/CBrushTask.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CBrushTool.h"

#include <algorithm>
#include <cstdlib>

CBrushTask::CBrushTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CPenTool>& pen)
    : CPenTask(16, pane, offScreen, pen)
{
}

// The brush's rectangle lies around its hot point, so the picture's edges and the changed
// rectangle are reckoned with that rectangle, not with a rectangle starting at the point.
void CBrushTask::DrawSegment(DisplayPort& port, Rect& changed, Point to, Point from, BitFlags)
{
    auto* brush = SmartCast<CBrushTool>(pen.Get());
    Rect shape = pen->GetPenBounds();
    Rect b = pane->GetBounds();
    if (to.h + shape.right > b.right)
        to.h = b.right - shape.right;
    else if (to.h + shape.left < b.left)
        to.h = b.left - shape.left;
    if (to.v + shape.bottom > b.bottom)
        to.v = b.bottom - shape.bottom;
    else if (to.v + shape.top < b.top)
        to.v = b.top - shape.top;
    auto placed = [&shape](Point p) { return Rect(p.h + shape.left, p.v + shape.top, p.h + shape.right, p.v + shape.bottom); };
    changed = placed(from);
    Point d(std::abs(to.h - from.h), std::abs(to.v - from.v));
    int32_t n = std::max(std::max(d.h, d.v), 1);
    Point p = from;
    Point a(0, 0);
    // An axis advances only when its share passes n, so the brush moves 2 pixels at every second
    // stamp along the longer axis and may stop a pixel short of `to`.
    for (int32_t step = 0; step < n; ++step) {
        a.h += d.h;
        a.v += d.v;
        if (a.h > n) {
            p.h += from.h < to.h ? a.h / n : -(a.h / n);
            a.h %= n;
        }
        if (a.v > n) {
            p.v += from.v < to.v ? a.v / n : -(a.v / n);
            a.v %= n;
        }
        if (brush)
            brush->Stamp(port, p.h, p.v);
        changed = changed.Union(placed(p));
    }
}
