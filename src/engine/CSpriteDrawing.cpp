// How a sprite draws a movie frame: it turns the frame into a cel and a composed transform and
// hands both to its cel movie; and how it tells whether two frames look alike.
#include "engine/CSprite.h"

#include "engine/CDelta.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

#include <cstdint>
#include <limits>

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };
// Where a sprite may draw before its own crop narrows it: anywhere.
constexpr int32_t kFar = std::numeric_limits<int32_t>::max() / 4;
constexpr Rect kAnywhere { -kFar, -kFar, kFar, kFar };

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
