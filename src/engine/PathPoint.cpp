#include "engine/PathPoint.h"

#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(PathPoint, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(PathPoint)

constinit const PersistentVersion PathPoint::version { &PathPoint::classInfo, Fixed(2), Fixed(2),
    &pw::foundation::ReadInScope<PathPoint> };

PathPoint::PathPoint(Point offset, const SmartPtr<CXform>& transform)
    : offset(offset)
    , transform(transform)
{
}

PathPoint::PathPoint(const PathPoint& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , offset(other.offset)
    , transform(other.transform)
{
}

PathPoint::PathPoint(ArchiveScope& scope)
{
    offset = pw::engine::ReadStoredPoint(scope.GetStream());
    transform = pw::engine::ReadReference<CXform>(scope);
}

PathPoint& PathPoint::operator=(const PathPoint& other)
{
    offset = other.offset;
    transform = other.transform;
    return *this;
}

void PathPoint::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WritePoint(offset.h, offset.v);
    scope.WriteObject(transform.Get());
}

Point PathPoint::Map(Point point) const
{
    if (transform == kHiddenXform)
        return point;
    if (transform.Valid())
        point = transform->MapPoint(point, false);
    return Point(point.h + offset.h, point.v + offset.v);
}

void PathPoint::SetTransform(const SmartPtr<CXform>& newTransform)
{
    Point delta;
    if (newTransform.Valid() && newTransform != kHiddenXform && transform.Valid() && transform != kHiddenXform
        && transform->IsPureMove(*newTransform.Get(), delta)) {
        offset = delta;
        return;
    }
    transform = newTransform;
    offset = Point(0, 0);
}

bool PathPoint::Equals(const PathPoint& other) const
{
    if (offset != other.offset)
        return false;
    if (transform == other.transform)
        return true;
    return transform.Valid() && other.transform.Valid() && transform != kHiddenXform
        && other.transform != kHiddenXform && transform->Equals(*other.transform.Get());
}

void PathPoint::Place(Point point, Point target)
{
    Point mapped = point;
    if (transform.Valid() && transform != kHiddenXform)
        mapped = transform->MapPoint(point, false);
    offset = Point(target.h - mapped.h, target.v - mapped.v);
}

void PathPoint::SetClip(const Rect& clip)
{
    bool usable = transform.Valid() && transform != kHiddenXform;
    if (clip.IsEmpty()) {
        if (!usable || !transform->HasClip())
            return;
    } else if (!usable) {
        transform = new CXform(clip, clip);
    }
    if (transform->IsShared())
        transform = transform.MakeCopy();
    transform->SetClip(clip);
}
