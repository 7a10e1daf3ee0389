#include "graphics/Area.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "graphics/PlatformConversions.h"
#include "graphics/Transform.h"

#include <utility>
#include <vector>

namespace {

Persistent* ReadArea(Archive& archive)
{
    ArchiveScope scope(archive, Area::version);
    return new Area(scope);
}

std::vector<Rect> Rects(const TypedArray<Rect>& list)
{
    std::vector<Rect> result;
    result.reserve(list.NumItems());
    for (uint32_t index = 1; index <= list.NumItems(); ++index)
        result.push_back(list[index]);
    return result;
}

// A mirroring transform reverses edges; the pixels covered are the same with them in order.
Rect Normalised(Rect rect)
{
    if (rect.right < rect.left)
        std::swap(rect.left, rect.right);
    if (rect.bottom < rect.top)
        std::swap(rect.top, rect.bottom);
    return rect;
}

HRGN NewRectRegion(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    HRGN result = CreateRectRgn(left, top, right, bottom);
    CheckCall(result != nullptr, PW_HERE);
    return result;
}

// A new handle of the same shape, or a thrown "Bad (zero) value." (nothing leaked).
HRGN CopyOfRegion(HRGN source)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    int result = copy ? CombineRgn(copy, source, nullptr, RGN_COPY) : ERROR;
    if (result == ERROR && copy) {
        DWORD error = GetLastError();
        DeleteObject(copy);
        SetLastError(error);
    }
    CheckNonZero(static_cast<uintptr_t>(result), PW_HERE);
    return copy;
}

Area* sharedEmpty = [] {
    auto* area = new Area;
    pw::foundation::Pin(*area);
    return area;
}();

} // namespace

PW_DEFINE_CLASS(Area, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Area)

constinit const PersistentVersion Area::version { &Area::classInfo, Fixed(1), Fixed(1), &ReadArea };

Area& Area::EmptyArea()
{
    return *sharedEmpty;
}

Area::Area(HRGN region)
    : regionMode(true)
    , region(region)
{
}

Area::Area(const Rect& rect)
{
    if (!rect.IsEmpty())
        rects.Append(rect);
}

Area::Area(const Area& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , regionMode(other.regionMode)
    , rects(other.rects)
{
    CopyRegionFrom(other);
}

// The stored rectangles are added one by one, so a damaged list (empty or overlapping pieces)
// still gives a sound area; a sound list comes back unchanged, in its order.
Area::Area(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    regionMode = stream.ReadBool() != 0;
    if (regionMode)
        return;
    uint32_t count = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(static_cast<uint64_t>(count) * 16);
    for (uint32_t index = 0; index < count; ++index)
        AddRect(stream.ReadRect());
}

// Nothing thrown from here: a failed delete only leaves the handle to the platform's clean-up.
Area::~Area()
{
    if (region)
        DeleteObject(region);
}

Area& Area::operator=(const Area& other)
{
    if (this == &other)
        return *this;
    DeleteRegion();
    rects = other.rects;
    regionMode = other.regionMode;
    CopyRegionFrom(other);
    Changed();
    return *this;
}

void Area::CopyRegionFrom(const Area& other)
{
    if (other.region)
        region = CopyOfRegion(other.region);
}

Area& Area::SetRect(Rect rect)
{
    DeleteRegion();
    rects.DeleteAll();
    if (!rect.IsEmpty())
        rects.Append(rect);
    regionMode = false;
    Changed();
    return *this;
}

void Area::Merge(const Area& other)
{
    if (other.IsEmpty() || regionMode || other.regionMode)
        return;
    DeleteRegion();
    if (IsEmpty()) {
        *this = other;
        return;
    }
    for (const Rect& rect : Rects(other.rects))
        AddRect(rect);
    Changed();
}

void Area::Subtract(const Area& other)
{
    if (other.IsEmpty() || IsEmpty() || regionMode || other.regionMode)
        return;
    DeleteRegion();
    for (Rect rect : Rects(other.rects))
        Cut(rect, false);
    Changed();
}

// Regions are combined by the platform; the pieces of two disjoint lists are disjoint.
SmartPtr<Area> Area::Intersection(const Area& other) const
{
    if (regionMode || other.regionMode) {
        HRGN common = NewRectRegion(0, 0, 0, 0);
        SmartPtr<Area> result = new Area(common);
        CheckCall(CombineRgn(common, GetRegion(), other.GetRegion(), RGN_AND) != ERROR, PW_HERE);
        return result;
    }
    SmartPtr<Area> result = new Area;
    for (const Rect& a : Rects(rects)) {
        for (const Rect& b : Rects(other.rects)) {
            Rect common = a.Intersect(b);
            if (!common.IsEmpty())
                result->rects.Append(common);
        }
    }
    return result;
}

void Area::Offset(int32_t dh, int32_t dv)
{
    if (region)
        CheckCall(OffsetRgn(region, dh, dv) != ERROR, PW_HERE);
    for (RectIterator cursor(rects, 1); cursor.More(); cursor.Next())
        cursor.Current()->Offset(dh, dv);
    Changed();
}

// Rounding can collapse a small rectangle and a mirror reverses edges: collapsed pieces are
// dropped and reversed ones put in order, so the list keeps its rules.
bool Area::MapThrough(Transform& transform)
{
    if (transform.Kind() > Transform::kScale)
        return false;
    if (regionMode) {
        transform.MapRect(ComputeBounds(), false);
        Exception::Warn(kNotImplemented, PW_HERE);
    } else {
        DeleteRegion();
        std::vector<Rect> mapped = Rects(rects);
        rects.DeleteAll();
        for (const Rect& rect : mapped) {
            Rect image = Normalised(transform.MapRect(rect, false));
            if (!image.IsEmpty())
                rects.Append(image);
        }
    }
    Changed();
    return true;
}

bool Area::IsEmpty() const
{
    if (!regionMode)
        return rects.NumItems() == 0;
    RECT box;
    return GetRgnBox(GetRegion(), &box) == NULLREGION;
}

bool Area::Intersects(const Area& other) const
{
    if (regionMode)
        return false;
    for (uint32_t i = 1; i <= rects.NumItems(); ++i) {
        for (uint32_t j = 1; j <= other.rects.NumItems(); ++j) {
            if (rects[i].Intersects(other.rects[j]))
                return true;
        }
    }
    return false;
}

Rect Area::ComputeBounds() const
{
    if (regionMode) {
        RECT box;
        CheckNonZero(static_cast<uintptr_t>(GetRgnBox(GetRegion(), &box)), PW_HERE);
        return OSRectToRect(box);
    }
    Rect bounds(0, 0, 0, 0);
    for (uint32_t index = 1; index <= rects.NumItems(); ++index)
        bounds = bounds.Union(rects[index]);
    return bounds;
}

// A region-mode area without a region (as read back from storage) gets an empty one.
HRGN Area::GetRegion() const
{
    if (region)
        return region;
    if (rects.NumItems() == 1) {
        const Rect& only = rects[1];
        region = NewRectRegion(only.left, only.top, only.right, only.bottom);
        return region;
    }
    HRGN result = NewRectRegion(0, 0, 0, 0);
    try {
        for (uint32_t index = 1; index <= rects.NumItems(); ++index) {
            const Rect& rect = rects[index];
            HRGN piece = NewRectRegion(rect.left, rect.top, rect.right, rect.bottom);
            int combined = CombineRgn(result, piece, result, RGN_OR);
            CheckCall(DeleteObject(piece), PW_HERE);
            CheckCall(combined != ERROR, PW_HERE);
        }
    } catch (...) {
        DeleteObject(result);
        throw;
    }
    region = result;
    return region;
}

void Area::AddRect(Rect rect)
{
    if (regionMode || rect.IsEmpty())
        return;
    Cut(rect, true);
    if (!rect.IsEmpty())
        rects.Append(rect);
}

void Area::DeleteRegion()
{
    if (!region)
        return;
    HRGN old = region;
    region = nullptr;
    BOOL deleted = DeleteObject(old);
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(0);
    CheckCall(deleted, PW_HERE);
}

void Area::Cut(Rect& r, bool addMode)
{
    for (uint32_t index = rects.NumItems(); index >= 1; --index) {
        Rect e = rects[index];
        if (!e.Intersects(r))
            continue;
        if (addMode) {
            bool above = r.top < e.top;
            bool below = r.bottom > e.bottom;
            bool left = r.left < e.left;
            bool right = r.right > e.right;
            int sides = above + below + left + right;
            if (sides == 0) {
                r = Rect(0, 0, 0, 0);
                return;
            }
            if (sides == 1) {
                if (above)
                    r.bottom = e.top;
                else if (below)
                    r.top = e.bottom;
                else if (left)
                    r.right = e.left;
                else
                    r.left = e.right;
                continue;
            }
        }
        // The top and bottom parts span the shared columns, the sides e's full height.
        rects.DeleteItems(index, 1);
        int32_t sharedLeft = r.left > e.left ? r.left : e.left;
        int32_t sharedRight = r.right < e.right ? r.right : e.right;
        if (r.top > e.top)
            rects.Append(Rect(sharedLeft, e.top, sharedRight, r.top));
        if (r.bottom < e.bottom)
            rects.Append(Rect(sharedLeft, r.bottom, sharedRight, e.bottom));
        if (r.left > e.left)
            rects.Append(Rect(e.left, e.top, r.left, e.bottom));
        if (e.right > r.right)
            rects.Append(Rect(r.right, e.top, e.right, e.bottom));
    }
}

void Area::Changed()
{
    if (regionMode || !region)
        return;
    HRGN old = region;
    region = nullptr;
    try {
        GetRegion();
    } catch (...) {
        DeleteObject(old);
        throw;
    }
    CheckCall(DeleteObject(old), PW_HERE);
}

void Area::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteBool(regionMode);
    if (regionMode)
        return;
    stream.WriteLong(static_cast<int32_t>(rects.NumItems()));
    for (uint32_t index = 1; index <= rects.NumItems(); ++index) {
        const Rect& rect = rects[index];
        stream.WriteRect(rect.left, rect.top, rect.right, rect.bottom);
    }
}
