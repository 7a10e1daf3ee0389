#include "authoring/tasks/CRotateTask.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/panes/FrameRangeSelector.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"
#include "ui/View.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265;

} // namespace

CRotateTask::CRotateTask(const SmartPtr<View>& view, const SmartPtr<CMovie>& movie, const SmartPtr<CSprite>& sprite,
    int16_t shownFrame, int16_t first, int16_t last)
    : CMouseTask(7, view)
    , movie(movie)
    , sprite(sprite)
    , shownFrame(shownFrame)
    , first(std::min({ first, last, shownFrame }))
    , last(std::max({ first, last, shownFrame }))
{
}

CRotateTask::~CRotateTask()
{
    if (CHAPane* pane = Pane())
        pane->ClearFeedback(this);
}

CHAPane* CRotateTask::Pane() const
{
    return dynamic_cast<CHAPane*>(GetView().Get());
}

int16_t CRotateTask::PointerAngle(Point p, Point centre)
{
    int32_t dx = p.h - centre.h;
    int32_t dy = -(p.v - centre.v);
    if (dx == 0)
        return static_cast<int16_t>(dy > 0 ? 90 : dy < 0 ? -90 : 0);
    auto a = static_cast<int32_t>(std::atan(double(dy) / double(dx)) * 180.0 / kPi);
    if (dx < 0)
        a += dy >= 0 ? 180 : -180;
    return static_cast<int16_t>(a);
}

Point CRotateTask::RotatePoint(Point q, Point centre, int32_t degrees)
{
    double r = degrees * kPi / 180.0;
    double x = q.h - centre.h;
    double y = q.v - centre.v;
    return Point(centre.h + static_cast<int32_t>(x * std::cos(r) + y * std::sin(r)),
        centre.v + static_cast<int32_t>(y * std::cos(r) - x * std::sin(r)));
}

int16_t CRotateTask::Advance(int16_t angle, int16_t pointer, int16_t startAngle, int16_t frameRotation, bool snap)
{
    int32_t a = pointer;
    if (snap) {
        int32_t base = startAngle - frameRotation;
        int32_t d = a - base;
        d += d >= 0 ? 22 : -22;
        a = base + (d - d % 45);
    }
    // The turn is taken modulo 360 into [0, 360) before the half turn comes off, so that it lies
    // in [-180, 180) whichever side the pointer crossed.
    int32_t turn = ((a - angle + 180) % 360 + 360) % 360 - 180;
    return static_cast<int16_t>(angle + turn);
}

void CRotateTask::Begin(Point& start, BitFlags modifiers)
{
    before.emplace(*sprite.Get());
    framesBefore = movie->NumFrames();
    after.reset();
    undone = false;
    flags &= static_cast<uint8_t>(~kEnded);
    if (modifiers.IsSet(kKeepCentreBit))
        flags &= static_cast<uint8_t>(~kRecentred);
    else
        flags |= kRecentred;
    Rect bounds(0, 0, 0, 0);
    Point reference;
    sprite->GetFrameBounds(shownFrame, &bounds, &reference);
    if (flags & kRecentred) {
        Point middle((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        sprite->PlaceAtFrame(shownFrame, nullptr, &middle);
        sprite->GetFrameBounds(shownFrame, &bounds, &reference);
    }
    startBounds = bounds;
    centre = reference;
    sprite->RotationAtFrame(shownFrame, baseRotation);
    frameRotation = baseRotation;
    sprite->GetCorners(shownFrame, corners);
    startAngle = angle = PointerAngle(start, centre);
    if (CHAPane* pane = Pane()) {
        pane->SetFeedback(this);
        RedrawOutline();
    }
}

void CRotateTask::Track(Point& current, Point, Point, BitFlags modifiers)
{
    int16_t pointer = PointerAngle(current, centre);
    int16_t next = Advance(angle, pointer, startAngle, frameRotation, modifiers.IsSet(kSnapBit));
    if (next == angle)
        return;
    RedrawOutline();
    angle = next;
    ApplyAll();
    RedrawOutline();
}

void CRotateTask::End(Point& current, Point previous, Point start, BitFlags modifiers)
{
    Track(current, previous, start, modifiers);
    flags |= kEnded;
    if (flags & kRecentred)
        sprite->PlaceAtFrame(shownFrame, nullptr, &centre);
    after.emplace(*sprite.Get());
    framesAfter = movie->NumFrames();
    if (CHAPane* pane = Pane()) {
        RedrawOutline();
        pane->ClearFeedback(this);
        if (current != start)
            pane->AfterEdit(SmartPtr<Task>(this));
    }
}

void CRotateTask::RedrawOutline()
{
    CHAPane* pane = Pane();
    if (!pane)
        return;
    std::array<Point, 4> outline = Outline();
    Rect area(centre.h, centre.v, centre.h + 1, centre.v + 1);
    for (const Point& corner : outline)
        area = area.Union(Rect(corner.h, corner.v, corner.h + 1, corner.v + 1));
    pane->RedrawMovieRect(area);
}

// A line from the centre to the middle of the picture's top edge shows which way it is turned.
void CRotateTask::DrawFeedback(DisplayPort& port)
{
    CHAPane* pane = Pane();
    if (!pane)
        return;
    std::array<Point, 4> outline = Outline();
    for (Point& corner : outline)
        corner = pane->ToPane(corner);
    Point from = pane->ToPane(centre);
    Point top((outline[0].h + outline[1].h) / 2, (outline[0].v + outline[1].v) / 2);
    PortSaverRect clip(port, pane->GetBounds());
    port.DrawLine(from.h, from.v, top.h, top.v, Color(1), 1);
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point& a = outline[(i + outline.size() - 1) % outline.size()];
        const Point& b = outline[i];
        port.DrawLine(a.h, a.v, b.h, b.v, Color(1), 1);
    }
}

void CRotateTask::ApplyAll()
{
    for (int16_t f = first; f <= last; ++f)
        ApplyAt(f);
}

void CRotateTask::ApplyAt(int16_t frame)
{
    if (frame >= movie->NumFrames())
        movie->InsertFrames(movie->NumFrames(), static_cast<int16_t>(frame - movie->NumFrames() + 1), true, true);
    Rect bounds(0, 0, 0, 0);
    if (!sprite->ShowsInFrames(frame, 1)) {
        sprite->PlaceAtFrame(frame, nullptr, nullptr);
        sprite->GetFrameBounds(frame, &bounds, nullptr);
    } else {
        sprite->GetFrameBounds(frame, &bounds, nullptr);
        if (!bounds.IsEmpty())
            movie->Changed(movie.Get(), bounds, frame);
    }
    sprite->PlaceAtFrame(frame, nullptr, &centre);
    sprite->RotateAtFrame(frame, static_cast<int16_t>(angle - startAngle + baseRotation));
    sprite->GetFrameBounds(frame, &bounds, nullptr);
    if (!bounds.IsEmpty())
        movie->Changed(movie.Get(), bounds, frame);
}

// The angles change places as the rotation's own record; the sprite takes the placement of the
// other side of the drag whole, so that nothing a re-applied turn would round comes back changed.
void CRotateTask::Exchange()
{
    baseRotation = static_cast<int16_t>(baseRotation + angle - startAngle);
    std::swap(startAngle, angle);
    const std::optional<pw::engine::SpritePlacement>& placement = undone ? after : before;
    int16_t frames = undone ? framesAfter : framesBefore;
    undone = !undone;
    if (!placement) {
        ApplyAll();
        return;
    }
    TellFrames();
    FitMovie(frames);
    placement->Restore(*sprite.Get());
    TellFrames();
}

void CRotateTask::FitMovie(int16_t count)
{
    int16_t now = movie->NumFrames();
    if (now > count)
        movie->DeleteFrames(count, static_cast<int16_t>(now - count));
    else if (now < count)
        movie->InsertFrames(now, static_cast<int16_t>(count - now), true, true);
}

void CRotateTask::TellFrames()
{
    for (int16_t f = first; f <= last; ++f) {
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(f, &bounds, nullptr);
        if (!bounds.IsEmpty())
            movie->Changed(movie.Get(), bounds, f);
    }
}

void CRotateTask::Undo()
{
    Exchange();
}

void CRotateTask::Redo()
{
    Exchange();
    if (auto* selector = dynamic_cast<pw::authoring::FrameRangeSelector*>(GetView().Get()))
        selector->SetFrameRange(shownFrame, shownFrame);
}

std::array<Point, 4> CRotateTask::Outline() const
{
    int32_t delta = angle - startAngle + baseRotation - frameRotation;
    std::array<Point, 4> turned {};
    for (size_t i = 0; i < corners.size(); ++i)
        turned[i] = RotatePoint(corners[i], centre, delta);
    return turned;
}
