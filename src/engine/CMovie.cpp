#include "engine/CMovie.h"

#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CShow.h"
#include "engine/CTrackList.h"
#include "engine/GetResourceByIndex.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "foundation/String.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/SoundChannel.h"
#include "graphics/Translation.h"

#include <algorithm>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };
// Where a text made into a movie shows.
constexpr Rect kTextBounds { 0, 0, 160, 24 };

// An 8-bit bitmap as it is; any other picture drawn into an 8-bit one first.
bool MovieFromImage(SmartPtr<Smart>& handle)
{
    auto* image = SmartCast<Image>(handle.Get());
    if (!image)
        return false;
    SmartPtr<BitMap> bitmap = SmartCast<BitMap>(image);
    if (!bitmap.Valid() || bitmap->GetColorTable()->BitDepth() != 8)
        bitmap = BitMap::RenderImage(*image);
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(bitmap.Get()), true);
    handle = SmartPtr<Smart>(new CMoviePic(resource, true));
    return true;
}

// The engine's sound picture with the sound on its one frame.
bool MovieFromSound(SmartPtr<Smart>& handle)
{
    SmartPtr<Sound> sound = SmartCast<Sound>(handle.Get());
    if (!sound.Valid())
        return false;
    SmartPtr<Smart> picture = GetResourceByIndex(1);
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(SmartCast<Persistent>(picture.Get())), true);
    SmartPtr<CMovie> movie = new CMoviePic(resource, true);
    movie->SetSoundAtFrame(0, 1, sound.Get());
    handle = SmartPtr<Smart>(movie.Get());
    return true;
}

// A copy of the text, so that the movie does not share the caller's.
bool MovieFromText(SmartPtr<Smart>& handle)
{
    auto* text = SmartCast<String>(handle.Get());
    if (!text)
        return false;
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(new String(*text)), true);
    handle = SmartPtr<Smart>(new CMovieText(resource, kTextBounds, true));
    return true;
}

// A show gives its own movie.
bool MovieFromShow(SmartPtr<Smart>& handle)
{
    auto* show = SmartCast<CShow>(handle.Get());
    if (!show)
        return false;
    handle = SmartPtr<Smart>(show->GetMovie().Get());
    return true;
}

// A movie made into an object of another class by one of its own operations.
template <typename Made, SmartPtr<Made> (CMovie::*make)()>
bool FromMovie(SmartPtr<Smart>& handle)
{
    auto* movie = SmartCast<CMovie>(handle.Get());
    if (!movie)
        return false;
    handle = SmartPtr<Smart>((movie->*make)().Get());
    return true;
}

// What a row's `extra` points at: the operation that turns a movie into the row's class.
struct WayBack {
    bool (*convert)(SmartPtr<Smart>& handle);
};
constexpr WayBack kToImage { &FromMovie<Image, &CMovie::MakeImage> };

constexpr pw::foundation::ConversionEntry kMovieConversions[] = {
    { &Image::classInfo, &MovieFromImage, &kToImage },
    { &Sound::classInfo, &MovieFromSound, nullptr },
    { &String::classInfo, &MovieFromText, nullptr },
    { &CShow::classInfo, &MovieFromShow, nullptr },
    { nullptr, nullptr, nullptr },
};

} // namespace

PW_DEFINE_CLASS(CMovie, nullptr, kMovieConversions, Persistent)

bool pw::engine::ConvertFromMovie(SmartPtr<Smart>& handle, const ClassInfo* target)
{
    for (const pw::foundation::ConversionEntry* row = kMovieConversions; row->source; ++row) {
        if (row->source == target && row->extra)
            return static_cast<const WayBack*>(row->extra)->convert(handle);
    }
    return false;
}

constinit const PersistentVersion CMovie::version { &CMovie::classInfo, Fixed(2), Fixed(2), nullptr };

bool CMovie::sInFrameEdit = false;
const Rect CMovie::kDefaultBounds { 0, 0, 350, 350 };
const bool gAlternateLayout = false;

CMovie::CMovie(const Rect& bounds)
    : bounds(bounds)
    , flags(static_cast<uint8_t>(kLoop | (gAlternateLayout ? kMode2 : kMode0)))
    , sounds(1)
    , colorTables(1)
    , links(1)
    , stamps(1)
    , frameIndex(new CFrameIndex)
{
    RegisterPurgeable(this);
}

CMovie::CMovie(const CMovie& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , Purgeable(other)
{
    RegisterPurgeable(this);
    CopyRange(other, 0, other.frameCount);
}

CMovie::CMovie(CMovie& source, int16_t start, int16_t count, bool cut)
{
    RegisterPurgeable(this);
    int16_t n = source.frameCount;
    start = std::clamp<int16_t>(start, 0, static_cast<int16_t>(n - 1));
    count = std::clamp<int16_t>(count, 0, static_cast<int16_t>(n - start));
    if (count == 0) {
        // A movie keeps one frame: an empty range copies as one blank frame.
        bounds = source.bounds;
        flags = static_cast<uint8_t>(source.flags & kCopiedFlags);
        sounds = SmartList<Sound>(1);
        colorTables = SmartList<ColorTable>(1);
        links = SmartList<CLink>(1);
        stamps = SmartList<ListData>(1);
        frameIndex = new CFrameIndex;
        return;
    }
    CopyRange(source, start, count);
    if (cut)
        source.DeleteFrames(start, count);
}

CMovie::CMovie(ArchiveScope& scope)
{
    RegisterPurgeable(this);
    Stream& stream = scope.GetStream();
    frameCount = std::max<int16_t>(stream.ReadShort(), 1);
    bounds = pw::engine::ReadStoredRect(stream, true);
    flags = 0;
    for (int bit = 0; bit < 8; ++bit)
        flags |= static_cast<uint8_t>((stream.ReadByte() & 1) << bit);
    pw::engine::ReadListReference(scope, sounds);
    pw::engine::ReadListReference(scope, colorTables);
    pw::engine::ReadListReference(scope, links);
    frameIndex = pw::engine::ReadReference<CFrameIndex>(scope);
    FitLists();
}

CMovie::~CMovie()
{
    UnregisterPurgeable(this);
}

CMovie& CMovie::operator=(const CMovie& other)
{
    if (this == &other)
        return *this;
    frameCount = other.frameCount;
    bounds = other.bounds;
    flags = other.flags;
    sounds = other.sounds;
    colorTables = other.colorTables;
    links = other.links;
    stamps = other.stamps;
    frameIndex = other.frameIndex;
    return *this;
}

bool CMovie::CanCopyFrom(Smart* source)
{
    return SmartCast(source, &classInfo) != nullptr;
}

void CMovie::CopyFrom(Smart* source)
{
    auto* castPtr = static_cast<CMovie*>(SmartCast(source, &classInfo));
    if (!castPtr)
        AssertionFailed("castPtr", PW_HERE);
    *this = *castPtr;
}

void CMovie::FitLists()
{
    auto fit = [this](ListHandle& list) {
        uint32_t count = static_cast<uint32_t>(frameCount);
        if (list.NumItems() > count)
            list.Data()->DeleteItems(count + 1, list.NumItems() - count);
        else if (list.NumItems() < count)
            list.InsertItems(nullptr, list.NumItems(), count - list.NumItems());
    };
    fit(sounds);
    fit(colorTables);
    fit(links);
    stamps = SmartList<ListData>(static_cast<uint32_t>(frameCount));
    if (!frameIndex.Valid())
        frameIndex = new CFrameIndex;
    for (uint32_t index = 1; index <= frameIndex->NumEntries(); ++index) {
        CJumpFrame* label = frameIndex->GetEntry(index);
        if (label->GetFrame() >= frameCount)
            label->SetFrame(static_cast<int16_t>(frameCount - 1));
    }
}

// The copy's index has its own labels; each copied link follows its label to the clone.
void CMovie::CopyRange(const CMovie& source, int16_t start, int16_t count)
{
    frameCount = count;
    bounds = source.bounds;
    flags = static_cast<uint8_t>(source.flags & kCopiedFlags);
    sounds = SmartList<Sound>();
    colorTables = SmartList<ColorTable>();
    links = SmartList<CLink>();
    for (int16_t frame = start; frame < start + count; ++frame) {
        sounds.Data()->Append(source.SoundAtFrame(frame));
        colorTables.Data()->Append(source.ColorTableAtFrame(frame));
        links.Data()->Append(source.LinkAtFrame(frame));
    }
    stamps = SmartList<ListData>(static_cast<uint32_t>(count));
    frameIndex = new CFrameIndex(*source.frameIndex.Get());
    for (uint32_t index = 1; index <= links.NumItems(); ++index) {
        if (CLink* link = links.Item(index)) {
            SmartPtr<CLink> copy = new CLink(*link);
            copy->RepointJumpFrame(*source.frameIndex.Get(), *frameIndex.Get());
            links.Replace(copy.Get(), index, 1);
        }
    }
    int16_t after = static_cast<int16_t>(start + count);
    frameIndex->DeleteFrames(after, static_cast<int16_t>(source.frameCount - after));
    frameIndex->DeleteFrames(0, start);
}

void CMovie::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteShort(frameCount);
    stream.WriteRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    for (int bit = 0; bit < 8; ++bit)
        stream.WriteByte(static_cast<char>((flags >> bit) & 1));
    scope.WriteObject(sounds.Data());
    scope.WriteObject(colorTables.Data());
    scope.WriteObject(links.Data());
    scope.WriteObject(frameIndex.Get());
}

void CMovie::Changed(Smart* source, const Rect& rect, int16_t frame)
{
    if (sInFrameEdit)
        return;
    Rect changed = source == static_cast<Smart*>(this) && rect == kEmpty ? bounds : rect;
    // A client may leave while it is told; the walk goes over the list as it was.
    std::vector<MovieClient*> told = clients;
    for (MovieClient* client : told)
        client->MovieChanged(source, changed, frame);
    if (frame >= frameCount)
        return;
    uint32_t first = frame < 0 ? 1 : static_cast<uint32_t>(frame) + 1;
    uint32_t last = frame < 0 ? stamps.NumItems() : first;
    for (uint32_t index = first; index <= last; ++index) {
        if (ListData* list = stamps.Item(index))
            list->DeleteAll();
    }
}

void CMovie::SetBounds(const Rect& rect)
{
    if (rect == bounds)
        return;
    Rect old = bounds;
    bounds = rect;
    std::vector<MovieClient*> told = clients;
    for (MovieClient* client : told)
        client->BoundsChanged(*this, old);
    Changed(this, old.Union(rect), -1);
}

void CMovie::OffsetFrame(int16_t, Point)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CMovie::GetFrameBounds(Rect& rect, int16_t)
{
    rect = bounds;
}

bool CMovie::DrawFrame(DisplayPort&, const SmartPtr<CXform>&, int16_t, const Color&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

bool CMovie::CanTransform(const SmartPtr<CXform>& xform)
{
    return !xform.Valid() || xform == kHiddenXform || xform->KeepsSizes();
}

SmartPtr<ListData> CMovie::GetFrameStamps(int16_t frame)
{
    if (!NormalizeFrame(frame))
        return new ListData(&SmartImplementation::classInfo);
    uint32_t index = static_cast<uint32_t>(frame) + 1;
    if (!stamps.Item(index))
        stamps.Replace(new ListData(&SmartImplementation::classInfo), index, 1);
    return stamps.Item(index);
}

SmartPtr<Image> CMovie::MakeImage()
{
    Rect rect;
    GetFrameBounds(rect, 0);
    rect = rect.IsEmpty() ? bounds : rect.Intersect(bounds);
    Point size = rect.Size();
    SmartPtr<OffScreen> buffer = new OffScreen(std::max(size.h, 1), std::max(size.v, 1), 8, Color(0), true);
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        Translation toOrigin(-rect.left, -rect.top);
        port.ApplyTransform(toOrigin);
        port.DrawRectangle(rect, Color(0), Color(Color::kNoColor), 1);
        DrawFrame(port, nullptr, 0, Color(0));
    }
    return buffer->GetBitMap().Get();
}

void CMovie::PlayFrameSound(int16_t frame, CTrackList& tracks, uint32_t channel)
{
    SmartPtr<Sound> sound = SoundAtFrame(frame);
    if (!sound.Valid())
        return;
    if (sound->IsEmpty()) {
        tracks.RemoveChannel(channel, false);
        return;
    }
    tracks.Play(channel, new SoundChannel(sound));
}

int16_t CMovie::AddResource(int16_t start, int16_t count, Smart*, int32_t, int16_t limit)
{
    GrowToRange(start, count, limit);
    return -1;
}

void CMovie::AddSprite(int32_t, Smart*)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CMovie::ObjectHook(Smart*)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

bool CMovie::FrameSoundsHook(int16_t frame)
{
    if (frame == -2)
        return false;
    int16_t first = frame == -1 ? int16_t(0) : frame;
    int16_t last = frame == -1 ? static_cast<int16_t>(frameCount - 1) : frame;
    for (int16_t f = first; f <= last; ++f) {
        if (SoundAtFrame(f))
            Exception::Warn(kNotImplemented, PW_HERE);
    }
    return false;
}

SmartPtr<CShow> CMovie::MakeShow()
{
    return new CShow(SmartPtr<CMovie>(this));
}

void CMovie::Purge(uint32_t)
{
    for (int16_t frame = 0; frame < frameCount; ++frame)
        GetFrameStamps(frame)->DeleteAll();
}

Sound* CMovie::SoundAtFrame(int16_t frame) const
{
    return static_cast<uint16_t>(frame) < static_cast<uint16_t>(frameCount) ? sounds.Item(uint32_t(frame) + 1) : nullptr;
}

ColorTable* CMovie::ColorTableAtFrame(int16_t frame) const
{
    return static_cast<uint16_t>(frame) < static_cast<uint16_t>(frameCount) ? colorTables.Item(uint32_t(frame) + 1)
                                                                             : nullptr;
}

CLink* CMovie::LinkAtFrame(int16_t frame) const
{
    return frame >= 0 && frame < frameCount ? links.Item(uint32_t(frame) + 1) : nullptr;
}

bool CMovie::NormalizeFrame(int16_t& frame) const
{
    if (frame < 0) {
        frame = 0;
        return false;
    }
    if (frame >= frameCount)
        frame = (flags & kLoop) ? static_cast<int16_t>(frame % frameCount) : static_cast<int16_t>(frameCount - 1);
    return true;
}

bool CMovie::ToggleLoop(bool toggle)
{
    if (toggle)
        flags ^= kLoop;
    return (flags & kLoop) != 0;
}

bool CMovie::ToggleMode(uint8_t bit, bool toggle)
{
    if (toggle) {
        flags ^= bit;
        if (flags & bit)
            flags = static_cast<uint8_t>((flags & ~(kMode0 | kMode2 | kMode4)) | bit);
        Changed(this, kEmpty, -1);
    }
    return (flags & bit) != 0;
}

bool CMovie::HasClient(const MovieClient* client) const
{
    return std::find(clients.begin(), clients.end(), client) != clients.end();
}

void CMovie::RemoveOrAppendClient(MovieClient* client)
{
    auto found = std::find(clients.begin(), clients.end(), client);
    if (found != clients.end())
        clients.erase(found);
    else
        clients.push_back(client);
}
