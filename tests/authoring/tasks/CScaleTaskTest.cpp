#include "authoring/tasks/CScaleTask.h"

#include "engine/CMovieText.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace authoring;

namespace {

// A picture 40 x 20 placed at 60 x 30 in every frame.
class Scaling : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        sprite = AddSprite(Rect(20, 20, 60, 40), 0, kFrames);
        Rect place(20, 20, 80, 50);
        for (int16_t f = 0; f < kFrames; ++f)
            sprite->PlaceAtFrame(f, &place, nullptr);
        before = Text(At(sprite, 0));
        reference = Text(ReferenceAt(sprite, 0));
    }

    CSprite* sprite { nullptr };
    std::string before;
    std::string reference;
};

// A text sprite on the text frame (20, 20, 80, 40) in every frame.
class TextScaling : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        Rect frame(20, 20, 80, 40);
        SmartPtr<CResource> text = new CResource(SmartPtr<Persistent>(new String("Hello there")), true);
        SmartPtr<CSprite> made = new CSprite(0, new CMovieText(text, frame, true), frame);
        made->SetNumFrames(kFrames);
        sprite = group->GetSprite(group->AddSprite(made, false));
    }

    std::string TextFrame()
    {
        Rect r(0, 0, 0, 0);
        sprite->GetMovie()->GetFrameBounds(r, sprite->CelForFrame(0));
        return Text(r);
    }

    CSprite* sprite { nullptr };
};

// A 40 x 40 picture at (40, 40) under animation tool 5.
class Cropping : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        sprite = AddSprite(Rect(40, 40, 80, 80), 0, kFrames);
        UseTool(5);
    }

    std::string Full()
    {
        Rect r(0, 0, 0, 0);
        sprite->GetFullFrameBounds(0, r);
        return Text(r);
    }

    CSprite* sprite { nullptr };
};

} // namespace

// The grabbed edges go to the mouse, the opposite ones scale about the fixed point; quotients
// round half away from zero.
TEST(ScaleArithmetic, EdgesFollowTheMouseAndScaleAboutTheFixedPoint)
{
    struct Case {
        const char* name;
        Rect start;
        Point grab;
        Point d;
        const char* expected;
    } cases[] = {
        { "bottom right from the top-left corner", Rect(0, 0, 100, 50), Point(1, 1), Point(150, 75), "0,0,150,75" },
        { "top left from the bottom-right corner", Rect(-100, -50, 0, 0), Point(-1, -1), Point(-60, -30),
            "-60,-30,0,0" },
        { "top right from the bottom-left corner", Rect(0, -50, 100, 0), Point(1, -1), Point(50, -100),
            "0,-100,50,0" },
        { "-2.5 rounds to -3", Rect(-5, 0, 10, 4), Point(1, 1), Point(5, 4), "-3,0,5,4" },
        { "2.5 rounds to 3", Rect(-10, 0, 5, 4), Point(-1, 1), Point(-5, 4), "-5,0,3,4" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Text(CScaleTask::ScaledRect(c.start, c.grab, c.d)), c.expected);
    }
}

// Shift keeps the picture's natural proportions toward the larger movement and snaps to the
// natural size within 16 pixels, except in the alternate mode.
TEST(ScaleArithmetic, ShiftKeepsTheNaturalProportions)
{
    Rect natural(0, 0, 100, 50);
    struct Case {
        const char* name;
        Point q;
        bool altMode;
        const char* expected;
    } cases[] = {
        { "across dominates", Point(300, 60), false, "300,150" },
        { "down dominates", Point(20, 100), false, "200,100" },
        { "near the natural size snaps", Point(110, 52), false, "100,50" },
        { "no snap in the alternate mode", Point(110, 52), true, "110,55" },
        { "down near the natural height snaps", Point(10, 60), false, "100,50" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Text(CScaleTask::KeepProportions(c.q, natural, Point(1, 1), c.altMode)), c.expected);
    }
    EXPECT_EQ(Text(CScaleTask::KeepProportions(Point(7, 9), Rect(0, 0, 0, 50), Point(1, 1), false)), "7,9")
        << "no proportions to keep";
}

// Dragging a corner handle keeps the opposite corner in place, stops at 4 pixels, and the
// reference point keeps its place in the picture; undo brings back the rectangle and the
// reference point, redo the new ones.
TEST_F(Scaling, ACornerHandleScalesAboutTheOppositeCorner)
{
    struct Case {
        const char* name;
        Point press;
        Point to;
        const char* expected;
    } cases[] = {
        { "bottom right", Point(79, 49), Point(99, 69), "20,20,99,69" },
        { "top left", Point(20, 20), Point(10, 5), "10,5,80,50" },
        { "top right", Point(79, 20), Point(90, 30), "20,30,90,50" },
        { "across the fixed corner", Point(79, 49), Point(5, 5), "20,20,24,24" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drag(c.press, c.to);
        EXPECT_EQ(Text(At(sprite, 0)), c.expected);
        EXPECT_EQ(Text(At(sprite, 1)), before) << "one frame";
        page->Undo();
        EXPECT_EQ(Text(At(sprite, 0)), before);
        EXPECT_EQ(Text(ReferenceAt(sprite, 0)), reference);
        page->Undo();
        EXPECT_EQ(Text(At(sprite, 0)), c.expected);
        page->Undo();
    }
    Drag(Point(79, 49), Point(139, 109));
    EXPECT_EQ(Text(ReferenceAt(sprite, 0)), "80,65") << "the middle of the doubled picture";
}

// With Shift the picture keeps its own 2 : 1 proportions and snaps to its natural 40 x 20.
TEST_F(Scaling, ShiftKeepsProportionsAndSnapsToTheNaturalSize)
{
    driver::PressKey(VK_SHIFT);
    Drag(Point(79, 49), Point(140, 52));
    EXPECT_EQ(Text(At(sprite, 0)), "20,20,140,80");
    page->Undo();
    Drag(Point(79, 49), Point(62, 41));
    driver::ReleaseKey(VK_SHIFT);
    EXPECT_EQ(Text(At(sprite, 0)), "20,20,60,40");
}

// Scale tool 15 scales from anywhere on the sprite.
TEST_F(Scaling, TheScaleToolScalesFromAnyPress)
{
    UseTool(15);
    Drag(Point(60, 45), Point(70, 55));
    EXPECT_EQ(Text(At(sprite, 0)), "20,20,70,55");
}

// A corner dragged inward crops the picture in the frame, outward past it the crop goes; the
// picture itself stays; undo takes the crop away.
TEST_F(Cropping, ACornerHandleCropsThePicture)
{
    Drag(Point(79, 79), Point(60, 70));
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,60,70");
    EXPECT_EQ(Full(), "40,40,80,80");
    EXPECT_EQ(ShownRow(page->GetFrame()->GetOSWindow(), 55, 35, 85), "wwwww" + std::string(20, 'r') + std::string(25, 'w'))
        << "the cut-off part is not drawn";
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,80,80");
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,60,70");

    Drag(Point(59, 69), Point(100, 100));
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,80,80") << "the whole picture again";

    // The top-left corner, whose crop moves the picture's reference corner: undo gives it back.
    Drag(Point(40, 40), Point(60, 60));
    EXPECT_EQ(Text(At(sprite, 0)), "60,60,80,80");
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,80,80");
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "60,60,80,80");
}

// A drag elsewhere moves the crop window over the picture, which stays; the reference point ends
// at the release point; a window moved wholly off the picture crops nothing.
TEST_F(Cropping, ADragElsewhereMovesTheCropWindow)
{
    Drag(Point(60, 60), Point(70, 65));
    EXPECT_EQ(Text(At(sprite, 0)), "50,45,80,80");
    EXPECT_EQ(Full(), "40,40,80,80");
    EXPECT_EQ(Text(ReferenceAt(sprite, 0)), "70,65");
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,80,80");

    Drag(Point(60, 60), Point(150, 140));
    EXPECT_EQ(Text(At(sprite, 0)), "40,40,80,80");
}

// Scaling a text sprite gives its text a new frame instead of stretching it; the text keeps its
// top edge, and undo gives the old frame back.
TEST_F(TextScaling, ATextSpriteGetsANewTextFrameKeepingItsTop)
{
    ASSERT_EQ(Text(At(sprite, 0)), "20,20,80,40");
    Drag(Point(20, 20), Point(10, 5));
    EXPECT_EQ(TextFrame(), "10,20,80,55");
    EXPECT_EQ(Text(At(sprite, 0)), "10,20,80,55");
    page->Undo();
    EXPECT_EQ(TextFrame(), "20,20,80,40");
    EXPECT_EQ(Text(At(sprite, 0)), "20,20,80,40");
}

// In the alternate mode a drag past the opposite corner scales frame after frame down to the
// smallest picture, never to none; undo gives every frame its rectangle and reference point back
// exactly, redo the drag's result again.
TEST_F(Scaling, AnAlternateDragPastTheCornerIsUndoneInEveryFrame)
{
    std::string untouched = Path(sprite);
    std::vector<std::string> references;
    for (int16_t f = 0; f < 3; ++f)
        references.push_back(Text(ReferenceAt(sprite, f)));
    UseTool(3, true);
    Press(79, 49);
    Move(60, 40);
    driver::AdvanceClock(1000);
    Move(30, 30);
    driver::AdvanceClock(1000);
    Move(0, 0);
    Release(0, 0);
    std::string scaled = Path(sprite);
    EXPECT_EQ(scaled.substr(0, scaled.find(" 20,20,80,50")), "20,20,60,40 20,20,30,30 20,20,24,24");
    page->Undo();
    EXPECT_EQ(Path(sprite), untouched);
    for (int16_t f = 0; f < 3; ++f)
        EXPECT_EQ(Text(ReferenceAt(sprite, f)), references[f]) << "frame " << f;
    page->Undo();
    EXPECT_EQ(Path(sprite), scaled);
}
