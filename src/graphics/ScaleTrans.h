#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/Transform.h"

// The transform that maps a source rectangle onto a destination rectangle, scaling each axis by
// the ratio of the sizes; coordinates round half away from zero. The source must not be empty.
class ScaleTrans : public Transform, public SmartImplementation {
    PW_CLASS_INFO(ScaleTrans)
    PW_COPY_SLOTS

public:
    ScaleTrans() = default;
    // With `keepAspect` the destination becomes the largest rectangle of the source's proportions
    // that fits inside it, centred on it.
    ScaleTrans(const Rect& source, const Rect& destination, bool keepAspect);
    ScaleTrans(const ScaleTrans& other);
    ScaleTrans& operator=(const ScaleTrans& other) = default;

    // The setters store the rectangle as given.
    void SetSource(const Rect& rect) { source = rect; }
    Rect GetSource() const { return source; }
    void SetDestination(const Rect& rect) { destination = rect; }
    Rect GetDestination() const { return destination; }

    // 2 when the sizes differ, else 1 when the top-left corners differ, else 0.
    int32_t Kind() override;
    Point MapPoint(Point point, bool flag) override;
    // Destination onto source.
    SmartPtr<Transform> Inverse() override;
    // A new scale for any other of kind 0 to 2: this then other maps the source onto other's image
    // of the destination; other then this maps other's preimage of the source onto the destination.
    SmartPtr<Transform> Compose(Transform& other, bool otherFirst) override;

private:
    Rect source { 0, 0, 0, 0 };
    Rect destination { 0, 0, 0, 0 };
};
