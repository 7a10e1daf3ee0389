#include "authoring/motion/CSplineInterpolater.h"

#include "foundation/ClassInfo.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

PW_DEFINE_CLASS(CSplineInterpolater, nullptr, nullptr, CInterpolater)
PW_DEFINE_COPY_SLOTS(CSplineInterpolater)

namespace {

// Scales one row of the system by a power of two so that its largest entry lies in [0.5, 1).
// The scaling is exact, so the solution is unchanged, while the products of the elimination,
// which grow with every row, can no longer overflow on long key lists.
void Normalise(std::initializer_list<double*> row)
{
    double largest = 0;
    for (double* entry : row)
        largest = std::max(largest, std::fabs(*entry));
    if (largest == 0 || !std::isfinite(largest))
        return;
    int exponent = 0;
    std::frexp(largest, &exponent);
    for (double* entry : row)
        *entry = std::ldexp(*entry, -exponent);
}

// Truncates toward zero into the 16-bit range (a curve may overshoot its keys).
int16_t ToValue(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int16_t>(std::clamp(std::trunc(v), -32768.0, 32767.0));
}

} // namespace

CSplineInterpolater::CSplineInterpolater(bool freeStart, bool freeEnd, bool closed, int16_t tension)
    : freeStart(freeStart)
    , freeEnd(freeEnd)
    , closed(closed)
    , tension(std::clamp<int16_t>(tension, 1, 199))
{
}

float CSplineInterpolater::StartRamp(int32_t segment, int32_t component) const
{
    return ramps[size_t(2) * size_t(stride) * size_t(segment) + size_t(component)];
}

float CSplineInterpolater::EndRamp(int32_t segment, int32_t component) const
{
    return ramps[(size_t(2) * size_t(segment) + 1) * size_t(stride) + size_t(component)];
}

bool CSplineInterpolater::UsesStraightLine() const
{
    uint32_t n = keys.NumItems();
    return n < 2 || (closed && n == 2) || velocities.empty();
}

void CSplineInterpolater::SetValues(TypedArray<int16_t> newValues)
{
    CInterpolater::SetValues(newValues);
    bases.clear();
    velocities.clear();
    ramps.clear();
    int32_t n = static_cast<int32_t>(keys.NumItems());
    if (n < 2 || (closed && n == 2) || stride <= 0)
        return;
    bases.assign(size_t(n) * size_t(stride), 0.0f);
    velocities.assign(size_t(n) * size_t(stride), 0.0f);
    ramps.assign(size_t(2) * size_t(stride) * size_t(n - 1), 0.0f);
    for (int32_t g = 0; g < stride; ++g)
        SolveVelocities(g);

    auto T = [this](int32_t k) { return double(keys[uint32_t(k) + 1]); };
    auto P = [this](int32_t k, int32_t g) { return double(values[uint32_t(Index(k, g)) + 1]); };
    double s = tension / 200.0;
    double q = (tension / 100.0) * (1.0 - tension / 200.0);
    for (int32_t g = 0; g < stride; ++g) {
        for (int32_t i = 0; i + 1 < n; ++i) {
            double h = T(i + 1) - T(i);
            double d = 2.0 * (P(i + 1, g) - P(i, g)) / h;
            double x0 = velocities[Index(i, g)];
            double x1 = velocities[Index(i + 1, g)];
            float start = float(((d - x0 * (2.0 - s)) - x1 * s) / (h * q));
            float end = float((x0 * s + (-d + x1 * (2.0 - s))) / (h * q));
            ramps[size_t(2) * size_t(stride) * size_t(i) + size_t(g)] = start;
            ramps[(size_t(2) * size_t(i) + 1) * size_t(stride) + size_t(g)] = end;
            bases[Index(i, g)] = float(P(i, g) - start * (double(tension) * tension * h * h / 80000.0));
        }
    }
}

void CSplineInterpolater::SolveVelocities(int32_t g)
{
    int32_t n = static_cast<int32_t>(keys.NumItems());
    int32_t count = closed ? n - 1 : n;
    auto T = [this](int32_t k) { return double(keys[uint32_t(k) + 1]); };
    auto P = [this, g](int32_t k) { return double(values[uint32_t(Index(k, g)) + 1]); };
    double s = tension / 200.0;
    std::vector<double> a(size_t(count), 0.0), b(size_t(count), 0.0), e(size_t(count), 0.0), r(size_t(count), 0.0);
    // One row per key: its neighbours' intervals and values fix the velocity's equation.
    auto interior = [&](int32_t row, double ha, double hb, double before, double at, double after) {
        double alpha = ha * ha * ha;
        double beta = hb * hb * hb;
        a[size_t(row)] = s * beta * ha;
        b[size_t(row)] = (2.0 - s) * (alpha * hb + beta * ha);
        e[size_t(row)] = s * alpha * hb;
        r[size_t(row)] = 2.0 * after * alpha + 2.0 * at * (beta - alpha) - 2.0 * before * beta;
    };
    for (int32_t j = 1; j <= n - 2; ++j)
        interior(j, T(j) - T(j - 1), T(j + 1) - T(j), P(j - 1), P(j), P(j + 1));
    if (closed) {
        // The loop's first key follows the key before the closing one, over the last segment.
        interior(0, T(n - 1) - T(n - 2), T(1) - T(0), P(n - 2), P(0), P(1));
    } else {
        if (freeStart) {
            double h = T(1) - T(0);
            b[0] = 2.0 - s, e[0] = s, r[0] = 2.0 * P(1) / h - 2.0 * P(0) / h;
        } else {
            b[0] = 1.0;
        }
        size_t last = size_t(n - 1);
        if (freeEnd) {
            double h = T(n - 1) - T(n - 2);
            a[last] = s, b[last] = 2.0 - s, r[last] = 2.0 * P(n - 1) / h - 2.0 * P(n - 2) / h;
        } else {
            a[last] = 0.0, b[last] = 1.0, e[last] = 0.0, r[last] = 0.0;
        }
    }
    Solve(a, b, e, r);
    for (int32_t k = 0; k < count; ++k)
        velocities[Index(k, g)] = float(r[size_t(k)]);
    if (closed)
        velocities[Index(n - 1, g)] = velocities[Index(0, g)];
}

void CSplineInterpolater::Solve(std::vector<double>& a, std::vector<double>& b, std::vector<double>& e, std::vector<double>& r)
{
    size_t N = b.size();
    if (N == 0)
        return;
    if (N < 2 || (a[0] == 0 && e[N - 1] == 0)) {
        for (size_t k = 0; k + 1 < N; ++k) {
            b[k + 1] = b[k + 1] * b[k] - a[k + 1] * e[k];
            e[k + 1] = e[k + 1] * b[k];
            r[k + 1] = r[k + 1] * b[k] - a[k + 1] * r[k];
            Normalise({ &b[k + 1], &e[k + 1], &r[k + 1] });
        }
        for (size_t i = N - 1; i-- > 0;) {
            b[i] = b[i] * b[i + 1];
            r[i] = r[i] * b[i + 1] - e[i] * r[i + 1];
            Normalise({ &b[i], &r[i] });
        }
    } else {
        // a[k] holds the coefficient of the last unknown in row k from here on.
        for (size_t k = 0; k + 1 < N; ++k) {
            b[k + 1] = b[k + 1] * b[k] - a[k + 1] * e[k];
            e[k + 1] = e[k + 1] * b[k];
            r[k + 1] = r[k + 1] * b[k] - a[k + 1] * r[k];
            a[k + 1] = -(a[k + 1] * a[k]);
            Normalise({ &b[k + 1], &e[k + 1], &r[k + 1], &a[k + 1] });
        }
        a[N - 2] += e[N - 2];
        for (size_t i = N - 2; i-- > 0;) {
            b[i] = b[i] * b[i + 1];
            r[i] = r[i] * b[i + 1] - e[i] * r[i + 1];
            a[i] = a[i] * b[i + 1] - e[i] * a[i + 1];
            Normalise({ &b[i], &r[i], &a[i] });
        }
        b[N - 1] += a[N - 1];
        b[N - 1] = b[N - 1] * b[0] - a[0] * e[N - 1];
        r[N - 1] = r[N - 1] * b[0] - e[N - 1] * r[0];
        Normalise({ &b[N - 1], &r[N - 1] });
        for (size_t i = N - 1; i-- > 0;) {
            b[i] = b[i] * b[N - 1];
            r[i] = r[i] * b[N - 1] - a[i] * r[N - 1];
            Normalise({ &b[i], &r[i] });
        }
    }
    for (size_t i = 0; i < N; ++i)
        r[i] = b[i] == 0 ? 0.0 : r[i] / b[i];
}

void CSplineInterpolater::EvaluateSegment(int16_t segment, int16_t u, int16_t length, int16_t* out)
{
    if (UsesStraightLine()) {
        CInterpolater::EvaluateSegment(segment, u, length, out);
        return;
    }
    if (segment < 0 || uint32_t(segment) + 1 >= keys.NumItems())
        return;
    if (length < 1)
        u = 1, length = 1;
    double s = tension / 200.0;
    double along = double(u) / length;
    double d1 = s - along;
    double d2 = s + (along - 1.0);
    double w1 = d1 > 0 ? (length * d1) * (length * d1) / 2.0 : 0.0;
    double w2 = d2 > 0 ? (length * d2) * (length * d2) / 2.0 : 0.0;
    double k = (double(tension) * length / 200.0) * u;
    for (int32_t g = 0; g < stride; ++g) {
        double start = StartRamp(segment, g);
        double v = double(velocities[Index(segment, g)]) * u + start * k + double(bases[Index(segment, g)]);
        if (w1 > 0)
            v += start * w1;
        else if (w2 > 0)
            v += double(EndRamp(segment, g)) * w2;
        out[g] = ToValue(v);
    }
}
