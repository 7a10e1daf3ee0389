// Views: resizing by the sizing masks, size limits and fitting.
#include "ui/View.h"

#include "graphics/Area.h"
#include "ui/ViewBuffer.h"

#include <algorithm>

namespace {

// One axis of a child's sizing: the parent's deltas for the near and far edge, and whether the
// child follows each edge.
void FollowAxis(bool followsNear, bool followsFar, int32_t& nearDelta, int32_t& farDelta)
{
    if (!followsNear && !followsFar)
        nearDelta = farDelta = 0;
    else if (!followsNear)
        nearDelta = farDelta;
    else if (!followsFar)
        farDelta = nearDelta;
}

} // namespace

void View::SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    AdjustBounds(left - bounds.left, top - bounds.top, right - bounds.right, bottom - bounds.bottom);
}

void View::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    if (dl == 0 && dt == 0 && dr == 0 && db == 0)
        return;
    InvalidateView(false);
    bounds = Rect(bounds.left + dl, bounds.top + dt, bounds.right + dr, bounds.bottom + db);
    InvalidateView(false);
    SmartList<View> list = children;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            FollowParent(*child, dl, dt, dr, db);
    }
    if (buffer.Valid()) {
        buffer->SetOrigin(bounds.TopLeft());
        buffer->Resize(dl, dt, dr, db, true);
    }
}

void View::FollowParent(View& child, int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    uint8_t mask = child.sizing;
    FollowAxis((mask & kFollowTop) != 0, (mask & kFollowBottom) != 0, dt, db);
    FollowAxis((mask & kFollowLeft) != 0, (mask & kFollowRight) != 0, dl, dr);
    child.AdjustBounds(dl, dt, dr, db);
}

Rect View::GetSizeLimits()
{
    int32_t width = bounds.right - bounds.left;
    int32_t height = bounds.bottom - bounds.top;
    int32_t shrinkH = width;
    int32_t shrinkV = height;
    int32_t growH = -width;
    int32_t growV = -height;
    LimitVertical(bounds, &shrinkV, &growV);
    LimitHorizontal(bounds, &shrinkH, &growH);
    int32_t minWidth = width - shrinkH;
    int32_t minHeight = height - shrinkV;
    return Rect(minWidth, minHeight, std::max(width + growH, minWidth), std::max(height + growV, minHeight));
}

void View::LimitVertical(const Rect& parent, int32_t* shrink, int32_t* grow)
{
    bool followsTop = (sizing & kFollowTop) != 0;
    bool followsBottom = (sizing & kFollowBottom) != 0;
    if (!followsTop)
        *grow = std::max(*grow, parent.top - bounds.top);
    if (!followsBottom)
        *grow = std::max(*grow, bounds.bottom - parent.bottom);
    if (!followsTop || !followsBottom)
        return;
    Rect own = GetOwnLimits();
    int32_t height = bounds.bottom - bounds.top;
    *shrink = std::min(*shrink, height - own.top);
    if (own.top < own.bottom)
        *grow = std::max(*grow, own.bottom - height);
    SmartList<View> list = children;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            child->LimitVertical(bounds, shrink, grow);
    }
}

void View::LimitHorizontal(const Rect& parent, int32_t* shrink, int32_t* grow)
{
    bool followsLeft = (sizing & kFollowLeft) != 0;
    bool followsRight = (sizing & kFollowRight) != 0;
    if (!followsLeft)
        *grow = std::max(*grow, parent.left - bounds.left);
    if (!followsRight)
        *grow = std::max(*grow, bounds.right - parent.right);
    if (!followsLeft || !followsRight)
        return;
    Rect own = GetOwnLimits();
    int32_t width = bounds.right - bounds.left;
    *shrink = std::min(*shrink, width - own.left);
    if (own.left < own.right)
        *grow = std::max(*grow, own.right - width);
    SmartList<View> list = children;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        if (View* child = list.Item(index))
            child->LimitHorizontal(bounds, shrink, grow);
    }
}

Rect View::GetOwnLimits()
{
    return Rect(0, 0, 0, 0);
}

void View::FitSize(bool toMaximum)
{
    Rect limits = GetSizeLimits();
    int32_t width = bounds.right - bounds.left;
    int32_t height = bounds.bottom - bounds.top;
    if (toMaximum) {
        width = limits.right;
        height = limits.bottom;
    } else {
        height = std::max(std::min(height, limits.bottom), limits.top);
        width = std::max(std::min(width, limits.right), limits.left);
    }
    SetBounds(bounds.left, bounds.top, bounds.left + width, bounds.top + height);
}
