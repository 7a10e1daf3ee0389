#include "engine/CSprite.h"

#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/GetResourceByIndex.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/GenericArray.h"
#include "foundation/Stream.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

SmartPtr<CSprite> SpriteOver(const SmartPtr<CMovie>& movie)
{
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    return new CSprite(0, movie, bounds);
}

SmartPtr<CMovie> PictureMovie(int16_t index)
{
    SmartPtr<Smart> picture = GetResourceByIndex(index);
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(SmartCast<Persistent>(picture.Get())), true);
    return new CMoviePic(resource, true);
}

bool SpriteFromSound(SmartPtr<Smart>& handle)
{
    SmartPtr<Sound> sound = SmartCast<Sound>(handle.Get());
    if (!sound.Valid())
        return false;
    SmartPtr<CSprite> sprite = SpriteOver(PictureMovie(1));
    sprite->SetSound(0, 1, sound.Get());
    handle = SmartPtr<Smart>(sprite.Get());
    return true;
}

bool SpriteFromMovie(SmartPtr<Smart>& handle)
{
    SmartPtr<CMovie> movie = SmartCast<CMovie>(handle.Get());
    if (!movie.Valid())
        return false;
    handle = SmartPtr<Smart>(SpriteOver(movie).Get());
    return true;
}

bool SpriteFromWebLink(SmartPtr<Smart>& handle)
{
    const ClassInfo* linkClass = pw::engine::GetWebLinkServices().linkClass;
    if (!linkClass || !SmartCast(handle.Get(), linkClass))
        return false;
    SmartPtr<Persistent> href = SmartCast<Persistent>(handle.Get());
    SmartPtr<CSprite> sprite = SpriteOver(PictureMovie(4));
    SmartPtr<CLink> link = new CLink;
    link->SetHREF(href);
    sprite->SetLink(0, 1, link.Get());
    handle = SmartPtr<Smart>(sprite.Get());
    return true;
}

// The web-link row's class is set when the export floor lends it; until then the row ends the
// table.
pw::foundation::ConversionEntry spriteConversions[] = {
    { &Sound::classInfo, &SpriteFromSound, nullptr },
    { &CMovie::classInfo, &SpriteFromMovie, nullptr },
    { nullptr, &SpriteFromWebLink, nullptr },
    { nullptr, nullptr, nullptr },
};

bool Ascending(const TypedArray<int16_t>& keys, int16_t count)
{
    for (uint32_t index = 1; index <= keys.NumItems(); ++index) {
        int16_t key = keys[index];
        if (key < 0 || key >= count || (index > 1 && keys[index - 1] >= key))
            return false;
    }
    return true;
}

} // namespace

PW_DEFINE_CLASS(CSprite, nullptr, spriteConversions, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CSprite)

constinit const PersistentVersion CSprite::version { &CSprite::classInfo, Fixed(2), Fixed(2),
    &pw::foundation::ReadInScope<CSprite> };

void pw::engine::SetSpriteLinkClass(const ClassInfo* linkClass)
{
    spriteConversions[2].source = linkClass;
}

CSprite::CSprite(int16_t start, const SmartPtr<CMovie>& movie, const Rect& placement)
    : startFrame(start)
    , keyFrames(0)
{
    CheckSmartData(movie.Get());
    frameCount = movie->NumFrames();
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    referencePoint = bounds.Center();
    Point offset(0, 0);
    if (!placement.IsEmpty()) {
        Point center = placement.Center();
        offset = Point(center.h - referencePoint.h, center.v - referencePoint.v);
    }
    defaultPoint = new PathPoint(offset, nullptr);
    sounds = SmartList<Sound>(static_cast<uint32_t>(frameCount));
    links = SmartList<CLink>(static_cast<uint32_t>(frameCount));
    for (int16_t frame = 0; frame < frameCount; ++frame)
        path.Append(new PathPoint(*defaultPoint.Get()));
    keyFrames.Append(0);
    this->movie = movie;
}

CSprite::CSprite(const CSprite& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , frameCount(other.frameCount)
    , name(other.name)
    , startFrame(other.startFrame)
    , referencePoint(other.referencePoint)
    , background(other.background)
    , keyFrames(other.keyFrames)
{
    for (uint32_t index = 1; index <= uint32_t(frameCount); ++index) {
        PathPoint* point = other.path.Item(index);
        path.Append(point ? new PathPoint(*point) : nullptr);
        sounds.Append(other.sounds.Item(index));
        CLink* link = other.links.Item(index);
        links.Append(link ? new CLink(*link) : nullptr);
    }
    defaultPoint = other.defaultPoint.Valid() ? new PathPoint(*other.defaultPoint.Get()) : nullptr;
    CMovie& cels = *other.movie.operator->();
    bool holdsLast = !cels.ToggleLoop(false) && cels.NumFrames() > 1;
    movie = cels.CopyFrames(0, holdsLast ? frameCount : cels.NumFrames(), false);
}

CSprite::CSprite(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    frameCount = stream.ReadShort();
    {
        ArchiveScope inner(scope, String::version);
        name = String(inner);
    }
    startFrame = stream.ReadShort();
    referencePoint = pw::engine::ReadStoredPoint(stream);
    bool hasPath = pw::engine::ReadListReference(scope, path);
    defaultPoint = pw::engine::ReadReference<PathPoint>(scope);
    bool hasSounds = pw::engine::ReadListReference(scope, sounds);
    bool hasLinks = pw::engine::ReadListReference(scope, links);
    movie = pw::engine::ReadReference<CMovie>(scope);
    background = (stream.ReadByte() & 1) != 0;
    {
        ArchiveScope inner(scope, GenericArray::version);
        keyFrames = TypedArray<int16_t>(inner);
    }
    // The last frame, start + count - 1, must be a 16-bit movie frame too: frame arithmetic on the
    // run would overflow otherwise.
    if (frameCount < 0 || int32_t(startFrame) + frameCount - 1 > INT16_MAX || !hasPath || !movie.Valid())
        pw::foundation::ThrowCorruptFile(PW_HERE);
    auto count = static_cast<uint32_t>(frameCount);
    if (!hasSounds)
        sounds = SmartList<Sound>(count);
    if (!hasLinks)
        links = SmartList<CLink>(count);
    if (!defaultPoint.Valid())
        defaultPoint = new PathPoint;
    CheckStored();
}

// Every list one entry a frame, every frame a path point, key frames in range and in order.
void CSprite::CheckStored() const
{
    auto count = static_cast<uint32_t>(frameCount);
    bool fits = path.NumItems() == count && sounds.NumItems() == count && links.NumItems() == count
        && Ascending(keyFrames, frameCount);
    for (uint32_t index = 1; fits && index <= count; ++index)
        fits = path.Item(index) != nullptr;
    if (!fits)
        pw::foundation::ThrowCorruptFile(PW_HERE);
}

CSprite& CSprite::operator=(const CSprite& other)
{
    if (this == &other)
        return *this;
    frameCount = other.frameCount;
    name = other.name;
    startFrame = other.startFrame;
    referencePoint = other.referencePoint;
    background = other.background;
    keyFrames = other.keyFrames;
    path = other.path;
    defaultPoint = other.defaultPoint;
    sounds = other.sounds;
    links = other.links;
    movie = other.movie;
    return *this;
}

void CSprite::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteShort(frameCount);
    scope.Put(name);
    stream.WriteShort(startFrame);
    scope.WritePoint(referencePoint.h, referencePoint.v);
    scope.WriteObject(path.Data());
    scope.WriteObject(defaultPoint.Get());
    scope.WriteObject(sounds.Data());
    scope.WriteObject(links.Data());
    scope.WriteObject(movie.Get());
    stream.WriteBool(background);
    scope.Put(keyFrames);
}

void CSprite::SetMovie(const SmartPtr<CMovie>& newMovie)
{
    if (newMovie.Valid() && newMovie != movie)
        movie = newMovie;
}

SmartPtr<String> CSprite::GetName() const
{
    return new String(name);
}

void CSprite::SetName(const SmartPtr<String>& han)
{
    if (!han.Valid())
        AssertionFailed("han != NULL", PW_HERE);
    name = *han.Get();
}

int16_t CSprite::CelForFrame(int16_t frame) const
{
    int32_t local = int32_t(frame) - startFrame;
    if (local < 0)
        return 0;
    int32_t n = movie->NumFrames();
    if (movie->ToggleLoop(false))
        return static_cast<int16_t>(local % n);
    return static_cast<int16_t>(local < n ? local : n - 1);
}

PathPoint* CSprite::PointAtFrame(int16_t frame) const
{
    int32_t local = int32_t(frame) - startFrame;
    return local >= 0 && local < frameCount ? path.Item(static_cast<uint32_t>(local) + 1) : nullptr;
}

Sound* CSprite::SoundAtFrame(int16_t frame) const
{
    int32_t local = int32_t(frame) - startFrame;
    return local >= 0 && local < frameCount ? sounds.Item(static_cast<uint32_t>(local) + 1) : nullptr;
}

CLink* CSprite::LinkAtFrame(int16_t frame) const
{
    int32_t local = int32_t(frame) - startFrame;
    return local >= 0 && local < frameCount ? links.Item(static_cast<uint32_t>(local) + 1) : nullptr;
}

bool CSprite::ClipRun(int16_t& first, int16_t& count) const
{
    int32_t from = int32_t(first) - startFrame;
    int32_t number = count;
    if (from < 0) {
        number += from;
        from = 0;
    }
    if (from + number > frameCount)
        number = frameCount - from;
    if (number <= 0)
        return false;
    first = static_cast<int16_t>(from);
    count = static_cast<int16_t>(number);
    return true;
}

void CSprite::SetSound(int16_t first, int16_t count, Sound* sound)
{
    if (ClipRun(first, count))
        sounds.Replace(sound, static_cast<uint32_t>(first) + 1, static_cast<uint32_t>(count));
}

void CSprite::SetLink(int16_t first, int16_t count, CLink* link)
{
    if (!ClipRun(first, count))
        return;
    SmartPtr<CLink> copy = link ? new CLink(*link) : nullptr;
    links.Replace(copy.Get(), static_cast<uint32_t>(first) + 1, static_cast<uint32_t>(count));
}

void CSprite::GetTextAtFrame(int16_t frame, String& text) const
{
    text = String("");
    auto* texts = SmartCast<CMovieText>(movie.Get());
    if (!texts)
        return;
    SmartPtr<Persistent> object = texts->ItemObject(CelForFrame(frame));
    if (auto* found = SmartCast<String>(object.Get()))
        text = *found;
}

Rect CSprite::CelRect(int16_t frame) const
{
    Rect rect = kEmpty;
    movie->GetFrameBounds(rect, CelForFrame(frame));
    return rect;
}

void CSprite::GetFrameBounds(int16_t frame, Rect* rect, Point* point) const
{
    PathPoint* entry = PointAtFrame(frame);
    bool visible = entry && entry->transform != kHiddenXform;
    if (rect) {
        *rect = kEmpty;
        if (visible) {
            Rect cel = CelRect(frame);
            if (!cel.IsEmpty()) {
                CXform* x = entry->transform.Get();
                if (x) {
                    cel = x->MapRect(cel);
                    if (x->HasClip())
                        cel = cel.Intersect(x->GetClip());
                }
                cel.Offset(entry->offset.h, entry->offset.v);
            }
            *rect = cel;
        }
    }
    if (point) {
        *point = referencePoint;
        if (visible) {
            if (entry->transform.Valid())
                *point = entry->transform->MapPoint(*point, false);
            *point = Point(point->h + entry->offset.h, point->v + entry->offset.v);
        }
    }
}

void CSprite::GetFullFrameBounds(int16_t frame, Rect& rect) const
{
    rect = kEmpty;
    PathPoint* entry = PointAtFrame(frame);
    if (!entry || entry->transform == kHiddenXform)
        return;
    rect = CelRect(frame);
    if (rect.IsEmpty())
        return;
    if (entry->transform.Valid())
        rect = entry->transform->MapRect(rect);
    rect.Offset(entry->offset.h, entry->offset.v);
}

void CSprite::GetCorners(int16_t frame, std::array<Point, 4>& corners) const
{
    corners.fill(Point(0, 0));
    Rect cel = CelRect(frame);
    if (!ShowsInFrames(frame, 1) || cel.IsEmpty())
        return;
    PathPoint* entry = PointAtFrame(frame);
    corners = { cel.TopLeft(), Point(cel.right, cel.top), cel.BottomRight(), Point(cel.left, cel.bottom) };
    for (Point& corner : corners)
        corner = entry->Map(corner);
}

bool CSprite::ShowsInFrames(int16_t first, int16_t count) const
{
    int32_t local = int32_t(first) - startFrame;
    int32_t last = std::min<int32_t>(local + count - 1, frameCount - 1);
    local = std::max<int32_t>(local, 0);
    for (int32_t f = local; f <= last; ++f) {
        PathPoint* entry = path.Item(static_cast<uint32_t>(f) + 1);
        if (entry->transform == kHiddenXform || CelRect(static_cast<int16_t>(startFrame + f)).IsEmpty())
            continue;
        if (!entry->transform.Valid() || entry->transform->HasArea())
            return true;
    }
    return false;
}

void CSprite::RotationAtFrame(int16_t frame, int16_t& angle) const
{
    angle = 0;
    PathPoint* entry = PointAtFrame(frame);
    if (entry && entry->transform.Valid() && entry->transform != kHiddenXform)
        angle = entry->transform->GetAngle();
}

void CSprite::PlaceAtFrame(int16_t frame, const Rect* rect, const Point* point)
{
    if (rect && rect->IsEmpty()) {
        HideFrames(frame, 1);
        return;
    }
    if (!ShowsInFrames(frame, 1))
        ShowFrames(frame, 1);
    PathPoint* entry = PointAtFrame(frame);
    if (!entry)
        return;
    if (rect) {
        Rect current = kEmpty;
        Rect full = kEmpty;
        GetFrameBounds(frame, &current, nullptr);
        GetFullFrameBounds(frame, full);
        Rect target = current.IsEmpty() ? *rect : CXform(current, *rect).MapRect(full);
        Rect cel = CelRect(frame);
        if (!cel.IsEmpty()) {
            if (entry->transform.Valid() && entry->transform != kHiddenXform) {
                if (entry->transform->IsShared())
                    entry->transform = entry->transform.MakeCopy();
                entry->transform->SetRects(cel, target);
                entry->offset = Point(0, 0);
            } else {
                entry->SetTransform(new CXform(cel, target));
            }
            SetKeyFrame(frame, true);
        }
    }
    if (point) {
        Point p(point->h - entry->offset.h, point->v - entry->offset.v);
        if (entry->transform.Valid() && entry->transform != kHiddenXform)
            p = entry->transform->MapBack(p);
        referencePoint = p;
    }
}

bool CSprite::ToggleFlag2(bool toggle)
{
    if (toggle)
        background = !background;
    return background;
}

uint32_t CSprite::KeyPosition(int16_t local) const
{
    uint32_t count = keyFrames.NumItems();
    if (count == 0)
        return 1;
    const auto* keys = static_cast<const int16_t*>(keyFrames.ItemAddress(1));
    return static_cast<uint32_t>(std::lower_bound(keys, keys + count, local) - keys) + 1;
}

bool CSprite::IsKeyFrame(int16_t frame) const
{
    auto local = static_cast<int16_t>(frame - startFrame);
    uint32_t position = KeyPosition(local);
    return position <= keyFrames.NumItems() && keyFrames[position] == local;
}

void CSprite::SetKeyFrame(int16_t frame, bool on)
{
    auto local = static_cast<int16_t>(frame - startFrame);
    // Key frames lie inside the sprite: a file holding others would be refused.
    if (local < 0 || local >= frameCount)
        return;
    uint32_t position = KeyPosition(local);
    bool present = position <= keyFrames.NumItems() && keyFrames[position] == local;
    if (on && !present)
        keyFrames.InsertItems(&local, position - 1, 1);
    else if (!on && present)
        keyFrames.DeleteItems(position, 1);
}

void CSprite::OffsetPath(int16_t dh, int16_t dv)
{
    for (uint32_t index = 1; index <= path.NumItems(); ++index) {
        PathPoint* entry = path.Item(index);
        if (entry && entry->transform != kHiddenXform)
            entry->offset = Point(entry->offset.h + dh, entry->offset.v + dv);
    }
}

SmartPtr<CXform> CSprite::CelIdentity() const
{
    Rect bounds = kEmpty;
    movie->GetBounds(bounds);
    return new CXform(bounds, bounds);
}
