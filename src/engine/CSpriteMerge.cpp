// Folding a pasted sprite that continues this one into it, frame by frame, so that every pasted
// frame looks on the page as it did.
#include "engine/CSprite.h"

#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

bool SameKind(CMovie* a, CMovie* b)
{
    return (SmartCast<CMoviePic>(a) && SmartCast<CMoviePic>(b)) || (SmartCast<CMovieText>(a) && SmartCast<CMovieText>(b));
}

} // namespace

bool CSprite::TryMerge(const SmartPtr<CSprite>& other, bool checkOverlap, bool checkName, bool)
{
    CSprite& that = *other.operator->();
    if (checkName && !(name == that.name))
        return false;
    // Frames are counted in 32 bits: a run may end just past the 16-bit range. Sprites whose joint
    // run would be longer than a movie may be are left apart.
    int32_t otherStart = that.startFrame;
    int32_t otherEnd = otherStart + that.frameCount;
    int32_t jointStart = std::min<int32_t>(startFrame, otherStart);
    int32_t jointEnd = std::max<int32_t>(int32_t(startFrame) + frameCount, otherEnd);
    if (jointEnd - jointStart > CMovie::kMaxFrames || jointEnd > INT16_MAX + 1)
        return false;
    if (checkOverlap) {
        for (int32_t m = otherStart; m < otherEnd; ++m) {
            auto frame = static_cast<int16_t>(m);
            if (ShowsInFrames(frame, 1) && that.ShowsInFrames(frame, 1))
                return false;
        }
    }
    if (movie == that.movie) {
        bool agree = true;
        for (int32_t m = otherStart; agree && !movie->ToggleLoop(false) && m < otherEnd; ++m)
            agree = CelForFrame(static_cast<int16_t>(m)) == that.CelForFrame(static_cast<int16_t>(m));
        if (agree) {
            Merge(other);
            return true;
        }
    }
    if (!SameKind(movie.Get(), that.movie.Get()))
        return false;
    auto announce = [this](int16_t m) {
        if (!CMovie::sInFrameEdit)
            movie->Changed(movie.Get(), kEmpty, CelForFrame(m));
    };
    for (int32_t m = otherStart; m < otherEnd; ++m)
        announce(static_cast<int16_t>(m));
    Merge(other);
    auto* mine = SmartCast<CMovieRes>(movie.Get());
    auto* theirs = SmartCast<CMovieRes>(that.movie.Get());
    int32_t cels = theirs->NumFrames();
    int32_t j = that.frameCount <= cels ? that.frameCount - 1 : cels - 1;
    int32_t k = that.frameCount <= cels ? 1 : that.frameCount - j;
    for (; j >= 0; --j) {
        auto at = static_cast<int16_t>(otherStart + j - startFrame);
        mine->StoreItem(at, static_cast<int16_t>(k), theirs->ItemAt(static_cast<int16_t>(j)), !checkOverlap, frameCount);
        k = 1;
        announce(static_cast<int16_t>(otherStart + j));
    }
    return true;
}

void CSprite::Merge(const SmartPtr<CSprite>& sp)
{
    if (!sp.Valid() || !SmartCast<CSprite>(sp.Get()))
        AssertionFailed("sp != NULL && member(sp,CSprite)", PW_HERE);
    CSprite& that = *sp.Get();
    SmartPtr<CXform> r;
    Point d(0, 0);
    if (defaultPoint->transform != kHiddenXform && that.defaultPoint->transform != kHiddenXform) {
        SmartPtr<CXform> a = defaultPoint->transform.Valid() ? defaultPoint->transform : CelIdentity();
        SmartPtr<CXform> theirs = that.defaultPoint->transform.Valid() ? that.defaultPoint->transform : that.CelIdentity();
        r = a->RelativeTo(*theirs.Get());
        if (r->KeepsSizes())
            r = nullptr;
        Point mine = defaultPoint->Map(referencePoint);
        Point other = that.defaultPoint->Map(that.referencePoint);
        d = Point(mine.h - other.h, mine.v - other.v);
    }
    ShowFrames(that.startFrame, that.frameCount);
    for (int32_t i = 0; i < that.frameCount; ++i) {
        auto m = static_cast<int16_t>(that.startFrame + i);
        auto l = static_cast<uint32_t>(m - startFrame);
        PathPoint& source = *that.path.Item(uint32_t(i) + 1);
        PathPoint& entry = *path.Item(l + 1);
        SmartPtr<CXform> x = source.transform;
        if (r.Valid() && x.Valid() && x != kHiddenXform)
            x = x->ComposeWith(*r.Get());
        entry.SetTransform(x);
        Point p = source.Map(that.referencePoint);
        entry.Place(referencePoint, Point(p.h + d.h, p.v + d.v));
        Rect clip = kEmpty;
        if (source.transform.Valid() && source.transform != kHiddenXform && source.transform->HasClip()) {
            Rect theirFull = kEmpty;
            Rect myFull = kEmpty;
            that.GetFullFrameBounds(m, theirFull);
            GetFullFrameBounds(m, myFull);
            clip = source.transform->GetClip();
            clip.Offset(source.offset.h, source.offset.v);
            clip = CXform(theirFull, myFull).MapRect(clip);
            // Clips are kept without the entry's offset, which frame bounds add back.
            clip.Offset(-entry.offset.h, -entry.offset.v);
        }
        entry.SetClip(clip);
        SetKeyFrame(m, that.IsKeyFrame(m));
        sounds.Replace(that.sounds.Item(uint32_t(i) + 1), l + 1, 1);
        links.Replace(that.links.Item(uint32_t(i) + 1), l + 1, 1);
    }
}
