#pragma once

#include "engine/CInterpolater.h"
#include "foundation/SmartPtr.h"

#include <cstdint>
#include <vector>

// The interpolater of smooth motions: a tension spline through the keys. The velocity at every
// key comes from one tridiagonal system per component; each segment is then a constant-velocity
// middle blended into its two keys by parabolic ramps, each `tension` / 200 of the segment long
// (100: the ramps meet in the middle). The curve passes through every key. Keys, frames and
// values are integers; the curve is solved in double precision and kept in single precision.
//
// A closed path is a loop whose last key repeats the first. Fewer than two keys, or a closed path
// of two, fall back to the straight line of the base class.
class CSplineInterpolater : public CInterpolater {
    PW_CLASS_INFO(CSplineInterpolater)
    PW_COPY_SLOTS

public:
    // A free end takes its velocity from its segment; otherwise the motion rests there. The
    // tension is kept within 1 .. 199: the ramp factor has no inverse at 0 and 200.
    CSplineInterpolater(bool freeStart, bool freeEnd, bool closed, int16_t tension);
    CSplineInterpolater(const CSplineInterpolater& other) = default;
    CSplineInterpolater& operator=(const CSplineInterpolater& other) = default;

    void SetValues(TypedArray<int16_t> newValues) override;
    // Writes nothing for the last key's index or beyond; a length below 1 is taken as u = L = 1.
    void EvaluateSegment(int16_t segment, int16_t u, int16_t length, int16_t* out) override;

    // The solved velocity of a key's component, and a segment's two ramp accelerations
    // (key, segment and component 0-based).
    float Velocity(int32_t key, int32_t component) const { return velocities[Index(key, component)]; }
    float StartRamp(int32_t segment, int32_t component) const;
    float EndRamp(int32_t segment, int32_t component) const;

    // Solves the tridiagonal system in place (a below the diagonal, b on it, e above it, r the
    // right-hand side, which receives the solution). A non-zero a[0] or e[n - 1] couples the first
    // and the last unknown (a loop). Rows are combined by multiplying, never dividing, until the
    // last step; a zero pivot gives 0.
    static void Solve(std::vector<double>& a, std::vector<double>& b, std::vector<double>& e, std::vector<double>& r);

private:
    bool UsesStraightLine() const;
    size_t Index(int32_t key, int32_t component) const { return size_t(key) * size_t(stride) + size_t(component); }
    void SolveVelocities(int32_t component);

    bool freeStart { false };
    bool freeEnd { false };
    bool closed { false };
    int16_t tension { 100 };
    std::vector<float> bases;
    std::vector<float> velocities;
    std::vector<float> ramps;
};
