#include "engine/CTrackList.h"

#include "engine/CMovie.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"
#include "graphics/Sound.h"
#include "graphics/SoundChannel.h"

namespace {

uint32_t BitLength(uint32_t value)
{
    uint32_t bits = 0;
    for (; value != 0; value >>= 1)
        ++bits;
    return bits;
}

// A channel that plays a looping sound starts it again at every end, so it never stops by itself;
// like a looping sound it tells nobody that it still plays.
bool PlaysForEver(Track& track)
{
    auto* channel = SmartCast<SoundChannel>(&track);
    return channel && channel->GetSound().Valid() && channel->GetSound()->ToggleLoop(false);
}

} // namespace

PW_DEFINE_CLASS(CTrackList, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CTrackList)

constinit const PersistentVersion CTrackList::version { &CTrackList::classInfo, Fixed(1), Fixed(2),
    &pw::foundation::ReadInScope<CTrackList> };

CTrackList::CTrackList(const CTrackList& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , tracks(other.tracks)
    , channels(other.channels)
{
}

CTrackList::CTrackList(ArchiveScope&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

CTrackList& CTrackList::operator=(const CTrackList& other)
{
    tracks = other.tracks;
    channels = other.channels;
    return *this;
}

void CTrackList::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Exception::Warn(kNotImplemented, PW_HERE);
}

bool CTrackList::Play(uint32_t channel, const SmartPtr<Track>& track)
{
    if (!track.Valid())
        return false;
    uint32_t index = tracks.IndexOf(track.Get());
    if (index > 0 && channels[index] == channel && track->IsPlaying())
        return false;
    RemoveChannel(channel, false);
    tracks.Append(track);
    channels.Append(channel);
    return true;
}

void CTrackList::RemoveChannel(uint32_t channel, bool withSubchannels)
{
    for (uint32_t index = tracks.NumItems(); index > 0; --index) {
        uint32_t entry = channels[index];
        if (entry == channel || (withSubchannels && IsSubchannel(channel, entry)))
            RemoveAt(index, tracks.Item(index));
    }
}

void CTrackList::RemoveAt(uint32_t index, const SmartPtr<Track>& track)
{
    if (track.Get() != tracks.Item(index))
        AssertionFailed("~track == tracks[(Index)index]", PW_HERE);
    channels.DeleteItems(index, 1);
    tracks.Data()->DeleteItems(index, 1);
}

bool CTrackList::IsSubchannel(uint32_t parent, uint32_t channel)
{
    if (channel == parent)
        return true;
    uint32_t shift = (BitLength(channel) - BitLength(parent)) % 32;
    return (channel >> shift) == parent;
}

uint32_t CTrackList::SubchannelNumber(int32_t parent, int16_t index, int16_t count)
{
    uint32_t bits = count < 2 ? 1 : BitLength(static_cast<uint32_t>(count - 1));
    return (static_cast<uint32_t>(parent) << bits) + static_cast<uint32_t>(index);
}

void CTrackList::PlayFrame(const SmartPtr<CMovie>& movie, int16_t frame)
{
    movie->PlayFrameSound(frame, *this, 1);
}

uint16_t CTrackList::Status()
{
    uint16_t flags = 0;
    for (uint32_t index = tracks.NumItems(); index > 0; --index) {
        SmartPtr<Track> track = tracks.Item(index);
        if (!track.Valid())
            AssertionFailed("track != NULL", PW_HERE);
        if (!track->IsPlaying()) {
            RemoveAt(index, track);
            continue;
        }
        if (auto* sound = SmartCast<Sound>(track.Get())) {
            if (!sound->ToggleLoop(false))
                flags |= 1;
        } else if (!PlaysForEver(*track.Get())) {
            flags |= 2;
        }
    }
    return flags;
}
