#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/Transform.h"

// The transform that moves every point by one offset.
class Translation : public SmartImplementation, public Transform {
    PW_CLASS_INFO(Translation)
    PW_COPY_SLOTS

public:
    Translation() = default;
    Translation(int32_t dx, int32_t dy);
    Translation(const Translation& other);
    Translation& operator=(const Translation& other) = default;

    void SetOffset(int32_t dx, int32_t dy) { offset = Point(dx, dy); }
    Point GetOffset() const { return offset; }

    // 0 for the zero offset, else 1.
    int32_t Kind() override;
    Point MapPoint(Point point, bool flag) override;
    SmartPtr<Transform> Inverse() override;
    // Another offset (kind 0 or 1) gives the summed offset, in either order; anything else none.
    SmartPtr<Transform> Compose(Transform& other, bool otherFirst) override;

private:
    Point offset { 0, 0 };
};
