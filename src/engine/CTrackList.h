#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"
#include "graphics/Track.h"

#include <cstdint>

class ArchiveScope;
class CMovie;

// The tracks a playing page has started (frame sounds, videos), each on a numbered channel: the
// page's movie plays on channel 1, a sprite movie gives each sprite a subchannel. Channel numbers
// form a tree in their binary digits: the subchannels of p are the numbers that begin with p's
// significant bits. Starting a track on a channel replaces what stood there. A track list is
// registered as a stored class but never stored: reading and writing only warn.
class CTrackList : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CTrackList)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CTrackList() = default;
    CTrackList(const CTrackList& other);
    // An empty list, after the warning "Not implemented.".
    explicit CTrackList(ArchiveScope& scope);
    CTrackList& operator=(const CTrackList& other);

    // Opens the scope and warns "Not implemented."; no entries are written.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Puts the track on the channel, dropping what stood there; false for no track, or a track
    // already playing on that channel.
    virtual bool Play(uint32_t channel, const SmartPtr<Track>& track);
    void RemoveChannel(uint32_t channel, bool withSubchannels);
    // Entry `index` (1-based), which must hold `track`.
    void RemoveAt(uint32_t index, const SmartPtr<Track>& track);
    static bool IsSubchannel(uint32_t parent, uint32_t channel);
    static uint32_t SubchannelNumber(int32_t parent, int16_t index, int16_t count);
    // The movie's sound of the frame on channel 1.
    void PlayFrame(const SmartPtr<CMovie>& movie, int16_t frame);
    // Drops finished tracks; bit 0: a sound plays once, bit 1: another track plays (a sound
    // channel among them). Looping sounds and channels playing one set no bit.
    uint16_t Status();

    uint32_t NumEntries() const { return tracks.NumItems(); }
    Track* TrackAt(uint32_t index) const { return tracks.Item(index); }
    uint32_t ChannelAt(uint32_t index) const { return channels[index]; }

private:
    SmartList<Track> tracks;
    TypedArray<uint32_t> channels;
};
