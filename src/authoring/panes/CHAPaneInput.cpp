// Presses in the animation pane: which sprite a press takes, and the mouse task the current tool
// makes of it.
#include "authoring/panes/CHAPane.h"

#include "authoring/tasks/CCircleTask.h"
#include "authoring/tasks/CCropMoveTask.h"
#include "authoring/tasks/CCropScaleTask.h"
#include "authoring/tasks/CMoveTask.h"
#include "authoring/tasks/CRotateTask.h"
#include "authoring/tasks/CScaleTask.h"
#include "authoring/tools/CTool.h"
#include "engine/CMovieGroup.h"
#include "foundation/Exception.h"
#include "ui/App.h"
#include "ui/Window.h"

namespace {

// Tool numbers of the tasks made here.
constexpr int32_t kCropTool = 5;
constexpr int32_t kScaleTool = 15;
constexpr int32_t kCircleTool = 6;
constexpr int32_t kTextTool = 4;
constexpr int32_t kScrollTool = 8;
// The dropper's press in the animation pane is not carried out.
constexpr int32_t kDropperTool = 110;
// The link tools: go to the frame link's frame and play, the first after a confirmation that
// always agrees.
constexpr int32_t kLinkGoToTool = 12;
constexpr int32_t kPlayFromLinkTool = 13;

bool MovesOrScales(int32_t tool)
{
    return tool == 3 || tool == kScaleTool || tool == 17 || tool == 20 || tool == 21;
}

bool Rotates(int32_t tool)
{
    return tool == 7 || tool == 18;
}

} // namespace

void CHAPane::HitTest(Point p, int16_t& preferred, int16_t& top) const
{
    preferred = -1;
    top = -1;
    CMovieGroup* group = GetGroup();
    if (!group)
        return;
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    // A press takes the picture the child sees at the point: where a picture lets the page show
    // through its white, the press goes on to what lies beneath, so a painted layer over the whole
    // page never hides the pictures seen through it; and a selected picture that another covers
    // at the point gives way to it.
    for (int32_t index = int32_t(group->NumSprites()) - 1; index >= 0 && top < 0; --index) {
        if (group->GetSprite(static_cast<int16_t>(index))->ShowsAtPoint(frame, p))
            top = static_cast<int16_t>(index);
    }
    // The handles of the selected pictures show over everything: a press on one takes its picture.
    for (uint32_t item = selection.NumItems(); item >= 1 && preferred < 0; --item) {
        CSprite* sprite = selection.Item(item);
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &bounds, nullptr);
        if (!HitsHandle(p, bounds))
            continue;
        // A selected background covers the whole page: a press on a picture over it takes the
        // picture, so that dragging a picture never drags the page's background away instead.
        if (top >= 0 && group->GetSprite(top) != sprite && sprite->ToggleFlag2(false))
            continue;
        for (int32_t index = int32_t(group->NumSprites()) - 1; index >= 0; --index) {
            if (group->GetSprite(static_cast<int16_t>(index)) == sprite) {
                preferred = static_cast<int16_t>(index);
                break;
            }
        }
    }
    if (preferred < 0)
        preferred = top;
}

bool CHAPane::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    if (CPanePlay::MouseDown(h, v, modifiers, clicks, window))
        return true;
    CMovieGroup* group = GetGroup();
    if (!group)
        return true;
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    Point p = ToMovie(Point(h, v));
    int16_t preferred = -1;
    int16_t top = -1;
    HitTest(p, preferred, top);
    App* app = Window::GetApplication();
    SmartPtr<CTool> tool = CurrentTool();
    int32_t number = tool.Valid() ? tool->GetNumber() : -1;
    if (number == kScrollTool) {
        PressScroll(*tool.Get());
        return true;
    }
    if (number == kDropperTool) {
        Exception::Warn(kNotImplemented, PW_HERE);
        return true;
    }
    if (number == kLinkGoToTool || number == kPlayFromLinkTool) {
        PlayFromFrameLink();
        return true;
    }
    // A click of the text tool beside the text being written puts that text on the page first;
    // the click then starts a new text where it is, or opens the text it lies on.
    if (number == kTextTool && IsEditing()) {
        EndEdit(false);
        HitTest(p, preferred, top);
    }
    if (ToolClick(p, h, v, preferred, preferred < 0 ? nullptr : group->GetSprite(preferred)))
        return true;
    EndEdit(false);

    if (preferred < 0) {
        SetSelection(nullptr);
        if (number == kCircleTool)
            return true;
        if (selection.IsEmpty() && group->NumSprites() > 0) {
            if (tool.Valid())
                tool->PlayPendingSound();
        } else {
            TellSelectionClients();
        }
        return true;
    }

    bool altMode = tool.Valid() && tool->InAltMode();
    SmartPtr<CSprite> sprite = group->GetSprite(preferred);
    if (!selection.Contains(sprite.Get()))
        SelectSprite(preferred, false);
    DrawSelectionMarks();
    Rect bounds(0, 0, 0, 0);
    sprite->GetFrameBounds(frame, &bounds, nullptr);

    SmartPtr<CMoveTask> task;
    bool onHandle = HitsHandle(p, bounds);
    if (MovesOrScales(number)) {
        if (number == kScaleTool || onHandle) {
            task = new CScaleTask(this, preferred, altMode, 2);
        } else {
            sprite->PlaceAtFrame(frame, nullptr, &p);
            task = new CMoveTask(this, preferred, altMode, 1);
        }
    } else if (number == kCropTool) {
        if (onHandle) {
            task = new CCropScaleTask(this, preferred, altMode, 4);
        } else {
            sprite->PlaceAtFrame(frame, nullptr, &p);
            task = new CCropMoveTask(this, preferred, altMode, 4);
        }
    }
    SmartPtr<CMouseTask> run = task.Get();
    if (task.Valid()) {
        task->SetSelection(&selection);
    } else if (Rotates(number)) {
        int16_t first = 0;
        int16_t last = 0;
        GetFrameRange(first, last, false);
        run = new CRotateTask(this, group, sprite, frame, first, last);
    } else if (number == kCircleTool) {
        // The motion turns about the press point: the sprite's reference point goes there first,
        // so the first frame of the circle shows the picture where it was.
        sprite->PlaceAtFrame(frame, nullptr, &p);
        run = new CCircleTask(this, preferred);
    }
    if (!run.Valid()) {
        DrawSelectionMarks();
        return true;
    }
    tool->PlayStartSound();
    if (altMode)
        TellApplication(kAltModeCommand);
    RunMouseTask(app, run, Point(h, v), modifiers, clicks, window);
    if (currentFrame == frame)
        DrawSelectionMarks();
    return true;
}
