#include "authoring/tasks/CCircleTask.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

// The drag is one diameter along its main direction; the other spreads equally about the press;
// Shift makes both diameters the drag's.
TEST(CCircleTask, TheDragSpansTheEllipse)
{
    struct Case {
        const char* name;
        Point start, end;
        bool horizontal, circle;
        const char* box;
    } cases[] = {
        { "right", { 100, 100 }, { 200, 130 }, true, false, "100,70,200,130" },
        { "right, circle", { 100, 100 }, { 200, 130 }, true, true, "100,50,200,150" },
        { "left", { 200, 100 }, { 100, 90 }, true, false, "100,90,200,110" },
        { "down", { 100, 100 }, { 130, 201 }, false, false, "70,100,130,201" },
        { "up, circle", { 100, 100 }, { 90, 0 }, false, true, "50,0,150,100" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Text(CCircleTask::EllipseBox(c.start, c.end, c.horizontal, c.circle)), c.box);
    }
}

// Once round in the given frames, clockwise on the screen, from the end of the diameter where the
// press was; the numbers carry the truncation of the integer conversion.
TEST(CCircleTask, FramesGoOnceRoundFromThePress)
{
    struct Case {
        const char* name;
        bool horizontal, forward;
        const char* points;
    } cases[] = {
        { "rightward", true, true, "0,50 49,0 100,49 50,100 " },
        { "leftward", true, false, "100,49 50,100 0,50 49,0 " },
        { "downward", false, true, "49,0 100,49 50,100 0,50 " },
        { "upward", false, false, "50,100 0,50 49,0 100,49 " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string points;
        for (int i = 0; i < 4; ++i)
            points += Text(CCircleTask::PointOnEllipse(Rect(0, 0, 100, 100), c.horizontal, c.forward, i, 4)) + " ";
        EXPECT_EQ(points, c.points);
    }
}

namespace {

class Circling : public PaneTest {
protected:
    // Where the picture shows in each frame.
    std::string Places(CSprite* sprite)
    {
        std::string text;
        for (int16_t f = 0; f < group->NumFrames(); ++f)
            text += sprite->ShowsInFrames(f, 1) ? Text(At(sprite, f)) + " " : std::string("- ");
        return text;
    }
};

} // namespace

// A sprite of frames 0 to 4, sent round from frame 3 over the default 20 frames: the sprite runs
// to frame 22 and the page grows to 23 frames. Undo takes exactly those frames away and puts every
// old frame back; redo sends it round again.
TEST_F(Circling, ADragSendsTheSpriteRoundAndUndoPutsItBack)
{
    CSprite* sprite = AddSprite(Rect(40, 40, 60, 60), 0, 5);
    for (int16_t f = 0; f < 5; ++f) {
        Rect r(40 + 5 * f, 40, 60 + 5 * f, 60);
        sprite->PlaceAtFrame(f, &r, nullptr);
    }
    std::string before = Places(sprite);
    show->GetPlayer()->GoToFrame(3);
    driver::RunUntilIdle();
    UseTool(6);
    Point press = pane->ToPane(Point(60, 50));
    Press(press.h, press.v);
    Move(press.h + 60, press.v + 10);
    Release(press.h + 60, press.v + 10);

    ASSERT_TRUE(page->HasUndoTask());
    EXPECT_EQ(group->NumFrames(), 23);
    EXPECT_EQ(sprite->StartFrame(), 0);
    EXPECT_EQ(sprite->NumFrames(), 23);
    // The box is (60, 40)-(120, 60): the first frame at its left end, a quarter later at its top.
    EXPECT_EQ(Text(ReferenceAt(sprite, 3)), "60,50");
    EXPECT_EQ(Text(ReferenceAt(sprite, 8)), "89,40");
    EXPECT_EQ(Text(ReferenceAt(sprite, 13)), "120,49");
    EXPECT_EQ(At(sprite, 13).Size().h, 20) << "the picture keeps its size";
    std::string after = Places(sprite);

    page->Undo();
    EXPECT_EQ(group->NumFrames(), kFrames);
    EXPECT_EQ(sprite->NumFrames(), 5);
    EXPECT_EQ(Places(sprite), before);
    page->Undo();
    EXPECT_EQ(Places(sprite), after);
}

// A release without a drag, or a press on empty space, changes nothing.
TEST_F(Circling, NoDragNoMotion)
{
    CSprite* sprite = AddSprite(Rect(40, 40, 60, 60), 0, 5);
    std::string before = Places(sprite);
    UseTool(6);
    Point press = pane->ToPane(Point(50, 50));
    Press(press.h, press.v);
    Release(press.h, press.v);
    Point empty = pane->ToPane(Point(150, 120));
    Press(empty.h, empty.v);
    Move(empty.h + 30, empty.v);
    Release(empty.h + 30, empty.v);
    EXPECT_EQ(Places(sprite), before);
    EXPECT_EQ(group->NumFrames(), kFrames);
}

// The motion turns about the press point: pressed off the sprite's centre, the first frame of the
// circle shows the picture where it was, and the next ones carry it round from there.
TEST_F(Circling, TheFirstFrameKeepsThePictureWhereItWas)
{
    CSprite* sprite = AddSprite(Rect(40, 40, 60, 60), 0, 1);
    UseTool(6);
    Point press = pane->ToPane(Point(42, 50));
    Press(press.h, press.v);
    Move(press.h + 40, press.v);
    Release(press.h + 40, press.v);
    ASSERT_TRUE(page->HasUndoTask());
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,60,60");
    EXPECT_EQ(Text(ReferenceAt(sprite, 0)), "42,50");
    // A quarter round the flat ellipse of the (42, 50)-(82, 50) box, the point is at its middle
    // (61, 50 as the motion truncates), and the picture with it.
    EXPECT_EQ(Text(ReferenceAt(sprite, 5)), "61,50");
    EXPECT_EQ(Text(At(sprite, 5)), "59,40,79,60");
}
