#include "engine/CMovieVideo.h"

#include "engine/CTrackList.h"
#include "foundation/ArchiveScope.h"

namespace {

Persistent* ReadVideoMovie(Archive& archive)
{
    ArchiveScope scope(archive, CMovieVideo::version);
    return new CMovieVideo(scope);
}

struct MovieScope {
    explicit MovieScope(ArchiveScope& outer)
        : scope(outer, CMovie::version)
    {
    }
    ArchiveScope& Get() { return scope; }
    ArchiveScope scope;
};

} // namespace

PW_DEFINE_CLASS(Video, nullptr, nullptr, Track, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Video)
PW_DEFINE_CLASS(CMovieVideo, nullptr, nullptr, CMovie)

constinit const PersistentVersion CMovieVideo::version { &CMovieVideo::classInfo, Fixed(1), Fixed(1),
    &ReadVideoMovie };

CMovieVideo::CMovieVideo(const Rect& bounds)
    : CMovie(bounds)
{
}

CMovieVideo::CMovieVideo(const CMovieVideo& other)
    : Smart()
    , CMovie(other)
{
}

CMovieVideo::CMovieVideo(CMovieVideo& source, int16_t start, int16_t count, bool cut)
    : CMovie(source, start, count, cut)
{
}

CMovieVideo::CMovieVideo(ArchiveScope& scope)
    : CMovie(MovieScope(scope).Get())
{
}

void CMovieVideo::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    CMovie::Write(scope.GetArchive());
}

SmartPtr<CMovie> CMovieVideo::CopyFrames(int16_t start, int16_t count, bool cut)
{
    return new CMovieVideo(*this, start, count, cut);
}

void CMovieVideo::PlayFrameSound(int16_t, CTrackList& tracks, uint32_t channel)
{
    tracks.Play(channel, video.Get());
}
