#include "engine/CPlayList.h"

PW_DEFINE_CLASS(CPlayList, &pw::foundation::CreateFunction<CPlayList>, nullptr, CTrackList)
PW_DEFINE_COPY_SLOTS(CPlayList)

bool CPlayList::Play(uint32_t channel, const SmartPtr<Track>& track)
{
    if (!CTrackList::Play(channel, track))
        return false;
    track->Start(true);
    return true;
}

void CPlayList::StopTrack(uint32_t index, const SmartPtr<Track>& track)
{
    if (track.Valid())
        track->Stop();
    RemoveAt(index, track);
}

void CPlayList::StopAll()
{
    while (NumEntries() > 0) {
        SmartPtr<Track> track = TrackAt(NumEntries());
        StopTrack(NumEntries(), track);
    }
}
