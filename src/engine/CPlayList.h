#pragma once

#include "engine/CTrackList.h"

// The track list of a playing page: a track put on a channel starts at once, and stopping one
// stops it before it leaves the list. Never stored, like every track list.
class CPlayList : public CTrackList {
    PW_CLASS_INFO(CPlayList)
    PW_COPY_SLOTS

public:
    CPlayList() = default;
    CPlayList(const CPlayList& other) = default;
    CPlayList& operator=(const CPlayList& other) = default;

    bool Play(uint32_t channel, const SmartPtr<Track>& track) override;
    // Entry `index` (1-based), which must hold `track`.
    void StopTrack(uint32_t index, const SmartPtr<Track>& track);
    // Every track stopped and dropped.
    void StopAll();
};
