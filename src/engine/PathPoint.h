#pragma once

#include "engine/CXform.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Point.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class ArchiveScope;

// One entry of a sprite's path: where the sprite's cel goes in one frame. The transform has three
// states: none (the cel at its own place, moved by the offset), kHiddenXform (the sprite hidden
// in that frame) or any other CXform (the cel mapped through it, then moved by the offset).
// Copies share the transform, which is copied before this entry changes it while shared.
//
// Stored form (version 2.0, oldest 2.0), inside the PathPoint scope: the offset (two signed 32-bit
// values, h then v) and an object reference to the transform (the empty reference for none).
class PathPoint : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(PathPoint)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    PathPoint() = default;
    PathPoint(Point offset, const SmartPtr<CXform>& transform);
    PathPoint(const PathPoint& other);
    // Reads the stored form (scope opened with `version`); a reference that is not a CXform
    // reads as none.
    explicit PathPoint(ArchiveScope& scope);
    PathPoint& operator=(const PathPoint& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Unchanged when hidden; else through the transform when there is one, then plus the offset.
    Point Map(Point point) const;
    // A pure move of the current transform keeps it and becomes the offset; anything else is
    // stored with a zero offset.
    void SetTransform(const SmartPtr<CXform>& newTransform);
    bool Equals(const PathPoint& other) const;
    // Chooses the offset so that `point`, mapped through the transform and the offset, lands on
    // `target`.
    void Place(Point point, Point target);
    // An empty rectangle clears the clip; a shared transform is copied first; a missing or hidden
    // transform is replaced by one mapping the clip onto itself when a clip is set.
    void SetClip(const Rect& clip);

    Point offset { 0, 0 };
    SmartPtr<CXform> transform;
};
