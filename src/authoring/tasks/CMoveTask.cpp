#include "authoring/tasks/CMoveTask.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/tasks/RectMapping.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/CXform.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

#include <windows.h>

#include <algorithm>
#include <vector>

PW_DEFINE_CLASS(CMoveTask, nullptr, nullptr, CMouseTask)

using pw::authoring::MapRect;
using pw::authoring::Moved;

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

int32_t Sign(int32_t value)
{
    return (value > 0) - (value < 0);
}

} // namespace

CMoveTask::CMoveTask(const SmartPtr<CHAPane>& pane, int16_t index, bool altMode, int32_t kind)
    : CMouseTask(kind, pane.Get())
    , pane(pane)
    , altMode(altMode)
{
    movie = pane->GetGroup();
    if (!movie.Valid())
        AssertionFailed("movie.Valid()", PW_HERE);
    if (index >= 0 && index < int32_t(movie->NumSprites()))
        sprite = movie->GetSprite(index);
    sprites.Append(sprite);
    frame = pane->CPanePlay::GetPlayer().GetFrame();
}

CMoveTask::CMoveTask(const CMoveTask& other)
    : CMouseTask(other)
    , oldRect(other.oldRect)
    , feedback(other.feedback)
    , reference(other.reference)
    , pane(other.pane)
    , movie(other.movie)
    , sprite(other.sprite)
    , frame(other.frame)
    , previous(other.previous)
    , altMode(other.altMode)
    , shown(other.shown)
    , frameCount(other.frameCount)
    , stepTime(other.stepTime)
{
    sprites.AppendList(other.sprites);
}

// A drag cut short (its window closed before the release) leaves no feedback behind in the pane.
CMoveTask::~CMoveTask()
{
    if (pane.Valid())
        pane->ClearFeedback(this);
}

SmartPtr<CMoveTask> CMoveTask::Duplicate() const
{
    return new CMoveTask(*this);
}

void CMoveTask::SetSelection(const SmartList<CSprite>* list)
{
    if (!list)
        return;
    if (!sprites.IsEmpty())
        sprites.Data()->DeleteItems(1, sprites.NumItems());
    sprites.AppendList(*list);
}

void CMoveTask::Begin(Point&, BitFlags)
{
    stepTime = ::GetTickCount();
    Rect area = RecordStart(kEmpty);
    pane->SetFeedback(this);
    RedrawArea(area.Union(feedback));
}

void CMoveTask::Track(Point& current, Point previousPoint, Point start, BitFlags modifiers)
{
    if (modifiers.IsSet(kShiftBit))
        Constrain(current, start, modifiers);
    // The point the picture was taken by stays on the page, so a picture dragged past the page's
    // edge stays in sight and in reach.
    Rect page = pane->GetBounds();
    current = Point(std::clamp(current.h, page.left, std::max(page.left, page.right - 1)),
        std::clamp(current.v, page.top, std::max(page.top, page.bottom - 1)));
    bool moved = current != previousPoint;
    int16_t f = NextFrame();
    Point point = pane->ToMovie(current);
    if (f != frame) {
        previous = Duplicate();
        frame = f;
        pane->CPanePlay::GetPlayer().GoToFrame(f);
        Rect area = RecordStart(feedback);
        RectFromPoint(point, modifiers);
        RedrawArea(area.Union(feedback));
    } else if (moved) {
        RectFromPoint(point, modifiers);
        // The outlines of the other sprites may have moved anywhere in the pane.
        pane->InvalidateView(false);
    }
}

void CMoveTask::End(Point& current, Point, Point start, BitFlags)
{
    pane->SetFeedback(nullptr);
    int16_t first = 0;
    int16_t last = 0;
    pane->GetFrameRange(first, last, false);
    if (!previous.Valid() && last > first) {
        frame = first;
        frameCount = static_cast<int16_t>(last - first + 1);
    }
    Commit();
    if (previous.Valid())
        pane->CPanePlay::GetPlayer().GoToFrame(frame);
    pane->InvalidateView(false);
    if (previous.Valid() || current != start)
        pane->AfterEdit(SmartPtr<Task>(this));
    pane->EndMove(this);
}

// Each step's rectangles become relative to where the mouse left its reference point, so that the
// same move can be applied to other sprites and frames; a step whose sprite did not show has only
// the place it was dragged to.
void CMoveTask::Commit()
{
    std::vector<CMoveTask*> chain;
    for (CMoveTask* step = this; step; step = step->previous.Get()) {
        chain.push_back(step);
        if (step->shown) {
            step->oldRect.Offset(-step->reference.h, -step->reference.v);
            step->feedback.Offset(-step->reference.h, -step->reference.v);
        } else {
            step->oldRect = kEmpty;
        }
    }
    for (auto step = chain.rbegin(); step != chain.rend(); ++step)
        (*step)->Do();
}

void CMoveTask::Do()
{
    for (uint32_t index = sprites.NumItems(); index >= 1; --index) {
        if (CSprite* each = sprites.Item(index))
            ApplyToSprite(*each);
    }
}

void CMoveTask::Undo()
{
    pane->SelectSprite(-1, false);
    if (previous.Valid())
        previous->Undo();
    std::swap(oldRect, feedback);
    Do();
    if (!previous.Valid())
        pane->SelectFrames(frame, frame);
}

void CMoveTask::Redo()
{
    Undo();
    pane->SelectFrames(frame, frame);
}

// The cel a sprite shows at a frame follows from the frame alone here, so moving a sprite over
// a run keeps every frame's cel without remembering it.
void CMoveTask::ApplyToSprite(CSprite& target)
{
    if (frameCount <= 1) {
        ApplyToFrames(target, frame, oldRect, feedback);
        return;
    }
    for (int32_t f = frame; f < frame + frameCount; ++f) {
        if (target.ShowsInFrames(static_cast<int16_t>(f), 1))
            ApplyToFrames(target, static_cast<int16_t>(f), oldRect, feedback);
    }
}

void CMoveTask::ApplyToFrames(CSprite& target, int16_t f, const Rect& from, const Rect& to)
{
    if (from == to)
        return;
    Rect bounds = kEmpty;
    target.GetFrameBounds(f, &bounds, nullptr);
    if (!bounds.IsEmpty())
        movie->Changed(movie.Get(), bounds, f);
    if (to.IsEmpty()) {
        target.PlaceAtFrame(f, &kEmpty, nullptr);
        return;
    }
    if (f >= movie->NumFrames()) {
        int16_t n = movie->NumFrames();
        movie->InsertFrames(n, static_cast<int16_t>(f + 1 - n), false, true);
    }
    if (!target.ShowsInFrames(f, 1))
        target.PlaceAtFrame(f, nullptr, nullptr);
    Rect place = to;
    if (!from.IsEmpty()) {
        Point point;
        target.GetFrameBounds(f, &bounds, &point);
        if (bounds.IsEmpty())
            return;
        place = Moved(MapRect(Moved(bounds, -point.h, -point.v), from, to), point.h, point.v);
    }
    PlaceInFrame(target, f, place);
    target.GetFrameBounds(f, &bounds, nullptr);
    if (!bounds.IsEmpty())
        movie->Changed(movie.Get(), bounds, f);
}

void CMoveTask::PlaceInFrame(CSprite& target, int16_t f, const Rect& rect)
{
    target.PlaceAtFrame(f, &rect, nullptr);
}

int16_t CMoveTask::NextFrame()
{
    int32_t f = frame;
    if (altMode) {
        uint32_t rate = static_cast<uint32_t>(std::max<int16_t>(pane->GetShow().GetFrameRate(), 1));
        uint32_t now = ::GetTickCount();
        if (stepTime + kAdvanceTicks / rate <= now) {
            ++f;
            stepTime = now;
        }
        return static_cast<int16_t>(std::max(f, 0));
    }
    int16_t n = movie->NumFrames();
    if (f >= n)
        movie->InsertFrames(n, static_cast<int16_t>(f + 1 - n), false, true);
    return static_cast<int16_t>(f);
}

void CMoveTask::Constrain(Point& point, Point origin, BitFlags modifiers)
{
    ConstrainPoint(origin, point, modifiers);
}

void CMoveTask::ConstrainPoint(Point origin, Point& point, BitFlags modifiers)
{
    int32_t dh = point.h - origin.h;
    int32_t dv = point.v - origin.v;
    bool vertical = std::abs(dv) > std::abs(dh);
    if (!modifiers.IsSet(kControlBit)) {
        if (vertical)
            point.h = origin.h;
        else
            point.v = origin.v;
        return;
    }
    if (vertical)
        point.h = origin.h + Sign(dh) * std::abs(dv);
    else
        point.v = origin.v + Sign(dv) * std::abs(dh);
}

Rect CMoveTask::RecordStart(const Rect& limit)
{
    if (!sprite.Valid())
        AssertionFailed("data != NULL", PW_HERE);
    frameCount = 1;
    shown = sprite->ShowsInFrames(frame, 1);
    if (shown) {
        sprite->GetFrameBounds(frame, &feedback, &reference);
        oldRect = feedback;
    } else {
        oldRect = feedback;
    }
    // The show keeps no changed areas of its own: a frame within the movie is redrawn whole.
    if (frame < movie->NumFrames()) {
        Point topLeft = pane->ToMovie(pane->GetBounds().TopLeft());
        Point size = pane->GetBounds().Size();
        return Rect(topLeft.h, topLeft.v, topLeft.h + size.h, topLeft.v + size.v);
    }
    return limit.IsEmpty() ? feedback : limit;
}

void CMoveTask::RectFromPoint(Point& point, BitFlags)
{
    feedback.Offset(point.h - reference.h, point.v - reference.v);
    reference = point;
}

void CMoveTask::RedrawArea(const Rect& area)
{
    pane->RedrawMovieRect(area);
}

int16_t CMoveTask::DrawingFrame() const
{
    for (int32_t f = frame; f >= 0; --f) {
        if (sprite->ShowsInFrames(static_cast<int16_t>(f), 1))
            return static_cast<int16_t>(f);
    }
    return -1;
}

void CMoveTask::DrawFeedback(DisplayPort& port)
{
    Redraw(port, kEmpty, feedback);
    DrawOutlines(port);
}

// The pane has drawn the page as it is beneath; the pressed sprite's picture at its drawing frame
// is drawn again stretched into the new rectangle.
void CMoveTask::Redraw(DisplayPort& port, const Rect&, const Rect& newRect)
{
    int16_t f = DrawingFrame();
    if (f < 0 || newRect.IsEmpty())
        return;
    Rect bounds = kEmpty;
    sprite->GetFrameBounds(f, &bounds, nullptr);
    if (bounds.IsEmpty())
        return;
    Rect target = pane->ToPane(newRect);
    PortSaverRect clip(port, target.Intersect(pane->GetBounds()));
    SmartPtr<CXform> xform = new CXform(bounds, target);
    sprite->DrawFrame(port, xform, f, Color(0), 0);
}

void CMoveTask::DrawOutlines(DisplayPort& port)
{
    if (sprites.NumItems() < 2)
        return;
    for (uint32_t index = sprites.NumItems(); index >= 1; --index) {
        CSprite* each = sprites.Item(index);
        if (!each || each == sprite.Get())
            continue;
        Rect bounds = kEmpty;
        Point point;
        each->GetFrameBounds(frame, &bounds, &point);
        if (bounds.IsEmpty())
            continue;
        Rect r = Moved(bounds, reference.h - point.h, reference.v - point.v);
        r = Moved(MapRect(r, oldRect, feedback), point.h - reference.h, point.v - reference.v);
        port.DrawRectangle(pane->ToPane(r), Color(Color::kNoColor), Color(1), 1);
    }
}
