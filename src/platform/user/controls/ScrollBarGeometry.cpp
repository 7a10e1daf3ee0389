#include "platform/user/controls/ScrollBarGeometry.h"

#include <algorithm>
#include <cstdint>

namespace pw::platform::user {

void ScrollRange::Set(int newMin, int newMax)
{
    minPos = newMin;
    maxPos = newMax;
    SetPos(pos);
}

int ScrollRange::SetPos(int newPos)
{
    int previous = pos;
    pos = IsEmpty() ? minPos : std::clamp(newPos, minPos, maxPos);
    return previous;
}

ScrollBarGeometry::ScrollBarGeometry(int length, int thickness, const ScrollRange& range)
    : length(std::max(length, 0))
    , arrow(std::min(std::max(thickness, 0), this->length / 2))
    , range(range)
{
    int track = TrackEnd() - TrackStart();
    if (!range.IsEmpty() && thickness > 0 && track >= thickness)
        thumb = thickness;
}

int ScrollBarGeometry::ThumbStartFor(int pos) const
{
    int travel = TrackEnd() - TrackStart() - thumb;
    if (range.IsEmpty() || travel <= 0)
        return TrackStart();
    // 64-bit: a range may span nearly all of int.
    int64_t offset = static_cast<int64_t>(std::clamp(pos, range.minPos, range.maxPos)) - range.minPos;
    int64_t span = static_cast<int64_t>(range.maxPos) - range.minPos;
    return TrackStart() + static_cast<int>((offset * travel + span / 2) / span);
}

ScrollBarGeometry::Part ScrollBarGeometry::HitTest(int along) const
{
    if (along < 0 || along >= length)
        return Part::None;
    if (along < TrackStart())
        return Part::LineUp;
    if (along >= TrackEnd())
        return Part::LineDown;
    if (!HasThumb())
        return Part::None;
    int thumbStart = ThumbStart();
    if (along < thumbStart)
        return Part::PageUp;
    if (along < thumbStart + thumb)
        return Part::Thumb;
    return Part::PageDown;
}

int ScrollBarGeometry::PositionForThumb(int thumbStart) const
{
    int travel = TrackEnd() - TrackStart() - thumb;
    if (range.IsEmpty() || travel <= 0)
        return range.minPos;
    int64_t offset = std::clamp(thumbStart - TrackStart(), 0, travel);
    int64_t span = static_cast<int64_t>(range.maxPos) - range.minPos;
    return static_cast<int>(range.minPos + (offset * span + travel / 2) / travel);
}

} // namespace pw::platform::user
