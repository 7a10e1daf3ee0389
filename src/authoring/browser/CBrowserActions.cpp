// What a click on a browser entry does: the entry's file onto the page, linked, opened or copied.
#include "authoring/browser/CBrowser.h"

#include "authoring/browser/SolidImage.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/ImportExport.h"
#include "authoring/resources/KidResources.h"
#include "engine/CHAApp.h"
#include "engine/CMovieGroup.h"
#include "engine/CPanePlay.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"
#include "foundation/Scribe.h"
#include "graphics/Image.h"
#include "graphics/Sound.h"

namespace {

constexpr int32_t kCannotLinkMessage = 3;
const char* const kBackgroundName = "__Background";
const char* const kSoundName = "__Sound";

SmartPtr<CHAPane> ActivePane(CHAApp& app)
{
    return SmartPtr<CHAPane>(SmartCast<CHAPane>(app.GetActivePane().Get()));
}

// The first sprite of the list on the clipboard, or null.
CSprite* ClipboardSprite(CHAApp& app)
{
    auto* list = SmartCast<ListData>(app.GetClipboard()->Contents().Get());
    if (!list || list->NumItems() == 0)
        return nullptr;
    return SmartCast<CSprite>(list->GetItem(1));
}

// The imported sound sprite's sound is heard once; a sprite without one gets a recording. False
// when there is no sound sprite or nothing was recorded: then nothing is pasted.
bool PrepareSound(CHAApp& app, CSprite* sprite)
{
    if (!sprite)
        return false;
    if (Sound* sound = sprite->SoundAtFrame(0)) {
        sound->Play(true);
        return true;
    }
    SmartPtr<Sound> recorded = Sound::Record(app);
    if (!recorded.Valid())
        return false;
    sprite->SetSound(0, 1, recorded.Get());
    return true;
}

// Hides the page's older sprites of the name over the frames the new one will take: from the
// current frame to the end for a background, the current frame alone for a sound.
void ClearOlder(CHAPane& pane, CMovieGroup& group, const String& name, bool asSound)
{
    int16_t first = 0;
    int16_t last = 0;
    pane.GetFrameRange(first, last, false);
    pane.SelectFrames(first, asSound ? first : int16_t(group.NumFrames() - 1));
    pane.GetFrameRange(first, last, false);
    for (int32_t i = int32_t(group.NumSprites()) - 1; i >= 0; --i) {
        CSprite* sprite = group.GetSprite(int16_t(i));
        SmartPtr<String> spriteName = sprite ? sprite->GetName() : nullptr;
        if (!spriteName.Valid() || spriteName->Length() == 0 || !(*spriteName.Get() == name))
            continue;
        if (asSound && !sprite->ShowsInFrames(first, 1))
            continue;
        sprite->HideFrames(first, int16_t(last - first + 1));
    }
}

// The new background is drawn as a background, stays in place when the page plays, lies behind
// the page's pictures, and is the group's selected sprite.
void SettleBackground(CMovieGroup& group)
{
    SmartPtr<CSprite> background = group.FindSpriteByName(String(kBackgroundName));
    if (!background.Valid())
        return;
    if (!background->ToggleFlag2(false))
        background->ToggleFlag2(true);
    if (SmartPtr<CMovie> cel = background->GetMovie(); cel.Valid() && cel->ToggleModeBit0(false))
        cel->ToggleModeBit0(true);
    // Sent to the back over every frame, as the send-backward command with its all-frames bit does;
    // an older background, left in the frames before this one, keeps the very back.
    group.LowerSprite(background.Get(), -1);
    group.SelectSprites(background, -1);
}

// Stops the page's player when the last handle on the show goes.
class ShowCloser {
public:
    explicit ShowCloser(CShow* show)
        : show(show)
    {
    }
    ~ShowCloser()
    {
        if (show.Valid())
            show->Close();
    }
    ShowCloser(const ShowCloser&) = delete;
    ShowCloser& operator=(const ShowCloser&) = delete;

private:
    SmartPtr<CShow> show;
};

} // namespace

bool CBrowser::ImportFile(const SmartPtr<FileReference>& file, CHAApp& app, bool asBackground, bool asSound)
{
    SmartPtr<String> name;
    if (asBackground)
        name = new String(kBackgroundName);
    else if (asSound)
        name = new String(kSoundName);
    SmartPtr<CHAPane> pane = ActivePane(app);
    CMovieGroup* group = pane.Valid() ? pane->GetGroup() : nullptr;
    if ((asBackground || asSound) && !group)
        return false;
    try {
        if (!ImportToClipboard(app, file, name))
            return false;
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        return false;
    }

    Point drop(0, 0);
    Rect page(0, 0, 0, 0);
    if (group)
        group->GetBounds(page);
    if (asSound) {
        CSprite* sprite = ClipboardSprite(app);
        Rect size(0, 0, 0, 0);
        if (sprite)
            sprite->GetFrameBounds(0, &size, nullptr);
        asSound = PrepareSound(app, sprite);
        Point extent = size.Size();
        drop = Point(page.right - extent.h / 2 - 4, page.top + extent.v / 2 + 4);
    }
    if (asBackground)
        drop = page.Center();
    if ((asBackground || asSound) && group)
        ClearOlder(*pane.Get(), *group, *name.Get(), asSound);
    if (pane.Valid())
        pane->SelectSprite(-1, false);
    if (!asBackground && !asSound)
        return true;
    Point at = pane->ToPane(drop);
    ImportObject(app.GetClipboard(), pane.Get(), at.h, at.v);
    if (asBackground) {
        SettleBackground(*group);
        pane->SelectSprite(-1, false);
    }
    return true;
}

CBrowser::Linked CBrowser::MakeLink(const SmartPtr<FileReference>& file, CHAApp& app, Point cellSize)
{
    SmartPtr<CHAPane> pane = ActivePane(app);
    if (!pane.Valid())
        return Linked::kNothing;
    SmartPtr<FileReference> target = file;
    SmartPtr<Image> image;
    if (!file.Valid()) {
        target = CreatePage(file, app);
        if (!target.Valid())
            return Linked::kNothing;
        image = new SolidImage(Rect(0, 0, cellSize.h, cellSize.v), Color(0));
    } else {
        image = CachedPreview(*file.Get());
        if (!image.Valid()) {
            image = BuildPreview(file, cellSize);
            if (!image.Valid()) {
                char text[kMessageSize];
                KidResources::GetString(text, kCannotLinkMessage);
                Alert(Alert::kExclamation, Alert::kOk, text);
                return Linked::kNothing;
            }
            KeepPreview(*file.Get(), image);
        }
    }
    SmartPtr<Image> button = Fitted(*image.Get(), Point(cellSize.h + 3, cellSize.v + 3), true);
    if (!button.Valid())
        return Linked::kNothing;
    return pane->AddLink(target, button, &app) ? Linked::kOnSelection : Linked::kOnClipboard;
}

SmartPtr<FileReference> CBrowser::CreatePage(const SmartPtr<FileReference>& file, CHAApp& app)
{
    if (file.Valid())
        return file;
    SmartPtr<CShow> show = app.MakeModel();
    ShowCloser closer(show.Get());
    // Named as a further page: the plain default name is the home page's, which the page the
    // child is making (saved or not) keeps.
    SmartPtr<FileReference> made = app.ChooseFile(5);
    if (!made.Valid())
        return made;
    SmartPtr<Scribe> scribe = app.OpenScribe(made, 3);
    if (!scribe.Valid())
        return SmartPtr<FileReference>();
    scribe->Write(SmartPtr<Smart>(show.Get()));
    return made;
}

void CBrowser::OpenPage(const SmartPtr<FileReference>& file, CHAApp& app, bool readOnly)
{
    SmartPtr<FileReference> page = CreatePage(file, app);
    if (page.Valid())
        app.OpenDocument(page, false, readOnly);
}

CBrowser::Linked CBrowser::CopyHotlink(const SmartPtr<FileReference>& file, CHAApp& app)
{
    SmartPtr<Smart> root = app.ReadQuietly(file);
    auto* show = SmartCast<CShow>(root.Get());
    ShowCloser closer(show);
    auto* group = show ? SmartCast<CMovieGroup>(show->GetMovie().Get()) : nullptr;
    if (!group)
        return Linked::kNothing;
    SmartPtr<CSprite> linked;
    for (int32_t i = int32_t(group->NumSprites()) - 1; i >= 0 && !linked.Valid(); --i) {
        CSprite* sprite = group->GetSprite(int16_t(i));
        if (sprite && sprite->LinkAtFrame(0))
            linked = sprite;
    }
    if (!linked.Valid())
        ThrowError("No hotlinks in that file.", PW_HERE);
    SmartList<CSprite> list;
    list.Append(linked);
    app.GetClipboard()->Put(list.Data());
    SmartPtr<CHAPane> pane = ActivePane(app);
    return pane.Valid() && pane->PasteOntoSelection(app.GetClipboard()) ? Linked::kOnSelection : Linked::kOnClipboard;
}
