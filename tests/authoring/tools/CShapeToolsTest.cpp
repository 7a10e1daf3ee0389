#include "authoring/tools/CBucketTool.h"
#include "authoring/tools/CLineTool.h"
#include "authoring/tools/CShapeTool.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/CDropperTool.h"

#include "authoring/PaintFixture.h"

#include <gtest/gtest.h>

using namespace authoring;
using pw::authoring::PaintSettings;

namespace {

class CShapeToolsTest : public PaintTest {
protected:
    void SetUp() override
    {
        PaintTest::SetUp();
        CShapeTool::PenWidth() = 1;
    }

    // What the tool draws for an option in a w x h white cell.
    static Grid Cell(CTool& tool, int16_t option, int32_t w, int32_t h)
    {
        OffScreen cell(w, h, 8, Color(0), true);
        {
            DisplayPort port(cell, cell.GetBounds(), 0);
            tool.ApplyWithOption(port, cell.GetBounds(), 0, option);
        }
        return Rows(*cell.GetBitMap().Get(), cell.GetBounds());
    }
    // The figure drawn from `from` to `to` in a w x h white picture.
    static Grid Figure(CShapeTool& tool, Point from, Point to, BitFlags modifiers, int32_t w, int32_t h)
    {
        OffScreen picture(w, h, 8, Color(0), true);
        {
            DisplayPort port(picture, picture.GetBounds(), 0);
            tool.DrawShape(port, Rect(0, 0, 0, 0), from, to, modifiers);
        }
        return Rows(*picture.GetBitMap().Get(), picture.GetBounds());
    }
};

} // namespace

// Every option sets the flags it names and reads back; options outside the range change nothing.
TEST_F(CShapeToolsTest, OptionsRoundTripAndIgnoreTheOutOfRange)
{
    CShapeTool shape;
    for (int16_t option = 1; option <= 18; ++option) {
        shape.SetOption(0, option);
        EXPECT_EQ(shape.GetOption(0), option);
        EXPECT_EQ(shape.IsSquare(false), ((option - 1) / 3) % 2 == 1) << option;
    }
    shape.SetOption(0, 9);
    for (int16_t outside : { 0, 19, -1 })
        shape.SetOption(0, outside);
    EXPECT_EQ(shape.GetOption(0), 9);
    EXPECT_EQ(shape.CountOptions(0), 18);

    CLineTool line;
    for (int16_t option = 1; option <= 6; ++option) {
        line.SetOption(0, option);
        EXPECT_EQ(line.GetOption(0), option);
        EXPECT_EQ(CShapeTool::PenWidth(), CLineTool::Width(option));
    }
    line.SetOption(0, 7);
    line.SetOption(0, 0);
    EXPECT_EQ(CShapeTool::PenWidth(), 16);
    CShapeTool::PenWidth() = 5;
    EXPECT_EQ(line.GetOption(0), 4);
    CShapeTool::PenWidth() = 20;
    EXPECT_EQ(line.GetOption(0), 6);

    SmartPtr<CDropperTool> dropper = new CDropperTool;
    CBucketTool bucket(dropper);
    for (int16_t option = 1; option <= 10; ++option) {
        bucket.SetOption(0, option);
        EXPECT_EQ(bucket.GetOption(0), option);
        EXPECT_EQ(PaintSettings::Current().fillStyle, option);
    }
    bucket.SetOption(0, 11);
    bucket.SetOption(0, 0);
    EXPECT_EQ(bucket.GetOption(0), 10);
    CBucketTool second(dropper);
    EXPECT_EQ(bucket.GetOption(0), 1) << "a new bucket starts every bucket at option 1";
}

// The samples of the option cells (rows 4 to 15 of a 20 x 20 cell): thin and filled figures,
// flattened unless square; standard colour 13 leaves a thin figure's inside as it was, and as
// its null outline a filled figure's last row and column.
TEST_F(CShapeToolsTest, OptionSamplesShowTheFigure)
{
    PaintSettings::Current().foreground = Color(1);
    CShapeTool shape;
    shape.SetOption(0, 2);
    struct Sample {
        int16_t option;
        Grid rows;
    };
    const Sample samples[] = {
        { 1, { "....................", "....................", "....................", "....................", "....############....", "....#..........#....", "....#..........#....", "....############....", "....................", "....................", "....................", "...................." } },
        { 3, { "....................", "....................", "....................", "....................", "....###########.....", "....###########.....", "....###########.....", "....................", "....................", "....................", "....................", "...................." } },
        { 4, { "....############....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....#..........#....", "....############...." } },
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.option);
        Grid cell = Cell(shape, sample.option, 20, 20);
        EXPECT_EQ(Grid(cell.begin() + 4, cell.begin() + 16), sample.rows);
    }
    EXPECT_EQ(shape.GetOption(0), 2) << "drawing a sample leaves the option";

    CLineTool line;
    Grid cell = Cell(line, 2, 20, 20);
    EXPECT_EQ(Grid(cell.begin() + 4, cell.begin() + 16), (Grid { "....................", "....................", "....................", "....................", "...############.....", "...############.....", "....................", "....................", "....................", "....................", "....................", "...................." }));
    EXPECT_EQ(CShapeTool::PenWidth(), 1) << "the sample leaves the pen width";
}

// A square kept square when the shift key is up and free when it is down (and the other way for a
// free shape); the nearer distance wins, on the side where the point lies.
TEST_F(CShapeToolsTest, TrackingKeepsSquareShapesSquare)
{
    CShapeTool shape;
    shape.SetOption(0, 4);
    Point p(30, 12);
    shape.TrackShape(p, Point(0, 0), Point(10, 10), BitFlags());
    EXPECT_EQ(p, Point(12, 12));
    p = Point(2, 30);
    shape.TrackShape(p, Point(0, 0), Point(10, 10), BitFlags());
    EXPECT_EQ(p, Point(2, 18));
    p = Point(30, 12);
    shape.TrackShape(p, Point(0, 0), Point(10, 10), BitFlags(1));
    EXPECT_EQ(p, Point(30, 12));
    shape.SetOption(0, 1);
    shape.TrackShape(p, Point(0, 0), Point(10, 10), BitFlags(1));
    EXPECT_EQ(p, Point(12, 12));
}

// With shift a line snaps to horizontal, vertical or 45 degrees from its anchor (the second
// point, where the drag began).
TEST_F(CShapeToolsTest, ConstrainedLinesSnap)
{
    CLineTool line;
    line.SetOption(0, 1);
    struct Snap {
        const char* name;
        Point to;
        Point end;
    };
    // Dragged from (1, 1): 30 right and 12 down becomes horizontal, 30 right and 25 down 45 degrees.
    const Snap snaps[] = {
        { "flat", Point(31, 13), Point(31, 1) },
        { "diagonal", Point(31, 26), Point(31, 31) },
        { "steep", Point(5, 31), Point(1, 31) },
    };
    for (const Snap& snap : snaps) {
        SCOPED_TRACE(snap.name);
        Grid drawn = Figure(line, snap.to, Point(1, 1), BitFlags(1), 40, 40);
        OffScreen expected(40, 40, 8, Color(0), true);
        {
            DisplayPort port(expected, expected.GetBounds(), 0);
            port.DrawLine(1, 1, snap.end.h, snap.end.v, Color(1), 1);
        }
        EXPECT_EQ(drawn, Rows(*expected.GetBitMap().Get(), expected.GetBounds()));
    }
    Grid free = Figure(line, Point(31, 13), Point(1, 1), BitFlags(), 40, 40);
    EXPECT_EQ(free[13][31], '.') << "the end pixel is left out";
    EXPECT_EQ(free[12][29], '#') << "without shift the line goes where it was dragged";
}

// The bucket's sample is its gradient between the two colours; kind 5 runs left to right.
TEST_F(CShapeToolsTest, BucketSamplesShowTheGradient)
{
    PaintSettings::Current().foreground = Color(1);
    PaintSettings::Current().background = Color(0);
    CBucketTool bucket(CToolsDir::GetDropperTool());
    Grid ramp = Cell(bucket, 5, 8, 3);
    for (const std::string& row : ramp) {
        EXPECT_EQ(row[0], '#');
        EXPECT_EQ(row.substr(1), "???????") << "lighter greys toward the right";
    }
    EXPECT_EQ(Cell(bucket, 7, 4, 2), (Grid { "....", "...." })) << "kinds 7 to 10 draw nothing";
    EXPECT_EQ(bucket.GetOption(0), 1);
}

// While a constrained line is dragged the screen shows the line the release will paint: anchored
// at the press, snapped to the horizontal.
TEST_F(CShapeToolsTest, AConstrainedLineShowsAsItWillBePainted)
{
    SmartPtr<CLineTool> line = new CLineTool;
    line->SetOption(0, 1);
    Use(SmartPtr<Tool>(line.Get()));
    driver::PressKey(VK_SHIFT);
    Press(2, 3);
    Move(8, 5);
    Move(12, 6);
    Grid during = Shown(Rect(0, 2, 16, 8));
    Release(12, 6);
    driver::ReleaseKey(VK_SHIFT);
    Grid painted = Picture(Rect(0, 2, 16, 8));
    EXPECT_EQ(painted[1], "..##########....");
    EXPECT_EQ(during, painted);
}
