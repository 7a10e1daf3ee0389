#include "engine/CChorePlay.h"

#include "engine/CMovie.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "foundation/Utilities.h"
#include "graphics/SoundChannel.h"

#include <algorithm>

namespace {

constexpr uint32_t kFastPeriod = 1;
// Clicked sounds play beside the frame sounds, which fill channel 1 and its subchannels.
constexpr uint32_t kClickChannel = 0;

} // namespace

PW_DEFINE_CLASS(CChorePlay, nullptr, nullptr, Chore)

CChorePlay::CChorePlay(CPlayer&, CChoreCache* thinker)
    : Chore(kPeriod, true, 0)
    , thinker(thinker)
    , playList(new CPlayList)
    , lastChange(TickCount())
{
}

CChorePlay::CChorePlay(CPlayer&, CChoreCache* thinker, const CChorePlay& other)
    : Chore(kPeriod, true, 0)
    , thinker(thinker)
    , playList(new CPlayList)
    , wayBack(other.wayBack)
    , lastChange(other.lastChange)
    , halted(other.halted)
{
}

CChorePlay::~CChorePlay()
{
    playList->StopAll();
}

void CChorePlay::Perform()
{
    std::vector<ChoreClient*> told = clients;
    for (ChoreClient* client : told) {
        if (stopped)
            return;
        client->DoChore(*this);
    }
}

void CChorePlay::RemoveOrAppendClient(ChoreClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}

void CChorePlay::Tick(CPlayer& player)
{
    if (stopped || halted)
        return;
    SetPeriod(kPeriod);
    SmartPtr<CLink> link = player.GetFrameLink(true);
    int16_t wait = link.Valid() ? link->GetWait() : int16_t(0);
    if (wait >= -6 && wait <= -1)
        return;
    // A sound that plays once, or a frame sound's channel, holds the page until it ends; looping
    // ones set no bit, or they would hold it for ever.
    bool soundPlays = (playList->Status() & 3) != 0;
    int16_t rate = player.GetShow().GetFrameRate();
    uint32_t now = TickCount();
    if (wait > 0) {
        uint32_t due = lastChange + uint32_t(wait) * 1000;
        if (int32_t(now - due) >= 0) {
            if (!soundPlays) {
                FollowLink(player, link, false);
                SetPeriod(kFastPeriod);
            }
        } else {
            SetPeriod(std::max<uint32_t>(due - now, 2) - 1);
        }
        return;
    }
    if (rate > 0) {
        double step = 1000.0 / rate;
        auto reached = static_cast<int64_t>(double(now) - step);
        if (reached >= int64_t(lastChange)) {
            if (!soundPlays) {
                FollowLink(player, link, false);
                SetPeriod(kFastPeriod);
            }
        } else {
            auto left = static_cast<uint32_t>(int64_t(lastChange) + int64_t(step) - int64_t(now));
            SetPeriod(std::max<uint32_t>(left, 2) - 1);
        }
        return;
    }
    if (!soundPlays && thinker) {
        thinker->CacheFrame(&player, static_cast<int16_t>(player.GetFrame() + 1), 0);
        thinker->CacheNext(player);
    }
}

void CChorePlay::Stop(CPlayer&)
{
    halted = true;
    stopped = true;
    if (thinker)
        thinker->CacheFrame(nullptr, -1, 0);
    playList->StopAll();
    Chore::Stop();
}

void CChorePlay::StartSoundTrack(CPlayer& player)
{
    playList->PlayFrame(player.GetMovie(), player.GetFrame());
}

void CChorePlay::MoveTo(CPlayer& player, int16_t frame)
{
    player.ShowFrame(frame);
    playList->PlayFrame(player.GetMovie(), frame);
    lastChange = TickCount();
}

bool CChorePlay::FollowLink(CPlayer& player, const SmartPtr<CLink>& link, bool immediate)
{
    SmartPtr<CMovie> movie = player.GetMovie();
    int16_t frame = player.GetFrame();
    int16_t n = movie->NumFrames();
    int32_t kind = link.Valid() ? link->GetKind() : 0;
    switch (kind) {
    case 1:
    case 6: {
        SmartPtr<CFrameIndex> labels = movie->GetFrameIndex();
        int16_t target = labels.Valid() ? link->ResolveFrame(*labels.Get()) : int16_t(-1);
        if (target < 0)
            return false;
        if (kind == 6)
            wayBack.push_back(frame);
        MoveTo(player, target);
        return true;
    }
    case 2:
    case 7: {
        SmartPtr<CJumpMovie> jump = link->GetJumpMovie();
        if (!jump.Valid() || !jump->GetFile().Valid())
            return false;
        if (kind == 7)
            wayBack.push_back(frame);
        if (immediate)
            player.OpenFileNow(*jump->GetFile().Get());
        else
            player.PostOpenFile(*jump->GetFile().Get());
        lastChange = TickCount();
        return true;
    }
    case CLink::kWebLink: {
        const pw::engine::WebLinkServices& services = pw::engine::GetWebLinkServices();
        SmartPtr<Persistent> href = link->GetHREF();
        String text(kLinkText);
        if (href.Valid() && services.linkText)
            text = text.Concat(services.linkText(*href.Get()));
        player.PostText(6, new String(text));
        lastChange = TickCount();
        return true;
    }
    case 4:
        // Playback goes on from where it stands.
        lastChange = TickCount();
        return false;
    default:
        break;
    }
    if (kind == 0 && link.Valid() && link->GetTarget() > 0) {
        MoveTo(player, static_cast<int16_t>(std::min<int32_t>(link->GetTarget(), n - 1)));
        return true;
    }
    int32_t next = frame + 1;
    if (next >= n) {
        if (!movie->ToggleLoop(false))
            return false;
        next = 0;
    }
    MoveTo(player, static_cast<int16_t>(next));
    return true;
}

bool CChorePlay::GoBack(CPlayer& player)
{
    if (wayBack.empty())
        return false;
    int16_t frame = wayBack.back();
    wayBack.pop_back();
    MoveTo(player, frame);
    return true;
}

void CChorePlay::PlaySound(const SmartPtr<Sound>& sound)
{
    if (sound.Valid() && !sound->IsEmpty())
        playList->Play(kClickChannel, new SoundChannel(sound));
}
