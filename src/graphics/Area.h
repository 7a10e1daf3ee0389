#pragma once

#include "foundation/ArrayRange.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"

#include <windows.h>

// Rectangles: an area's pieces, an image map's spots.
using RectArray = TypedArray<Rect>;

class ArchiveScope;
class Transform;

// The cursor through an area's rectangles, from a 1-based start to the count it had when made.
using RectIterator = ArrayRange<Rect>;

// A set of pixels (a redraw, a clip, a selection), held in two forms at once: a list of disjoint,
// non-empty rectangles that portable code walks, and a platform region handed to GDI. In
// rectangle mode the list is the shape and the region a cache that follows every change of it; an
// area made from a platform region is in region mode, where the region is the shape and the list is
// not used (set operations on it mostly do nothing). The area owns its region.
class Area : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Area)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // The shared empty area that stands for no area at all; it lives for the whole run.
    static Area& EmptyArea();

    Area() = default;
    // Region mode, owning `region`.
    explicit Area(HRGN region);
    // The rectangle, or nothing when it is empty.
    explicit Area(const Rect& rect);
    Area(const Area& other);
    // Reads the stored form (scope opened with `version`); a region-mode area reads back empty.
    explicit Area(ArchiveScope& scope);
    ~Area() override;
    Area& operator=(const Area& other);

    Area& SetRect(Rect rect);
    // Union, in place; nothing when either area is in region mode.
    void Merge(const Area& other);
    // This minus other, in place; nothing when either area is in region mode.
    void Subtract(const Area& other);
    // A new area of the common pixels (region mode when either is).
    SmartPtr<Area> Intersection(const Area& other) const;
    void Offset(int32_t dh, int32_t dv);
    // Maps the shape through a transform of kind 2 or less and answers true; false (and no change)
    // for any other transform.
    bool MapThrough(Transform& transform);

    bool IsEmpty() const;
    // Some pixel is in both (false in region mode).
    bool Intersects(const Area& other) const;
    // (0, 0, 0, 0) for an empty area.
    Rect ComputeBounds() const;
    RectArray& RectList() { return rects; }
    const RectArray& RectList() const { return rects; }
    bool InRegionMode() const { return regionMode; }
    // The region, built from the list on first request and kept; the area keeps ownership.
    HRGN GetRegion() const;
    // Adds one rectangle to the union (rectangle mode only; the region is not rebuilt).
    void AddRect(Rect rect);
    void DeleteRegion();

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

private:
    // Cuts `r` against the list: in add mode trims r to what the list does not cover (splitting
    // rectangles r reaches past on several sides), in remove mode splits every rectangle r meets.
    void Cut(Rect& r, bool addMode);
    // Rebuilds a cached region from the list after a change.
    void Changed();
    void CopyRegionFrom(const Area& other);

    bool regionMode { false };
    RectArray rects;
    mutable HRGN region { nullptr };
};
