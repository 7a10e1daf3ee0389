#include "engine/CInterpolater.h"

#include "foundation/ClassInfo.h"

PW_DEFINE_CLASS(CInterpolater, &pw::foundation::CreateFunction<CInterpolater>, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CInterpolater)

uint16_t CInterpolater::SetKeys(TypedArray<int16_t> newKeys)
{
    keys = newKeys;
    return static_cast<uint16_t>(keys.NumItems());
}

void CInterpolater::SetValues(TypedArray<int16_t> newValues)
{
    if (keys.NumItems() == 0)
        return;
    values = newValues;
    stride = static_cast<int16_t>(values.NumItems() / keys.NumItems());
}

void CInterpolater::Evaluate(int16_t t, int16_t* out)
{
    uint32_t n = keys.NumItems();
    if (n == 0)
        return;
    if (n == 1) {
        for (int16_t j = 0; j < stride; ++j)
            out[j] = values[uint32_t(j) + 1];
        return;
    }
    uint32_t k = 0;
    while (k < n && keys[k + 1] < t)
        ++k;
    if (k == 0)
        k = 1;
    else if (k == n)
        k = n - 1;
    --k;
    EvaluateSegment(static_cast<int16_t>(k), static_cast<int16_t>(t - keys[k + 1]),
        static_cast<int16_t>(keys[k + 2] - keys[k + 1]), out);
}

void CInterpolater::EvaluateSegment(int16_t segment, int16_t dt, int16_t len, int16_t* out)
{
    if (len <= 0) {
        dt = 1;
        len = 1;
    }
    uint32_t i = uint32_t(stride) * uint32_t(segment) + 1;
    for (int16_t j = 0; j < stride; ++j, ++i) {
        int64_t from = values[i];
        int64_t to = values[i + uint32_t(stride)];
        // In 64 bits: a 16-bit offset times the difference of two 16-bit values comes to the edge of 32.
        out[j] = static_cast<int16_t>(from + (int64_t(dt) * (to - from)) / len);
    }
}
