#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "graphics/Transform.h"

#include <cstdint>

class ArchiveScope;

// The engine's persistent transform: it maps a source rectangle onto a destination rectangle
// (each axis scaled by the ratio of the sizes, rounding half away from zero), then turns the
// result by the first angle (degrees, counter-clockwise on the screen) about the destination's
// centre. The second angle is kept, compared and stored but turns nothing. The clip rectangle is
// in destination coordinates; an empty one means no clip. Path points share transforms, so a
// transform that may be shared is copied before it is changed.
//
// Stored form (version 2.0, oldest 2.0), inside the CXform scope: the source and the destination
// rectangle (four signed 32-bit values each: left, top, right, bottom), the first and the second
// angle (signed 16-bit each), the clip rectangle (four signed 32-bit values). A stored transform
// whose source and destination are both empty reads back as kHiddenXform itself.
class CXform : public Transform, public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CXform)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CXform() = default;
    CXform(const Rect& source, const Rect& destination, int16_t angle = 0);
    CXform(const CXform& other);
    // Reads the stored form (scope opened with `version`).
    explicit CXform(ArchiveScope& scope);
    CXform& operator=(const CXform& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Unrotated: 0 identity, 1 a pure move, 2 a scale; rotated: 3.
    int32_t Kind() override;
    Point MapPoint(Point point, bool flag) override;
    // The point that MapPoint takes onto `point` (rounded).
    Point MapBack(Point point) const;
    // Destination onto source, the angles negated. Exact for unrotated transforms and for
    // rotations that keep proportions.
    SmartPtr<Transform> Inverse() override;
    // Any transform of kind 2 or less combined with an unrotated one; none otherwise.
    SmartPtr<Transform> Compose(Transform& other, bool otherFirst) override;
    // The box holding the four mapped corners (the corners' own images when unrotated).
    Rect MapRect(const Rect& rect) const;

    Rect GetSource() const { return source; }
    Rect GetDestination() const { return destination; }
    // Replaces both rectangles; a clip is carried from the old destination onto the new one.
    void SetRects(const Rect& newSource, const Rect& newDestination);
    // Moves both rectangles and the clip.
    void Offset(Point delta);
    // Moves where the transform puts things: the destination and the clip, not the source.
    void MoveDestination(Point delta);
    bool HasArea() const { return !destination.IsEmpty(); }

    int16_t GetAngle() const { return angle1; }
    int16_t GetSecondAngle() const { return angle2; }
    void SetAngles(int16_t first, int16_t second);
    // Both angles are multiples of 360.
    bool IsUnrotated() const;
    bool SameRotation(const CXform& other) const;
    // Turns the transform by `degrees` about `center` (destination coordinates): the angle grows
    // and the destination's centre is turned about `center`.
    void RotateAbout(int16_t degrees, Point center);

    Rect GetClip() const { return clip; }
    bool HasClip() const { return !clip.IsEmpty(); }
    // An empty rectangle clears the clip.
    void SetClip(const Rect& newClip);

    // This transform, then `next`: the source onto next's image of the destination, the angles
    // added, the clip carried through next and narrowed by next's own.
    SmartPtr<CXform> ComposeWith(const CXform& next) const;
    // The transform R with this->ComposeWith(R) mapping like `other` (unrotated transforms).
    SmartPtr<CXform> RelativeTo(const CXform& other) const;
    // The source's size equals the destination's.
    bool KeepsSizes() const;
    // Maps like no transform at all: source equals destination, unrotated, no clip.
    bool IsIdentity() const;
    bool Equals(const CXform& other) const;
    // `other` maps alike apart from where its destination (and clip) lies; `delta` is how far.
    bool IsPureMove(const CXform& other, Point& delta) const;

private:
    Rect source { 0, 0, 0, 0 };
    Rect destination { 0, 0, 0, 0 };
    int16_t angle1 { 0 };
    int16_t angle2 { 0 };
    Rect clip { 0, 0, 0, 0 };
};

// The one shared transform made from two empty rectangles: a path point holding it hides its
// sprite in that frame. Always compared by identity; it lives for the whole run.
extern const SmartPtr<CXform> kHiddenXform;
