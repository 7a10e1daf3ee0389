#include "engine/CXform.h"

#include "engine/PathPoint.h"

#include "EngineFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace {

Rect RandomRect(std::mt19937& random, int32_t minSize)
{
    std::uniform_int_distribution<int32_t> place(-500, 500);
    std::uniform_int_distribution<int32_t> size(minSize, 300);
    int32_t left = place(random);
    int32_t top = place(random);
    return Rect(left, top, left + size(random), top + size(random));
}

Rect Moved(Rect rect, int32_t dh, int32_t dv)
{
    rect.Offset(dh, dv);
    return rect;
}

} // namespace

// Over random rectangles: corners land on corners and come back, a transform composed with its
// inverse maps like none, a move of the destination is a pure move by exactly that much, and the
// relative transform takes one transform onto the other.
TEST(CXform, IdentitiesHoldOverRandomRectangles)
{
    std::mt19937 random(20);
    std::uniform_int_distribution<int32_t> shift(-400, 400);
    for (int round = 0; round < 300; ++round) {
        Rect source = RandomRect(random, 1);
        Rect destination = RandomRect(random, 1);
        SCOPED_TRACE(round);
        CXform xform(source, destination);
        EXPECT_EQ(xform.MapRect(source), destination);
        EXPECT_EQ(xform.MapBack(destination.TopLeft()), source.TopLeft());
        EXPECT_EQ(xform.MapBack(destination.BottomRight()), source.BottomRight());

        SmartPtr<CXform> inverse = SmartCast<CXform>(xform.Inverse().Get());
        ASSERT_TRUE(inverse.Valid());
        SmartPtr<CXform> there = xform.ComposeWith(*inverse.Get());
        EXPECT_EQ(there->MapRect(source), source);
        EXPECT_TRUE(there->IsUnrotated());

        // Same-size transforms map every point exactly both ways.
        CXform move(source, Moved(source, shift(random), shift(random)));
        Point p(shift(random), shift(random));
        EXPECT_EQ(move.MapBack(move.MapPoint(p, false)), p);
        EXPECT_TRUE(move.KeepsSizes());

        Point delta;
        CXform moved(xform);
        int32_t dh = shift(random), dv = shift(random);
        moved.SetRects(source, Moved(destination, dh, dv));
        EXPECT_TRUE(xform.IsPureMove(moved, delta));
        EXPECT_EQ(delta, Point(dh, dv));
        CXform other(source, RandomRect(random, 1));
        if (!other.GetDestination().Size().Equals(destination.Size())) {
            EXPECT_FALSE(xform.IsPureMove(other, delta));
        }

        SmartPtr<CXform> relative = xform.RelativeTo(other);
        EXPECT_EQ(xform.ComposeWith(*relative.Get())->MapRect(source), other.MapRect(source));
    }
}

// Turns by quarter turns map the source's pixel grid exactly; any angle comes back within a pixel.
TEST(CXform, RotationsComeBack)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> coordinate(-200, 200);
    for (int16_t angle : { 90, 180, 270, -90, 45, 30, 400 }) {
        SCOPED_TRACE(angle);
        Rect square(0, 0, 40, 40);
        CXform turn(square, Moved(square, 10, 20), angle);
        EXPECT_EQ(turn.Kind(), angle % 360 == 0 ? 2 : 3);
        EXPECT_FALSE(turn.IsUnrotated());
        for (int round = 0; round < 50; ++round) {
            Point p(coordinate(random), coordinate(random));
            Point back = turn.MapBack(turn.MapPoint(p, false));
            EXPECT_LE(std::abs(back.h - p.h), angle % 90 == 0 ? 0 : 1);
            EXPECT_LE(std::abs(back.v - p.v), angle % 90 == 0 ? 0 : 1);
        }
    }
    // A quarter turn sends the right-hand edge's middle to the top edge's middle (counter-clockwise
    // on the screen) and the box stays square.
    CXform quarter(Rect(0, 0, 20, 20), Rect(0, 0, 20, 20), 90);
    EXPECT_EQ(quarter.MapPoint(Point(20, 10), false), Point(10, 0));
    EXPECT_EQ(quarter.MapRect(Rect(0, 0, 20, 20)), Rect(0, 0, 20, 20));
    // Turning about a point moves the destination's centre around it.
    CXform about(Rect(0, 0, 10, 10), Rect(20, 0, 30, 10));
    about.RotateAbout(180, Point(0, 5));
    EXPECT_EQ(about.GetDestination(), Rect(-30, 0, -20, 10));
    EXPECT_EQ(about.GetAngle(), 180);
}

TEST(CXform, ClipFollowsTheDestination)
{
    CXform xform(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10));
    xform.SetClip(Rect(2, 2, 6, 6));
    xform.SetRects(Rect(0, 0, 10, 10), Rect(100, 100, 120, 120));
    EXPECT_EQ(xform.GetClip(), Rect(104, 104, 112, 112));
    xform.Offset(Point(-100, 0));
    EXPECT_EQ(xform.GetClip(), Rect(4, 104, 12, 112));
    EXPECT_EQ(xform.GetSource(), Rect(-100, 0, -90, 10));
    xform.SetClip(Rect(5, 5, 5, 9));
    EXPECT_FALSE(xform.HasClip());
}

// Stored and read back alike; two empty rectangles come back as the shared hidden transform.
TEST(CXform, StoredFormsComeBack)
{
    SmartPtr<CXform> xform = new CXform(Rect(1, 2, 30, 40), Rect(-5, 6, 70, 80), 33);
    xform->SetAngles(33, -12);
    xform->SetClip(Rect(0, 0, 9, 9));
    SmartPtr<ListData> list = new ListData(&CXform::classInfo);
    list->Append(xform.Get());
    list->Append(kHiddenXform.Get());
    list->Append(new CXform(Rect(0, 0, 0, 0), Rect(0, 0, 0, 0)));
    SmartPtr<Smart> root = engine::Load(engine::Store(list.Get()));
    auto* read = SmartCast<ListData>(root.Get());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->NumItems(), 3u);
    auto* first = SmartCast<CXform>(read->GetItem(1));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->Equals(*xform.Get()));
    EXPECT_EQ(read->GetItem(2), static_cast<Smart*>(kHiddenXform.Get()));
    EXPECT_EQ(read->GetItem(3), static_cast<Smart*>(kHiddenXform.Get()));
}

TEST(PathPoint, MapsAndPlacesThroughItsTransform)
{
    PathPoint point;
    EXPECT_EQ(point.Map(Point(3, 4)), Point(3, 4));
    SmartPtr<CXform> scale = new CXform(Rect(0, 0, 10, 10), Rect(0, 0, 20, 20));
    point.SetTransform(scale);
    EXPECT_EQ(point.Map(Point(3, 4)), Point(6, 8));
    // A pure move of the held transform becomes the offset; the transform stays.
    SmartPtr<CXform> moved = new CXform(Rect(0, 0, 10, 10), Rect(5, -5, 25, 15));
    point.SetTransform(moved);
    EXPECT_EQ(point.transform, scale);
    EXPECT_EQ(point.offset, Point(5, -5));
    point.Place(Point(1, 1), Point(100, 100));
    EXPECT_EQ(point.Map(Point(1, 1)), Point(100, 100));
    point.SetTransform(kHiddenXform);
    EXPECT_EQ(point.offset, Point(0, 0));
    EXPECT_EQ(point.Map(Point(7, 7)), Point(7, 7));
}

// A clip never changes a transform that another path point holds.
TEST(PathPoint, ClipCopiesASharedTransform)
{
    SmartPtr<CXform> shared = new CXform(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10));
    PathPoint first(Point(0, 0), shared);
    PathPoint second(first);
    second.SetClip(Rect(1, 1, 4, 4));
    EXPECT_FALSE(shared->HasClip());
    EXPECT_NE(second.transform, shared);
    EXPECT_EQ(second.transform->GetClip(), Rect(1, 1, 4, 4));
    PathPoint hidden(Point(0, 0), kHiddenXform);
    hidden.SetClip(Rect(2, 2, 5, 5));
    EXPECT_NE(hidden.transform, kHiddenXform);
    EXPECT_FALSE(kHiddenXform->HasClip());
    EXPECT_EQ(hidden.transform->GetClip(), Rect(2, 2, 5, 5));
}

TEST(PathPoint, StoredWithItsSharedTransform)
{
    SmartPtr<CXform> shared = new CXform(Rect(0, 0, 10, 10), Rect(3, 3, 23, 23));
    SmartPtr<ListData> path = new ListData(&PathPoint::classInfo);
    path->Append(new PathPoint(Point(4, -4), shared));
    path->Append(new PathPoint(Point(1, 2), shared));
    path->Append(new PathPoint(Point(0, 0), kHiddenXform));
    path->Append(new PathPoint);
    SmartPtr<Smart> root = engine::Load(engine::Store(path.Get()));
    auto* read = SmartCast<ListData>(root.Get());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->NumItems(), 4u);
    auto* a = SmartCast<PathPoint>(read->GetItem(1));
    auto* b = SmartCast<PathPoint>(read->GetItem(2));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->Equals(*SmartCast<PathPoint>(path->GetItem(1))));
    EXPECT_EQ(b->offset, Point(1, 2));
    EXPECT_EQ(a->transform, b->transform);
    EXPECT_EQ(SmartCast<PathPoint>(read->GetItem(3))->transform, kHiddenXform);
    EXPECT_FALSE(SmartCast<PathPoint>(read->GetItem(4))->transform.Valid());
}
