// The animation pane's numbered commands: editing the frames and the sprite order, selecting,
// playing and stepping, each with its status (0 enabled, 1 checked, 3 disabled).
#include "authoring/panes/CHAPane.h"

#include "authoring/panes/ImportExport.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "engine/CFrameIndex.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "foundation/Exception.h"
#include "ui/ProgressRange.h"
#include "ui/Task.h"

#include <algorithm>

namespace pw::authoring {

namespace {

PaneCommandHooks& Hooks()
{
    static PaneCommandHooks hooks;
    return hooks;
}

} // namespace

void SetPaneCommandHooks(const PaneCommandHooks& hooks)
{
    Hooks() = hooks;
}

const PaneCommandHooks& GetPaneCommandHooks()
{
    return Hooks();
}

} // namespace pw::authoring

namespace {

enum : int32_t {
    kEndEditCommand = 7,
    kInsertFrames = 2001,
    kSelectAllToClipboard = 2002,
    kSelectAllFrames = 2003,
    kSelectAllSprites = 2004,
    kExport = 2010,
    kImport = 2011,
    kCelMovieCommand = 2022,
    kBringForward = 2026,
    kSendBackward = 2027,
    kPlay = pw::authoring::ToolsWindowPane::kPlayCommand,
    kStop = pw::authoring::ToolsWindowPane::kStopCommand,
    kAltMode = pw::authoring::ToolsWindowPane::kAltModeCommand,
    kBack = 2034,
    kCornerBox = 2040,
    kLoop = 2042,
    kSpeed = 2043,
    kRefresh = 2044,
    kAccelerate = 2046,
    kFrameMarkCommand = 2072,
    kCopyLastFrame = 2073,
    kStretch = 2074,
    kFirstFrame = 3010,
    kLastFrame = 3011,
    kPreviousFrame = 3012,
    kNextFrame = 3013,
};

// Negative command numbers name an object of the page: kind in the high half, index in the low.
constexpr int32_t kFrameMarkKind = 21;
// Bit 1 of the modifiers moves a sprite past any sprite, not only those in the current frame.
constexpr int32_t kAnyFrameBit = 0x02;
// The corner box's area at the pane's top-left corner.
constexpr Rect kCornerBoxArea { 0, 0, 108, 33 };
// The engine's progress title for copying the last frame (its text lookup gives it for any number).
constexpr const char* kCopyLastFrameTitle = "AAARRGGHHH";

bool AskNumber(const char* title, int16_t& value)
{
    const auto& ask = pw::authoring::GetPaneCommandHooks().askNumber;
    return ask ? ask(title, value) : true;
}

// The clipboard commands the pane leaves unfinished.
void ClipboardStub()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    Exception::Warn(kNotImplemented, PW_HERE);
}

// Each selected sprite moves one place in the group's order, front to back for 2026 (so that the
// selected sprites keep their order among themselves) and back to front for 2027.
void ChangeOrder(CMovieGroup& group, const SmartList<CSprite>& selection, bool forward, int16_t frame)
{
    uint32_t n = selection.NumItems();
    for (uint32_t i = 1; i <= n; ++i) {
        CSprite* sprite = selection.Item(forward ? n + 1 - i : i);
        if (forward)
            group.RaiseSprite(sprite, frame);
        else
            group.LowerSprite(sprite, frame);
    }
}

int32_t OrderStatus(CMovieGroup& group, const SmartList<CSprite>& selection, bool forward)
{
    if (selection.IsEmpty() || group.NumSprites() <= 1)
        return NumberCommandHandler::kDisabled;
    auto end = static_cast<int16_t>(forward ? group.NumSprites() - 1 : 0);
    return group.GetSprite(end) == selection.Item(1) ? NumberCommandHandler::kDisabled
                                                       : NumberCommandHandler::kEnabled;
}

// Every frame of first .. last - 1 shows the sprites as frame last places them (same rectangle
// and turn, hidden where they are hidden there); the movie keeps its length.
void CopyLastFrame(CMovieGroup& group, int16_t first, int16_t last)
{
    ProgressRange progress(static_cast<uint32_t>(std::max(0, last - first)), String(kCopyLastFrameTitle));
    for (int16_t f = first; f < last; ++f) {
        progress.Advance(1);
        for (int16_t i = 0; i < int16_t(group.NumSprites()); ++i) {
            CSprite* sprite = group.GetSprite(i);
            if (!sprite->ShowsInFrames(last, 1)) {
                sprite->HideFrames(f, 1);
                continue;
            }
            Rect rect(0, 0, 0, 0);
            int16_t angle = 0;
            sprite->GetFullFrameBounds(last, rect);
            sprite->RotationAtFrame(last, angle);
            sprite->PlaceAtFrame(f, &rect, nullptr);
            sprite->RotateAtFrame(f, angle);
        }
    }
    group.Changed(&group, Rect(0, 0, 0, 0), -1);
}

} // namespace

void CHAPane::DoCommand(int32_t number, int32_t argument)
{
    CMovieGroup* group = GetGroup();
    if (!group) {
        CPanePlay::DoCommand(number, argument);
        return;
    }
    CPlayer& player = CPanePlay::GetPlayer();
    int16_t frames = group->NumFrames();
    SmartList<CSprite> selected = GetSelectedSprites();
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    if (number != kBack)
        player.Stop();

    if (number < 0) {
        int32_t object = -number;
        if ((object >> 16) == kFrameMarkKind) {
            CJumpFrame* mark = GetShow().GetMovie()->GetFrameIndex()->GetEntry(uint32_t(object & 0xFFFF));
            if (mark && mark->GetFrame() != -1)
                SelectFrames(mark->GetFrame(), mark->GetFrame());
            return;
        }
    }

    switch (number) {
    case kEndEditCommand:
        if (IsEditing())
            EndEdit(false);
        else
            CPanePlay::DoCommand(number, argument);
        return;
    case 16:
        return;
    case 18:
    case 19:
    case 20:
    case 21:
        ClipboardStub();
        return;
    case kInsertFrames: {
        int16_t count = 1;
        if (!AskNumber("Insert Frames", count) || !group->InsertFrames(first, count, true, false))
            return;
        SelectFrames(first, static_cast<int16_t>(first + count - 1));
        AfterEdit(nullptr);
        return;
    }
    case kSelectAllToClipboard:
        SelectObject(nullptr, true);
        ClipboardStub();
        return;
    case kSelectAllFrames:
        SetSelectionMode(1);
        SelectFrames(0, static_cast<int16_t>(frames - 1));
        return;
    case kSelectAllSprites:
        SelectObject(nullptr, true);
        return;
    case 2005:
        SelectFrames(0, static_cast<int16_t>(frames - 1));
        ClipboardStub();
        return;
    case 2006:
        SelectSprite(-1, false);
        ClipboardStub();
        return;
    case kExport:
        if (!selected.IsEmpty()) {
            first = 0;
            last = static_cast<int16_t>(frames - 1);
        }
        SelectFrames(first, last);
        ImportStubB(nullptr);
        SelectFrames(first, last);
        return;
    case kImport:
        ImportStubA(&player);
        return;
    case 2013:
        if (!pw::authoring::gOverviewShown && selected.IsEmpty()) {
            SetSelection(group->TopSpriteInFrame(currentFrame));
        }
        ClipboardStub();
        return;
    case kBringForward:
    case kSendBackward:
        if (selected.IsEmpty())
            return;
        ChangeOrder(*group, selected, number == kBringForward, (argument & kAnyFrameBit) ? -1 : currentFrame);
        TellSelectionClients();
        AfterEdit(nullptr);
        return;
    case kPlay:
        // A choice held for the next press belongs to the page as it was edited, not to a press on
        // the playing page or after it.
        PutDownHeldChoice();
        if (player.GetFrame() >= frames - 1)
            player.GoToFrame(0);
        SelectSprite(-1, false);
        if (!player.Start()) {
            TellApplication(kStop);
            return;
        }
        TellApplication(kPlay);
        TellSelectionClients();
        return;
    case kStop:
        // Playback stopped above; the application's controls follow.
        TellApplication(kStop);
        return;
    case kAltMode:
        if (!(flags & kConstructionFlag))
            TellApplication(kAltMode);
        return;
    case kBack:
        player.GoBack();
        return;
    case kCornerBox:
        flags ^= kCornerBoxShown;
        RedrawMovieRect(kCornerBoxArea);
        return;
    case kLoop:
        GetShow().ToggleForward(true);
        AfterEdit(nullptr);
        return;
    case kSpeed:
        if (const auto& speed = pw::authoring::GetPaneCommandHooks().speedDialog)
            speed(GetShow());
        return;
    case kRefresh:
        Exception::Warn(kNotImplemented, PW_HERE);
        InvalidateView(false);
        AfterEdit(nullptr);
        return;
    case kAccelerate:
        player.Accelerate();
        return;
    case kCopyLastFrame:
        CopyLastFrame(*group, first, last);
        AfterEdit(nullptr);
        return;
    case kStretch: {
        auto oldLength = static_cast<int16_t>(last - first + 1);
        int16_t newLength = oldLength;
        if (!AskNumber("Stretch Motion", newLength) || newLength == oldLength)
            return;
        if (const auto& stretch = pw::authoring::GetPaneCommandHooks().stretchMotion)
            stretch(*this, first, oldLength, newLength);
        return;
    }
    case kFirstFrame:
    case kLastFrame:
        TellApplication(kStop);
        ShowFrame(number == kFirstFrame ? 0 : static_cast<int16_t>(frames - 1));
        return;
    case kPreviousFrame:
    case kNextFrame:
        TellApplication(kStop);
        StepFrame(number == kNextFrame ? 1 : -1);
        return;
    default:
        CPanePlay::DoCommand(number, argument);
    }
}

void CHAPane::ShowFrame(int16_t frame)
{
    CPanePlay::GetPlayer().GoToFrame(frame);
    InvalidateView(false);
}

// While a sprite is edited in place it follows the step and its editor opens again at the new
// frame, and stepping past the end lengthens the movie; otherwise the step stops at either end.
void CHAPane::StepFrame(int16_t delta)
{
    int16_t frames = GetShow().GetMovie()->NumFrames();
    auto target = static_cast<int16_t>(CPanePlay::GetPlayer().GetFrame() + delta);
    bool editing = IsEditing();
    bool textEditing = editing && SelectedKind() == 2;
    if (target < 0 || (target >= frames && !editing))
        return;
    SmartPtr<CSprite> sprite;
    if (editing) {
        EndEdit(true);
        SmartList<CSprite> selected = GetSelectedSprites();
        sprite = selected.IsEmpty() ? nullptr : selected.Item(1);
        if (!sprite.Valid()) {
            TellEditClients();
            editing = false;
        } else if (!sprite->ShowsInFrames(target, 1)) {
            Rect rect(0, 0, 0, 0);
            sprite->GetFrameBounds(currentFrame, &rect, nullptr);
            sprite->PlaceAtFrame(target, &rect, nullptr);
        }
    }
    ShowFrame(target);
    if (editing)
        BeginEdit(sprite, Rect(0, 0, 0, 0), false, textEditing, true, true);
}

int32_t CHAPane::GetCommandStatus(int32_t number)
{
    CMovieGroup* group = GetGroup();
    if (!group)
        return kDisabled;
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    auto enabledIf = [](bool condition) { return condition ? kEnabled : kDisabled; };
    auto checkedIf = [](bool condition) { return condition ? kChecked : kEnabled; };
    switch (number) {
    case kInsertFrames:
    case kSelectAllSprites:
    case kExport:
    case kImport:
    case kAltMode:
    case kBack:
    case kSpeed:
    case kAccelerate:
        return kEnabled;
    case kSelectAllToClipboard:
    case kCopyLastFrame:
    case kStretch:
        return enabledIf(first <= last);
    case kSelectAllFrames:
        return enabledIf(!pw::authoring::gOverviewShown);
    case kCelMovieCommand: {
        SmartList<CSprite> selected = GetSelectedSprites();
        return enabledIf(!selected.IsEmpty() && selected.Item(1)->GetMovie().Valid());
    }
    case kBringForward:
    case kSendBackward:
        return OrderStatus(*group, GetSelectedSprites(), number == kBringForward);
    case kStop:
        return enabledIf(IsPlaying());
    case kPlay:
    case kFirstFrame:
    case kLastFrame:
    case kPreviousFrame:
    case kNextFrame:
        return enabledIf(!IsPlaying());
    case kCornerBox:
        return checkedIf(flags & kCornerBoxShown);
    case kLoop:
        return checkedIf(GetShow().ToggleForward(false));
    case kRefresh:
        return enabledIf(!IsEditing());
    case kFrameMarkCommand:
        return enabledIf(group->GetFrameIndex()->NumEntries() > 0);
    default:
        return kDisabled;
    }
}
