#include "authoring/tasks/CPaintTask.h"

#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CEraserTool.h"
#include "authoring/tools/CLassoTool.h"
#include "graphics/Area.h"

#include "authoring/PaintFixture.h"

#include <gtest/gtest.h>

using namespace authoring;
using pw::authoring::PaintSettings;

namespace {

class CPaintTaskTest : public PaintTest {
protected:
    SmartPtr<CBrushTool> Brush(int16_t index)
    {
        SmartPtr<CBrushTool> brush = new CBrushTool(new CDropperTool);
        brush->SetOption(0, index);
        Use(brush.Get());
        return brush;
    }
    // A rubber band from `from` to `to`, then the selection tool stays current.
    void Select(Point from, Point to)
    {
        Use(new CLassoTool);
        Stroke({ from, to });
    }
};

} // namespace

// The brush stamps once at the press, then along each move one stamp per pixel of the longer
// axis, the brush advancing 2 pixels at every second stamp: a 1-pixel brush moved 3 to the right
// marks the press point and 2 to its right, and the release where the last move ended adds
// nothing. The screen shows the picture.
TEST_F(CPaintTaskTest, TheBrushStepsAlongTheMousePath)
{
    Brush(6);
    Stroke({ { 2, 2 }, { 5, 2 } });
    Grid painted = { "........", "........", "..#.#...", "........" };
    EXPECT_EQ(Picture(Rect(0, 0, 8, 4)), painted);
    EXPECT_EQ(Shown(Rect(0, 0, 8, 4)), painted);

    Stroke({ { 1, 6 }, { 1, 6 } });
    EXPECT_EQ(Picture(Rect(0, 5, 4, 8)), (Grid { "....", ".#..", "...." })) << "a press without movement stamps once";
}

// The whole brush stays inside the picture: a stroke beyond the right and bottom edges stops with
// the 3 x 3 brush against them, one beyond the top-left against those edges.
TEST_F(CPaintTaskTest, TheBrushStaysInsideThePicture)
{
    Brush(7);
    Stroke({ { 14, 14 }, { 30, 30 } });
    EXPECT_EQ(Picture(Rect(11, 11, 16, 16)), (Grid { ".....", ".....", "..###", "..###", "..###" }));
    Stroke({ { 1, 1 }, { -10, -10 } });
    EXPECT_EQ(Picture(Rect(0, 0, 4, 4)), (Grid { "###.", "###.", "###.", "...." }));
}

// Each gesture is one undoable step: undo shows the picture before it, a second undo the painted
// one again, on the screen as in the picture.
TEST_F(CPaintTaskTest, UndoExchangesThePictureWithTheOneBeforeTheGesture)
{
    Brush(7);
    Stroke({ { 4, 4 } });
    Grid painted = { ".....", ".###.", ".###.", ".###.", "....." };
    Grid blank(5, ".....");
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    EXPECT_EQ(Picture(Rect(2, 2, 7, 7)), blank);
    EXPECT_EQ(Shown(Rect(2, 2, 7, 7)), blank);
    page->Undo();
    EXPECT_EQ(Picture(Rect(2, 2, 7, 7)), painted);
    EXPECT_EQ(Shown(Rect(2, 2, 7, 7)), painted);
}

// A quick stroke of the eraser (one move between press and release) rubs out the whole band
// between the two points in the erase colour, as wide as the eraser, in the picture and on the
// screen: no separate squares.
TEST_F(CPaintTaskTest, AQuickEraserStrokeRubsOutAWholeBand)
{
    PaintSettings::Current().erase = Color(1);
    struct Case {
        const char* name;
        int16_t size;
        Point from;
        Point to;
        Grid rubbed;
    } cases[] = {
        { "across, 8 x 4", 9, { 4, 4 }, { 14, 4 },
            { "................", "................", "################", "################", "################",
                "################", "................", "................", "................", "................",
                "................", "................", "................", "................", "................",
                "................" } },
        { "slanting, 4 x 4", 1, { 3, 3 }, { 12, 12 },
            { "................", ".####...........", ".#####..........", ".######.........", ".#######........",
                "..#######.......", "...#######......", "....#######.....", ".....#######....", "......#######...",
                ".......#######..", "........######..", ".........#####..", "..........####..", "................",
                "................" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPane();
        SmartPtr<CEraserTool> eraser = new CEraserTool;
        eraser->SetOption(0, c.size);
        Use(eraser.Get());
        Stroke({ c.from, c.to });
        EXPECT_EQ(Picture(Rect(0, 0, kSide, kSide)), c.rubbed);
        EXPECT_EQ(Shown(Rect(0, 0, kSide, kSide)), c.rubbed);
    }
}

// A shape dragged back and forth leaves only the last one, in the picture and on the screen.
TEST_F(CPaintTaskTest, AShapeDraggedBackAndForthLeavesOnlyTheLastOne)
{
    SmartPtr<OutlineTool> outline = new OutlineTool;
    Use(outline.Get());
    Stroke({ { 1, 1 }, { 12, 12 }, { 3, 9 }, { 6, 5 } });
    Grid last = { "........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........" };
    EXPECT_EQ(Picture(Rect(0, 0, 8, 6)), last);
    EXPECT_EQ(Picture(Rect(0, 6, 16, 16)), Grid(10, "................"));
    EXPECT_EQ(Shown(Rect(0, 0, 8, 6)), last);
    EXPECT_EQ(Shown(Rect(0, 6, 16, 16)), Grid(10, "................"));
}

// Magnified, a shape shows only while it is dragged: each step takes the last outline away, the
// release leaves none on the screen and draws nothing into the picture.
TEST_F(CPaintTaskTest, AShapeDraggedInAMagnifiedPaneLeavesNoOutline)
{
    pane->SetZoomed(true);
    driver::RunUntilIdle();
    SmartPtr<OutlineTool> outline = new OutlineTool;
    Use(outline.Get());
    // The outline is drawn at the picture points under the mouse, (0, 0) to (3, 3) and then to (1, 1).
    Press(1, 1);
    Move(12, 12);
    EXPECT_EQ(Shown(Rect(0, 0, 4, 4)), (Grid { "###.", "#.#.", "###.", "...." }));
    Move(6, 5);
    EXPECT_EQ(Shown(Rect(0, 0, 4, 4)), (Grid { "#...", "....", "....", "...." }));
    Release(6, 5);
    EXPECT_EQ(Shown(Rect(0, 0, kSide, kSide)), Grid(kSide, std::string(kSide, '.')));
    EXPECT_EQ(Picture(Rect(0, 0, kSide, kSide)), Grid(kSide, std::string(kSide, '.')));
}

// The bucket fills the region around the press once, in the foreground colour (fill style 1);
// moving with the button held adds nothing.
TEST_F(CPaintTaskTest, TheBucketFillsTheRegionAroundThePressOnce)
{
    Blot(Rect(0, 3, 16, 4));
    Use(new CTool(103, nullptr, false, nullptr));
    Stroke({ { 5, 1 }, { 5, 8 } });
    Grid filled = { "################", "################", "################", "################",
        "................" };
    EXPECT_EQ(Picture(Rect(0, 0, 16, 5)), filled);
    EXPECT_EQ(Shown(Rect(0, 0, 16, 5)), filled);
}

// The rubber band is normalised (dragging up and left selects the same rectangle as down and
// right), changes no pixel and is not offered for undo.
TEST_F(CPaintTaskTest, TheRubberBandSelectsANormalisedRectangleWithoutUndo)
{
    Select({ 9, 8 }, { 3, 2 });
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), Rect(kLeft + 3, kTop + 2, kLeft + 9, kTop + 8));
    EXPECT_FALSE(page->HasUndoTask());
    EXPECT_EQ(Picture(Rect(0, 0, 16, 16)), Grid(16, "................"));
}

// A press inside the selection lifts its pixels and moves them, leaving the erase colour behind;
// the selection moves with them; undo puts back picture and selection, redo moves them again.
TEST_F(CPaintTaskTest, ASelectionDragMovesThePixelsAndUndoPutsThemBack)
{
    Blot(Rect(2, 2, 5, 4));
    Select({ 2, 2 }, { 5, 4 });
    Stroke({ { 3, 3 }, { 6, 3 }, { 9, 4 } });
    Grid before = { "............", "............", "..###.......", "..###.......", "............" };
    Grid movedDown = { "............", "............", "............", "........###.", "........###." };
    EXPECT_EQ(Picture(Rect(0, 0, 12, 5)), movedDown);
    EXPECT_EQ(Shown(Rect(0, 0, 12, 5)), movedDown);
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), Rect(kLeft + 8, kTop + 3, kLeft + 11, kTop + 5));
    page->Undo();
    EXPECT_EQ(Picture(Rect(0, 0, 12, 5)), before);
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), Rect(kLeft + 2, kTop + 2, kLeft + 5, kTop + 4));
    page->Undo();
    EXPECT_EQ(Picture(Rect(0, 0, 12, 5)), movedDown);
}

// Dragged past an edge, the selection stops at the pane's bounds on that axis and still follows
// the mouse on the other.
TEST_F(CPaintTaskTest, ASelectionDragStopsAtThePaneEdgesOnEachAxis)
{
    Blot(Rect(2, 2, 4, 4));
    Select({ 2, 2 }, { 4, 4 });
    Stroke({ { 3, 3 }, { 40, 6 } });
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), Rect(kLeft + 14, kTop + 5, kLeft + 16, kTop + 7));
    EXPECT_EQ(Picture(Rect(12, 4, 16, 8)), (Grid { "....", "..##", "..##", "...." }));
    Stroke({ { 15, 6 }, { 14, -30 } });
    EXPECT_EQ(pane->GetSelectionArea()->ComputeBounds(), Rect(kLeft + 13, kTop, kLeft + 15, kTop + 2));
}

// The lifted pixels are the picture's own, white see-through: moved over another part of the
// picture they leave it showing around them instead of covering it with the selection's
// rectangle; undo brings back the picture before the drag.
TEST_F(CPaintTaskTest, AMovedSelectionCoversOnlyWithThePicturesOwnPixels)
{
    Blot(Rect(3, 3, 4, 4));
    Blot(Rect(8, 2, 12, 5));
    Grid before = { "............", "............", "........####", "...#....####", "........####", "............" };
    ASSERT_EQ(Picture(Rect(0, 0, 12, 6)), before);
    Select({ 2, 2 }, { 5, 5 });
    Stroke({ { 3, 3 }, { 9, 3 } });
    Grid moved = { "............", "............", "........####", "........####", "........####", "............" };
    EXPECT_EQ(Picture(Rect(0, 0, 12, 6)), moved);
    EXPECT_EQ(Shown(Rect(0, 0, 12, 6)), moved);
    page->Undo();
    EXPECT_EQ(Picture(Rect(0, 0, 12, 6)), before);
}
