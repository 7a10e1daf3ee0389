#include "authoring/tasks/CMoveTask.h"

#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"
#include "platform/kernel/Clock.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class Moving : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        sprite = AddSprite(Rect(40, 40, 60, 60), 0, kFrames);
        before = Path(sprite);
    }

    std::string Shown(int32_t v, int32_t from, int32_t to)
    {
        return ShownRow(page->GetFrame()->GetOSWindow(), v, from, to);
    }

    CSprite* sprite { nullptr };
    std::string before;
};

std::string Repeat(const std::string& one, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += one;
    return text;
}

} // namespace

// The drag shows the picture following the mouse over the unchanged page; the release moves the
// sprite by the drag's offset in the shown frame only, posts the move as the window's undo step
// and gives the tool from before the press back; undo and redo alternate.
TEST_F(Moving, ADragMovesTheSpriteAtTheReleaseAndIsUndoneAndRedone)
{
    SmartPtr<Tool> tool = app->GetCurrentTool();
    Press(50, 50);
    Move(70, 55);
    EXPECT_EQ(Path(sprite), before) << "nothing moves before the release";
    EXPECT_EQ(Shown(50, 35, 85), "wwwww" + Repeat("r", 40) + "wwwww") << "the page and the dragged picture";
    EXPECT_EQ(Shown(62, 35, 85), Repeat("w", 25) + Repeat("r", 20) + "wwwww") << "the picture is 5 pixels lower";
    Release(70, 55);
    EXPECT_EQ(Text(At(sprite, 0)), "60,45,80,65");
    EXPECT_EQ(Path(sprite).substr(Path(sprite).find(' ')), before.substr(before.find(' '))) << "other frames";
    EXPECT_EQ(app->GetCurrentTool(), tool);
    ASSERT_TRUE(page->HasUndoTask());
    EXPECT_EQ(Shown(50, 35, 85), Repeat("w", 25) + "kkkkkkkrrrrrkkkkkkkr" + "wwwww") << "moved, with its handles";

    page->Undo();
    EXPECT_EQ(Path(sprite), before);
    page->Undo();
    EXPECT_EQ(Text(At(sprite, 0)), "60,45,80,65");
    page->Undo();
    EXPECT_EQ(Path(sprite), before);
}

// A press and a release at the same place on one frame change nothing and post nothing.
TEST_F(Moving, AClickWithoutMotionPostsNothing)
{
    Press(45, 45);
    Release(45, 45);
    EXPECT_EQ(Path(sprite), before);
    EXPECT_FALSE(page->HasUndoTask());
}

// Shift pins the point to the horizontal or vertical line through the press, a tie going
// horizontal; with Control as well to the nearest diagonal, a point on an axis staying there.
TEST(MoveConstraint, ShiftPinsToAnAxisAndControlToADiagonal)
{
    BitFlags shift(1u << CMoveTask::kShiftBit);
    BitFlags both((1u << CMoveTask::kShiftBit) | (1u << CMoveTask::kControlBit));
    Point o(100, 100);
    struct Case {
        const char* name;
        BitFlags modifiers;
        Point p;
        const char* expected;
    } cases[] = {
        { "mostly across", shift, Point(130, 110), "130,100" },
        { "mostly down", shift, Point(110, 130), "100,130" },
        { "a tie goes across", shift, Point(120, 80), "120,100" },
        { "diagonal down right", both, Point(130, 110), "130,130" },
        { "diagonal up right", both, Point(110, 70), "130,70" },
        { "diagonal up left", both, Point(70, 90), "70,70" },
        { "straight down stays", both, Point(100, 140), "100,140" },
        { "straight left stays", both, Point(60, 100), "60,100" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.p;
        CMoveTask::ConstrainPoint(o, p, c.modifiers);
        EXPECT_EQ(Text(p), c.expected);
    }
}

// Shift held on the keyboard reaches the task through the window's mouse messages.
TEST_F(Moving, ShiftHeldDuringTheDragKeepsTheSpriteOnItsLine)
{
    driver::PressKey(VK_SHIFT);
    Press(50, 50);
    Move(80, 58);
    Release(80, 58);
    driver::ReleaseKey(VK_SHIFT);
    EXPECT_EQ(Text(At(sprite, 0)), "70,40,90,60");
}

// With a run of frames selected, a one-frame drag moves the sprite in every frame of the run
// where it shows and leaves the others; undo puts every frame back.
TEST_F(Moving, ADragOverASelectedRunMovesEveryFrameTheSpriteShows)
{
    sprite->HideFrames(5, 1);
    before = Path(sprite);
    pane->SelectFrames(3, 7);
    ASSERT_EQ(show->GetPlayer()->GetFrame(), 3);
    Drag(Point(50, 50), Point(60, 50));
    EXPECT_EQ(Path(sprite),
        "40,40,60,60 40,40,60,60 40,40,60,60 50,40,70,60 50,40,70,60 - 50,40,70,60 50,40,70,60 40,40,60,60 "
        "40,40,60,60 ");
    page->Undo();
    EXPECT_EQ(Path(sprite), before);
}

// Every selected sprite moves with the pressed one.
TEST_F(Moving, TheWholeSelectionMovesTogether)
{
    CSprite* other = AddSprite(Rect(100, 40, 110, 50), 0, kFrames, 9);
    pane->SelectObject(nullptr, true);
    Drag(Point(50, 50), Point(55, 60));
    EXPECT_EQ(Text(At(sprite, 0)), "45,50,65,70");
    EXPECT_EQ(Text(At(other, 0)), "105,50,115,60");
    page->Undo();
    EXPECT_EQ(Text(At(other, 0)), "100,40,110,50");
}

// In the alternate mode every move at least 120 / rate ms after the last advance (8 ms at 15
// frames a second) moves the drag on a frame, and the sprite's reference point follows the mouse
// in each frame visited; the drag is posted even when it ends at the press point, and undo and
// redo cover every visited frame.
TEST_F(Moving, TheAlternateModeRecordsAMotionFrameByFrame)
{
    pw::platform::Clock::SetTickStep(0);
    UseTool(3, true);
    Press(50, 50);
    EXPECT_EQ(Commands(), std::vector<int32_t> { 2032 }) << "the alternate-mode notice";
    driver::AdvanceClock(8);
    Move(60, 50);
    EXPECT_EQ(show->GetPlayer()->GetFrame(), 1);
    driver::AdvanceClock(5);
    Move(65, 52);
    EXPECT_EQ(show->GetPlayer()->GetFrame(), 1) << "too soon";
    driver::AdvanceClock(8);
    Move(50, 50);
    EXPECT_EQ(show->GetPlayer()->GetFrame(), 2);
    EXPECT_EQ(Path(sprite), before) << "nothing moves before the release";
    Release(50, 50);
    pw::platform::Clock::SetTickStep(1);

    std::string moved = "40,40,60,60 55,42,75,62 " + Repeat("40,40,60,60 ", 8);
    EXPECT_EQ(Path(sprite), moved);
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    EXPECT_EQ(Path(sprite), before);
    page->Undo();
    EXPECT_EQ(Path(sprite), moved);
}

// Moving into a frame the sprite does not show in places it there, and undo takes it out again.
TEST_F(Moving, AVisitedFrameWithoutTheSpriteGetsItAndLosesItOnUndo)
{
    pw::platform::Clock::SetTickStep(0);
    sprite->HideFrames(1, 1);
    before = Path(sprite);
    UseTool(3, true);
    Press(50, 50);
    driver::AdvanceClock(8);
    Move(60, 50);
    driver::AdvanceClock(8);
    Move(70, 50);
    Release(70, 50);
    pw::platform::Clock::SetTickStep(1);
    EXPECT_EQ(Path(sprite).substr(0, 36), "40,40,60,60 50,40,70,60 60,40,80,60 ");
    page->Undo();
    EXPECT_EQ(Path(sprite), before);
}

// A drag in the alternate mode past the last frame lengthens the page.
TEST_F(Moving, ADragPastTheLastFrameGrowsTheMovie)
{
    pw::platform::Clock::SetTickStep(0);
    pane->SelectFrames(9, 9);
    UseTool(3, true);
    Press(50, 50);
    driver::AdvanceClock(8);
    Move(60, 50);
    Release(60, 50);
    pw::platform::Clock::SetTickStep(1);
    EXPECT_EQ(group->NumFrames(), 11);
    EXPECT_EQ(Text(At(sprite, 10)), "50,40,70,60");
}

// A drag whose task goes before the release (its tool replaced) leaves the page drawn as it is.
TEST_F(Moving, ADragCutShortLeavesThePageAsItIs)
{
    Press(50, 50);
    Move(70, 50);
    UseTool(3);
    pane->InvalidateView(false);
    EXPECT_EQ(Shown(50, 35, 85), "wwwww" + Repeat("r", 20) + Repeat("w", 25));
    Release(70, 50);
    EXPECT_EQ(Path(sprite), before);
    EXPECT_FALSE(page->HasUndoTask());
}

// Dragged past the page's edges, a picture stops with the point it was taken by on the page, so
// it stays in sight and can be taken again; each edge holds on its own.
TEST_F(Moving, APictureDraggedOffThePageKeepsItsGrabbedPointOnIt)
{
    Rect bounds = pane->GetBounds();
    Point last(bounds.right - 1, bounds.bottom - 1);
    struct Case {
        const char* name;
        Point to;
        Point grabbed;
    } cases[] = {
        { "past the top-left corner", Point(bounds.left - 300, bounds.top - 300), bounds.TopLeft() },
        { "past the bottom-right corner", Point(bounds.right + 300, bounds.bottom + 300), last },
        { "past the left edge only", Point(bounds.left - 300, 70), Point(bounds.left, 70) },
        { "past the bottom edge only", Point(80, bounds.bottom + 40), Point(80, last.v) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Press(50, 50);
        Move((50 + c.to.h) / 2, (50 + c.to.v) / 2);
        Move(c.to.h, c.to.v);
        Release(c.to.h, c.to.v);
        Rect expected(40, 40, 60, 60);
        expected.Offset(c.grabbed.h - 50, c.grabbed.v - 50);
        EXPECT_EQ(Text(At(sprite, 0)), Text(expected));
        page->Undo();
        ASSERT_EQ(Path(sprite), before);
    }
}
