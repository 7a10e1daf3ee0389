// How a sprite draws a movie frame: it turns the frame into a cel and a composed transform and
// hands both to its cel movie; and how it tells whether two frames look alike.
#include "engine/CSprite.h"

#include "engine/CDelta.h"
#include "engine/CMoviePic.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"

#include <cstdint>
#include <limits>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };
// Where a sprite may draw before its own crop narrows it: anywhere.
constexpr int32_t kFar = std::numeric_limits<int32_t>::max() / 4;
constexpr Rect kAnywhere { -kFar, -kFar, kFar, kFar };
// The standard colour of the page beneath a picture drawn alone.
constexpr int kWhite = 0;

} // namespace

bool CSprite::ComposeFrame(SmartPtr<CXform>& xform, int16_t& frame, Rect& clip) const
{
    PathPoint* entry = PointAtFrame(frame);
    int16_t cel = CelForFrame(frame);
    frame = cel;
    auto nothing = [&] {
        xform = kHiddenXform;
        clip = kEmpty;
        return false;
    };
    if (!entry || xform == kHiddenXform)
        return nothing();
    SmartPtr<CXform> t = entry->transform;
    Point offset = entry->offset;
    if (t == kHiddenXform || (t.Valid() && !t->HasArea()))
        return nothing();
    Rect celRect = kEmpty;
    movie->GetFrameBounds(celRect, cel);
    if (celRect.IsEmpty())
        return nothing();
    if (t.Valid() && t->HasClip()) {
        Rect own = t->GetClip();
        own.Offset(offset.h, offset.v);
        if (xform.Valid())
            own = xform->MapRect(own);
        clip = clip.Intersect(own);
    }
    bool moved = offset != Point(0, 0);
    if (!t.Valid())
        t = new CXform(celRect, celRect);
    else if (moved)
        t = t.MakeCopy();
    // The offset moves where the cel lands: moving both rectangles would leave the mapping as it
    // was and drop the offset.
    if (moved)
        t->MoveDestination(offset);
    xform = xform.Valid() ? t->ComposeWith(*xform.Get()) : t;
    return true;
}

bool CSprite::DrawFrame(DisplayPort& target, const SmartPtr<CXform>& parent, int16_t frame, const Color& color,
    int32_t extra) const
{
    SmartPtr<CXform> xform = parent;
    Rect clip = kAnywhere;
    if (!ComposeFrame(xform, frame, clip))
        return true;
    if (clip == kAnywhere)
        return movie->Draw(target, xform, frame, color, extra);
    // A cropped frame shows only the part of the picture its crop leaves.
    PortSaverRect cropped(target, clip);
    return movie->Draw(target, xform, frame, color, extra);
}

bool CSprite::FrameHook(const SmartPtr<CXform>& parent, int16_t frame) const
{
    SmartPtr<CXform> xform = parent;
    Rect clip = kEmpty;
    if (!ComposeFrame(xform, frame, clip))
        return true;
    return movie->FrameHook(xform, frame);
}

bool CSprite::MakeDelta(int16_t a, int16_t b, const SmartPtr<CXform>& parentA, const SmartPtr<CXform>& parentB,
    Rect& clipA, Rect& clipB, CDelta& delta) const
{
    SmartPtr<CXform> xformA = parentA;
    SmartPtr<CXform> xformB = parentB;
    bool showsA = ComposeFrame(xformA, a, clipA);
    bool showsB = ComposeFrame(xformB, b, clipB);
    if (!showsA && !showsB)
        return true;
    return movie->MakeDelta(a, b, xformA, xformB, clipA, clipB, delta);
}

bool CSprite::FramesDiffer(int16_t a, int16_t b, const Rect& area) const
{
    bool showsA = ShowsInFrames(a, 1);
    bool showsB = ShowsInFrames(b, 1);
    if (!showsA && !showsB)
        return false;
    Rect rectA = kEmpty;
    Rect rectB = kEmpty;
    GetFrameBounds(a, &rectA, nullptr);
    GetFrameBounds(b, &rectB, nullptr);
    rectA = rectA.Intersect(area);
    rectB = rectB.Intersect(area);
    bool visibleA = showsA && !rectA.IsEmpty();
    bool visibleB = showsB && !rectB.IsEmpty();
    if (visibleA != visibleB)
        return true;
    if (!visibleA)
        return false;
    if (rectA != rectB)
        return true;
    if (!PointAtFrame(a)->Equals(*PointAtFrame(b)))
        return true;
    return movie->FramesDiffer(CelForFrame(a), CelForFrame(b));
}

void CSprite::GetVisibleCelRect(int16_t frame, Rect* rect, Point* point) const
{
    if (rect) {
        GetFrameBounds(frame, rect, nullptr);
        Rect full = kEmpty;
        GetFullFrameBounds(frame, full);
        if (!full.IsEmpty())
            *rect = CXform(full, CelRect(frame)).MapRect(*rect);
    }
    if (point)
        *point = referencePoint;
}

bool CSprite::ShowsAtPoint(int16_t frame, Point p) const
{
    Rect bounds = kEmpty;
    GetFrameBounds(frame, &bounds, nullptr);
    if (!bounds.Contains(p.h, p.v))
        return false;
    if (!movie->DrawsSeeThrough() || !SmartCast<CMoviePic>(movie.Get()))
        return true;
    // The sprite drawn as the page draws it over that one pixel, white at first: the white of its
    // picture is never drawn, so the pixel changes only where the picture has its own colour.
    OffScreen probe(1, 1, 8, Color(kWhite), true);
    uint32_t before = probe.GetBitMap()->GetPixelValue(0, 0);
    {
        DisplayPort port(probe, probe.GetBounds(), 0);
        Translation toProbe(-p.h, -p.v);
        port.ApplyTransform(toProbe);
        DrawFrame(port, nullptr, frame, Color(kWhite), 0);
    }
    return probe.GetBitMap()->GetPixelValue(0, 0) != before;
}
