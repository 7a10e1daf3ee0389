#include "authoring/tasks/CScaleTask.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/tasks/RectMapping.h"
#include "engine/CMovieGroup.h"
#include "engine/CMovieText.h"

#include <cstdlib>

PW_DEFINE_CLASS(CScaleTask, nullptr, nullptr, CMoveTask)

using pw::authoring::MapPoint;
using pw::authoring::MapRect;
using pw::authoring::Moved;
using pw::authoring::RoundAway;

namespace {

// One edge opposite the grabbed one, scaled about the fixed point by the grabbed edge's factor;
// a zero divisor (no fixed corner) leaves the edge where it was.
int32_t ScaledEdge(int32_t edge, int32_t moved, int32_t grabbed)
{
    if (grabbed == 0)
        return edge;
    return RoundAway(double(moved) * double(edge) / double(grabbed));
}

} // namespace

CScaleTask::CScaleTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind)
    : CMoveTask(pane, index, altMode, kind)
{
}

SmartPtr<CMoveTask> CScaleTask::Duplicate() const
{
    return new CScaleTask(*this);
}

void CScaleTask::Begin(Point& point, BitFlags modifiers)
{
    cornerAnchored = !modifiers.IsSet(kFreeCentreBit);
    textMode = !altMode && SmartCast<CMovieText>(sprite->GetMovie().Get()) && !modifiers.IsSet(kStretchTextBit);
    Point p = pane->ToMovie(point);
    Rect bounds(0, 0, 0, 0);
    Point q;
    sprite->GetFrameBounds(frame, &bounds, &q);
    if (cornerAnchored)
        q = Point((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    // A press exactly on the centre grabs the right and the top edges.
    grab = Point(p.h < q.h ? -1 : 1, p.v > q.v ? 1 : -1);
    if (cornerAnchored) {
        sprite->GetFrameBounds(frame, nullptr, &savedReference);
        savedFrame = frame;
        Point fixed(grab.h == -1 ? bounds.right : bounds.left, grab.v == -1 ? bounds.bottom : bounds.top);
        sprite->PlaceAtFrame(frame, nullptr, &fixed);
    }
    sprite->GetFrameBounds(frame, &start, &origin);
    CMoveTask::Begin(point, modifiers);
    start = carriedStart;
    origin = reference;
}

Rect CScaleTask::RecordStart(const Rect& limit)
{
    Rect area = CMoveTask::RecordStart(limit);
    if (sprite->ShowsInFrames(frame, 1)) {
        Point point;
        sprite->GetVisibleCelRect(frame, &natural, &point);
        natural.Offset(-point.h, -point.v);
    }
    carriedStart = Moved(start, reference.h - origin.h, reference.v - origin.v);
    return area;
}

void CScaleTask::RectFromPoint(Point& point, BitFlags)
{
    Point d(point.h - origin.h, point.v - origin.v);
    if (grab.h * d.h < kMinimumSize)
        d.h = grab.h * kMinimumSize;
    if (grab.v * d.v < kMinimumSize)
        d.v = grab.v * kMinimumSize;
    Rect relative = Moved(start, -origin.h, -origin.v);
    if (relative.IsEmpty()) {
        feedback = carriedStart;
        return;
    }
    Rect scaled = ScaledRect(relative, grab, d);
    Rect result = Moved(MapRect(Moved(carriedStart, -reference.h, -reference.v), relative, scaled), reference.h,
        reference.v);
    if (textMode) {
        // The text is laid out in its new frame at once; the feedback is where it ends up.
        PlaceInFrame(*sprite.Get(), frame, Moved(result, -reference.h, -reference.v));
        sprite->GetFrameBounds(frame, &result, nullptr);
    }
    feedback = result;
}

// A text sprite's rectangle (relative to the reference point) becomes the text frame of the cel it
// shows at the frame, in the cel's own coordinates, with the text's top edge kept.
void CScaleTask::PlaceInFrame(CSprite& target, int16_t f, const Rect& rect)
{
    auto* texts = SmartCast<CMovieText>(target.GetMovie().Get());
    if (!textMode || !texts) {
        CMoveTask::PlaceInFrame(target, f, rect);
        return;
    }
    Rect r = Moved(rect, reference.h, reference.v);
    Rect shown(0, 0, 0, 0);
    target.GetFrameBounds(frame, &shown, nullptr);
    if (!shown.IsEmpty()) {
        Rect cel(0, 0, 0, 0);
        texts->GetFrameBounds(cel, target.CelForFrame(frame));
        r = MapRect(r, shown, cel);
    }
    CResource* item = texts->ItemAt(target.CelForFrame(f));
    if (!item)
        return;
    Rect celRect = item->GetBounds();
    r.Offset(0, celRect.top - r.top);
    movie->Changed(movie.Get(), Rect(0, 0, 0, 0), f);
    item->SetRect(r);
    movie->Changed(movie.Get(), Rect(0, 0, 0, 0), f);
}

// In text mode the drag has already changed the text's frame: the step starts from nothing.
// A picture's rectangle is computed about the reference point, which the placing carries along
// inside the picture (and which all frames share): scaling back about where it has got to would
// not give the old rectangle. So the first run keeps each frame's rectangle before and after, and
// undo and redo put those back as they were; Undo sees to the reference point.
void CScaleTask::ApplyToFrames(CSprite& target, int16_t f, const Rect& from, const Rect& to)
{
    if (textMode || !keepsPlaces) {
        CMoveTask::ApplyToFrames(target, f, textMode ? Rect(0, 0, 0, 0) : from, to);
        return;
    }
    auto key = std::make_pair(static_cast<const CSprite*>(&target), f);
    auto kept = places.find(key);
    if (kept == places.end()) {
        Rect before(0, 0, 0, 0);
        target.GetFrameBounds(f, &before, nullptr);
        CMoveTask::ApplyToFrames(target, f, from, to);
        Rect after(0, 0, 0, 0);
        target.GetFrameBounds(f, &after, nullptr);
        places.emplace(key, std::make_pair(before, after));
        return;
    }
    Rect now(0, 0, 0, 0);
    target.GetFrameBounds(f, &now, nullptr);
    if (!now.IsEmpty())
        movie->Changed(movie.Get(), now, f);
    const Rect& place = undone ? kept->second.first : kept->second.second;
    // An empty place takes the sprite out of the frame again.
    target.PlaceAtFrame(f, &place, nullptr);
    if (!place.IsEmpty())
        movie->Changed(movie.Get(), place, f);
}

// The page drawn beneath already shows a text in its new frame; in the alternate mode nothing is
// drawn over the page.
void CScaleTask::Redraw(DisplayPort& port, const Rect& oldRect, const Rect& newRect)
{
    if (altMode || textMode)
        return;
    CMoveTask::Redraw(port, oldRect, newRect);
}

Rect CScaleTask::ScaledRect(const Rect& s, Point grab, Point d)
{
    Rect result = s;
    if (grab.h > 0) {
        result.right = d.h;
        result.left = ScaledEdge(s.left, d.h, s.right);
    } else {
        result.left = d.h;
        result.right = ScaledEdge(s.right, d.h, s.left);
    }
    if (grab.v > 0) {
        result.bottom = d.v;
        result.top = ScaledEdge(s.top, d.v, s.bottom);
    } else {
        result.top = d.v;
        result.bottom = ScaledEdge(s.bottom, d.v, s.top);
    }
    return result;
}

// The mouse point arrives in the pane's coordinates; the fixed point is the movie's.
void CScaleTask::Constrain(Point& point, Point, BitFlags)
{
    Point movie = pane->ToMovie(point);
    Point q = KeepProportions(Point(movie.h - origin.h, movie.v - origin.v), natural, grab, altMode);
    point = pane->ToPane(Point(q.h + origin.h, q.v + origin.v));
}

Point CScaleTask::KeepProportions(Point q, const Rect& natural, Point grab, bool altMode)
{
    int32_t w = grab.h > 0 ? natural.right : natural.left;
    int32_t h = grab.v > 0 ? natural.bottom : natural.top;
    // A picture of no width or height has no proportions to keep.
    if (w == 0 || h == 0)
        return q;
    double ratio = double(w) / double(h);
    auto across = static_cast<int16_t>(RoundAway(q.v * ratio));
    if (std::abs(q.h) < std::abs(int32_t(across))) {
        if (!altMode && std::abs(q.v - h) < kSnapDistance)
            return Point(w, h);
        return Point(across, q.v);
    }
    if (!altMode && std::abs(q.h - w) < kSnapDistance)
        return Point(w, h);
    return Point(q.h, RoundAway(q.h / ratio));
}

void CScaleTask::End(Point& current, Point previousPoint, Point startPoint, BitFlags modifiers)
{
    CMoveTask::End(current, previousPoint, startPoint, modifiers);
    if (!cornerAnchored)
        return;
    Rect resized(0, 0, 0, 0);
    Point corner;
    sprite->GetFrameBounds(savedFrame, &resized, &corner);
    Point back = MapPoint(savedReference, start, resized);
    sprite->PlaceAtFrame(savedFrame, nullptr, &back);
    savedReference = corner;
}

// The move is undone about the fixed corner; the reference point then keeps its place inside the
// picture, as it did when the drag ended.
void CScaleTask::Undo()
{
    undone = !undone;
    if (!cornerAnchored || previous.Valid()) {
        CMoveTask::Undo();
        return;
    }
    Rect before(0, 0, 0, 0);
    Point kept;
    sprite->GetFrameBounds(savedFrame, &before, &kept);
    sprite->PlaceAtFrame(savedFrame, nullptr, &savedReference);
    CMoveTask::Undo();
    Rect after(0, 0, 0, 0);
    sprite->GetFrameBounds(savedFrame, &after, nullptr);
    Point back = MapPoint(kept, before, after);
    sprite->PlaceAtFrame(savedFrame, nullptr, &back);
}
