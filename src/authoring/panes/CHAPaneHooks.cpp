// The animation pane's services to the browser, its commands and the overview: stretching a run
// of frames, pages dropped as linked sprites, and the sound and link of a frame.
#include "authoring/panes/CHAPane.h"

#include "authoring/tasks/CScrollTask.h"
#include "authoring/tools/CTool.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "foundation/Clipboard.h"
#include "foundation/Exception.h"
#include "graphics/Image.h"
#include "graphics/Sound.h"
#include "ui/App.h"
#include "ui/ProgressRange.h"

namespace {

// The engine's title for its progress dialogs.
constexpr const char* kProgressTitle = "AAARRGGHHH";
// The kind the scroll task is made with.
constexpr int32_t kScrollKind = 3;
// A link that leads to another page and remembers the way back.
constexpr int32_t kPageLinkKind = 7;

// The first listed sprite when it shows in the frame, else none.
CSprite* FrameSprite(int16_t frame, const SmartList<CSprite>& sprites)
{
    CSprite* sprite = sprites.NumItems() > 0 ? sprites.Item(1) : nullptr;
    return sprite && sprite->ShowsInFrames(frame, 1) ? sprite : nullptr;
}

} // namespace

void CHAPane::StretchMotion(int16_t start, int16_t oldLength, int16_t newLength)
{
    if (start < 0 || oldLength <= 0 || newLength <= 0 || newLength == oldLength)
        return;
    // The run must stay numbered in 16 bits after it grows.
    if (int32_t(start) + std::max(oldLength, newLength) > INT16_MAX)
        return;
    SmartPtr<CMovieGroup> group = GetGroup();
    if (!group.Valid())
        return;
    auto last = static_cast<int16_t>(start + newLength - 1);
    {
        ProgressRange progress(2, String(kProgressTitle));
        progress.AdvanceWithText(String("Stretch"), 1);
        group->StretchFrames(start, oldLength, newLength);
        progress.AdvanceWithText(String("Interpolate"), 1);
        if (newLength > oldLength)
            group->Interpolate(SmartList<CSprite>(), start, last, 0);
        SelectFrames(start, last);
    }
    AfterEdit(SmartPtr<Task>());
}

bool CHAPane::AddLink(const SmartPtr<FileReference>& file, const SmartPtr<Image>& picture, App* app)
{
    if (!picture.Valid() || !file.Valid())
        return false;
    SmartPtr<CLink> link = new CLink;
    link->SetJumpMovie(new CJumpMovie(file, true));
    link->SetKind(kPageLinkKind);
    link->SetTarget(CPanePlay::GetPlayer().GetFrameTarget());
    MakeLinkedSprite(link, picture, app);
    // The object the child clicked before choosing the page takes the link at once, over the frames
    // a click with the link tool gives; it replaces the link the object had.
    return GiveSelection([&link](CSprite& sprite, int16_t first, int16_t count) {
        sprite.SetLink(first, count, link.Get());
    });
}

void CHAPane::MakeLinkedSprite(const SmartPtr<CLink>& link, const SmartPtr<Image>& picture, App* app)
{
    if (!picture.Valid() || !app)
        return;
    SmartPtr<CMoviePic> movie = new CMoviePic(new CResource(SmartPtr<Persistent>(picture.Get()), true), true);
    Rect bounds(0, 0, 0, 0);
    movie->GetBounds(bounds);
    if (movie->ToggleModeBit0(false))
        movie->ToggleModeBit0(true);
    SmartPtr<CSprite> sprite = new CSprite(0, movie.Get(), bounds);
    sprite->SetLink(0, sprite->NumFrames(), link.Get());
    SmartList<CSprite> list;
    list.Append(sprite);
    app->GetClipboard()->Put(list.Data());
}

void CHAPane::PlayFrameSound(const SmartPtr<CShow>& show, int16_t frame, const SmartList<CSprite>& sprites)
{
    CSprite* sprite = FrameSprite(frame, sprites);
    Sound* sound = sprite ? sprite->SoundAtFrame(frame) : show->GetMovie()->SoundAtFrame(frame);
    if (sound)
        sound->Play(true);
}

SmartPtr<CLink> CHAPane::FrameLink(const SmartPtr<CShow>& show, int16_t frame, const SmartList<CSprite>& sprites)
{
    CSprite* sprite = FrameSprite(frame, sprites);
    return sprite ? sprite->LinkAtFrame(frame) : show->GetMovie()->LinkAtFrame(frame);
}

void CHAPane::PressScroll(CTool& tool)
{
    SmartPtr<CScrollTask> task = new CScrollTask(this, kScrollKind);
    tool.PlayStartSound();
    // Dragging the whole picture is not carried out; the task stays as the undo step.
    Exception::Warn(kNotImplemented, PW_HERE);
    CTool::StopSound();
    AfterEdit(task.Get());
}
