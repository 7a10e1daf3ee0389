// ExtFloodFill: connectivity, exact values, the clip and the brush origin.
#include "GdiTestSupport.h"

#include <windows.h>

using namespace gditest;

namespace {

// Draws a grid of legend characters into a canvas.
void Draw(DibCanvas& canvas, const Grid& grid)
{
    for (int y = 0; y < static_cast<int>(grid.size()); ++y)
        for (int x = 0; x < static_cast<int>(grid[y].size()); ++x)
            Paint(canvas.dc, { x, y, x + 1, y + 1 }, IndexOf(grid[y][x]));
}

} // namespace

TEST(FloodFill, FillsTheFourConnectedAreaOfTheSeedsValue)
{
    struct Case {
        const char* name;
        Grid before;
        POINT seed;
        Grid after;
    };
    const Case cases[] = {
        { "diagonal neighbours are not connected",
          { "..#...", "..#...", "###...", "...#..", "....#." },
          { 0, 0 },
          { "rr#...", "rr#...", "###...", "...#..", "....#." } },
        { "a ring keeps its inside",
          { "......", ".####.", ".#..#.", ".####.", "......" },
          { 0, 0 },
          { "rrrrrr", "r####r", "r#..#r", "r####r", "rrrrrr" } },
        { "the same value elsewhere stays unfilled",
          { ".#.#..", ".#.#..", ".###..", "......", "......" },
          { 2, 0 },
          { ".#r#..", ".#r#..", ".###..", "......", "......" } },
        { "a winding corridor is followed",
          { ".#....", ".#.##.", ".#.#..", ".#.#.#", "...#.." },
          { 0, 0 },
          { "r#rrrr", "r#r##r", "r#r#rr", "r#r#r#", "rrr#rr" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(6, 5);
        Draw(canvas, c.before);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HGDIOBJ old = SelectObject(canvas.dc, red);
        COLORREF seedColor = GetPixel(canvas.dc, c.seed.x, c.seed.y);
        EXPECT_TRUE(ExtFloodFill(canvas.dc, c.seed.x, c.seed.y, seedColor, FLOODFILLSURFACE));
        EXPECT_TRUE(SameGrid(c.after, GridOf(canvas.dc, 6, 5)));
        SelectObject(canvas.dc, old);
        DeleteObject(red);
    }
}

TEST(FloodFill, RefusesASeedOfAnotherValueOrOutsideTheClip)
{
    DibCanvas canvas(4, 4);
    Paint(canvas.dc, { 0, 0, 4, 4 }, 255);
    EXPECT_FALSE(ExtFloodFill(canvas.dc, 1, 1, RGB(0, 0, 0), FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(canvas.dc, 9, 1, RGB(255, 255, 255), FLOODFILLSURFACE));
    HRGN clip = CreateRectRgn(2, 0, 4, 4);
    SelectClipRgn(canvas.dc, clip);
    EXPECT_FALSE(ExtFloodFill(canvas.dc, 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
    SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
    SetROP2(canvas.dc, R2_XORPEN);
    EXPECT_TRUE(ExtFloodFill(canvas.dc, 3, 3, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_TRUE(SameGrid({ "..##", "..##", "..##", "..##" }, GridOf(canvas.dc, 4, 4))) << "clip kept, no ROP2";
    DeleteObject(clip);
}

TEST(FloodFill, PatternBrushesStayAlignedToTheBrushOrigin)
{
    DibCanvas canvas(6, 4);
    Draw(canvas, { "......", "......", ".....#", "....#." });
    HBRUSH brush = MonochromePatternBrush({ 0x80 });
    HGDIOBJ old = SelectObject(canvas.dc, brush);
    SetTextColor(canvas.dc, RGB(0, 255, 0));
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    SetBrushOrgEx(canvas.dc, 1, 1, nullptr);
    EXPECT_TRUE(ExtFloodFill(canvas.dc, 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_TRUE(SameGrid({ "gggggg", "gbgggg", "ggggg#", "gggg#." }, GridOf(canvas.dc, 6, 4)));
    SelectObject(canvas.dc, old);
    DeleteObject(brush);
}
