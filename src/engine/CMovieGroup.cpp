#include "engine/CMovieGroup.h"

#include "engine/CMovieRes.h"
#include "engine/CResource.h"
#include "engine/CTrackList.h"
#include "engine/StoredReference.h"
#include "engine/WrapModulo.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"

#include <vector>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

Persistent* ReadGroup(Archive& archive)
{
    ArchiveScope scope(archive, CMovieGroup::version);
    return new CMovieGroup(scope);
}

// The movie part of a stored group sits in the movie's own scope inside the group's.
struct MovieScope {
    explicit MovieScope(ArchiveScope& outer)
        : scope(outer, CMovie::version)
    {
    }
    ArchiveScope& Get() { return scope; }
    ArchiveScope scope;
};

} // namespace

PW_DEFINE_CLASS(CMovieGroup, nullptr, nullptr, CMovie)

constinit const PersistentVersion CMovieGroup::version { &CMovieGroup::classInfo, Fixed(2), Fixed(2), &ReadGroup };

CMovieGroup::CMovieGroup(const Rect& bounds)
    : CMovie(bounds)
{
}

CMovieGroup::CMovieGroup(const SmartPtr<CMovie>& movie, bool markFirst)
    : CMovie(kEmpty)
{
    Rect movieBounds = kEmpty;
    movie->GetBounds(movieBounds);
    SetBounds(movieBounds);
    int16_t index = AddMovieAsSprite(0, movie->NumFrames(), movie);
    CSprite* first = GetSprite(index);
    if (markFirst && first && !first->ToggleFlag2(false))
        first->ToggleFlag2(true);
}

CMovieGroup::CMovieGroup(ArchiveScope& scope)
    : CMovie(MovieScope(scope).Get())
{
    if (!pw::engine::ReadListReference(scope, sprites))
        sprites = SmartList<CSprite>();
    for (uint32_t index = 1; index <= sprites.NumItems(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite)
            Listen(sprite->GetMovie().Get());
    }
}

CMovieGroup::CMovieGroup(const CMovieGroup& other)
    : Smart()
    , CMovie(other)
    , MovieClient()
{
    for (uint32_t index = 1; index <= other.sprites.NumItems(); ++index)
        sprites.Append(other.sprites.Item(index));
}

CMovieGroup::~CMovieGroup()
{
    for (uint32_t index = sprites.NumItems(); index >= 1; --index) {
        CSprite* sprite = sprites.Item(index);
        CMovie* cels = sprite ? sprite->GetMovie().Get() : nullptr;
        if (cels && cels->HasClient(this))
            cels->RemoveOrAppendClient(this);
    }
}

void CMovieGroup::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    CMovie::Write(scope.GetArchive());
    scope.WriteObject(sprites.Data());
}

CSprite* CMovieGroup::GetSprite(int16_t index) const
{
    if (index < 0 || uint32_t(index) >= NumSprites())
        return nullptr;
    return sprites.Item(uint32_t(index) + 1);
}

SmartPtr<CSprite> CMovieGroup::FindSpriteByName(const String& name) const
{
    if (name.Length() == 0)
        return nullptr;
    for (uint32_t index = NumSprites(); index >= 1; --index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && *sprite->GetName().Get() == name)
            return sprite;
    }
    return nullptr;
}

void CMovieGroup::SelectSprites(const SmartPtr<CSprite>& sprite, int16_t)
{
    selected = IndexOf(sprite.Get()) >= 0 ? sprite : nullptr;
}

SmartPtr<CSprite> CMovieGroup::GetSelectedSprite() const
{
    return IndexOf(selected.Get()) >= 0 ? selected : nullptr;
}

SmartPtr<CSprite> CMovieGroup::TopSpriteInFrame(int16_t frame) const
{
    for (uint32_t index = NumSprites(); index >= 1; --index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && sprite->ShowsInFrames(frame, 1))
            return sprite;
    }
    return nullptr;
}

int16_t CMovieGroup::IndexOf(const CSprite* sprite) const
{
    if (!sprite)
        return -1;
    uint32_t found = sprites.IndexOf(const_cast<CSprite*>(sprite));
    return found == 0 ? int16_t(-1) : static_cast<int16_t>(found - 1);
}

void CMovieGroup::RaiseSprite(CSprite* sprite, int16_t frame)
{
    int16_t i = IndexOf(sprite);
    if (i < 0)
        return;
    auto last = static_cast<int16_t>(NumSprites() - 1);
    int16_t j = -1;
    if (frame < 0 || frame >= NumFrames()) {
        j = last;
    } else {
        for (int16_t k = static_cast<int16_t>(i + 1); k <= last; ++k) {
            if (GetSprite(k)->ShowsInFrames(frame, 1)) {
                j = k;
                break;
            }
        }
    }
    if (j <= i)
        return;
    SmartPtr<CSprite> held = sprite;
    sprites.InsertItems(sprite, uint32_t(j) + 1, 1);
    sprites.Data()->DeleteItems(uint32_t(i) + 1, 1);
    Changed(this, kEmpty, -1);
}

void CMovieGroup::LowerSprite(CSprite* sprite, int16_t frame)
{
    int16_t i = IndexOf(sprite);
    if (i <= 0)
        return;
    int16_t j = 0;
    if (frame >= 0 && frame < NumFrames()) {
        j = static_cast<int16_t>(i - 1);
        while (j > 0 && !GetSprite(j)->ShowsInFrames(frame, 1))
            --j;
    }
    if (j == 0) {
        for (uint32_t index = 1; index <= NumSprites(); ++index) {
            CSprite* other = sprites.Item(index);
            if (other && other != sprite && other->ToggleFlag2(false)) {
                j = 1;
                break;
            }
        }
    }
    if (j >= i)
        return;
    // The list's handle may be the sprite's last one: hold it across the move.
    SmartPtr<CSprite> held = sprite;
    sprites.Data()->DeleteItems(uint32_t(i) + 1, 1);
    sprites.InsertItems(sprite, uint32_t(j), 1);
    Changed(this, kEmpty, -1);
}

Rect CMovieGroup::PlaceOnPage(const Rect& movieBounds) const
{
    Rect page = kEmpty;
    GetBounds(page);
    Rect r = movieBounds;
    Point pageCenter = page.Center();
    Point center = r.Center();
    r.Offset(pageCenter.h - center.h, pageCenter.v - center.v);
    r = r.Union(page);
    r.Offset(page.left - r.left, page.top - r.top);
    return r;
}

int16_t CMovieGroup::AddMovieAsSprite(int16_t start, int16_t count, const SmartPtr<CMovie>& movie)
{
    Rect movieBounds = kEmpty;
    movie->GetBounds(movieBounds);
    SmartPtr<CSprite> sprite = new CSprite(start, movie, PlaceOnPage(movieBounds));
    if (count > 0)
        sprite->SetNumFrames(count);
    return AddSprite(sprite, true);
}

int16_t CMovieGroup::AddResourceAsSprite(int16_t& start, int16_t& count, const SmartPtr<CResource>& resource,
    bool center, int16_t limit, const String& name)
{
    if (!resource.Valid())
        return -1;
    GrowToRange(start, count, limit);
    if (start < 0)
        start = 0;
    SmartPtr<CMovie> movie = CMovieRes::MakeMovie(resource, resource->GetBounds());
    CMovie* mp = movie.Get();
    ASSERT(mp != NULL);
    Rect r = kEmpty;
    mp->GetBounds(r);
    if (center)
        r = PlaceOnPage(r);
    SmartPtr<CSprite> sprite = new CSprite(start, movie, r);
    if (name.Length() != 0)
        sprite->SetName(new String(name));
    sprite->SetNumFrames(count);
    return AddSprite(sprite, true);
}

int16_t CMovieGroup::AddResource(int16_t start, int16_t count, Smart* object, int32_t extra, int16_t limit)
{
    return AddResourceAsSprite(start, count, SmartPtr<CResource>(SmartCast<CResource>(object)), extra != 0, limit,
        String());
}

int16_t CMovieGroup::AddSprite(const SmartPtr<CSprite>& sprite, bool merge)
{
    bool saved = sInFrameEdit;
    sInFrameEdit = true;
    if (!sprite.Valid()) {
        sInFrameEdit = saved;
        return -1;
    }
    int16_t result = -1;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* existing = sprites.Item(index);
        if (existing && existing->TryMerge(sprite, true, merge, false)) {
            result = static_cast<int16_t>(index - 1);
            break;
        }
    }
    if (result < 0) {
        sprite->SetMovie(BreakCycles(sprite->GetMovie()));
        SmartPtr<CSprite> copy = new CSprite(*sprite.Get());
        result = static_cast<int16_t>(NumSprites());
        sprites.Append(copy);
        Listen(copy->GetMovie().Get());
    }
    sInFrameEdit = saved;
    if (!saved)
        ChangedFrames(sprite->StartFrame(), sprite->NumFrames());
    return result;
}

void CMovieGroup::AddSprite(int32_t value, Smart* object)
{
    AddSprite(SmartPtr<CSprite>(SmartCast<CSprite>(object)), value != 0);
}

SmartPtr<CMovie> CMovieGroup::BreakCycles(const SmartPtr<CMovie>& movie)
{
    auto* group = SmartCast<CMovieGroup>(movie.Get());
    if (!group)
        return movie;
    if (group == this)
        return new CMovieGroup(*this);
    for (uint32_t index = 1; index <= group->NumSprites(); ++index) {
        CSprite* sprite = group->sprites.Item(index);
        if (sprite && SmartCast<CMovieGroup>(sprite->GetMovie().Get())) {
            SmartPtr<CMovie> old = sprite->GetMovie();
            SmartPtr<CMovie> safe = BreakCycles(old);
            if (safe.Get() != old.Get()) {
                // The inner group follows its sprite to the new cel movie.
                group->StopListening(old.Get(), sprite);
                sprite->SetMovie(safe);
                group->Listen(safe.Get());
            }
        }
    }
    return movie;
}

void CMovieGroup::Listen(CMovie* movie)
{
    if (movie && movie != static_cast<CMovie*>(this) && !movie->HasClient(this))
        movie->RemoveOrAppendClient(this);
}

void CMovieGroup::StopListening(CMovie* movie, const CSprite* leaving)
{
    if (!movie || !movie->HasClient(this))
        return;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && sprite != leaving && sprite->GetMovie().Get() == movie)
            return;
    }
    movie->RemoveOrAppendClient(this);
}

void CMovieGroup::ReplaceSpriteMovie(CSprite* sprite, const SmartPtr<CMovie>& movie, Point point)
{
    if (IndexOf(sprite) < 0 || !movie.Valid())
        return;
    SmartPtr<CSprite> held = sprite;
    int16_t s = sprite->StartFrame();
    Point old(0, 0);
    sprite->GetFrameBounds(s, nullptr, &old);
    SmartPtr<CMovie> oldMovie = sprite->GetMovie();
    sprite->SetMovie(BreakCycles(movie));
    StopListening(oldMovie.Get(), nullptr);
    Listen(sprite->GetMovie().Get());
    Rect r = kEmpty;
    sprite->GetFullFrameBounds(s, r);
    if (!r.IsEmpty()) {
        Rect m = kEmpty;
        sprite->GetMovie()->GetFrameBounds(m, 0);
        Point p = point;
        if (!m.IsEmpty()) {
            p.h = r.left + static_cast<int32_t>(int64_t(point.h - m.left) * (r.right - r.left) / (m.right - m.left));
            p.v = r.top + static_cast<int32_t>(int64_t(point.v - m.top) * (r.bottom - r.top) / (m.bottom - m.top));
        }
        sprite->PlaceAtFrame(s, nullptr, &p);
        sprite->OffsetPath(static_cast<int16_t>(old.h - p.h), static_cast<int16_t>(old.v - p.v));
    }
    if (!sInFrameEdit)
        ChangedFrames(s, sprite->NumFrames());
}

void CMovieGroup::RemoveEmptySprites()
{
    int16_t n = NumFrames();
    for (uint32_t index = NumSprites(); index >= 1; --index) {
        SmartPtr<CSprite> sprite = sprites.Item(index);
        if (!sprite.Valid())
            continue;
        sprite->TrimHidden(n);
        if (sprite->NumFrames() == 0) {
            StopListening(sprite->GetMovie().Get(), sprite.Get());
            sprites.Data()->DeleteItems(index, 1);
        }
    }
}

void CMovieGroup::ChangedFrames(int16_t first, int16_t count)
{
    for (int32_t f = first; f < int32_t(first) + count; ++f)
        Changed(this, kEmpty, static_cast<int16_t>(f));
}

void CMovieGroup::OffsetFrame(int16_t frame, Point offset)
{
    if (offset.h == 0 && offset.v == 0)
        return;
    if (frame < 0) {
        for (int32_t f = NumFrames() - 1; f >= 0; --f)
            OffsetFrame(static_cast<int16_t>(f), offset);
        return;
    }
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (!sprite || !sprite->ShowsInFrames(frame, 1))
            continue;
        Rect rect = kEmpty;
        sprite->GetFrameBounds(frame, &rect, nullptr);
        rect.Offset(offset.h, offset.v);
        bool key = sprite->IsKeyFrame(frame);
        sprite->PlaceAtFrame(frame, &rect, nullptr);
        sprite->SetKeyFrame(frame, key);
    }
    Changed(this, kEmpty, frame);
}

void CMovieGroup::GetFrameBounds(Rect& rect, int16_t frame)
{
    rect = kEmpty;
    bool taken = false;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (!sprite || !sprite->ShowsInFrames(frame, 1))
            continue;
        Rect one = kEmpty;
        sprite->GetFrameBounds(frame, &one, nullptr);
        if (!taken) {
            rect = one;
            taken = !one.IsEmpty();
        } else {
            rect = rect.Union(one);
        }
    }
}

bool CMovieGroup::DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color)
{
    bool all = true;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && !sprite->DrawFrame(port, xform, frame, color, 0))
            all = false;
    }
    return all;
}

bool CMovieGroup::Draw(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame, const Color& color,
    int32_t extra)
{
    if (xform.Get() == kHiddenXform.Get())
        return true;
    uint8_t flags = GetFlags();
    if (flags & kMode0)
        return DrawFrame(target, xform, frame, color);
    if (flags & (kMode4 | kMode2))
        return CMovie::Draw(target, xform, frame, color, extra);
    Rect area = kEmpty;
    GetBounds(area);
    if (xform.Valid())
        area = xform->MapRect(area);
    target.DrawRectangle(area, Color(13), Color(13), 1);
    return DrawFrame(target, xform, frame, color);
}

bool CMovieGroup::MakeDelta(int16_t oldFrame, int16_t newFrame, const SmartPtr<CXform>& oldXform,
    const SmartPtr<CXform>& newXform, Rect& oldRect, const Rect& newRect, CDelta& delta)
{
    if (!(GetFlags() & kMode0))
        return CMovie::MakeDelta(oldFrame, newFrame, oldXform, newXform, oldRect, newRect, delta);
    auto a = WrapModulo(oldFrame, NumFrames());
    auto b = WrapModulo(newFrame, NumFrames());
    bool all = true;
    for (uint32_t index = NumSprites(); index >= 1; --index) {
        CSprite* sprite = sprites.Item(index);
        Rect clip = newRect;
        if (sprite && !sprite->MakeDelta(a, b, oldXform, newXform, oldRect, clip, delta))
            all = false;
    }
    return all;
}

int16_t CMovieGroup::CountPieces()
{
    if (!(GetFlags() & kMode0))
        return 1;
    int32_t sum = 0;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite)
            sum += sprite->GetMovie()->CountPieces();
    }
    return static_cast<int16_t>(std::min<int32_t>(sum, INT16_MAX));
}

bool CMovieGroup::FrameTest(int16_t frame)
{
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && sprite->ShowsInFrames(frame, 1) && !sprite->GetMovie()->FrameTest(sprite->CelForFrame(frame)))
            return false;
    }
    return CMovie::FrameTest(frame);
}

bool CMovieGroup::FrameHook(const SmartPtr<CXform>& xform, int16_t frame)
{
    bool all = true;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && !sprite->FrameHook(xform, frame))
            all = false;
    }
    return all;
}

void CMovieGroup::PlayFrameSound(int16_t frame, CTrackList& tracks, uint32_t channel)
{
    auto count = static_cast<int16_t>(NumSprites());
    for (int16_t i = static_cast<int16_t>(count - 1); i >= 0; --i) {
        CSprite* sprite = GetSprite(i);
        if (!sprite)
            continue;
        uint32_t sub = CTrackList::SubchannelNumber(int32_t(channel), i, count);
        if (!sprite->ShowsInFrames(frame, 1)) {
            tracks.RemoveChannel(sub, true);
            continue;
        }
        CMovie& cels = *sprite->GetMovie().operator->();
        int32_t local = frame - sprite->StartFrame();
        if (cels.ToggleLoop(false))
            local = WrapModulo(local, cels.NumFrames());
        if (local >= 0 && local < cels.NumFrames())
            cels.PlayFrameSound(static_cast<int16_t>(local), tracks, sub);
    }
    CMovie::PlayFrameSound(frame, tracks, channel);
}

bool CMovieGroup::GetFlag1()
{
    if (!(GetFlags() & kMode0))
        return CMovie::GetFlag1();
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && sprite->GetMovie()->GetFlag1())
            return true;
    }
    return false;
}

void CMovieGroup::ForwardToCel(int32_t value, int32_t frame, Smart* sprite)
{
    if (frame < 0 || frame >= NumFrames())
        return;
    auto f = static_cast<int16_t>(frame);
    auto* only = SmartCast<CSprite>(sprite);
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* each = sprites.Item(index);
        if (!each || (only && each != only) || !each->ShowsInFrames(f, 1))
            continue;
        each->GetMovie()->ForwardToCel(value, each->CelForFrame(f), each);
    }
}

void CMovieGroup::MovieChanged(Smart* source, const Rect&, int16_t cel)
{
    auto* m = SmartCast<CMovie>(source);
    std::vector<SmartPtr<CSprite>> users;
    for (uint32_t index = 1; index <= NumSprites(); ++index) {
        CSprite* sprite = sprites.Item(index);
        if (sprite && m && sprite->GetMovie().Get() == m)
            users.emplace_back(sprite);
    }
    if (users.empty()) {
        Changed(this, kEmpty, cel);
        return;
    }
    for (const SmartPtr<CSprite>& sprite : users) {
        int32_t a = sprite->StartFrame();
        int32_t end = a + sprite->NumFrames();
        int32_t step = m->NumFrames();
        if (cel < 0) {
            step = 1;
        } else if (m->ToggleLoop(false)) {
            a += cel;
        } else if (cel < m->NumFrames() - 1) {
            a += cel;
            end = a + 1;
        } else {
            a += cel;
            step = 1;
        }
        step = std::max<int32_t>(step, 1);
        for (int32_t f = a; f < end; f += step) {
            Rect rect = kEmpty;
            sprite->GetFrameBounds(static_cast<int16_t>(f), &rect, nullptr);
            if (!rect.IsEmpty())
                Changed(this, rect, static_cast<int16_t>(f));
        }
    }
}
