#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/TypedArray.h"

#include <cstdint>

// In-between values from key values: sorted keys (frame numbers) and, for each key, the same
// number of values (the stride); a position gets the straight line between the two keys around
// it, the end segments extended beyond the first and last key. Subclasses smooth the curve by
// replacing SetValues and EvaluateSegment. Never stored.
class CInterpolater : public SmartImplementation {
    PW_CLASS_INFO(CInterpolater)
    PW_COPY_SLOTS

public:
    CInterpolater() = default;
    CInterpolater(const CInterpolater& other) = default;
    CInterpolater& operator=(const CInterpolater& other) = default;

    // Answers the number of keys.
    uint16_t SetKeys(TypedArray<int16_t> newKeys);
    // Ignored without keys; values that do not fill a whole key are left out by the stride.
    virtual void SetValues(TypedArray<int16_t> newValues);
    // Writes stride values for position t into out[0 .. stride - 1]; nothing without keys.
    void Evaluate(int16_t t, int16_t* out);
    // One segment's values at offset dt of its length len; a segment without length gives its
    // end values.
    virtual void EvaluateSegment(int16_t segment, int16_t dt, int16_t len, int16_t* out);

    int16_t GetStride() const { return stride; }

protected:
    TypedArray<int16_t> keys;
    TypedArray<int16_t> values;
    int16_t stride { 0 };
};
