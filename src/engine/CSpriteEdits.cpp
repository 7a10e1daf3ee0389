// The sprite's side of frame edits: its run grows, shrinks, shifts, hides and is copied, and
// single frames are turned, clipped and re-placed.
#include "engine/CSprite.h"

#include "engine/CMovieRes.h"
#include "engine/CMovieText.h"
#include "foundation/Exception.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };

bool Hidden(const PathPoint& entry)
{
    return entry.transform == kHiddenXform;
}

} // namespace

bool CSprite::InsertFrames(int16_t at, int16_t count, int16_t mode)
{
    if (count <= 0)
        return false;
    int32_t local = int32_t(at) - startFrame;
    if (local > frameCount || (local == frameCount && (mode == 0 || mode == 2))
        || int32_t(frameCount) + count > CMovie::kMaxFrames)
        return false;
    // Growing or moving later, the run must still end inside the 16-bit frame range: a sprite
    // past it could not be read back.
    if (int32_t(startFrame) + frameCount + count - 1 > INT16_MAX)
        return false;
    if (local < 0 || (local == 0 && (mode == 0 || mode == 1))) {
        startFrame = static_cast<int16_t>(startFrame + count);
        return false;
    }
    if (!movie->ToggleLoop(false) && movie->NumFrames() - 1 > local)
        movie->InsertFrames(static_cast<int16_t>(local), count, false, true);
    for (uint32_t index = KeyPosition(static_cast<int16_t>(local)); index <= keyFrames.NumItems(); ++index)
        keyFrames[index] = static_cast<int16_t>(keyFrames[index] + count);
    int32_t before = frameCount;
    frameCount = static_cast<int16_t>(frameCount + count);

    SmartPtr<PathPoint> prototype;
    if (mode == 3 && !Hidden(*defaultPoint.Get()))
        prototype = new PathPoint(*defaultPoint.Get());
    else if (mode == 3)
        prototype = new PathPoint;
    else
        prototype = new PathPoint(Point(0, 0), kHiddenXform);
    int32_t neighbour = -1;
    if ((mode == 1 || mode == 3) && local > 0)
        neighbour = local - 1;
    else if ((mode == 2 || mode == 3) && local < before)
        neighbour = local;
    Sound* sound = nullptr;
    CLink* link = nullptr;
    if (neighbour >= 0) {
        auto index = static_cast<uint32_t>(neighbour) + 1;
        prototype = path.Item(index);
        sound = sounds.Item(index);
        link = links.Item(index);
    }
    // Separate path points, the same sound and link objects. The points go in as one run: one at
    // a time, a long run would move the path's tail once per frame.
    SmartPtr<PathPoint> keep = prototype;
    SmartPtr<Sound> keepSound = sound;
    SmartPtr<CLink> keepLink = link;
    SmartList<PathPoint> added;
    for (int16_t n = 0; n < count; ++n)
        added.Append(new PathPoint(*keep.Get()));
    path.Data()->InsertList(*added.Data(), static_cast<uint32_t>(local));
    sounds.InsertItems(keepSound.Get(), static_cast<uint32_t>(local), static_cast<uint32_t>(count));
    links.InsertItems(keepLink.Get(), static_cast<uint32_t>(local), static_cast<uint32_t>(count));
    return true;
}

bool CSprite::DeleteFrames(int16_t first, int16_t count)
{
    int32_t local = int32_t(first) - startFrame;
    int32_t number = count;
    if (local <= 0) {
        if (number + local > 0)
            startFrame = first;
        else
            startFrame = static_cast<int16_t>(startFrame - count);
        number += local;
        local = 0;
    }
    if (local + number > frameCount)
        number = frameCount - local;
    if (number <= 0)
        return false;
    if (!movie->ToggleLoop(false)) {
        int32_t n = movie->NumFrames();
        // While the sprite is longer than its cels, the last cel stays: it holds to the end.
        int32_t cels = frameCount > n ? std::min<int32_t>(number, n - (local + 1)) : number;
        if (cels > 0)
            movie->DeleteFrames(static_cast<int16_t>(local), static_cast<int16_t>(cels));
    }
    frameCount = static_cast<int16_t>(frameCount - number);
    uint32_t firstKey = KeyPosition(static_cast<int16_t>(local));
    keyFrames.DeleteItems(firstKey, KeyPosition(static_cast<int16_t>(local + number)) - firstKey);
    for (uint32_t index = firstKey; index <= keyFrames.NumItems(); ++index)
        keyFrames[index] = static_cast<int16_t>(keyFrames[index] - number);
    auto from = static_cast<uint32_t>(local) + 1;
    path.Data()->DeleteItems(from, static_cast<uint32_t>(number));
    sounds.Data()->DeleteItems(from, static_cast<uint32_t>(number));
    links.Data()->DeleteItems(from, static_cast<uint32_t>(number));
    return true;
}

void CSprite::SetNumFrames(int16_t count)
{
    if (count > frameCount)
        InsertFrames(static_cast<int16_t>(startFrame + frameCount), static_cast<int16_t>(count - frameCount), 3);
    else if (count < frameCount)
        DeleteFrames(static_cast<int16_t>(startFrame + count), static_cast<int16_t>(frameCount - count));
}

void CSprite::HideFrames(int16_t first, int16_t count)
{
    if (!ClipRun(first, count))
        return;
    for (int16_t f = first; f < first + count; ++f) {
        SetKeyFrame(static_cast<int16_t>(startFrame + f), false);
        path.Item(static_cast<uint32_t>(f) + 1)->transform = kHiddenXform;
    }
}

void CSprite::ShowFrames(int16_t first, int16_t count)
{
    if (first < startFrame) {
        auto added = static_cast<int16_t>(startFrame - first);
        int16_t oldStart = startFrame;
        InsertFrames(oldStart, added, 3);
        HideFrames(oldStart, added);
        startFrame = first;
    }
    int32_t end = int32_t(startFrame) + frameCount;
    if (int32_t(first) + count > end) {
        auto added = static_cast<int16_t>(first + count - end);
        InsertFrames(static_cast<int16_t>(end), added, 3);
        HideFrames(static_cast<int16_t>(end), added);
    }
    if (defaultPoint->transform.Valid() && !Hidden(*defaultPoint.Get()) && !defaultPoint->transform->HasArea())
        defaultPoint->transform = kHiddenXform;
    SmartPtr<PathPoint> prototype = defaultPoint;
    if (Hidden(*defaultPoint.Get())) {
        prototype = new PathPoint;
        for (uint32_t index = 1; index <= path.NumItems(); ++index) {
            if (!Hidden(*path.Item(index))) {
                prototype = path.Item(index);
                break;
            }
        }
    }
    int32_t local = int32_t(first) - startFrame;
    if (local < 0)
        AssertionFailed("start >= 0", PW_HERE);
    if (local + count > frameCount)
        AssertionFailed("start+num <= nFrames", PW_HERE);
    for (int32_t f = local; f < local + count; ++f) {
        auto index = static_cast<uint32_t>(f) + 1;
        PathPoint* entry = path.Item(index);
        if (!entry->transform.Valid())
            continue;
        if (!Hidden(*entry)) {
            if (!SmartCast<CXform>(entry->transform.Get()))
                AssertionFailed("member(path[1+f]->xform,CXform)", PW_HERE);
            if (entry->transform->HasArea())
                continue;
            entry->transform = nullptr;
        }
        path.Replace(new PathPoint(*prototype.Get()), index, 1);
    }
}

void CSprite::TrimHidden(int16_t limit)
{
    int32_t last = std::min<int32_t>(int32_t(limit) - startFrame, frameCount);
    int32_t first = 0;
    while (first < last && !ShowsInFrames(static_cast<int16_t>(startFrame + first), 1))
        ++first;
    int32_t lastShown = -1;
    for (int32_t f = last - 1; f >= first; --f) {
        if (ShowsInFrames(static_cast<int16_t>(startFrame + f), 1)) {
            lastShown = f;
            break;
        }
    }
    if (lastShown < 0) {
        DeleteFrames(startFrame, frameCount);
        return;
    }
    DeleteFrames(static_cast<int16_t>(startFrame + lastShown + 1), static_cast<int16_t>(frameCount - lastShown - 1));
    if (first > 0) {
        int16_t start = startFrame;
        DeleteFrames(start, static_cast<int16_t>(first));
        startFrame = static_cast<int16_t>(start + first);
    }
}

SmartPtr<CSprite> CSprite::CopyFrames(int16_t first, int16_t count, bool cut)
{
    SmartPtr<CSprite> copy = new CSprite;
    copy->name = name;
    copy->referencePoint = referencePoint;
    copy->defaultPoint = new PathPoint(*defaultPoint.Get());
    copy->movie = movie;
    copy->background = background;
    int32_t copyStart = 0;
    int32_t number = count;
    if (startFrame >= first)
        number -= startFrame - first;
    else
        copyStart = first - startFrame;
    number = std::min<int32_t>(number, frameCount - copyStart);
    copy->startFrame = static_cast<int16_t>(startFrame + copyStart - first);
    if (number <= 0)
        return copy;
    copy->frameCount = static_cast<int16_t>(number);
    for (int32_t f = copyStart; f < copyStart + number; ++f) {
        auto index = static_cast<uint32_t>(f) + 1;
        copy->path.Append(new PathPoint(*path.Item(index)));
        copy->sounds.Append(sounds.Item(index));
        CLink* link = links.Item(index);
        copy->links.Append(link ? new CLink(*link) : nullptr);
    }
    int16_t cel = CelForFrame(static_cast<int16_t>(startFrame + copyStart));
    int16_t cels = movie->NumFrames();
    if (movie->ToggleLoop(false) && cel > 0) {
        // A looping cel movie keeps its whole cycle, turned to start at the first copied cel, so
        // that the copy shows the same cels in the same order.
        SmartPtr<CMovie> turned = movie->CopyFrames(cel, static_cast<int16_t>(cels - cel), false);
        turned->PasteMovie(turned->NumFrames(), movie->CopyFrames(0, cel, false));
        copy->movie = turned;
    } else if (movie->ToggleLoop(false)) {
        copy->movie = movie->CopyFrames(0, cels, false);
    } else {
        copy->movie = movie->CopyFrames(cel, static_cast<int16_t>(number), false);
    }
    for (uint32_t index = 1; index <= keyFrames.NumItems(); ++index) {
        int16_t key = keyFrames[index];
        if (key >= copyStart && key < copyStart + number)
            copy->keyFrames.Append(static_cast<int16_t>(key - copyStart));
    }
    if (cut)
        HideFrames(static_cast<int16_t>(startFrame + copyStart), static_cast<int16_t>(number));
    return copy;
}

void CSprite::SetDefaultFromFrame(int16_t frame)
{
    PathPoint* entry = frame < 0 ? nullptr : PointAtFrame(frame);
    if (entry)
        defaultPoint = entry;
    else
        defaultPoint = new PathPoint(Point(0, 0), kHiddenXform);
}

bool CSprite::IsFrameAtDefault(int16_t frame) const
{
    PathPoint* entry = PointAtFrame(frame);
    return entry && entry->Equals(*defaultPoint.Get());
}

bool CSprite::ThinKeyFrames(int16_t first, int16_t count)
{
    auto inRun = [&](int16_t key) { return key >= first && key < first + count; };
    for (uint32_t position = 2; position + 1 <= keyFrames.NumItems(); ++position) {
        int16_t key = keyFrames[position];
        if (inRun(key) && inRun(keyFrames[position - 1]) && inRun(keyFrames[position + 1]))
            keyFrames.DeleteItems(position, 1);
    }
    return true;
}

bool CSprite::InterpolateFrames()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

SmartPtr<CXform> CSprite::XformAtFrame(int16_t frame) const
{
    PathPoint* entry = PointAtFrame(frame);
    if (!entry || Hidden(*entry))
        return nullptr;
    return entry->transform;
}

SmartPtr<CXform> CSprite::WritableXformAtFrame(int16_t frame)
{
    PathPoint* entry = PointAtFrame(frame);
    if (!entry)
        return nullptr;
    if (Hidden(*entry))
        return kHiddenXform;
    if (!entry->transform.Valid())
        entry->transform = CelIdentity();
    else if (entry->transform->IsShared())
        entry->transform = entry->transform.MakeCopy();
    return entry->transform;
}

void CSprite::RotateAtFrame(int16_t frame, int16_t angle)
{
    if (!PointAtFrame(frame))
        return;
    int16_t current = 0;
    RotationAtFrame(frame, current);
    auto delta = static_cast<int16_t>(angle - current);
    if (delta == 0)
        return;
    SmartPtr<CXform> xform = WritableXformAtFrame(frame);
    if (!xform.Valid() || xform == kHiddenXform)
        return;
    Point center = xform->MapPoint(referencePoint, false);
    xform->RotateAbout(delta, center);
    SetKeyFrame(frame, true);
}

void CSprite::SetClipAtFrame(int16_t frame, const Rect* clip)
{
    if (!ShowsInFrames(frame, 1))
        ShowFrames(frame, 1);
    PathPoint* entry = PointAtFrame(frame);
    if (!clip || !entry)
        return;
    Rect full = kEmpty;
    GetFullFrameBounds(frame, full);
    Rect r = clip->Intersect(full);
    if (r.IsEmpty() || r == full)
        r = kEmpty;
    else
        r.Offset(-entry->offset.h, -entry->offset.v);
    SmartPtr<CXform> xform = entry->transform;
    if (!xform.Valid() || Hidden(*entry)) {
        if (r.IsEmpty())
            return;
        xform = new CXform(full, full);
    } else if (xform->IsShared()) {
        if (xform->GetClip() == r)
            return;
        xform = xform.MakeCopy();
    }
    xform->SetClip(r);
    entry->transform = xform;
}

void CSprite::RefitItem(int16_t frame, const Rect& newRect, int16_t first, int16_t count)
{
    auto* cels = SmartCast<CMovieRes>(movie.Get());
    if (!cels || !ClipRun(first, count) || frameCount == 0)
        return;
    auto l = static_cast<int16_t>(std::clamp<int32_t>(int32_t(frame) - startFrame, 0, frameCount - 1));
    CResource* item = cels->ItemAt(CelForFrame(static_cast<int16_t>(startFrame + l)));
    Rect old = kEmpty;
    movie->GetFrameBounds(old, CelForFrame(static_cast<int16_t>(startFrame + l)));
    SmartPtr<CXform> m = new CXform(old, newRect);
    Point p0 = referencePoint;
    PathPoint* entryL = path.Item(static_cast<uint32_t>(l) + 1);
    referencePoint = m->MapBack(entryL->Map(p0));
    SmartPtr<CXform> lx = entryL->transform.Valid() && !Hidden(*entryL) ? entryL->transform : CelIdentity();
    SmartPtr<CXform> r = m->RelativeTo(*lx.Get());
    if (r->IsIdentity())
        return;
    if (r->KeepsSizes() && r->IsUnrotated())
        r = nullptr;
    bool text = SmartCast<CMovieText>(movie.Get()) != nullptr;
    for (int16_t f = first; f < first + count; ++f) {
        auto movieFrame = static_cast<int16_t>(startFrame + f);
        PathPoint* entry = path.Item(static_cast<uint32_t>(f) + 1);
        if (cels->ItemAt(CelForFrame(movieFrame)) != item || Hidden(*entry))
            continue;
        movie->Changed(movie.Get(), kEmpty, movieFrame);
        if (text && entry->transform.Valid() && !entry->transform->KeepsSizes())
            continue;
        Point mapped = entry->transform.Valid() ? entry->transform->MapPoint(p0, false) : p0;
        entry->offset = Point(entry->offset.h + mapped.h, entry->offset.v + mapped.v);
        if (r.Valid()) {
            SmartPtr<CXform> composed = entry->transform.Valid() ? r->ComposeWith(*entry->transform.Get()) : r;
            entry->transform = composed->KeepsSizes() && composed->IsUnrotated() ? nullptr : composed;
        }
        Point moved = entry->transform.Valid() ? entry->transform->MapPoint(referencePoint, false) : referencePoint;
        entry->offset = Point(entry->offset.h - moved.h, entry->offset.v - moved.v);
        movie->Changed(movie.Get(), kEmpty, movieFrame);
    }
}
