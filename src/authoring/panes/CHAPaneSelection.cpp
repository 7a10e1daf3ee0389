// The animation pane's two selections (a run of frames and a list of sprites), the handles that
// mark selected sprites, and following the player's frame.
#include "authoring/panes/CHAPane.h"

#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"

#include <algorithm>

namespace {

bool OverviewShown()
{
    return pw::authoring::gOverviewShown != 0;
}

// Adds frames before the sprite's start or after its end, each a copy of its nearest frame, so
// that it covers movie frames start .. start + count - 1.
void ExtendToFrames(CSprite& sprite, int16_t start, int16_t count)
{
    if (start < sprite.StartFrame()) {
        auto added = static_cast<int16_t>(sprite.StartFrame() - start);
        sprite.InsertFrames(sprite.StartFrame(), added, 3);
        sprite.SetStartFrame(start);
    }
    int32_t end = int32_t(start) + count;
    int32_t spriteEnd = int32_t(sprite.StartFrame()) + sprite.NumFrames();
    if (end > spriteEnd)
        sprite.InsertFrames(static_cast<int16_t>(spriteEnd), static_cast<int16_t>(end - spriteEnd), 3);
}

} // namespace

void CHAPane::SelectFrames(int16_t first, int16_t last)
{
    int16_t n = GetShow().GetMovie()->NumFrames();
    if (first < 0)
        first = rangeFirst;
    if (last < first - 1)
        last = rangeLast;
    if (last >= n)
        last = static_cast<int16_t>(n - 1);
    if (last < first) {
        if ((OverviewShown() || selection.IsEmpty()) && mode != 3)
            last = static_cast<int16_t>(first - 1);
        else if (first < n)
            last = first;
        else
            first = last;
    }
    if (!OverviewShown() && !selection.IsEmpty())
        FitRunToSelection(first, last);
    if (last < first)
        last = static_cast<int16_t>(first - 1);
    if (first == rangeFirst && last == rangeLast)
        return;
    EndEdit(false);
    rangeFirst = first;
    rangeLast = last;

    CPlayer& player = CPanePlay::GetPlayer();
    int16_t frame = FrameInSelection(player.GetFrame());
    movingPlayer = true;
    player.GoToFrame(frame);
    movingPlayer = false;
    if (player.GetFrame() != currentFrame) {
        currentFrame = player.GetFrame();
        InvalidateView(false);
    }

    if (mode == 2 && (last < n - 1 || first > 0))
        mode = 1;
    if (mode == 3 && last < n - 1 && first != last)
        mode = 1;
    if (mode == 0 && first < last)
        mode = 1;
    if (mode == 1 && first == last)
        mode = 0;
    TellSelectionClients();
}

// Narrows or widens the run to the frames where the selected sprites show, dropping a sprite that
// shows in none of them.
void CHAPane::FitRunToSelection(int16_t& first, int16_t& last)
{
    int16_t newFirst = last;
    int16_t newLast = first;
    for (uint32_t index = selection.NumItems(); index >= 1; --index) {
        CSprite* sprite = selection.Item(index);
        int16_t f = last;
        while (f >= first && !sprite->ShowsInFrames(f, 1))
            --f;
        if (f < first) {
            selection.Data()->DeleteItems(index, 1);
            continue;
        }
        newLast = std::max(newLast, f);
        f = first;
        while (!sprite->ShowsInFrames(f, 1))
            ++f;
        newFirst = std::min(newFirst, f);
    }
    first = newFirst;
    last = newLast;
}

int16_t CHAPane::FrameInSelection(int16_t frame) const
{
    int16_t n = GetShow().GetMovie()->NumFrames();
    if (rangeLast >= rangeFirst) {
        if (mode == 3 || frame < rangeFirst || frame > rangeLast)
            return rangeFirst;
        return frame;
    }
    return rangeFirst < n ? rangeFirst : static_cast<int16_t>(n - 1);
}

void CHAPane::SetSelectionMode(int32_t newMode)
{
    if (newMode == mode)
        return;
    mode = newMode;
    TellSelectionClients();
}

void CHAPane::SetSelection(const SmartPtr<CSprite>& given)
{
    SmartPtr<CSprite> sprite = given;
    if (sprite.Valid()) {
        int16_t first = 0;
        int16_t last = 0;
        GetFrameRange(first, last, false);
        last = std::max(last, first);
        if (!sprite->ShowsInFrames(first, static_cast<int16_t>(last - first + 1)))
            sprite = nullptr;
    }
    if (!sprite.Valid() && selection.IsEmpty())
        return;
    if (selection.NumItems() == 1 && selection.Item(1) == sprite.Get())
        return;
    EndEdit(false);
    SelectObject(nullptr, false);
    if (sprite.Valid())
        SelectObject(sprite, true);
    TellSelectionClients();
}

void CHAPane::SelectSprite(int16_t index, bool fit)
{
    CMovieGroup* group = GetGroup();
    if (!group || index >= int32_t(group->NumSprites()))
        return;
    SmartPtr<CSprite> sprite = index < 0 ? nullptr : group->GetSprite(index);
    SetSelection(sprite);
    if (!fit || !sprite.Valid() || (!selection.IsEmpty() && selection.Item(1) == sprite.Get()))
        return;
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    last = std::max(last, first);
    ExtendToFrames(*sprite.Get(), first, static_cast<int16_t>(last - first + 1));
    for (int16_t f = first; f <= last; ++f) {
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(f, &bounds, nullptr);
        group->Changed(group, bounds, f);
    }
    SetSelection(sprite);
}

void CHAPane::SelectObject(const SmartPtr<CSprite>& sprite, bool add)
{
    if (!add && !selection.IsEmpty() && (!sprite.Valid() || selection.Item(1) == sprite.Get()))
        InvalidateView(false);
    if (sprite.Valid()) {
        if (add) {
            selection.Append(sprite);
            DrawSelectionMarks();
        } else if (uint32_t index = selection.IndexOf(sprite.Get()); index != 0) {
            Rect bounds(0, 0, 0, 0);
            sprite->GetFrameBounds(CPanePlay::GetPlayer().GetFrame(), &bounds, nullptr);
            selection.Data()->DeleteItems(index, 1);
            RedrawMovieRect(bounds);
        }
        return;
    }
    DrawSelectionMarks();
    if (!selection.IsEmpty())
        selection.Data()->DeleteItems(1, selection.NumItems());
    CMovieGroup* group = GetGroup();
    if (add && group) {
        for (int32_t index = int32_t(group->NumSprites()) - 1; index >= 0; --index)
            selection.Append(group->GetSprite(static_cast<int16_t>(index)));
    }
    DrawSelectionMarks();
}

SmartList<CSprite> CHAPane::GetSelectedSprites() const
{
    return OverviewShown() ? SmartList<CSprite>() : selection;
}

// The handles lie inside each sprite's rectangle: redrawing the rectangles shows them, or takes
// them away when the pane no longer shows marks.
void CHAPane::DrawSelectionMarks()
{
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    for (uint32_t index = selection.NumItems(); index >= 1; --index) {
        Rect bounds(0, 0, 0, 0);
        selection.Item(index)->GetFrameBounds(frame, &bounds, nullptr);
        RedrawMovieRect(bounds);
    }
}

void CHAPane::DrawSelectionMarks(DisplayPort& port)
{
    if (IsPlaying() || IsEditing() || !IsActive())
        return;
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    for (uint32_t index = selection.NumItems(); index >= 1; --index) {
        CSprite* sprite = selection.Item(index);
        if (!sprite->ShowsInFrames(frame, 1))
            continue;
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &bounds, nullptr);
        DrawHandles(port, ToPane(bounds));
    }
}

namespace {

// The top-left handle, then the steps to the top-right, bottom-right and bottom-left ones.
void HandleSteps(const Rect& rect, Rect& square, Point (&steps)[3])
{
    Point size = CHAPane::kCornerHandleSize;
    square = Rect(rect.left, rect.top, rect.left + size.h, rect.top + size.v);
    int32_t width = rect.right - rect.left;
    int32_t height = rect.bottom - rect.top;
    steps[0] = Point(width - size.h, 0);
    steps[1] = Point(0, height - size.v);
    steps[2] = Point(size.h - width, 0);
}

} // namespace

// Black squares under a null pen: each covers 7 x 7 pixels from its corner inward.
void CHAPane::DrawHandles(DisplayPort& port, const Rect& rect)
{
    Rect square(0, 0, 0, 0);
    Point steps[3];
    HandleSteps(rect, square, steps);
    port.DrawRectangle(square, Color(1), Color(Color::kNoColor), 1);
    for (const Point& step : steps) {
        square.Offset(step.h, step.v);
        port.DrawRectangle(square, Color(1), Color(Color::kNoColor), 1);
    }
}

bool CHAPane::HitsHandle(Point p, const Rect& rect)
{
    if (!rect.Contains(p.h, p.v))
        return false;
    Rect square(0, 0, 0, 0);
    Point steps[3];
    HandleSteps(rect, square, steps);
    if (square.Contains(p.h, p.v))
        return true;
    for (const Point& step : steps) {
        square.Offset(step.h, step.v);
        if (square.Contains(p.h, p.v))
            return true;
    }
    return false;
}

void CHAPane::ToggleSelectionClient(pw::authoring::SelectionClient* client)
{
    ToggleMember(selectionClients, client);
}

void CHAPane::TellSelectionClients()
{
    for (pw::authoring::SelectionClient* client : std::vector(selectionClients))
        client->SelectionChanged(this);
}

// Our player draws only into its own image, so the pane repaints the shown frame while it plays
// as well as while it is stopped.
void CHAPane::FollowPlayerFrame()
{
    if (movingPlayer)
        return;
    CPlayer& player = CPanePlay::GetPlayer();
    if (IsPlaying())
        TellEditClients();
    InvalidateView(false);
    int16_t frame = player.GetFrame();
    if (frame == currentFrame)
        return;
    EndEdit(false);
    currentFrame = frame;
    if (FrameInSelection(frame) != frame)
        SelectFrames(frame, frame);
    else
        TellSelectionClients();
}

void CHAPane::RedrawSelection()
{
    if (IsPlaying())
        return;
    if (flags & kConstructionFlag) {
        DoCommand(4, 0);
        return;
    }
    InvalidateView(false);
    TellEditClients();
    TellSelectionClients();
}
