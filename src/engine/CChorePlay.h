#pragma once

#include "engine/CChoreCache.h"
#include "engine/CLink.h"
#include "engine/CPlayList.h"
#include "foundation/Chore.h"
#include "graphics/Sound.h"

#include <cstdint>
#include <vector>

class CPlayer;

// The playback chore of a playing page. Every tick (250 ms unless it is due sooner) it reads the
// wait of the frame's link: waits -6 to -1 hold the page (-1 until a click follows the link), a
// positive wait holds it that many seconds, otherwise the page moves on 1000 / frame rate ms after
// the last frame change (never with a rate of 0, which caches frames instead). Moving on follows
// the frame's link or steps to the next frame, and never while a sound that plays once is still
// playing. It keeps the page's play list and the way back from followed links.
class CChorePlay : public Chore {
    PW_CLASS_INFO(CChorePlay)

public:
    static constexpr uint32_t kPeriod = 250;
    static constexpr const char* kLinkText = "This is a Link to:       ";

    CChorePlay(CPlayer& player, CChoreCache* thinker);
    // Continues the other chore: its last change, way back and halt state.
    CChorePlay(CPlayer& player, CChoreCache* thinker, const CChorePlay& other);
    ~CChorePlay() override;

    void Perform() override;
    void Tick(CPlayer& player);
    void Stop(CPlayer& player);
    void SetHalted(bool flag) { halted = flag; }
    bool IsHalted() const { return halted; }
    void StartSoundTrack(CPlayer& player);
    bool FollowLink(CPlayer& player, const SmartPtr<CLink>& link, bool immediate);
    bool GoBack(CPlayer& player);
    void PlaySound(const SmartPtr<Sound>& sound);
    void RemoveOrAppendClient(ChoreClient* client);
    CPlayList& GetPlayList() { return *playList.Get(); }
    uint32_t GetLastChange() const { return lastChange; }

private:
    void MoveTo(CPlayer& player, int16_t frame);

    CChoreCache* thinker;
    std::vector<ChoreClient*> clients;
    SmartPtr<CPlayList> playList;
    std::vector<int16_t> wayBack;
    uint32_t lastChange { 0 };
    bool halted { false };
    bool stopped { false };
};
