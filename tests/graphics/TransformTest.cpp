#include "graphics/ScaleTrans.h"
#include "graphics/Translation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Text(const Rect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom) + ")";
}

std::string Text(const Point& p)
{
    return "(" + std::to_string(p.h) + "," + std::to_string(p.v) + ")";
}

// A transform of a kind neither framework transform can combine with.
class Mirror : public SmartImplementation, public Transform {
    PW_CLASS_INFO(Mirror)
    PW_COPY_SLOTS

public:
    int32_t Kind() override { return 3; }
    Point MapPoint(Point point, bool) override { return Point(-point.h, point.v); }
    SmartPtr<Transform> Inverse() override { return new Mirror; }
    SmartPtr<Transform> Compose(Transform&, bool) override { return nullptr; }
};

PW_DEFINE_CLASS(Mirror, nullptr, nullptr, SmartImplementation, Transform)
PW_DEFINE_NO_COPY_SLOTS(Mirror)

} // namespace

TEST(ScaleTrans, MapsPointsRoundingHalvesAwayFromZero)
{
    struct Case {
        Rect source;
        Rect destination;
        Point in;
        Point out;
    } cases[] = {
        { { 0, 0, 10, 10 }, { 0, 0, 20, 20 }, { 5, 5 }, { 10, 10 } },
        { { 0, 0, 10, 10 }, { 0, 0, 20, 20 }, { 0, 0 }, { 0, 0 } },
        { { 0, 0, 3, 3 }, { 0, 0, 2, 2 }, { 1, 1 }, { 1, 1 } }, // 0.667 rounds up
        { { 0, 0, 3, 3 }, { 0, 0, 2, 2 }, { -1, -1 }, { -1, -1 } }, // -0.667 rounds down
        { { 0, 0, 4, 4 }, { 0, 0, 2, 2 }, { 1, 3 }, { 1, 2 } }, // 0.5 up, 1.5 up
        { { 0, 0, 4, 4 }, { 0, 0, 2, 2 }, { -1, -3 }, { -1, -2 } }, // -0.5 down, -1.5 down
        { { 10, 10, 13, 13 }, { 100, 50, 101, 51 }, { 10, 10 }, { 100, 50 } }, // origin maps exactly
        { { 10, 20, 30, 40 }, { -5, -5, 35, 15 }, { 15, 25 }, { 5, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.source) + "->" + Text(c.destination) + " at " + Text(c.in));
        ScaleTrans scale(c.source, c.destination, false);
        EXPECT_EQ(Text(scale.MapPoint(c.in, false)), Text(c.out));
    }
}

TEST(ScaleTrans, KeepingTheAspectFitsAndCentresTheDestination)
{
    struct Case {
        Rect source;
        Rect destination;
        Rect fitted;
    } cases[] = {
        { { 0, 0, 100, 50 }, { 0, 0, 40, 40 }, { 0, 10, 40, 30 } },
        { { 0, 0, 50, 100 }, { 0, 0, 40, 40 }, { 10, 0, 30, 40 } },
        { { 0, 0, 10, 10 }, { 0, 0, 30, 20 }, { 5, 0, 25, 20 } },
        { { 0, 0, 3, 1 }, { 0, 0, 10, 10 }, { 0, 4, 10, 7 } }, // height 3.33 rounds to 3; top 5 - 3 / 2
        { { 0, 0, 7, 3 }, { -11, -11, 0, 0 }, { -10, -7, 1, -2 } }, // centre -5.5 truncates to -5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.source) + " in " + Text(c.destination));
        EXPECT_EQ(Text(ScaleTrans(c.source, c.destination, true).GetDestination()), Text(c.fitted));
    }
}

TEST(ScaleTrans, InverseUndoesTheMappingOfRectangleCorners)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-50, 50);
    std::uniform_int_distribution<int> extent(1, 40);
    for (int round = 0; round < 200; ++round) {
        Rect source(coordinate(random), coordinate(random), 0, 0);
        source.right = source.left + extent(random);
        source.bottom = source.top + extent(random);
        Rect destination(coordinate(random), coordinate(random), 0, 0);
        destination.right = destination.left + extent(random);
        destination.bottom = destination.top + extent(random);
        ScaleTrans scale(source, destination, false);
        SmartPtr<Transform> inverse = scale.Inverse();
        SCOPED_TRACE(Text(source) + "->" + Text(destination));
        EXPECT_EQ(Text(scale.MapRect(source, false)), Text(destination));
        EXPECT_EQ(Text(inverse->MapRect(destination, false)), Text(source));
    }
    Translation shift(4, -6);
    EXPECT_EQ(Text(shift.Inverse()->MapPoint(Point(4, -6), false)), "(0,0)");
    EXPECT_EQ(ScaleTrans(Rect(0, 0, 10, 10), Rect(5, 5, 15, 15), false).Kind(), 1);
    EXPECT_EQ(ScaleTrans(Rect(3, 4, 10, 10), Rect(3, 4, 10, 10), false).Kind(), 0);
}

TEST(Transform, CombineAppliesThisFirstThenOther)
{
    Translation first(3, 4);
    Translation second(-10, 20);
    SmartPtr<Transform> sum = first.Combine(second);
    ASSERT_TRUE(sum.Valid());
    ASSERT_NE(SmartCast<Translation>(sum.Get()), nullptr);
    EXPECT_EQ(Text(SmartCast<Translation>(sum.Get())->GetOffset()), "(-7,24)");

    // A translation declines a scale; the scale composes it in, in both orders.
    ScaleTrans scale({ 0, 0, 10, 10 }, { 0, 0, 20, 20 }, false);
    SmartPtr<Transform> shiftThenScale = first.Combine(scale);
    SmartPtr<Transform> scaleThenShift = scale.Combine(first);
    ASSERT_NE(SmartCast<ScaleTrans>(shiftThenScale.Get()), nullptr);
    ASSERT_NE(SmartCast<ScaleTrans>(scaleThenShift.Get()), nullptr);
    for (Point p : { Point(-3, -4), Point(2, 1), Point(7, 9) }) {
        SCOPED_TRACE(Text(p));
        EXPECT_EQ(Text(shiftThenScale->MapPoint(p, false)), Text(scale.MapPoint(first.MapPoint(p, false), false)));
        EXPECT_EQ(Text(scaleThenShift->MapPoint(p, false)), Text(first.MapPoint(scale.MapPoint(p, false), false)));
    }

    Mirror mirror;
    EXPECT_FALSE(first.Combine(mirror).Valid());
    EXPECT_FALSE(scale.Combine(mirror).Valid());
}
