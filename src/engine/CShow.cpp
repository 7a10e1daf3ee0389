#include "engine/CShow.h"

#include "engine/CMemory.h"
#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/ComposedDrawing.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include <algorithm>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

// The longest side of a page (its 8-bit image then holds at most 64 MB).
constexpr int64_t kMaxPageSide = 8192;

Persistent* ReadShow(Archive& archive)
{
    ArchiveScope scope(archive, CShow::version);
    return new CShow(scope);
}

SmartPtr<CMovie> AsGroup(const SmartPtr<CMovie>& movie, bool markFirst)
{
    if (!movie.Valid())
        return new CMovieGroup(CMovie::kDefaultBounds);
    if (SmartCast<CMovieGroup>(movie.Get()))
        return movie;
    return new CMovieGroup(movie, markFirst);
}

} // namespace

PW_DEFINE_CLASS(CShow, nullptr, nullptr, Model)
PW_DEFINE_COPY_SLOTS(CShow)

constinit const PersistentVersion CShow::version { &CShow::classInfo, Fixed(2), Fixed(2), &ReadShow };

CShow::CShow(const SmartPtr<CMovie>& movie, bool markFirst)
    : movie(AsGroup(movie, markFirst))
{
    Attach();
}

CShow::CShow(const CShow& other)
    : Smart()
    , Model(other)
    , MovieClient()
    , movie(other.movie->CopyFrames(0, other.movie->NumFrames(), false))
    , frameRate(other.frameRate)
    , playingRate(other.playingRate)
    , extent(other.extent)
    , file(other.file)
    , name(other.name)
{
    Attach();
}

CShow& CShow::operator=(const CShow& other)
{
    if (this == &other)
        return *this;
    Close();
    movie->RemoveOrAppendClient(this);
    movie = other.movie->CopyFrames(0, other.movie->NumFrames(), false);
    frameRate = other.frameRate;
    playingRate = other.playingRate;
    extent = other.extent;
    file = other.file;
    name = other.name;
    frames.clear();
    thumbnails.clear();
    Attach();
    return *this;
}

CShow::CShow(ArchiveScope& scope)
{
    movie = pw::engine::ReadReference<CMovie>(scope);
    if (!movie.Valid())
        movie = new CMovieGroup(CMovie::kDefaultBounds);
    // The page's image is made at the movie's size: a page larger than any screen is damage,
    // refused before its image is allocated.
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    if (int64_t(bounds.right) - bounds.left > kMaxPageSide || int64_t(bounds.bottom) - bounds.top > kMaxPageSide)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    Stream& stream = scope.GetStream();
    SetFrameRate(stream.ReadShort());
    uint16_t parts[4];
    for (uint16_t& part : parts)
        part = static_cast<uint16_t>(stream.ReadShort());
    extent.SetComponents(parts[0], parts[1], parts[2], parts[3]);
    Attach();
}

CShow::~CShow()
{
    Close();
    movie->RemoveOrAppendClient(this);
}

void CShow::Attach()
{
    movie->RemoveOrAppendClient(this);
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    SmartPtr<OffScreen> image = new OffScreen(std::max(bounds.right - bounds.left, 1),
        std::max(bounds.bottom - bounds.top, 1), 8, Color(0), true);
    player = new CPlayer(this, image, false);
}

void CShow::SetFrameRate(int16_t rate)
{
    frameRate = rate < 0 ? int16_t(0) : rate;
    playingRate = frameRate;
}

void CShow::SetPlayingRate(int16_t rate)
{
    playingRate = rate < 0 ? int16_t(0) : rate;
}

void CShow::Close()
{
    if (!player.Valid())
        return;
    player->Shutdown();
    player = nullptr;
    EmptyCaches();
}

void CShow::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(movie.Get());
    Stream& stream = scope.GetStream();
    stream.WriteShort(frameRate);
    for (uint16_t part : { extent.red, extent.green, extent.blue, extent.extra })
        stream.WriteShort(static_cast<int16_t>(part));
}

namespace {

CShow::ViewMaker& TheViewMaker()
{
    static CShow::ViewMaker maker;
    return maker;
}

} // namespace

void CShow::SetViewMaker(const ViewMaker& maker)
{
    TheViewMaker() = maker;
}

View* CShow::MakeView(View& container)
{
    return TheViewMaker() ? TheViewMaker()(*this, container) : nullptr;
}

void CShow::FitCaches()
{
    auto n = static_cast<size_t>(movie->NumFrames());
    if (frames.size() != n)
        frames.resize(n);
    if (thumbnails.size() != n)
        thumbnails.resize(n);
}

bool CShow::DrawFrame(DisplayPort& port, int16_t frame, const Rect& rect, int16_t)
{
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    FitCaches();
    if (frame >= 0 && size_t(frame) < frames.size() && frames[size_t(frame)].Valid()
        && rect.Size() == bounds.Size()) {
        frames[size_t(frame)]->DrawTo(port, rect, 0);
        return true;
    }
    SmartPtr<CXform> xform;
    if (!(rect == bounds))
        xform = new CXform(bounds, rect);
    // Composed off-screen, so that see-through pictures show the page beneath on a window too.
    bool drawn = true;
    pw::engine::DrawComposed(port, rect, [&](DisplayPort& target) {
        target.DrawRectangle(rect, Color(0), Color(0), 0);
        drawn = movie->Draw(target, xform, frame, Color(0), 0);
    });
    return drawn;
}

void CShow::UpdateRect(DisplayPort& port, int16_t frame, const Rect& rect)
{
    DrawFrame(port, frame, rect, 1);
}

bool CShow::CacheFrame(DisplayPort&, int16_t frame, const Rect& bounds, int16_t)
{
    FitCaches();
    if (frame < 0 || size_t(frame) >= frames.size())
        return false;
    if (frames[size_t(frame)].Valid())
        return true;
    if (CMemory::Get().IsOverLimit() || !HasRoomForFrame())
        return false;
    int32_t width = bounds.right - bounds.left;
    int32_t height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return false;
    SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, Color(0), true);
    {
        Rect local(0, 0, width, height);
        DisplayPort port(*buffer.Get(), local, 0);
        SmartPtr<CXform> xform;
        if (!(local == bounds))
            xform = new CXform(bounds, local);
        movie->Draw(port, xform, frame, Color(0), 0);
    }
    frames[size_t(frame)] = new CStamp(*buffer.Get());
    return true;
}

bool CShow::IsFrameCached(int16_t frame) const
{
    return frame >= 0 && size_t(frame) < frames.size() && frames[size_t(frame)].Valid();
}

uint64_t CShow::FrameBytes() const
{
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    // An 8-bit buffer whose rows are padded to 4 bytes.
    auto width = static_cast<uint64_t>(std::max(bounds.right - bounds.left, 1));
    auto height = static_cast<uint64_t>(std::max(bounds.bottom - bounds.top, 1));
    return ((width + 3) & ~uint64_t(3)) * height;
}

uint64_t CShow::FramesInBudget() const
{
    return kFrameCacheBudget / FrameBytes();
}

bool CShow::HasRoomForFrame() const
{
    return NumCachedFrames() < FramesInBudget();
}

bool CShow::MakeRoomOutside(int16_t first, int16_t count)
{
    auto n = static_cast<int32_t>(frames.size());
    uint64_t held = NumCachedFrames();
    uint64_t room = FramesInBudget();
    if (n == 0)
        return held < room;
    int32_t start = std::clamp<int32_t>(first, 0, n - 1);
    int32_t kept = std::clamp<int32_t>(count, 0, n);
    for (int32_t distance = n - 1; distance >= kept && held >= room; --distance) {
        SmartPtr<CStamp>& frame = frames[size_t((start + distance) % n)];
        if (frame.Valid()) {
            frame = nullptr;
            --held;
        }
    }
    return held < room;
}

void CShow::ReleaseFrame(int16_t frame)
{
    if (frame == -2) {
        for (SmartPtr<CStamp>& cached : frames)
            cached = nullptr;
        return;
    }
    if (frame >= 0 && size_t(frame) < frames.size())
        frames[size_t(frame)] = nullptr;
}

void CShow::EmptyCaches()
{
    frames.clear();
    thumbnails.clear();
}

uint32_t CShow::NumCachedFrames() const
{
    uint32_t number = 0;
    for (const SmartPtr<CStamp>& cached : frames)
        number += cached.Valid() ? 1 : 0;
    return number;
}

SmartPtr<CStamp> CShow::GetFrameThumbnail(int16_t frame)
{
    if (frame < 0 || frame >= movie->NumFrames())
        return nullptr;
    FitCaches();
    SmartPtr<CStamp>& thumbnail = thumbnails[size_t(frame)];
    if (thumbnail.Valid())
        return thumbnail;
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    int32_t width = std::max((bounds.right - bounds.left) / kThumbnailReduction, 1);
    int32_t height = std::max((bounds.bottom - bounds.top) / kThumbnailReduction, 1);
    SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, Color(0), true);
    {
        Rect local(0, 0, width, height);
        DisplayPort port(*buffer.Get(), local, 0);
        DrawFrame(port, frame, local, 3);
    }
    thumbnail = new CStamp(*buffer.Get());
    return thumbnail;
}

void CShow::MovieChanged(Smart*, const Rect&, int16_t frame)
{
    if (frame < 0 || size_t(frame) >= frames.size()) {
        EmptyCaches();
        return;
    }
    frames[size_t(frame)] = nullptr;
    if (size_t(frame) < thumbnails.size())
        thumbnails[size_t(frame)] = nullptr;
}

void CShow::BoundsChanged(CMovie&, const Rect&)
{
    EmptyCaches();
}
