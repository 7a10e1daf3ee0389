#pragma once

namespace pw::platform::user {

// A scroll bar's range and position; the position always lies inside the range.
struct ScrollRange {
    int minPos { 0 };
    int maxPos { 0 };
    int pos { 0 };

    // Sets the range and pulls the position into it.
    void Set(int newMin, int newMax);
    // Sets the position, clamped to the range; returns the previous position.
    int SetPos(int newPos);
    bool IsEmpty() const { return maxPos <= minPos; }
};

// Where the parts of a scroll bar lie along its length, in pixels from its top (or left) edge:
// an arrow button at each end, as long as the bar is thick (each half the bar when it is
// shorter), and between them the track with a square thumb. The thumb shows only when the
// range is not empty and the track has room for it.
class ScrollBarGeometry {
public:
    enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };

    ScrollBarGeometry(int length, int thickness, const ScrollRange& range);

    int Length() const { return length; }
    int ArrowSize() const { return arrow; }
    int TrackStart() const { return arrow; }
    int TrackEnd() const { return length - arrow; }
    bool HasThumb() const { return thumb > 0; }
    int ThumbSize() const { return thumb; }
    // Where the thumb starts for a position (the range's ends put it at the track's ends).
    int ThumbStartFor(int pos) const;
    int ThumbStart() const { return ThumbStartFor(range.pos); }

    // The part at `along` pixels from the start; None outside the bar.
    Part HitTest(int along) const;
    // The position nearest to a thumb starting at `thumbStart` (clamped to the track).
    int PositionForThumb(int thumbStart) const;

private:
    int length;
    int arrow;
    int thumb { 0 };
    ScrollRange range;
};

} // namespace pw::platform::user
