// Editing a sprite's picture or text in place: the pane opens the cel movie's editing view over
// the sprite (or over a new rectangle, or the whole pane), and stores the result back into the
// sprite, or into a new sprite for new work, when editing ends.
#include "authoring/panes/CHAPane.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/panes/MovieEditors.h"
#include "authoring/tools/CTool.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "ui/StyledText.h"
#include "ui/Task.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

namespace {

constexpr const char* kBackgroundName = "Background";

} // namespace

int32_t CHAPane::NewPictureIndex(const CMovieGroup& group, const CSprite* over)
{
    int32_t index = over ? group.IndexOf(over) : -1;
    if (index >= 0)
        return index + 1;
    // The page's background and what the child painted before, at the back of the page, are the
    // page the child paints on; the pictures and texts placed on it stay in front of the paint, and
    // so does a copy of paint pasted in front of them.
    int32_t place = 0;
    while (place < int32_t(group.NumSprites())) {
        CSprite* sprite = group.GetSprite(static_cast<int16_t>(place));
        if (!sprite || !(IsPaint(*sprite) || sprite->ToggleFlag2(false)))
            break;
        ++place;
    }
    return place;
}

// Paint is what the picture editor made as new work on the page, marked on its picture movie when
// the editor began it (copies keep the mark). Pictures placed from the tabs, links and buttons
// are never paint, named or not.
bool CHAPane::IsPaint(const CSprite& sprite)
{
    auto* cels = SmartCast<CMoviePic>(sprite.GetMovie().Get());
    return cels && cels->IsPainted();
}

int32_t CHAPane::SelectedKind() const
{
    if (SmartCast<CMoviePic>(edited.Get()))
        return 1;
    if (SmartCast<CMovieText>(edited.Get()))
        return 2;
    return 0;
}

void CHAPane::Edit(int32_t kind, bool allowWhole)
{
    if (kind == 0) {
        EndEdit(false);
        return;
    }
    // Painting goes on over the whole page: the picture selected on the page (the one painted last,
    // cut to what was painted) is not opened again, or a press beside it would reach no picture.
    if (kind == 1 && allowWhole && !IsEditing())
        SelectObject(nullptr, false);
    BeginEdit(nullptr, Rect(0, 0, 0, 0), kind == 1, kind == 2, allowWhole, false);
}

void CHAPane::StoreEdit()
{
    if (SelectedKind() != 1) {
        EndEdit(false);
        return;
    }
    // Nothing painted yet: nothing to store, and the editor stays as it is.
    if (auto* painter = SmartCast<CEditPane>(editView.Get()); painter && !painter->Changed(false))
        return;
    // The picture goes onto the page as Return puts it there, but quietly: painting goes on at
    // once, so the tools window keeps its paint tools. A picture being repainted opens again; new
    // work goes on in a new picture over the whole page.
    SmartPtr<CSprite> painted = selection.IsEmpty() ? nullptr : SmartPtr<CSprite>(selection.Item(1));
    EndEdit(true);
    SelectObject(nullptr, false);
    BeginEdit(painted, Rect(0, 0, 0, 0), true, false, true, false);
}

void CHAPane::BeginEdit(const SmartPtr<CSprite>& given, Rect rect, bool picture, bool text, bool allowWhole, bool)
{
    if (!given.Valid() && rect.IsEmpty() && IsEditing())
        return;
    EndEdit(false);
    DoCommand(kStopCommand, 0);
    CMovieGroup* group = GetGroup();
    if (!group)
        return;
    SmartPtr<CSprite> sprite = given;
    if (!sprite.Valid() && rect.IsEmpty() && !selection.IsEmpty())
        sprite = selection.Item(1);
    if (sprite.Valid()) {
        CMovie* cels = sprite->GetMovie().Get();
        if ((picture && !SmartCast<CMoviePic>(cels)) || (text && !SmartCast<CMovieText>(cels)))
            sprite = nullptr;
    }
    int16_t frame = CPanePlay::GetPlayer().GetFrame();
    if (sprite.Valid() && sprite->ShowsInFrames(frame, 1)) {
        SelectObject(nullptr, false);
        SelectObject(sprite, true);
    } else {
        sprite = nullptr;
    }
    bool whole = false;
    if (!sprite.Valid()) {
        if (rect.IsEmpty()) {
            if (!allowWhole)
                return;
            Rect bounds(0, 0, 0, 0);
            group->GetBounds(bounds);
            rect = bounds;
            whole = true;
        }
        SelectObject(nullptr, false);
        if (text) {
            SmartPtr<CTool> tool = CurrentTool();
            CheckNotNull(tool.Get(), PW_HERE);
            tool->SetSoundPending(false);
            SmartPtr<StyledText> typed = new StyledText(String(""), pw::authoring::NewTextStyle(*tool.Get()));
            SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(typed.Get()), true);
            edited = new CMovieText(resource, rect, true);
        } else {
            edited = new CMoviePic(nullptr, true);
            edited->MarkPainted();
            paintedOver = given;
        }
        edited->BeginEditing(0, 0, 1, 0, this, rect, nullptr, whole, text ? 0 : 1, 1, 1, 0);
    } else {
        int16_t first = 0;
        int16_t last = 0;
        GetFrameRange(first, last, false);
        int16_t cel = sprite->CelForFrame(frame);
        auto relFirst = static_cast<int16_t>(first - sprite->StartFrame());
        auto count = static_cast<int16_t>(std::max(last - first + 1, 1));
        auto* cels = SmartCast<CMovieRes>(sprite->GetMovie().Get());
        if (!cels)
            AssertionFailed("CAST_TEST(editor,CMovieRes,movie)", PW_HERE);
        if (!cels->CanEditRun(relFirst, count, sprite->NumFrames())) {
            relFirst = cel;
            count = 1;
        }
        DrawSelectionMarks();
        edited = cels;
        sprite->GetFrameBounds(frame, &rect, nullptr);
        edited->BeginEditing(cel, relFirst, count, sprite->NumFrames(), this, rect, sprite->XformAtFrame(frame),
            edited->ToggleModeBit0(false), false, 1, 0, 0);
    }
    editView = edited->GetEditView();
    if (editView.Valid()) {
        AddChild(editView);
        editView->InvalidateView(false);
    }
    AfterEdit(nullptr);
}

void CHAPane::EndEdit(bool quiet)
{
    CMovieGroup* group = GetGroup();
    if (!IsEditing() || !group)
        return;
    SmartPtr<CMovieRes> object = edited;
    edited = nullptr;
    SmartPtr<CSprite> beneath = paintedOver;
    paintedOver = nullptr;
    int16_t first = 0;
    int16_t last = 0;
    GetFrameRange(first, last, false);
    bool noSelection = selection.IsEmpty();
    Rect rect(0, 0, 0, 0);
    if (object->EndEditing(rect, noSelection)) {
        if (noSelection && !rect.IsEmpty()) {
            SmartPtr<CSprite> sprite = new CSprite(first, object.Get(), rect);
            sprite->SetNumFrames(static_cast<int16_t>(std::max(0, last - first) + 1));
            Rect page(0, 0, 0, 0);
            group->GetBounds(page);
            // A picture painted over the whole page keeps its white see-through, and goes just in
            // front of what it was begun on (the page's background for the sky): the pictures in
            // front of that stay in front, moving ones too, as they showed while painting.
            if (rect == page)
                sprite->SetName(new String(kBackgroundName));
            int32_t place = NewPictureIndex(*group, beneath.Get());
            int16_t index = group->AddSprite(sprite, false);
            if (index >= 0) {
                CSprite* added = group->GetSprite(index);
                for (int32_t count = index - place; count > 0; --count)
                    group->RaiseSprite(group->GetSprite(static_cast<int16_t>(place)), -1);
                index = group->IndexOf(added);
            }
            SelectObject(nullptr, false);
            if (index >= 0)
                SelectObject(group->GetSprite(index), true);
        } else if (rect.IsEmpty()) {
            Clear();
        } else {
            selection.Item(1)->RefitItem(CPanePlay::GetPlayer().GetFrame(), rect, first,
                static_cast<int16_t>(last - first + 1));
        }
    }
    if (editView.Valid()) {
        if (auto* painter = SmartCast<CPixPane>(editView.Get()))
            painter->SetPage(nullptr);
        RemoveChild(editView);
        editView = nullptr;
        InvalidateView(false);
    }
    if (SmartPtr<WindowFrame> frame = GetFrame(); frame.Valid() && frame->GetWindow())
        frame->GetWindow()->ForgetUndo();
    if (!quiet)
        TellEditClients();
    AfterEdit(nullptr);
}
