#include "authoring/palettes/CTilePane.h"

#include "graphics/Area.h"
#include "graphics/ColorPaint.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

#include <algorithm>
#include <vector>

namespace {

// Moves the child's top-left corner to (h, v), keeping its size.
void MoveTo(View& child, int32_t h, int32_t v)
{
    Point size = child.GetBounds().Size();
    child.SetBounds(h, v, h + size.h, v + size.v);
}

} // namespace

CTilePane::CTilePane(View* parent, bool vertical, bool framed, int16_t spacing)
    : View(parent, parent->GetContentRect(), kSizeTopLeft, false, false)
    , flags(static_cast<uint8_t>((vertical ? kVertical : 0) | (framed ? kFramed : 0)))
    , spacing(spacing)
{
}

Point CTilePane::Layout(int32_t left0, int32_t top0)
{
    SmartList<View> children = GetChildren();
    if (children.NumItems() == 0 && held == Point(0, 0))
        return Point(0, 0);
    bool vertical = IsVertical();
    int32_t advanceExtra = IsFramed() ? 1 : 0;
    // Sizing bits that keep a child from widening the stack across its direction.
    uint8_t stretched = vertical ? (kFollowLeft | kFollowRight) : (kFollowTop | kFollowBottom);
    // Positions and sizes are 16-bit during layout.
    int16_t h = static_cast<int16_t>(left0);
    int16_t v = static_cast<int16_t>(top0);
    int16_t cross = 0;
    std::vector<View*> placed;
    for (uint32_t i = 1; i <= children.NumItems(); ++i) {
        View* child = children.Item(i);
        if (child == nullptr || child->IsHidden())
            continue;
        if (!placed.empty()) {
            if (vertical)
                v = static_cast<int16_t>(v + spacing);
            else
                h = static_cast<int16_t>(h + spacing);
        }
        MoveTo(*child, h, v);
        Point size = child->GetBounds().Size();
        bool widens = (child->GetSizing() & stretched) != stretched;
        if (vertical) {
            v = static_cast<int16_t>(v + size.v + advanceExtra);
            if (widens)
                cross = static_cast<int16_t>(std::max<int32_t>(cross, size.h));
        } else {
            h = static_cast<int16_t>(h + size.h + advanceExtra);
            if (widens)
                cross = static_cast<int16_t>(std::max<int32_t>(cross, size.v));
        }
        placed.push_back(child);
    }
    int16_t width = std::max<int16_t>(vertical ? cross : static_cast<int16_t>(h - 1 - left0), int16_t(held.h));
    int16_t height = std::max<int16_t>(vertical ? static_cast<int16_t>(v - 1 - top0) : cross, int16_t(held.v));
    for (View* child : placed) {
        Rect bounds = child->GetBounds();
        Point size = bounds.Size();
        if (vertical)
            MoveTo(*child, left0 + (width - size.h) / 2, bounds.top);
        else
            MoveTo(*child, bounds.left, top0 + (height - size.v) / 2);
    }
    if (width <= 0 || height <= 0)
        return Point(0, 0);
    // The pane takes (left0, top0) and the size; the children stay where they were placed rather
    // than following the pane's edges by their sizing.
    std::vector<Rect> placements;
    for (View* child : placed)
        placements.push_back(child->GetBounds());
    Rect bounds = GetBounds();
    AdjustBounds(left0 - bounds.left, top0 - bounds.top, left0 + width - bounds.right, top0 + height - bounds.bottom);
    for (size_t i = 0; i < placed.size(); ++i)
        placed[i]->SetBounds(placements[i].left, placements[i].top, placements[i].right, placements[i].bottom);
    // Children moved, came or went inside a frame that may keep its size: all of it is drawn again.
    InvalidateView(false);
    return Point(width, height);
}

void CTilePane::DrawContent(DisplayPort& port, Area& area)
{
    PortSaverRect clip(port, GetBounds());
    Area rest(area);
    ColorPaint none(Color(13));
    ColorPaint black(Color(1));
    SmartList<View> children = GetChildren();
    for (uint32_t i = children.NumItems(); i >= 1; --i) {
        View* child = children.Item(i);
        if (child == nullptr || child->IsHidden())
            continue;
        Rect r = child->GetBounds();
        if (IsFramed()) {
            r = Rect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
            port.DrawRectangle(r, none, black, 1);
        }
        rest.Subtract(Area(r));
    }
    // Outlined in grey too: a null outline would leave each rectangle's last row and column.
    ColorPaint grey(Color(4));
    port.DrawAreaRects(rest, grey, grey);
}
