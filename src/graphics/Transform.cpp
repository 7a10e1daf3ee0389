#include "graphics/Transform.h"

PW_DEFINE_CLASS(Transform, nullptr, nullptr, Smart)

Rect Transform::MapRect(const Rect& rect, bool flag)
{
    Point bottomRight = MapPoint(rect.BottomRight(), flag);
    Point topLeft = MapPoint(rect.TopLeft(), flag);
    return Rect(topLeft.h, topLeft.v, bottomRight.h, bottomRight.v);
}

SmartPtr<Transform> Transform::Combine(Transform& other)
{
    SmartPtr<Transform> result = other.Compose(*this, true);
    if (!result.Valid())
        result = Compose(other, false);
    return result;
}
