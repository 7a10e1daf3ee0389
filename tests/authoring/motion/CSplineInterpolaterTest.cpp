#include "authoring/motion/CSplineInterpolater.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

SmartPtr<CSplineInterpolater> Spline(std::vector<int16_t> keys, std::vector<int16_t> values, bool freeStart,
    bool freeEnd, bool closed, int16_t tension)
{
    SmartPtr<CSplineInterpolater> spline(new CSplineInterpolater(freeStart, freeEnd, closed, tension));
    TypedArray<int16_t> k, v;
    for (int16_t key : keys)
        k.Append(key);
    for (int16_t value : values)
        v.Append(value);
    spline->SetKeys(k);
    spline->SetValues(v);
    return spline;
}

int16_t At(CSplineInterpolater& spline, int16_t segment, int16_t u, int16_t length)
{
    int16_t out[1] { -999 };
    spline.EvaluateSegment(segment, u, length, out);
    return out[0];
}

} // namespace

TEST(CSplineInterpolater, RestingEndsEaseInAndOut)
{
    auto spline = Spline({ 0, 100 }, { 0, 100 }, false, false, false, 100);
    EXPECT_FLOAT_EQ(spline->StartRamp(0, 0), 0.04f);
    EXPECT_FLOAT_EQ(spline->EndRamp(0, 0), -0.04f);
    struct { int16_t u; int16_t expected; } cases[] { { 0, 0 }, { 25, 12 }, { 50, 49 }, { 75, 87 }, { 100, 99 } };
    for (auto& c : cases) {
        SCOPED_TRACE(c.u);
        EXPECT_EQ(At(*spline.Get(), 0, c.u, 100), c.expected);
    }
}

TEST(CSplineInterpolater, FreeEndsOfOneSegmentMoveAtConstantSpeed)
{
    auto spline = Spline({ 0, 10 }, { 0, 100 }, true, true, false, 100);
    EXPECT_FLOAT_EQ(spline->Velocity(0, 0), 10.0f);
    EXPECT_FLOAT_EQ(spline->Velocity(1, 0), 10.0f);
    EXPECT_FLOAT_EQ(spline->StartRamp(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(spline->EndRamp(0, 0), 0.0f);
    for (int16_t u = 0; u <= 10; ++u)
        EXPECT_NEAR(At(*spline.Get(), 0, u, 10), 10 * u, 1) << u;
}

// Whatever the ends, the tension and the loop, the curve runs through every key and stays
// continuous there (the end of one segment meets the start of the next), for every component.
TEST(CSplineInterpolater, PassesThroughEveryKey)
{
    std::vector<int16_t> keys { 0, 7, 20, 26, 40 };
    std::vector<int16_t> values { 0, 100, 80, -30, 50, 20, -40, 60, 0, 100 };
    struct { const char* name; bool freeStart, freeEnd, closed; int16_t tension; } cases[] {
        { "rest 100", false, false, false, 100 },
        { "free 100", true, true, false, 100 },
        { "free start 40", true, false, false, 40 },
        { "free end 160", false, true, false, 160 },
        { "loop 100", false, false, true, 100 },
        { "loop 30", false, false, true, 30 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto spline = Spline(keys, values, c.freeStart, c.freeEnd, c.closed, c.tension);
        for (int16_t seg = 0; seg < 4; ++seg) {
            int16_t length = int16_t(keys[seg + 1] - keys[seg]);
            int16_t start[2], end[2];
            spline->EvaluateSegment(seg, 0, length, start);
            spline->EvaluateSegment(seg, length, length, end);
            for (int g = 0; g < 2; ++g) {
                EXPECT_NEAR(start[g], values[size_t(seg) * 2 + g], 1) << seg << "/" << g;
                EXPECT_NEAR(end[g], values[size_t(seg + 1) * 2 + g], 1) << seg << "/" << g;
            }
        }
    }
}

TEST(CSplineInterpolater, LoopIsSymmetricAcrossItsClosingKey)
{
    // Values 0, 100, 100, 0 round a loop of equal segments mirror about the middle of the
    // segment from key 3 back to key 0 (both 0): the velocities there are opposite, as are those
    // of keys 1 and 2, and the loop leaves its closing key as it left its first.
    auto spline = Spline({ 0, 10, 20, 30, 40 }, { 0, 100, 100, 0, 0 }, false, false, true, 100);
    EXPECT_GT(spline->Velocity(0, 0), 0.0f);
    EXPECT_NEAR(spline->Velocity(3, 0), -spline->Velocity(0, 0), 1e-4);
    EXPECT_NEAR(spline->Velocity(2, 0), -spline->Velocity(1, 0), 1e-4);
    EXPECT_FLOAT_EQ(spline->Velocity(4, 0), spline->Velocity(0, 0));
}

TEST(CSplineInterpolater, FallsBackToStraightLines)
{
    struct { const char* name; std::vector<int16_t> keys, values; bool closed; } cases[] {
        { "one key", { 5 }, { 42 }, false },
        { "loop of two keys", { 0, 10 }, { 0, 100 }, true },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto spline = Spline(c.keys, c.values, false, false, c.closed, 100);
        CInterpolater line;
        TypedArray<int16_t> k, v;
        for (int16_t key : c.keys)
            k.Append(key);
        for (int16_t value : c.values)
            v.Append(value);
        line.SetKeys(k);
        line.SetValues(v);
        for (int16_t t : { -5, 0, 3, 10, 15 }) {
            int16_t a[1] { 0 }, b[1] { 0 };
            spline->Evaluate(t, a);
            line.Evaluate(t, b);
            EXPECT_EQ(a[0], b[0]) << t;
        }
    }
}

TEST(CSplineInterpolater, EdgesOfTheSegmentArguments)
{
    auto spline = Spline({ 0, 100 }, { 0, 100 }, false, false, false, 100);
    // A length below 1 evaluates the segment's end (u = L = 1).
    EXPECT_EQ(At(*spline.Get(), 0, 37, 0), At(*spline.Get(), 0, 1, 1));
    // The last key's index and beyond write nothing.
    EXPECT_EQ(At(*spline.Get(), 1, 0, 100), -999);
    EXPECT_EQ(At(*spline.Get(), 5, 0, 100), -999);
}

TEST(CSplineInterpolater, ZeroPivotGivesZeroVelocity)
{
    std::vector<double> a { 0, 1 }, b { 0, 1 }, e { 0, 0 }, r { 5, 3 };
    CSplineInterpolater::Solve(a, b, e, r);
    EXPECT_EQ(r[0], 0.0);
}

TEST(CSplineInterpolater, CyclicSolveMatchesTheSystem)
{
    // 4 unknowns coupled in a ring; check A x = r for the solution.
    std::vector<double> a { 1, 2, 1, 3 }, b { 6, 7, 8, 9 }, e { 2, 1, 2, 1 }, r { 1, 2, 3, 4 };
    auto a0 = a, b0 = b, e0 = e, r0 = r;
    CSplineInterpolater::Solve(a, b, e, r);
    for (size_t i = 0; i < 4; ++i) {
        double sum = a0[i] * r[(i + 3) % 4] + b0[i] * r[i] + e0[i] * r[(i + 1) % 4];
        EXPECT_NEAR(sum, r0[i], 1e-9) << i;
    }
}

// Long key lists once overflowed the multiplied-out elimination; the rows are now rescaled.
TEST(CSplineInterpolater, LongKeyListsStayFinite)
{
    for (bool closed : { false, true }) {
        SCOPED_TRACE(closed);
        std::vector<int16_t> keys, values;
        for (int16_t k = 0; k < 600; ++k) {
            keys.push_back(int16_t(k * 50));
            values.push_back(int16_t(k % 2 ? 300 : -300));
        }
        if (closed)
            values.back() = values.front();
        auto spline = Spline(keys, values, true, true, closed, 100);
        for (int32_t k = 0; k < 600; ++k)
            ASSERT_TRUE(std::isfinite(spline->Velocity(k, 0))) << k;
        EXPECT_NEAR(At(*spline.Get(), 300, 0, 50), values[300], 1);
        EXPECT_NEAR(At(*spline.Get(), 598, 50, 50), values[599], 1);
    }
}
