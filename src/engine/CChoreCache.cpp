#include "engine/CChoreCache.h"

#include "engine/CMemory.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "foundation/Memory.h"
#include "graphics/DisplayPort.h"

#include <algorithm>

namespace {

constexpr uint32_t kStartPeriod = 30;
constexpr uint32_t kIdlePeriod = 1000;
constexpr uint32_t kFastPeriod = 1;

} // namespace

PW_DEFINE_CLASS(CChoreCache, nullptr, nullptr, Chore)

CChoreCache::CChoreCache(CPlayer& player)
    : Chore(kStartPeriod, true, 0)
    , show(&player.GetShow())
    , movie(player.GetMovie().Get())
{
    movie->RemoveOrAppendClient(this);
    RegisterPurgeable(this);
}

CChoreCache::~CChoreCache()
{
    Detach();
}

void CChoreCache::Detach()
{
    if (!attached)
        return;
    attached = false;
    movie->RemoveOrAppendClient(this);
    UnregisterPurgeable(this);
}

void CChoreCache::Perform()
{
    // A client may go while it is told; the walk goes over the list as it was.
    std::vector<ChoreClient*> told = clients;
    for (ChoreClient* client : told) {
        if (!IsActive())
            return;
        client->DoChore(*this);
    }
}

void CChoreCache::RemoveOrAppendClient(ChoreClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}

void CChoreCache::Think(CPlayer&)
{
    if (!IsActive())
        return;
    purgeLevel = kNothingPurged;
    SetPeriod(kIdlePeriod);
}

int16_t CChoreCache::CacheFrame(CPlayer*, int16_t frame, int16_t want)
{
    wanted = want;
    if (frame < 0)
        return count;
    int16_t n = movie->NumFrames();
    if (frame >= n)
        frame = static_cast<int16_t>(frame - n);
    int32_t d = frame - base;
    if (d == 0)
        return count;
    if (d < 0)
        d += n;
    count = count > d ? static_cast<int16_t>(count - d) : int16_t(0);
    base = frame;
    return count;
}

void CChoreCache::CacheNext(CPlayer& player)
{
    purgeLevel = kNothingPurged;
    int16_t mode = wanted > count ? 1 : 2;
    int16_t n = movie->NumFrames();
    if (count >= n)
        return;
    int32_t f = base + count;
    if (f >= n)
        f -= n;
    // With the show's budget spent, frames the run has left make room for the run's next one.
    if (!show->IsFrameCached(static_cast<int16_t>(f)))
        show->MakeRoomOutside(base, count);
    Rect bounds(0, 0, 0, 0);
    movie->GetBounds(bounds);
    bool cached = false;
    {
        SmartPtr<OffScreen> image = player.GetImage();
        DisplayPort port(*image.Get(), bounds, 0);
        cached = show->CacheFrame(port, static_cast<int16_t>(f), bounds, mode);
    }
    if (!cached) {
        if (wanted > count)
            wanted = count;
        return;
    }
    ++count;
    SetPeriod(wanted <= count ? kStartPeriod : kFastPeriod);
}

bool CChoreCache::PurgeFrames(uint32_t bytesNeeded)
{
    int16_t level = CMemory::Get().GetPurgeLevel();
    if (purgeLevel <= level)
        return false;
    int32_t n = movie->NumFrames();
    int32_t start = 0;
    int32_t length = 0;
    switch (level) {
    case 0:
        start = base;
        length = count;
        break;
    case 1:
        start = base + wanted;
        length = count - wanted;
        break;
    case 2:
        start = base + count + 1;
        length = n - count - 1;
        break;
    default:
        break;
    }
    for (int32_t f = start + length - 1; f >= start && n > 0; --f) {
        show->ReleaseFrame(static_cast<int16_t>(f % n));
        if (level <= 1) {
            count = static_cast<int16_t>(std::max(count - 1, 0));
            if (wanted > count)
                wanted = count;
        }
        if (FreeVirtualMemory() >= bytesNeeded)
            return true;
    }
    if (level == 0) {
        show->ReleaseFrame(-2);
        show->EmptyCaches();
    }
    purgeLevel = level == 0 ? int16_t(1) : level;
    return true;
}
