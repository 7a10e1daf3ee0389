// How a movie draws its frames through the stamp cache, and what it records for redraws.
#include "engine/CMovie.h"

#include "engine/CDelta.h"
#include "engine/CMemory.h"
#include "engine/CStamp.h"
#include "engine/WrapModulo.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

namespace {

constexpr Rect kEmpty { 0, 0, 0, 0 };
constexpr uint8_t kModes = CMovie::kMode0 | CMovie::kMode2 | CMovie::kMode4;
// Drawings under this size in both directions count as tiny.
constexpr int32_t kTiny = 9;

bool Hidden(const SmartPtr<CXform>& xform)
{
    return xform.Valid() && (xform == kHiddenXform || !xform->HasArea());
}

bool SameXform(const SmartPtr<CXform>& a, const SmartPtr<CXform>& b)
{
    if (a == b)
        return true;
    return a.Valid() && b.Valid() && a != kHiddenXform && b != kHiddenXform && a->Equals(*b.Get());
}

} // namespace

bool CMovie::MapsAlike(const CXform* a, const CXform* b)
{
    if (!a || !b) {
        const CXform* other = a ? a : b;
        return !other || (other->KeepsSizes() && other->IsUnrotated());
    }
    return a->GetSource().Size() == b->GetSource().Size()
        && a->GetDestination().Size() == b->GetDestination().Size() && a->SameRotation(*b);
}

SmartPtr<CStamp> CMovie::GetStamp(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame,
    const Color& color, int32_t extra, bool allowRaise)
{
    if (Hidden(xform))
        return nullptr;
    Rect frameRect = kEmpty;
    GetFrameBounds(frameRect, frame);
    if (frameRect.IsEmpty())
        return nullptr;
    CXform* wantedXform = xform.Get();
    Rect wanted = wantedXform ? wantedXform->MapRect(frameRect) : frameRect;
    Point size = wanted.Size();
    bool scaling = wantedXform && !wantedXform->KeepsSizes();
    bool rotated = wantedXform && !wantedXform->IsUnrotated();
    bool special = rotated || (flags & kModes) != 0;
    bool tiny = size.h < kTiny && size.v < kTiny && scaling;
    PurgeLevelRaise level(!special && allowRaise, 1);

    SmartPtr<ListData> list = GetFrameStamps(frame);
    for (uint32_t index = list->NumItems(); index >= 1; --index) {
        auto* stamp = SmartCast<CStamp>(list->GetItem(index));
        if (!stamp)
            continue;
        CXform* made = stamp->GetTransform().Get();
        bool candidate;
        if (!tiny) {
            // An untransformed stamp serves only requests that neither scale nor turn: one made
            // unturned must not stand in for a turned drawing of the same size.
            candidate = made ? MapsAlike(made, wantedXform) : !scaling && !rotated;
        } else {
            Point own = stamp->GetBounds().Size();
            candidate = own.h < kTiny && own.v < kTiny
                && (made ? wantedXform && made->SameRotation(*wantedXform) : !rotated);
        }
        if (candidate && stamp->IsAvailable(extra))
            return stamp;
    }

    CMemory& budget = CMemory::Get();
    if (budget.IsOverLimit() && level.Found() >= 1)
        return nullptr;
    if (!scaling)
        return MakeStamp(target, xform, frame, color, extra, wanted);
    SmartPtr<CStamp> plain = GetStamp(target, nullptr, frame, color, extra, !rotated);
    if (!plain.Valid() || (budget.IsOverLimit() && !rotated))
        return plain;
    SmartPtr<CStamp> derived = plain->MakeTransformed(frameRect, xform.Get(), level.Found() == 3 || !special);
    if (derived != plain)
        list->Append(derived.Get());
    return derived;
}

SmartPtr<CStamp> CMovie::MakeStamp(DisplayPort&, const SmartPtr<CXform>& xform, int16_t frame, const Color& color,
    int32_t, const Rect& rect)
{
    Point size = rect.Size();
    SmartPtr<OffScreen> buffer = new OffScreen(size.h, size.v, GetStampDepth(), Color(0), true);
    SmartPtr<CStamp> stamp = new CStamp(*buffer.Get());
    // The caller's transform may be shared: the stamp draws through a moved copy of it.
    SmartPtr<CXform> placed = xform.Valid() ? new CXform(*xform.Get()) : new CXform(rect, rect);
    // Moving the destination, not both rectangles, is what brings the drawing to the origin.
    placed->MoveDestination(Point(-rect.left, -rect.top));
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        port.DrawRectangle(buffer->GetBounds(), Color(0), Color(Color::kNoColor), 1);
        if (!DrawFrame(port, placed, frame, color))
            return nullptr;
    }
    stamp->SetTransform(xform);
    GetFrameStamps(frame)->Append(stamp.Get());
    return stamp;
}

bool CMovie::Draw(DisplayPort& target, const SmartPtr<CXform>& xform, int16_t frame, const Color& color,
    int32_t extra)
{
    if (Hidden(xform))
        return true;
    Rect rect = kEmpty;
    GetFrameBounds(rect, frame);
    if (rect.IsEmpty())
        return true;
    if (xform.Valid())
        rect = xform->MapRect(rect);
    SmartPtr<CStamp> stamp = GetStamp(target, xform, frame, color, extra, true);
    if (!stamp.Valid())
        return DrawFrame(target, xform, frame, color);
    if ((flags & kModes) == kMode2)
        stamp->DrawTo(target, rect, 2);
    else
        stamp->DrawTo(target, rect, DrawsSeeThrough() ? 2 : 0, nullptr, extra);
    return true;
}

bool CMovie::MakeDelta(int16_t oldFrame, int16_t newFrame, const SmartPtr<CXform>& oldXform,
    const SmartPtr<CXform>& newXform, Rect& oldRect, const Rect& newRect, CDelta& delta)
{
    oldFrame = WrapModulo(oldFrame, frameCount);
    newFrame = WrapModulo(newFrame, frameCount);
    bool changed = FramesDiffer(oldFrame, newFrame) || !SameXform(oldXform, newXform);
    auto mapped = [this](int16_t frame, const SmartPtr<CXform>& xform) {
        if (xform == kHiddenXform)
            return kEmpty;
        Rect rect = kEmpty;
        GetFrameBounds(rect, frame);
        return xform.Valid() && !rect.IsEmpty() ? xform->MapRect(rect) : rect;
    };
    Rect oldSide = mapped(oldFrame, oldXform).Intersect(oldRect);
    Rect mappedNew = mapped(newFrame, newXform);
    Rect newSide = mappedNew.Intersect(newRect);
    bool flag1 = GetFlag1();

    SmartPtr<Area> oldArea = new Area(flag1 ? kEmpty : oldSide);
    SmartPtr<Area> newArea = new Area(newSide);
    if (!flag1)
        CDelta::Combine(*oldArea.Get());
    CDelta::Combine(*newArea.Get());
    if ((flags & kModes) == 0)
        CDelta::CoveredArea().Merge(Area(newSide));
    if (!flag1) {
        if (!changed)
            oldArea->Subtract(*newArea.Get());
        CDelta::VacatedArea().Merge(*oldArea.Get());
    }
    oldRect = changed ? kEmpty : oldSide.Intersect(newSide);
    if (!DrawsFrames())
        mappedNew = kEmpty;
    if (newArea->IsEmpty() && (DrawsFrames() || mappedNew.IsEmpty()))
        return true;
    return delta.AddImprint(*this, newFrame, newXform, mappedNew, newArea, oldRect);
}
