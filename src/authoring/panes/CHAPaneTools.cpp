// The tools whose press in the animation pane is a click rather than a drag (opening the picture
// or text editor, attaching the clipboard's sound or link to a sprite, playing from the frame's
// link), and the pane's keys.
#include "authoring/panes/CHAPane.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/ImportExport.h"
#include "authoring/tools/CTool.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "foundation/Clipboard.h"
#include "foundation/ListData.h"
#include "foundation/Utilities.h"
#include "graphics/Area.h"
#include "graphics/Sound.h"
#include "ui/App.h"
#include "ui/ClipTask.h"
#include "ui/EventSupport.h"
#include "ui/Task.h"
#include "ui/ViewPort.h"
#include "ui/Window.h"

namespace {

constexpr int32_t kTextTool = 4;
constexpr int32_t kPictureTool = 2;
// Any paint tool while no editor is open.
constexpr int32_t kPaintTools = 101;
constexpr int32_t kSoundLinkTool = 16;
constexpr int32_t kImportTool = 19;
// The text editor opened by a press: 70 pixels high, to 9 pixels short of the pane's right edge;
// moved to the left edge when fewer than twice the tool answer's 20 pixels would be left.
constexpr int32_t kTextHeight = 70;
constexpr int32_t kTextMargin = 9;
constexpr int32_t kTextMinimumWidth = 40;
// The mark round a sprite that took a sound or a link: grown by 7 pixels and kept 350 ms.
constexpr int32_t kFlashGrowth = 7;
constexpr int32_t kFlashPenWidth = 5;
constexpr uint32_t kFlashHold = 350;
constexpr int32_t kStoredLinkCommand = 21;

constexpr uint8_t kTab = 9;
constexpr uint8_t kEnter = 3;
constexpr uint8_t kReturn = 13;
constexpr uint8_t kEscape = 27;

bool Attaches(int32_t tool)
{
    return tool == 10 || tool == 14 || tool == kImportTool || tool == 22;
}

// Holds the thread until `tick` with the screen showing what was drawn meanwhile: looking at the
// queue, without taking anything from it, brings the drawing to the screen.
void HoldShown(uint32_t tick)
{
    MSG waiting;
    while (static_cast<int32_t>(tick - TickCount()) > 0)
        PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE);
}

} // namespace

bool CHAPane::ToolClick(Point p, int32_t h, int32_t v, int16_t index, const SmartPtr<CSprite>& given)
{
    SmartPtr<CTool> tool = CurrentTool();
    int32_t number = tool.Valid() ? tool->GetNumber() : -1;
    if (!IsEditing() && tool.Valid() && tool->IsPaintTool())
        number = kPaintTools;
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    SmartPtr<CSprite> sprite = given;
    Rect page(0, 0, 0, 0);
    if (CMovieGroup* group = GetGroup())
        group->GetBounds(page);

    if (number == 11 || number == 9) {
        EndEdit(false);
        SelectSprite(index, false);
        return true;
    }
    if (number == kTextTool) {
        if (IsEditing())
            return false;
        Rect rect(p.h, p.v, page.right - kTextMargin, p.v + kTextHeight);
        if (TrackRect(rect, p))
            index = -1;
        SelectSprite(index, false);
        if (rect.left + kTextMinimumWidth > rect.right)
            rect.left = page.left + kTextMargin;
        BeginEdit(index < 0 ? nullptr : sprite, rect, false, true, true, false);
        return true;
    }
    if (number == kPictureTool || number == kPaintTools) {
        Rect rect = page;
        if (TrackRect(rect, p))
            index = -1;
        SelectSprite(index, false);
        BeginEdit(index < 0 ? nullptr : sprite, rect, true, false, true, false);
        return true;
    }
    if (number == kSoundLinkTool) {
        SelectSprite(index, false);
        tool->PlayStartSound();
        SetSelectionMode(0);
        DoCommand(kStoredLinkCommand, 0);
        SetSelectionMode(3);
        return true;
    }
    if (!Attaches(number))
        return false;

    // The page's background is the page itself, as the hit test of the attach tools sees it: a
    // click on it puts the clipboard's object there instead of giving the whole page its link.
    if (sprite.Valid() && sprite->ToggleFlag2(false)) {
        sprite = nullptr;
        index = -1;
    }
    EndEdit(false);
    SelectSprite(index, false);
    tool->PlayStartSound();
    App* app = Window::GetApplication();
    SmartPtr<Clipboard> clipboard = app ? app->GetClipboard() : nullptr;
    if (sprite.Valid() && number != kImportTool) {
        uint32_t noted = TickCount();
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(CPanePlay::GetPlayer().GetFrame(), &bounds, nullptr);
        FlashRect(bounds);
        PasteOntoSprite(clipboard, first, static_cast<int16_t>(last - first + 1), sprite);
        AfterEdit(nullptr);
        HoldShown(noted + kFlashHold);
    } else if (clipboard.Valid()) {
        // The import ends with the pane's after-edit step itself.
        ImportObject(clipboard, this, h, v);
    }
    ResetToolsWindows();
    if (SmartPtr<CTool> now = CurrentTool(); now.Valid() && now->InAltMode())
        now->SetSoundPending(true);
    return true;
}

void CHAPane::PlayFromFrameLink()
{
    CPlayer& player = CPanePlay::GetPlayer();
    // Only looked up: an empty link made here would stay stored in the page.
    SmartPtr<CLink> link = player.GetFrameLink(true);
    SmartPtr<CFrameIndex> labels = GetShow().GetMovie()->GetFrameIndex();
    int16_t target = link.Valid() && labels.Valid() ? link->ResolveFrame(*labels.Get()) : int16_t(-1);
    if (target >= 0)
        ShowFrame(target);
    player.Start();
}

void CHAPane::FlashRect(const Rect& rect)
{
    Rect shown = ToPane(rect);
    Rect grown(shown.left - kFlashGrowth, shown.top - kFlashGrowth, shown.right + kFlashGrowth,
        shown.bottom + kFlashGrowth);
    {
        pw::ui::ViewPort port(GetDrawingDevice(), GetBounds());
        port.DrawRectangle(grown, Color(Color::kNoColor), Color(9), kFlashPenWidth);
    }
    // The pen straddles the rectangle's edges: all it covered is drawn again.
    Rect marked(grown.left - kFlashPenWidth, grown.top - kFlashPenWidth, grown.right + kFlashPenWidth,
        grown.bottom + kFlashPenWidth);
    ImageChanged(Area(marked), Area::EmptyArea());
}

void CHAPane::PasteOntoSprite(const SmartPtr<Clipboard>& clipboard, int16_t first, int16_t count,
    const SmartPtr<CSprite>& sprite)
{
    if (!sprite.Valid() || !clipboard.Valid())
        return;
    count = std::max<int16_t>(count, 1);
    SmartPtr<Smart> contents = clipboard->Contents();
    SmartPtr<Sound> sound = SmartCast<Sound>(contents.Get());
    SmartPtr<CLink> link = SmartCast<CLink>(contents.Get());
    SmartList<CSprite> pasted;
    if (SmartCast<ListData>(contents.Get()) && clipboard->PasteInto(pasted.Data()) && !pasted.IsEmpty()
        && pasted.Item(1)) {
        sound = pasted.Item(1)->SoundAtFrame(first);
        link = pasted.Item(1)->LinkAtFrame(first);
    }
    sprite->SetSound(first, count, sound.Get());
    sprite->SetLink(first, count, link.Get());
}

bool CHAPane::PasteOntoSelection(const SmartPtr<Clipboard>& clipboard)
{
    return GiveSelection([this, &clipboard](CSprite& sprite, int16_t first, int16_t count) {
        PasteOntoSprite(clipboard, first, count, &sprite);
    });
}

bool CHAPane::GiveSelection(const std::function<void(CSprite& sprite, int16_t first, int16_t count)>& give)
{
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    SmartList<CSprite> chosen = GetSelectedSprites();
    bool given = false;
    for (uint32_t index = 1; index <= chosen.NumItems(); ++index) {
        CSprite* sprite = chosen.Item(index);
        if (!sprite || sprite->ToggleFlag2(false))
            continue;
        give(*sprite, first, static_cast<int16_t>(last - first + 1));
        given = true;
    }
    if (given)
        AfterEdit(nullptr);
    return given;
}

bool CHAPane::KeyDown(uint8_t key, int32_t modifiers)
{
    if (View::KeyDown(key, modifiers))
        return true;
    CMovieGroup* group = GetGroup();
    CPlayer& player = CPanePlay::GetPlayer();
    if (key == kTab) {
        if (!group)
            return false;
        int16_t frame = player.GetFrame();
        int32_t below = int32_t(group->NumSprites()) - 1;
        if (!selection.IsEmpty()) {
            for (int32_t index = below; index >= 0; --index) {
                if (group->GetSprite(static_cast<int16_t>(index)) == selection.Item(1)) {
                    below = index - 1;
                    break;
                }
            }
        }
        int16_t next = -1;
        for (int32_t index = below; index >= 0 && next < 0; --index) {
            if (group->GetSprite(static_cast<int16_t>(index))->ShowsInFrames(frame, 1))
                next = static_cast<int16_t>(index);
        }
        SelectSprite(next, false);
        return true;
    }
    if (key == kEnter || key == kReturn) {
        if (IsPlaying())
            player.ActivateItem(-1);
        else
            EndEdit(false);
        return true;
    }
    // Escape ends the typing of a text: Return, which would end it, breaks its lines.
    if (key == kEscape && SelectedKind() == 2) {
        EndEdit(false);
        return true;
    }
    // Only the arrows themselves: the control characters 28 to 31 arrive without the key-press bit.
    if (key >= kLeftArrowKey && key <= kDownArrowKey && (modifiers & kKeyPressModifier) && !pw::authoring::gOverviewShown && group) {
        static constexpr Point kSteps[] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
        Point step = kSteps[key - kLeftArrowKey];
        int16_t first = 0;
        int16_t last = 0;
        GetFrameRange(first, last, false);
        for (uint32_t item = 1; item <= selection.NumItems(); ++item) {
            CSprite* sprite = selection.Item(item);
            for (int16_t f = first; f <= last; ++f) {
                if (!sprite->ShowsInFrames(f, 1))
                    continue;
                Rect bounds(0, 0, 0, 0);
                sprite->GetFrameBounds(f, &bounds, nullptr);
                bounds.Offset(step.h, step.v);
                sprite->PlaceAtFrame(f, &bounds, nullptr);
            }
        }
        for (int16_t f = first; f <= last; ++f)
            group->Changed(group, Rect(0, 0, 0, 0), f);
        AfterEdit(nullptr);
        return true;
    }
    if (key >= '0' && key <= '9') {
        player.ActivateItem(static_cast<int16_t>(key - '0'));
        return true;
    }
    // Delete removes the selected sprites as the Clear command does, as one step to undo.
    if (key == kDeleteKey && (modifiers & kKeyPressModifier)) {
        App* app = Window::GetApplication();
        if (app && app->CanRunViewTask(ClipTask::kClear))
            app->RunViewTask(ClipTask::kClear);
        return true;
    }
    return false;
}
