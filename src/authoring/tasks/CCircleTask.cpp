#include "authoring/tasks/CCircleTask.h"

#include "authoring/dialogs/KidDialogs.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/tools/CShapeTool.h"
#include "engine/CMovieGroup.h"
#include "engine/CSprite.h"
#include "graphics/ColorPaint.h"
#include "graphics/DisplayPort.h"
#include "ui/ProgressRange.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The task's kind among the pane's tasks.
constexpr int32_t kCircleKind = 14;
// The half-turn the motion is measured in; the frames' points depend on this exact value.
constexpr double kHalfTurn = 3.14159265;

} // namespace

CCircleTask::CCircleTask(const SmartPtr<CHAPane>& pane, int16_t index)
    : CMouseTask(kCircleKind, pane.Get())
    , pane(pane)
{
    startFrame = pane->CPanePlay::GetPlayer().GetFrame();
    SmartPtr<CMovie> movie = pane->CPanePlay::GetPlayer().GetMovie();
    if (CMovieGroup* group = pane->GetGroup()) {
        sprite = group->GetSprite(index);
        if (sprite.Valid())
            spriteEnd = static_cast<int16_t>(sprite->StartFrame() + sprite->NumFrames());
    }
    movieFrames = movie.Valid() ? movie->NumFrames() : 0;
}

CCircleTask::~CCircleTask()
{
    pane->ClearFeedback(this);
}

Rect CCircleTask::EllipseBox(Point s, Point e, bool horizontal, bool circle)
{
    if (circle) {
        if (horizontal)
            e.v = s.v + (e.h - s.h) / 2;
        else
            e.h = s.h + (e.v - s.v) / 2;
    }
    if (horizontal)
        s.v = 2 * s.v - e.v;
    else
        s.h = 2 * s.h - e.h;
    return Rect(std::min(s.h, e.h), std::min(s.v, e.v), std::max(s.h, e.h), std::max(s.v, e.v));
}

Point CCircleTask::PointOnEllipse(const Rect& b, bool horizontal, bool forward, int32_t i, int32_t n)
{
    double t = 2.0 * i / n + 1.0;
    if (!horizontal)
        t += 0.5;
    if (!forward)
        t += 1.0;
    double angle = kHalfTurn * t;
    return Point(static_cast<int32_t>((std::cos(angle) / 2 + 0.5) * (b.right - b.left) + b.left),
        static_cast<int32_t>((std::sin(angle) / 2 + 0.5) * (b.bottom - b.top) + b.top));
}

void CCircleTask::Track(Point& current, Point previous, Point start, BitFlags modifiers)
{
    if (current == previous)
        return;
    if (!active) {
        horizontal = std::abs(current.h - start.h) >= std::abs(current.v - start.v);
        active = true;
        pane->SetFeedback(this);
    }
    box = EllipseBox(start, current, horizontal, modifiers.IsSet(kShiftBit));
    // The last ellipse may lie anywhere in the pane: the pane draws the page again beneath.
    pane->InvalidateView(false);
}

void CCircleTask::DrawFeedback(DisplayPort& port)
{
    ColorPaint none { Color(Color::kNoColor) };
    port.DrawOval(box, none, CShapeTool::OutlinePen(), 1);
}

void CCircleTask::End(Point& current, Point, Point start, BitFlags)
{
    if (active) {
        pane->ClearFeedback(this);
        pane->InvalidateView(false);
    }
    if (!active || !sprite.Valid()) {
        active = false;
        return;
    }
    forward = horizontal ? start.h < current.h : start.v < current.v;
    int16_t answer = kDefaultFrames;
    // A count below 1 could not be divided into a turn: it counts as a cancel.
    if (!KidDialogs::AskNumber(String("Create Circular Motion"), &answer) || answer < 1
        || int32_t(startFrame) + answer > CMovie::kMaxFrames) {
        active = false;
        return;
    }
    count = answer;
    kept = static_cast<int16_t>(std::min<int32_t>(spriteEnd - startFrame, count));
    oldPositions.clear();
    oldKeys.clear();
    for (int16_t i = 0; i < kept; ++i) {
        Point reference(0, 0);
        auto frame = static_cast<int16_t>(startFrame + i);
        sprite->GetFrameBounds(frame, nullptr, &reference);
        oldPositions.push_back(reference);
        oldKeys.push_back(sprite->IsKeyFrame(frame));
    }
    sprite->GetFullFrameBounds(startFrame, startRect);
    sprite->GetFrameBounds(startFrame, nullptr, &startReference);
    // The drag was in the pane; the motion is in the page.
    Point corner = pane->ToMovie(Point(box.left, box.top));
    box.Offset(corner.h - box.left, corner.v - box.top);
    Do();
    pane->AfterEdit(SmartPtr<Task>(this));
}

void CCircleTask::PlaceReference(int16_t frame, Point to, bool key)
{
    Rect rect(0, 0, 0, 0);
    Point reference(0, 0);
    sprite->GetFullFrameBounds(frame, rect);
    sprite->GetFrameBounds(frame, nullptr, &reference);
    if (rect.IsEmpty())
        rect = startRect, reference = startReference;
    rect.Offset(to.h - reference.h, to.v - reference.v);
    sprite->PlaceAtFrame(frame, &rect, nullptr);
    sprite->SetKeyFrame(frame, key);
    Announce(frame);
}

void CCircleTask::Announce(int16_t frame)
{
    if (CMovieGroup* group = pane->GetGroup())
        group->Changed(group, Rect(0, 0, 0, 0), frame);
}

void CCircleTask::Do()
{
    CMovieGroup* group = pane->GetGroup();
    if (!active || !sprite.Valid() || !group)
        return;
    int32_t last = int32_t(startFrame) + count;
    ProgressRange progress(static_cast<uint32_t>(count), String("Circular Motion"));
    if (movieFrames < last)
        group->InsertFrames(movieFrames, static_cast<int16_t>(last - movieFrames), true, false);
    if (spriteEnd < last)
        sprite->SetNumFrames(static_cast<int16_t>(last - sprite->StartFrame()));
    for (int32_t f = startFrame; f < last; ++f) {
        progress.Advance(1);
        Point p = PointOnEllipse(box, horizontal, forward, f - startFrame, count);
        PlaceReference(static_cast<int16_t>(f), p, true);
    }
}

void CCircleTask::Undo()
{
    CMovieGroup* group = pane->GetGroup();
    if (!active || !sprite.Valid() || !group)
        return;
    if (kept < count)
        sprite->DeleteFrames(spriteEnd, static_cast<int16_t>(count - kept));
    int32_t last = int32_t(startFrame) + count;
    if (movieFrames < last)
        group->DeleteFrames(movieFrames, static_cast<int16_t>(last - movieFrames));
    for (int16_t i = 0; i < kept; ++i)
        PlaceReference(static_cast<int16_t>(startFrame + i), oldPositions[size_t(i)], oldKeys[size_t(i)]);
}
