#include "ui/GridView.h"

#include "graphics/DisplayPort.h"
#include "ui/GridSelector.h"
#include "ui/SelectorTool.h"
#include "ui/ViewPort.h"
#include "ui/WindowFrame.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;

// A grid whose cells are red and which records the cells it draws, rings it inverts and choices.
class Swatches : public GridView {
public:
    Swatches(View* parent, const Rect& grid, const Point& cellSize, const Point& initial)
        : GridView(parent, grid, cellSize, initial)
    {
    }

    void DrawCell(DisplayPort& port, int32_t column, int32_t row, const Rect& cell) override
    {
        log.push_back("cell " + std::to_string(column) + "," + std::to_string(row));
        port.DrawRectangle(cell, Color(7), Color(7), 1);
    }
    void HighlightCell(DisplayPort& port, int32_t column, int32_t row) override
    {
        log.push_back("ring " + std::to_string(column) + "," + std::to_string(row));
        GridView::HighlightCell(port, column, row);
    }
    void CellChosen() override
    {
        Point cell = GetHighlight();
        log.push_back("chosen " + std::to_string(cell.h) + "," + std::to_string(cell.v));
    }

    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

class GridGeometry : public views::ViewTest {
};

class GridViews : public controls::WithApplication {
protected:
    // A pop-up of a 4 by 2 grid of 20 by 10 cells, shown in front, at (100, 100) of the main window.
    SmartPtr<Swatches> PopUp(const Point& initial = Point(0, 0))
    {
        popup = new Window(new String(""), 4, false, false, Point(80, 20));
        SmartPtr<Swatches> grid = new Swatches(popup.Get(), Rect(0, 0, 4, 2), Point(20, 10), initial);
        popup->AddChild(SmartPtr<View>(grid.Get()));
        app->AddWindow(popup, true);
        popup->SetFrame(Rect(100, 100, 100 + popup->GetFrame()->OuterSize(Point(80, 20)).h,
            100 + popup->GetFrame()->OuterSize(Point(80, 20)).v));
        driver::RunUntilIdle();
        grid->log.clear();
        return grid;
    }

    // The cells that show a ring: a corner pixel that differs from the cell's middle.
    std::vector<Point> Rings()
    {
        pw::platform::Frame shown = driver::ReadClientArea(popup->GetFrame()->GetOSWindow());
        std::vector<Point> rings;
        for (int32_t row = 0; row < 2; ++row)
            for (int32_t column = 0; column < 4; ++column)
                if (shown.At(column * 20 + 1, row * 10 + 1) != shown.At(column * 20 + 10, row * 10 + 5))
                    rings.emplace_back(column, row);
        return rings;
    }

    POINT At(int x, int y) { return OnDesktop(popup->GetFrame()->GetOSWindow(), x, y); }

    SmartPtr<Window> popup;
};

} // namespace

TEST_F(GridGeometry, CellsMapToPixelsAndBack)
{
    views::Tree tree(200, 100);
    GridView grid(tree.root.Get(), Rect(0, 0, 4, 2), Point(20, 10), Point(3, 1));
    EXPECT_EQ(grid.GetBounds(), Rect(0, 0, 80, 20));
    EXPECT_EQ(grid.CellRect(1, 1), Rect(20, 10, 40, 20));
    EXPECT_EQ(grid.CellRect(-1, -1), Rect(0, 0, 0, 0));
    struct Case {
        int32_t h, v;
        Point cell;
    } cases[] = {
        { 39, 9, Point(1, 0) },
        { 40, 10, Point(2, 1) },
        { 0, 0, Point(0, 0) },
        { -5, -5, Point(0, 0) },
        { -19, 5, Point(0, 0) },
        { -25, 5, Point(3, 1) },
        { 85, 5, Point(3, 1) },
        { 79, 19, Point(3, 1) },
        { 10, 20, Point(3, 1) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << "," << c.v);
        EXPECT_EQ(grid.CellAt(c.h, c.v), c.cell);
    }
    // A grid that starts away from the first cell lies away from the origin.
    GridView shifted(tree.root.Get(), Rect(2, 1, 4, 3), Point(20, 10), GridView::noCell);
    EXPECT_EQ(shifted.GetBounds(), Rect(40, 10, 80, 30));
    EXPECT_EQ(shifted.CellAt(45, 15), Point(2, 1));
    EXPECT_EQ(shifted.CellAt(5, 5), GridView::noCell);
}

TEST_F(GridViews, TheHighlightMovesByItsTwoRingsOnly)
{
    SmartPtr<Swatches> grid = PopUp(Point(1, 1));
    popup->GetFrame()->Invalidate(Area(Rect(0, 0, 80, 20)));
    popup->UpdateNow();
    EXPECT_EQ(grid->log, (Log { "cell 0,0", "cell 1,0", "cell 2,0", "cell 3,0", "cell 0,1", "cell 1,1", "cell 2,1",
                             "cell 3,1", "ring 1,1" }));
    grid->log.clear();
    grid->SetHighlight(Point(2, 1));
    EXPECT_EQ(grid->log, (Log { "ring 1,1", "ring 2,1" }));
    EXPECT_EQ(Rings(), std::vector<Point> { Point(2, 1) });

    // The same cell draws nothing; a cell outside the grid leaves the ring where it was.
    grid->log.clear();
    grid->SetHighlight(Point(2, 1));
    EXPECT_TRUE(grid->log.empty());
    grid->SetHighlight(Point(4, 0));
    EXPECT_EQ(grid->GetHighlight(), Point(2, 1));
    EXPECT_EQ(Rings(), std::vector<Point> { Point(2, 1) });

    grid->SetHighlight(GridView::noCell);
    EXPECT_TRUE(Rings().empty());
    popup->GetFrame()->Invalidate(Area(Rect(0, 0, 80, 20)));
    popup->UpdateNow();
    EXPECT_TRUE(Rings().empty());
}

TEST_F(GridViews, ABufferedGridShowsTheMovedRingAtOnce)
{
    SmartPtr<Swatches> grid = PopUp();
    popup->SetBuffered(true);
    popup->GetFrame()->Invalidate(Area(Rect(0, 0, 80, 20)));
    popup->UpdateNow();
    EXPECT_EQ(Rings(), std::vector<Point> { Point(0, 0) });
    grid->SetHighlight(Point(2, 1));
    EXPECT_EQ(Rings(), std::vector<Point> { Point(2, 1) });
    popup->GetFrame()->Invalidate(Area(Rect(0, 0, 80, 20)));
    popup->UpdateNow();
    EXPECT_EQ(Rings(), std::vector<Point> { Point(2, 1) });
}

// The gesture through the application: the current tool hands every event to the selector, the
// ring follows the pointer and stays on the last cell when the pointer leaves the grid, the
// release chooses that cell, and the pop-up closes when the tool drops the finished gesture.
TEST_F(GridViews, ASelectorFollowsTheMouseAndChoosesAtTheRelease)
{
    SmartPtr<Swatches> grid = PopUp();
    SmartPtr<SelectorTool> tool = new SelectorTool;
    tool->SetSelector(new GridSelector(popup, SmartPtr<GridView>(grid.Get())));
    app->SetCurrentTool(SmartPtr<Tool>(tool.Get()));

    // Moves and releases before the press are ignored.
    POINT over = At(50, 5);
    driver::MoveMouse(over.x, over.y);
    driver::ReleaseMouse(over.x, over.y);
    driver::RunUntilIdle();
    EXPECT_TRUE(grid->log.empty());
    EXPECT_TRUE(tool->GetInteractor().Valid());

    POINT start = At(5, 5);
    driver::PressMouse(start.x, start.y);
    driver::RunUntilIdle();
    EXPECT_EQ(grid->GetHighlight(), Point(0, 0));
    POINT inside = At(45, 15);
    driver::MoveMouse(inside.x, inside.y);
    driver::RunUntilIdle();
    EXPECT_EQ(Rings(), std::vector<Point> { Point(2, 1) });
    POINT outside = At(120, 60);
    driver::MoveMouse(outside.x, outside.y);
    driver::RunUntilIdle();
    EXPECT_EQ(grid->GetHighlight(), Point(2, 1));
    driver::ReleaseMouse(outside.x, outside.y);
    driver::RunUntilIdle();

    EXPECT_EQ(grid->log, (Log { "ring 0,0", "ring 2,1", "chosen 2,1" }));
    EXPECT_FALSE(tool->GetInteractor().Valid());
    EXPECT_FALSE(popup->GetFrame()->GetOSWindow() && IsWindowVisible(popup->GetFrame()->GetOSWindow()));
}
