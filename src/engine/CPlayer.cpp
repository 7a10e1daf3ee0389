#include "engine/CPlayer.h"

#include "engine/CChorePlay.h"
#include "engine/CMemory.h"
#include "engine/CMovieGroup.h"
#include "engine/CMovieVideo.h"
#include "engine/CShow.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"
#include "ui/ProgressRange.h"

#include <algorithm>

PW_DEFINE_CLASS(CPlayer, nullptr, nullptr, ImageChannel, Track, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(CPlayer)

CPlayer::CPlayer(CShow* owner, const SmartPtr<OffScreen>& image, bool advanceOnClick)
    : DisplayChannel(image.Get())
    , show(owner)
    , advanceOnClick(advanceOnClick)
{
    if (!show) {
        SmartPtr<CMovie> page = new CMovieGroup(CMovie::kDefaultBounds);
        if (page->ToggleLoop(false))
            page->ToggleLoop(true);
        ownShow = page->MakeShow();
        show = ownShow.Get();
    }
    thinker = new CChoreCache(*this);
    thinker->RemoveOrAppendClient(this);
}

CPlayer::~CPlayer()
{
    Shutdown();
}

void CPlayer::Shutdown()
{
    DropPlayback(false);
    if (thinker.Valid()) {
        thinker->Stop();
        thinker->RemoveOrAppendClient(this);
        thinker->Detach();
        thinker = nullptr;
    }
    if (ownShow.Valid()) {
        SmartPtr<CShow> page = ownShow;
        ownShow = nullptr;
        page->Close();
    }
}

void CPlayer::DropPlayback(bool notify)
{
    if (!playback.Valid())
        return;
    SmartPtr<CChorePlay> chore = playback;
    chore->Stop(*this);
    chore->RemoveOrAppendClient(this);
    playback = nullptr;
    if (notify)
        for (PlayerClient* client : Clients())
            client->PlayNotice();
}

SmartPtr<CMovie> CPlayer::GetMovie() const
{
    return show->GetMovie();
}

SmartPtr<OffScreen> CPlayer::GetImage() const
{
    return SmartCast<OffScreen>(target.Get());
}

void CPlayer::SetImage(const SmartPtr<OffScreen>& newImage, bool report)
{
    target = newImage.Get();
    reportAreas = report;
}

void CPlayer::Changed(DisplayDevice&, Area&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CPlayer::Render(DisplayPort& port, Area& area)
{
    DrawContent(port, area);
}

Rect CPlayer::GetBounds()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return Rect(0, 0, 0, 0);
}

void CPlayer::Invalidate(Area&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CPlayer::DrawContent(DisplayPort& port, Area&)
{
    show->UpdateRect(port, frame, GetBounds());
}

const ListHandle& CPlayer::GetChildren()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return noChildren;
}

void CPlayer::InvalidateArea(const SmartPtr<Area>& area)
{
    for (PlayerClient* client : Clients())
        client->AreaNotice(area);
}

void CPlayer::RemoveOrAppendClient(PlayerClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}

void CPlayer::GoToFrame(int16_t f)
{
    if (f < 0 || f == frame)
        return;
    for (PlayerClient* client : Clients())
        client->FrameNotice();
    frame = f;
    SmartPtr<CMovie> movie = GetMovie();
    int16_t n = movie->NumFrames();
    if (n <= f)
        movie->InsertFrames(n, static_cast<int16_t>(f + 1 - n), false, true);
    for (PlayerClient* client : Clients())
        client->FrameNotice();
    SmartPtr<CFrameIndex> labels = movie->GetFrameIndex();
    const String* label = labels.Valid() ? labels->GetName(f) : nullptr;
    if (label)
        PostText(5, new String(*label));
}

SmartPtr<CLink> CPlayer::GetFrameLink(bool lookupOnly)
{
    SmartPtr<CMovie> movie = GetMovie();
    SmartPtr<CLink> link = movie->LinkAtFrame(frame);
    if (!link.Valid() && !lookupOnly) {
        link = new CLink;
        movie->SetLinkAtFrame(frame, 1, link.Get());
    }
    return link;
}

int16_t CPlayer::GetFrameWait()
{
    SmartPtr<CLink> link = GetFrameLink(true);
    return link.Valid() ? link->GetWait() : int16_t(0);
}

void CPlayer::SetFrameWait(int16_t wait)
{
    SmartPtr<CLink> link = GetFrameLink(wait == 0);
    if (!link.Valid())
        return;
    link->SetWait(wait);
    if (link->IsEmpty())
        GetMovie()->SetLinkAtFrame(frame, 1, nullptr);
}

int32_t CPlayer::GetFrameTarget()
{
    SmartPtr<CLink> link = GetFrameLink(true);
    return link.Valid() ? link->GetTarget() : 0;
}

void CPlayer::SetFrameTarget(int32_t target)
{
    SmartPtr<CLink> link = GetFrameLink(target == 0);
    if (!link.Valid())
        return;
    link->SetTarget(target);
    if (link->IsEmpty())
        GetMovie()->SetLinkAtFrame(frame, 1, nullptr);
}

bool CPlayer::Start(bool)
{
    if (playback.Valid()) {
        playback->SetHalted(false);
        return true;
    }
    NoteFrame(frame);
    SmartPtr<CChorePlay> chore = new CChorePlay(*this, thinker.Get());
    chore->RemoveOrAppendClient(this);
    Rect bounds(0, 0, 0, 0);
    GetMovie()->GetBounds(bounds);
    {
        DisplayPort port(*target.Get(), bounds, 0);
        show->DrawFrame(port, frame, bounds, 1);
    }
    if (reportAreas)
        InvalidateArea(new Area(bounds));
    chore->StartSoundTrack(*this);
    playback = chore;
    for (PlayerClient* client : Clients())
        client->PlayNotice();
    for (PlayerClient* client : Clients())
        client->FrameNotice();
    return true;
}

void CPlayer::Stop()
{
    DropPlayback(true);
}

void CPlayer::ShowFrame(int16_t f)
{
    NoteFrame(f);
    Rect bounds(0, 0, 0, 0);
    GetMovie()->GetBounds(bounds);
    {
        DisplayPort port(*target.Get(), bounds, 0);
        show->DrawFrame(port, f, bounds, 1);
    }
    if (reportAreas)
        InvalidateArea(new Area(bounds));
    GoToFrame(f);
}

void CPlayer::FollowTarget(int32_t target)
{
    Stop();
    SmartPtr<CMovie> movie = GetMovie();
    if (frame >= movie->NumFrames() - 1 && !movie->ToggleLoop(false))
        return;
    SmartPtr<CChorePlay> chore = new CChorePlay(*this, thinker.Get());
    chore->RemoveOrAppendClient(this);
    SmartPtr<CLink> link = new CLink;
    link->SetTarget(target);
    if (chore->FollowLink(*this, link, true)) {
        link->SetKind(4);
        link->SetTarget(0);
        chore->FollowLink(*this, link, true);
    }
    chore->Stop(*this);
    chore->RemoveOrAppendClient(this);
}

bool CPlayer::GoBack()
{
    return playback.Valid() && playback->GoBack(*this);
}

bool CPlayer::TakeOver(const SmartPtr<CPlayer>& other)
{
    DropPlayback(false);
    if (other->playback.Valid()) {
        playback = new CChorePlay(*this, thinker.Get(), *other->playback.Get());
        playback->RemoveOrAppendClient(this);
    }
    for (Request& request : other->requests)
        requests.push_back(request);
    other->requests.clear();
    return true;
}

void CPlayer::Click(Point p)
{
    if (HitSprite(p, true))
        return;
    if (advanceOnClick && playback.Valid()) {
        SmartPtr<CLink> link = new CLink;
        link->SetKind(5);
        SmartPtr<CChorePlay> chore = playback;
        chore->FollowLink(*this, link, false);
    }
}

bool CPlayer::HitSprite(Point p, bool activate)
{
    if (activate && playback.Valid())
        playback->SetHalted(false);
    auto* group = SmartCast<CMovieGroup>(GetMovie().Get());
    if (!group)
        return false;
    for (auto i = static_cast<int16_t>(group->NumSprites() - 1); i >= 0; --i) {
        SmartPtr<CSprite> sprite = group->GetSprite(i);
        if (!sprite.Valid() || !sprite->ShowsInFrames(frame, 1))
            continue;
        bool candidate = sprite->SoundAtFrame(frame) || sprite->LinkAtFrame(frame)
            || (activate && SmartCast<CMovieVideo>(sprite->GetMovie().Get()));
        if (!candidate)
            continue;
        Rect rect(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &rect, nullptr);
        if (!rect.Contains(p.h, p.v))
            continue;
        return activate ? ActivateSprite(*sprite.Get()) : true;
    }
    return false;
}

bool CPlayer::ActivateSprite(CSprite& sprite)
{
    SmartPtr<Sound> sound = sprite.SoundAtFrame(frame);
    SmartPtr<CLink> link = sprite.LinkAtFrame(frame);
    PostText(4, sprite.GetName());
    if (!sound.Valid() && !link.Valid())
        return false;
    if (playback.Valid()) {
        SmartPtr<CChorePlay> chore = playback;
        if (sound.Valid())
            chore->PlaySound(sound);
        if (link.Valid())
            chore->FollowLink(*this, link, true);
    }
    return true;
}

bool CPlayer::ActivateFrameLink(bool follow)
{
    SmartPtr<CLink> link = GetFrameLink(true);
    if (!link.Valid() || link->GetWait() != -1)
        return false;
    if (follow && playback.Valid()) {
        SmartPtr<CChorePlay> chore = playback;
        chore->FollowLink(*this, link, false);
    }
    return true;
}

void CPlayer::ActivateItem(int16_t n)
{
    if (n <= 0) {
        ActivateFrameLink(true);
        return;
    }
    SmartPtr<CSprite> sprite = GetActiveSprite(n);
    if (sprite.Valid())
        ActivateSprite(*sprite.Get());
}

SmartPtr<CSprite> CPlayer::GetActiveSprite(int16_t n)
{
    auto* group = SmartCast<CMovieGroup>(GetMovie().Get());
    if (n <= 0 || !group)
        return nullptr;
    int16_t seen = 0;
    for (int16_t i = 0; i < int16_t(group->NumSprites()); ++i) {
        CSprite* sprite = group->GetSprite(i);
        if (sprite && sprite->ShowsInFrames(frame, 1) && (sprite->SoundAtFrame(frame) || sprite->LinkAtFrame(frame))
            && ++seen == n)
            return sprite;
    }
    return nullptr;
}

SmartPtr<CSprite> CPlayer::FindSprite(const SmartPtr<String>& name)
{
    auto* group = SmartCast<CMovieGroup>(GetMovie().Get());
    if (!group || !name.Valid())
        return nullptr;
    return group->FindSpriteByName(*name.Get());
}

void CPlayer::ActivateNamedSprite(const SmartPtr<String>& name)
{
    SmartPtr<CSprite> sprite = FindSprite(name);
    if (sprite.Valid() && playback.Valid())
        ActivateSprite(*sprite.Get());
}

void CPlayer::PostOpenFile(const FileReference& file)
{
    requests.push_back({ 3, SmartPtr<Smart>(new FileReference(file)) });
}

void CPlayer::PostText(int32_t kind, const SmartPtr<String>& text)
{
    if (!text.Valid() || text->Length() == 0)
        return;
    requests.push_back({ kind <= 0 ? 6 : kind, SmartPtr<Smart>(new String(*text.Get())) });
}

int32_t CPlayer::TakeRequest(SmartPtr<Smart>& out)
{
    if (requests.empty())
        return 0;
    Request first = requests.front();
    requests.pop_front();
    out = first.object;
    return first.kind;
}

// Opening replaces the page in its window, and with it this player, so it cannot happen inside
// the click or tick that asked for it: the open goes ahead of every other request, and the
// application takes it at its next idle step, as it takes a posted one.
void CPlayer::OpenFileNow(const FileReference& file)
{
    requests.push_front({ 3, SmartPtr<Smart>(new FileReference(file)) });
}

bool CPlayer::GetShowFile(FileReference& out) const
{
    SmartPtr<FileReference> file = show->GetFile();
    if (!file.Valid())
        return false;
    out = *file.Get();
    return true;
}

// Renders every frame ahead into the show's cache. The progress and the memory reserve are
// kept up per frame; no alert is shown per frame.
bool CPlayer::Accelerate()
{
    if (!thinker.Valid())
        return true;
    int16_t n = GetMovie()->NumFrames();
    ProgressRange progress(uint32_t(n), String("Accelerate"));
    CMemory::Get().RestoreReserve();
    int16_t i = thinker->CacheFrame(this, frame, n);
    while (i < n) {
        progress.Advance(1);
        thinker->CacheNext(*this);
        CMemory::Get().RestoreReserve();
        if (i == n - 1)
            break;
        if (thinker->IsDone()) {
            thinker->CacheFrame(this, -1, 0);
            return false;
        }
        ++i;
    }
    thinker->CacheFrame(this, -1, 0);
    return true;
}

void CPlayer::DoChore(Chore& chore)
{
    bool fromThinker = &chore == static_cast<Chore*>(thinker.Get());
    bool fromPlayback = &chore == static_cast<Chore*>(playback.Get());
    if (!fromThinker && !fromPlayback)
        AssertionFailed(kStrayChore, PW_HERE);
    if (fromThinker) {
        thinker->Think(*this);
        return;
    }
    SmartPtr<CChorePlay> held = playback;
    held->Tick(*this);
}
