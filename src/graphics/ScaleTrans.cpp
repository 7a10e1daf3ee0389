#include "graphics/ScaleTrans.h"

#include "foundation/Utilities.h"

PW_DEFINE_CLASS(ScaleTrans, nullptr, nullptr, Transform, SmartImplementation)
PW_DEFINE_COPY_SLOTS(ScaleTrans)

namespace {

double Width(const Rect& rect)
{
    return static_cast<double>(rect.right) - rect.left;
}

double Height(const Rect& rect)
{
    return static_cast<double>(rect.bottom) - rect.top;
}

// The source's proportions fitted inside `outer` by the smaller ratio and centred on it, with
// integer halves truncating toward zero.
Rect FitInside(const Rect& source, const Rect& outer)
{
    double rx = Width(outer) / Width(source);
    double ry = Height(outer) / Height(source);
    double factor = rx < ry ? rx : ry;
    int32_t width = RoundToLong(Width(source) * factor);
    int32_t height = RoundToLong(Height(source) * factor);
    Point centre = outer.Center();
    int32_t left = centre.h - width / 2;
    int32_t top = centre.v - height / 2;
    return Rect(left, top, left + width, top + height);
}

} // namespace

ScaleTrans::ScaleTrans(const Rect& source, const Rect& destination, bool keepAspect)
    : source(source)
    , destination(keepAspect ? FitInside(source, destination) : destination)
{
}

ScaleTrans::ScaleTrans(const ScaleTrans& other)
    : Smart()
    , Transform(other)
    , SmartImplementation(other)
    , source(other.source)
    , destination(other.destination)
{
}

int32_t ScaleTrans::Kind()
{
    if (source.Size() != destination.Size())
        return kScale;
    if (source.TopLeft() != destination.TopLeft())
        return kOffset;
    return kIdentity;
}

// The source's top-left lands exactly on the destination's, whatever the ratios.
Point ScaleTrans::MapPoint(Point point, bool)
{
    Point d = point.Minus(source.left, source.top);
    if (d == Point::origin)
        return destination.TopLeft();
    double sx = Width(destination) / Width(source);
    double sy = Height(destination) / Height(source);
    return Point(RoundToLong(d.h * sx + destination.left), RoundToLong(d.v * sy + destination.top));
}

SmartPtr<Transform> ScaleTrans::Inverse()
{
    return new ScaleTrans(destination, source, false);
}

SmartPtr<Transform> ScaleTrans::Compose(Transform& other, bool otherFirst)
{
    if (other.Kind() > kScale)
        return nullptr;
    if (!otherFirst)
        return new ScaleTrans(source, other.MapRect(destination, false), false);
    SmartPtr<Transform> inverse = other.Inverse();
    return new ScaleTrans(inverse->MapRect(source, false), destination, false);
}
