#pragma once

#include "engine/CMovie.h"
#include "graphics/Track.h"

// A playable video. No video format is read, so there is nothing to play: a started video has
// ended at once, and never holds a playing page as a track that still plays would.
class Video : public Track, public SmartImplementation {
    PW_CLASS_INFO(Video)
    PW_COPY_SLOTS

public:
    bool Start(bool) override { return false; }
    bool IsPlaying() override { return false; }
    void Stop() override { }
};

// The video movie: a movie whose frame sound is its video, put on the channel it is handed.
// Sprites showing one are always candidates for a click.
//
// Stored form (version 1.0, oldest 1.0): the movie body inside the CMovieVideo scope.
class CMovieVideo : public CMovie {
    PW_CLASS_INFO(CMovieVideo)

public:
    static const PersistentVersion version;

    explicit CMovieVideo(const Rect& bounds);
    CMovieVideo(const CMovieVideo& other);
    CMovieVideo(CMovieVideo& source, int16_t start, int16_t count, bool cut);
    explicit CMovieVideo(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override;
    void PlayFrameSound(int16_t frame, CTrackList& tracks, uint32_t channel) override;

    SmartPtr<Video> GetVideo() const { return video; }

private:
    SmartPtr<Video> video { new Video };
};
