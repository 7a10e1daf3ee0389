#include "engine/CXform.h"

#include "engine/StoredReference.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"
#include "foundation/Utilities.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265;

Persistent* ReadXform(Archive& archive)
{
    ArchiveScope scope(archive, CXform::version);
    SmartPtr<CXform> read = new CXform(scope);
    // Hidden frames stay hidden after a reload: the shared object, not an empty look-alike.
    if (read->GetSource().IsEmpty() && read->GetDestination().IsEmpty())
        read = kHiddenXform;
    CXform* result = read.Get();
    result->AddReference();
    read = nullptr;
    result->RemoveReference();
    return result;
}

CXform* MakeHidden()
{
    auto* hidden = new CXform(Rect(0, 0, 0, 0), Rect(0, 0, 0, 0));
    pw::foundation::Pin(*hidden);
    return hidden;
}

double Ratio(int32_t to, int32_t from)
{
    return from == 0 ? 1.0 : static_cast<double>(to) / from;
}

bool MultipleOf360(int32_t angle)
{
    return angle % 360 == 0;
}

int16_t AddAngles(int32_t a, int32_t b)
{
    return static_cast<int16_t>((a + b) % 360);
}

// A rectangle's edges mapped from one rectangle onto another, each axis scaled.
Rect Carry(const Rect& rect, const Rect& from, const Rect& to)
{
    double sx = Ratio(to.right - to.left, from.right - from.left);
    double sy = Ratio(to.bottom - to.top, from.bottom - from.top);
    return Rect(RoundToLong((rect.left - from.left) * sx + to.left), RoundToLong((rect.top - from.top) * sy + to.top),
        RoundToLong((rect.right - from.left) * sx + to.left), RoundToLong((rect.bottom - from.top) * sy + to.top));
}

struct Exact {
    double h;
    double v;
};

// Quarter turns use exact sines and cosines, so that they map whole and half pixels exactly.
void SineCosine(int32_t angle, double& sn, double& cs)
{
    switch (((angle % 360) + 360) % 360) {
    case 0:
        sn = 0.0, cs = 1.0;
        return;
    case 90:
        sn = 1.0, cs = 0.0;
        return;
    case 180:
        sn = 0.0, cs = -1.0;
        return;
    case 270:
        sn = -1.0, cs = 0.0;
        return;
    default:
        break;
    }
    double a = angle * kPi / 180.0;
    cs = std::cos(a);
    sn = std::sin(a);
}

Exact Turn(Exact point, Exact center, int16_t angle)
{
    double sn = 0.0;
    double cs = 1.0;
    SineCosine(angle, sn, cs);
    double dh = point.h - center.h;
    double dv = point.v - center.v;
    return { center.h + dh * cs + dv * sn, center.v - dh * sn + dv * cs };
}

Exact CenterOf(const Rect& rect)
{
    return { (static_cast<double>(rect.left) + rect.right) / 2.0, (static_cast<double>(rect.top) + rect.bottom) / 2.0 };
}

} // namespace

PW_DEFINE_CLASS(CXform, nullptr, nullptr, Transform, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CXform)

constinit const PersistentVersion CXform::version { &CXform::classInfo, Fixed(2), Fixed(2), &ReadXform };

const SmartPtr<CXform> kHiddenXform(MakeHidden());

CXform::CXform(const Rect& source, const Rect& destination, int16_t angle)
    : source(source)
    , destination(destination)
    , angle1(angle)
{
}

CXform::CXform(const CXform& other)
    : Smart()
    , Transform(other)
    , Persistent(other)
    , SmartImplementation(other)
    , source(other.source)
    , destination(other.destination)
    , angle1(other.angle1)
    , angle2(other.angle2)
    , clip(other.clip)
{
}

CXform::CXform(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    source = pw::engine::ReadStoredRect(stream, false);
    destination = pw::engine::ReadStoredRect(stream, false);
    angle1 = stream.ReadShort();
    angle2 = stream.ReadShort();
    clip = pw::engine::ReadStoredRect(stream, false);
}

CXform& CXform::operator=(const CXform& other)
{
    source = other.source;
    destination = other.destination;
    angle1 = other.angle1;
    angle2 = other.angle2;
    clip = other.clip;
    return *this;
}

void CXform::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteRect(source.left, source.top, source.right, source.bottom);
    stream.WriteRect(destination.left, destination.top, destination.right, destination.bottom);
    stream.WriteShort(angle1);
    stream.WriteShort(angle2);
    stream.WriteRect(clip.left, clip.top, clip.right, clip.bottom);
}

int32_t CXform::Kind()
{
    if (!IsUnrotated())
        return 3;
    if (source.Size() != destination.Size())
        return kScale;
    return source.TopLeft() != destination.TopLeft() ? kOffset : kIdentity;
}

Point CXform::MapPoint(Point point, bool)
{
    double sx = Ratio(destination.right - destination.left, source.right - source.left);
    double sy = Ratio(destination.bottom - destination.top, source.bottom - source.top);
    Exact scaled { (point.h - source.left) * sx + destination.left, (point.v - source.top) * sy + destination.top };
    if (!MultipleOf360(angle1))
        scaled = Turn(scaled, CenterOf(destination), angle1);
    return Point(RoundToLong(scaled.h), RoundToLong(scaled.v));
}

Point CXform::MapBack(Point point) const
{
    Exact exact { static_cast<double>(point.h), static_cast<double>(point.v) };
    if (!MultipleOf360(angle1))
        exact = Turn(exact, CenterOf(destination), static_cast<int16_t>(-angle1));
    double sx = Ratio(source.right - source.left, destination.right - destination.left);
    double sy = Ratio(source.bottom - source.top, destination.bottom - destination.top);
    return Point(RoundToLong((exact.h - destination.left) * sx + source.left),
        RoundToLong((exact.v - destination.top) * sy + source.top));
}

SmartPtr<Transform> CXform::Inverse()
{
    auto* inverse = new CXform(destination, source, static_cast<int16_t>(-angle1));
    inverse->angle2 = static_cast<int16_t>(-angle2);
    return inverse;
}

SmartPtr<Transform> CXform::Compose(Transform& other, bool otherFirst)
{
    if (!IsUnrotated() || other.Kind() > kScale)
        return nullptr;
    if (otherFirst) {
        SmartPtr<Transform> inverse = other.Inverse();
        return new CXform(inverse->MapRect(source, false), destination);
    }
    return new CXform(source, other.MapRect(destination, false));
}

Rect CXform::MapRect(const Rect& rect) const
{
    CXform& self = const_cast<CXform&>(*this);
    Point a = self.MapPoint(rect.TopLeft(), false);
    Point b = self.MapPoint(rect.BottomRight(), false);
    if (IsUnrotated())
        return Rect(a.h, a.v, b.h, b.v);
    if (angle1 % 90 == 0) {
        // A quarter turn keeps the size (swapped): corners rounded one by one could gain a pixel
        // where an odd and an even side meet half-way coordinates.
        Rect straight = Carry(rect, source, destination);
        int32_t width = straight.right - straight.left;
        int32_t height = straight.bottom - straight.top;
        if (angle1 % 180 != 0)
            std::swap(width, height);
        Exact center = CenterOf(straight);
        Exact turned = Turn(center, CenterOf(destination), angle1);
        int32_t left = RoundToLong(turned.h - width / 2.0);
        int32_t top = RoundToLong(turned.v - height / 2.0);
        return Rect(left, top, left + width, top + height);
    }
    Point c = self.MapPoint(Point(rect.right, rect.top), false);
    Point d = self.MapPoint(Point(rect.left, rect.bottom), false);
    return Rect(std::min({ a.h, b.h, c.h, d.h }), std::min({ a.v, b.v, c.v, d.v }), std::max({ a.h, b.h, c.h, d.h }),
        std::max({ a.v, b.v, c.v, d.v }));
}

void CXform::SetRects(const Rect& newSource, const Rect& newDestination)
{
    if (HasClip())
        clip = destination.IsEmpty() ? Rect(0, 0, 0, 0) : Carry(clip, destination, newDestination);
    source = newSource;
    destination = newDestination;
}

void CXform::Offset(Point delta)
{
    source.Offset(delta.h, delta.v);
    destination.Offset(delta.h, delta.v);
    if (HasClip())
        clip.Offset(delta.h, delta.v);
}

void CXform::MoveDestination(Point delta)
{
    destination.Offset(delta.h, delta.v);
    if (HasClip())
        clip.Offset(delta.h, delta.v);
}

void CXform::SetAngles(int16_t first, int16_t second)
{
    angle1 = first;
    angle2 = second;
}

bool CXform::IsUnrotated() const
{
    return MultipleOf360(angle1) && MultipleOf360(angle2);
}

bool CXform::SameRotation(const CXform& other) const
{
    return MultipleOf360(angle1 - other.angle1) && MultipleOf360(angle2 - other.angle2);
}

void CXform::RotateAbout(int16_t degrees, Point center)
{
    Exact from = CenterOf(destination);
    Exact to = Turn(from, { static_cast<double>(center.h), static_cast<double>(center.v) }, degrees);
    Point delta(RoundToLong(to.h - from.h), RoundToLong(to.v - from.v));
    destination.Offset(delta.h, delta.v);
    if (HasClip())
        clip.Offset(delta.h, delta.v);
    angle1 = AddAngles(angle1, degrees);
}

void CXform::SetClip(const Rect& newClip)
{
    clip = newClip.IsEmpty() ? Rect(0, 0, 0, 0) : newClip;
}

SmartPtr<CXform> CXform::ComposeWith(const CXform& next) const
{
    SmartPtr<CXform> result = new CXform(source, next.MapRect(destination), AddAngles(angle1, next.angle1));
    result->angle2 = AddAngles(angle2, next.angle2);
    Rect carried = HasClip() ? next.MapRect(clip) : next.clip;
    if (HasClip() && next.HasClip())
        carried = carried.Intersect(next.clip);
    result->SetClip(carried);
    return result;
}

SmartPtr<CXform> CXform::RelativeTo(const CXform& other) const
{
    SmartPtr<CXform> result = new CXform(destination, other.MapRect(source), AddAngles(other.angle1, -angle1));
    result->angle2 = AddAngles(other.angle2, -angle2);
    result->clip = other.clip;
    return result;
}

bool CXform::KeepsSizes() const
{
    return source.Size() == destination.Size();
}

bool CXform::IsIdentity() const
{
    return source == destination && IsUnrotated() && !HasClip();
}

bool CXform::Equals(const CXform& other) const
{
    return source == other.source && destination == other.destination && angle1 == other.angle1
        && angle2 == other.angle2 && clip == other.clip;
}

bool CXform::IsPureMove(const CXform& other, Point& delta) const
{
    delta = Point(other.destination.left - destination.left, other.destination.top - destination.top);
    Rect moved = destination;
    moved.Offset(delta.h, delta.v);
    Rect movedClip = clip;
    if (HasClip())
        movedClip.Offset(delta.h, delta.v);
    return source == other.source && moved == other.destination && angle1 == other.angle1 && angle2 == other.angle2
        && movedClip == other.clip;
}
