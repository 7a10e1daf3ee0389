#include "graphics/Translation.h"

PW_DEFINE_CLASS(Translation, nullptr, nullptr, SmartImplementation, Transform)
PW_DEFINE_COPY_SLOTS(Translation)

Translation::Translation(int32_t dx, int32_t dy)
    : offset(dx, dy)
{
}

Translation::Translation(const Translation& other)
    : Smart()
    , SmartImplementation(other)
    , Transform(other)
    , offset(other.offset)
{
}

int32_t Translation::Kind()
{
    return offset == Point::origin ? kIdentity : kOffset;
}

Point Translation::MapPoint(Point point, bool)
{
    return Point(point.h + offset.h, point.v + offset.v);
}

SmartPtr<Transform> Translation::Inverse()
{
    return new Translation(0 - offset.h, 0 - offset.v);
}

SmartPtr<Transform> Translation::Compose(Transform& other, bool)
{
    int32_t kind = other.Kind();
    if (kind != kIdentity && kind != kOffset)
        return nullptr;
    Point sum = other.MapPoint(offset, false);
    return new Translation(sum.h, sum.v);
}
