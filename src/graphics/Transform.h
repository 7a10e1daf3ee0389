#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

// A mapping of points and rectangles from one coordinate space into another. Ports carry one to
// place what they draw, buffers and bitmaps scale and shift images with them, and areas are mapped
// through them. Its kind tells what it can express: 0 identity, 1 a pure offset (Translation), 2 a
// rectangle onto a rectangle (ScaleTrans), 3 and above any other mapping.
class Transform : public virtual Smart {
    PW_CLASS_INFO(Transform)

public:
    static constexpr int32_t kIdentity = 0;
    static constexpr int32_t kOffset = 1;
    static constexpr int32_t kScale = 2;

    virtual int32_t Kind() = 0;
    // The image of the point; `flag` is passed on from MapRect for transforms that need it.
    virtual Point MapPoint(Point point, bool flag) = 0;
    // A new transform that undoes this one.
    virtual SmartPtr<Transform> Inverse() = 0;
    // A new transform applying both (other first when `otherFirst`), or none when this kind cannot
    // express the combination.
    virtual SmartPtr<Transform> Compose(Transform& other, bool otherFirst) = 0;

    // The images of the top-left and bottom-right corners (bottom-right mapped first); a mirroring
    // transform gives reversed edges, which are kept.
    Rect MapRect(const Rect& rect, bool flag);
    // This transform first, then `other`; none when neither can express the pair.
    SmartPtr<Transform> Combine(Transform& other);

protected:
    Transform() = default;
    Transform(const Transform&) = default;
    Transform& operator=(const Transform&) = default;
};
