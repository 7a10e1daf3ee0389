#pragma once

#include "engine/CMovie.h"
#include "foundation/Chore.h"
#include "foundation/Purgeable.h"

#include <cstdint>
#include <vector>

class CPlayer;
class CShow;

// Told on every tick of the chores it registered with.
class ChoreClient {
public:
    virtual void DoChore(Chore& chore) = 0;

protected:
    ~ChoreClient() = default;
};

// Renders a page's frames ahead of playback into the show's frame cache: the run base, base + 1,
// ... (count frames, wrapping past the last), wanting `wanted` of them. It runs fast (1 ms) while
// frames are wanted, slow (1000 ms) otherwise, and gives frames back when the memory budget's
// purge level asks: level 2 frames outside the run, level 1 those beyond what is wanted, level 0
// all. A purge acts only at a level below the one it last acted at. The show holds its frames
// within a fixed budget: once it is spent, frames the run has left make room for the run's next
// one, and a run that fills the budget alone stops there (its later frames are drawn when shown).
class CChoreCache : public Chore, public MovieClient, public Purgeable {
    PW_CLASS_INFO(CChoreCache)

public:
    static constexpr int16_t kNothingPurged = 4;

    explicit CChoreCache(CPlayer& player);
    ~CChoreCache() override;

    // Tells every client on each tick.
    void Perform() override;
    void Think(CPlayer& player);
    // Wants `want` frames from `frame` on (-1: none); answers how many are cached from there.
    int16_t CacheFrame(CPlayer* player, int16_t frame, int16_t want);
    void CacheNext(CPlayer& player);
    bool IsDone() const { return wanted <= count; }
    bool PurgeFrames(uint32_t bytesNeeded);
    void Purge(uint32_t bytesNeeded) override { PurgeFrames(bytesNeeded); }
    void RemoveOrAppendClient(ChoreClient* client);
    // Leaves the movie and the purge list; the player calls it before it goes.
    void Detach();

    void MovieChanged(Smart*, const Rect&, int16_t) override { count = 0; }
    void BoundsChanged(CMovie&, const Rect&) override { }

    int16_t GetBase() const { return base; }
    int16_t GetCount() const { return count; }
    int16_t GetWanted() const { return wanted; }
    int16_t GetPurgeLevel() const { return purgeLevel; }

private:
    CShow* show;
    CMovie* movie;
    std::vector<ChoreClient*> clients;
    int16_t base { 0 };
    int16_t count { 0 };
    int16_t wanted { 0 };
    int16_t purgeLevel { kNothingPurged };
    bool attached { true };
};
