// Pixel rules of the primitives, as small golden grids (legend in GdiTestSupport.h).
#include "GdiTestSupport.h"

#include <windows.h>

#include <set>
#include <utility>

using namespace gditest;

namespace {

// A white 8-bit canvas with the system palette as its table.
struct Canvas : DibCanvas {
    Canvas(int width, int height)
        : DibCanvas(width, height)
    {
        Paint(dc, { 0, 0, width, height }, 255);
    }
    Grid Pixels() { return GridOf(dc, width, height); }
};

enum class PenKind { Black, Null };
enum class BrushKind { Red, Null };

void SelectTools(HDC dc, PenKind pen, BrushKind brush)
{
    SelectObject(dc, GetStockObject(pen == PenKind::Black ? BLACK_PEN : NULL_PEN));
    static HBRUSH red = nullptr;
    if (brush == BrushKind::Red) {
        red = CreateSolidBrush(RGB(255, 0, 0));
        DeleteObject(SelectObject(dc, red));
    } else {
        DeleteObject(SelectObject(dc, GetStockObject(NULL_BRUSH)));
    }
}

// The pixels of a shape drawn alone on a white canvas, as a set of points.
std::set<std::pair<int, int>> Drawn(Canvas& canvas)
{
    std::set<std::pair<int, int>> points;
    Grid grid = canvas.Pixels();
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (grid[y][x] != '.')
                points.insert({ x, y });
    return points;
}

} // namespace

TEST(Primitives, RectanglePenAndBrushRules)
{
    struct Case {
        const char* name;
        PenKind pen;
        BrushKind brush;
        RECT corners;
        Grid expected;
    };
    const Case cases[] = {
        { "pen frames the outermost pixels, brush fills inside", PenKind::Black, BrushKind::Red, { 1, 1, 6, 5 },
          { "........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........" } },
        { "corners in the other order draw the same box", PenKind::Black, BrushKind::Red, { 6, 5, 1, 1 },
          { "........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........" } },
        { "null pen: the fill loses the right column and bottom row", PenKind::Null, BrushKind::Red, { 1, 1, 6, 5 },
          { "........", ".rrrr...", ".rrrr...", ".rrrr...", "........", "........" } },
        { "null brush: only the frame", PenKind::Black, BrushKind::Null, { 1, 1, 6, 5 },
          { "........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........" } },
        { "both null: nothing", PenKind::Null, BrushKind::Null, { 1, 1, 6, 5 },
          { "........", "........", "........", "........", "........", "........" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(8, 6);
        SelectTools(canvas.dc, c.pen, c.brush);
        EXPECT_TRUE(Rectangle(canvas.dc, c.corners.left, c.corners.top, c.corners.right, c.corners.bottom));
        EXPECT_TRUE(SameGrid(c.expected, canvas.Pixels()));
    }
}

TEST(Primitives, EllipseGoldens)
{
    struct Case {
        const char* name;
        PenKind pen;
        RECT box;
        Grid expected;
    };
    const Case cases[] = {
        { "10 x 10 circle with an 8-connected outline", PenKind::Black, { 0, 0, 10, 10 },
          { "...####...", ".##rrrr##.", ".#rrrrrr#.", "#rrrrrrrr#", "#rrrrrrrr#", "#rrrrrrrr#", "#rrrrrrrr#",
            ".#rrrrrr#.", ".##rrrr##.", "...####..." } },
        { "8 x 6 with a pen", PenKind::Black, { 0, 0, 8, 6 },
          { "..####..", ".#rrrr#.", "#rrrrrr#", "#rrrrrr#", ".#rrrr#.", "..####.." } },
        { "8 x 6 with the null pen fills the 7 x 5 ellipse", PenKind::Null, { 0, 0, 8, 6 },
          { ".rrrrr..", "rrrrrrr.", "rrrrrrr.", "rrrrrrr.", ".rrrrr..", "........" } },
        // Boxes two pixels across reach all four sides like every other size.
        { "a 2 x 10 box", PenKind::Black, { 0, 0, 2, 10 },
          { "##", "##", "##", "##", "##", "##", "##", "##", "##", "##" } },
        { "a 10 x 2 box", PenKind::Black, { 0, 0, 10, 2 }, { "##########", "##########" } },
        { "a 2 x 2 box", PenKind::Black, { 0, 0, 2, 2 }, { "##", "##" } },
        { "a 3 x 10 box with the null pen fills the 2 x 9 ellipse", PenKind::Null, { 0, 0, 3, 10 },
          { "rr.", "rr.", "rr.", "rr.", "rr.", "rr.", "rr.", "rr.", "rr.", "..." } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(c.box.right, c.box.bottom);
        SelectTools(canvas.dc, c.pen, BrushKind::Red);
        EXPECT_TRUE(Ellipse(canvas.dc, c.box.left, c.box.top, c.box.right, c.box.bottom));
        EXPECT_TRUE(SameGrid(c.expected, canvas.Pixels()));
    }
}

TEST(Primitives, EllipsesAreSymmetricTouchTheirBoxAndHaveThinConnectedOutlines)
{
    for (int width = 1; width <= 23; width += 2) {
        for (int height = 1; height <= 17; height += 3) {
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            Canvas canvas(width + 2, height + 2);
            SelectTools(canvas.dc, PenKind::Black, BrushKind::Null);
            Ellipse(canvas.dc, 1, 1, width + 1, height + 1);
            auto points = Drawn(canvas);
            int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
            for (auto [x, y] : points) {
                EXPECT_TRUE(points.count({ width + 1 - x, y })) << "mirror of " << x << "," << y;
                EXPECT_TRUE(points.count({ x, height + 1 - y })) << "flip of " << x << "," << y;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                // Thin: no 2 x 2 block of pen pixels, except in boxes too small for a hole.
                if (width > 4 && height > 4) {
                    EXPECT_FALSE(points.count({ x + 1, y }) && points.count({ x, y + 1 }) && points.count({ x + 1, y + 1 }))
                        << "thick at " << x << "," << y;
                }
            }
            if (height > 2 && width > 2) {
                EXPECT_EQ(minX, 1);
                EXPECT_EQ(maxX, width);
                EXPECT_EQ(minY, 1);
                EXPECT_EQ(maxY, height);
            }
            // Connected through 8-neighbours.
            std::set<std::pair<int, int>> reached;
            std::vector<std::pair<int, int>> todo { *points.begin() };
            while (!todo.empty()) {
                auto p = todo.back();
                todo.pop_back();
                if (!points.count(p) || !reached.insert(p).second)
                    continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        todo.push_back({ p.first + dx, p.second + dy });
            }
            EXPECT_EQ(reached.size(), points.size());
        }
    }
}

TEST(Primitives, PolygonFillsPixelCentresInsideAndThePenClosesTheOutline)
{
    POINT square[] = { { 1, 1 }, { 5, 1 }, { 5, 4 }, { 1, 4 } };
    POINT star[] = { { 1, 6 }, { 9, 6 }, { 2, 1 }, { 5, 9 }, { 8, 1 } };
    struct Case {
        const char* name;
        const POINT* points;
        int count;
        PenKind pen;
        Grid expected;
    };
    const Case cases[] = {
        { "null pen: exactly the rectangle of the corners", square, 4, PenKind::Null,
          { "..........", ".rrrr.....", ".rrrr.....", ".rrrr.....", "..........", "..........", "..........",
            "..........", "..........", ".........." } },
        { "the pen strokes every edge up to the next corner", square, 4, PenKind::Black,
          { "..........", ".#####....", ".#rrr#....", ".#rrr#....", ".#####....", "..........", "..........",
            "..........", "..........", ".........." } },
        // A centre on a slanted edge belongs to the pixel only on a left boundary: row 3.
        { "alternate fill leaves the star's middle empty", star, 5, PenKind::Null,
          { "..........", "..r....r..", "...r..r...", "...r.rr...", "..........", "..rr..rr..", "....rr....",
            "....rr....", "..........", ".........." } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(10, 10);
        SelectTools(canvas.dc, c.pen, BrushKind::Red);
        EXPECT_TRUE(Polygon(canvas.dc, c.points, c.count));
        EXPECT_TRUE(SameGrid(c.expected, canvas.Pixels()));
    }
}

TEST(Primitives, LineToLeavesOutItsEndPixelAndMovesTheCurrentPosition)
{
    struct Case {
        const char* name;
        POINT from;
        POINT to;
        Grid expected;
    };
    const Case cases[] = {
        { "right", { 1, 1 }, { 5, 1 }, { "......", ".####.", "......", "......", "......" } },
        { "left", { 5, 1 }, { 1, 1 }, { "......", "..####", "......", "......", "......" } },
        { "down", { 2, 0 }, { 2, 4 }, { "..#...", "..#...", "..#...", "..#...", "......" } },
        { "diagonal", { 0, 0 }, { 4, 4 }, { "#.....", ".#....", "..#...", "...#..", "......" } },
        { "shallow: one pixel a column", { 0, 1 }, { 6, 3 }, { "......", "##....", "..###.", ".....#", "......" } },
        { "zero length draws nothing", { 3, 3 }, { 3, 3 }, { "......", "......", "......", "......", "......" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(6, 5);
        MoveToEx(canvas.dc, c.from.x, c.from.y, nullptr);
        EXPECT_TRUE(LineTo(canvas.dc, c.to.x, c.to.y));
        EXPECT_TRUE(SameGrid(c.expected, canvas.Pixels()));
        POINT position {};
        MoveToEx(canvas.dc, 0, 0, &position);
        EXPECT_EQ(position.x, c.to.x);
        EXPECT_EQ(position.y, c.to.y);
    }
}

TEST(Primitives, Rop2ModesActOnPixelValues)
{
    struct Case {
        const char* name;
        int rop;
        uint32_t before;
        uint32_t pen;
        uint32_t after;
    };
    const Case cases[] = {
        { "copy", R2_COPYPEN, 249, 252, 252 },       { "merge: dest | pen", R2_MERGEPEN, 0x0F, 0xF0, 0xFF },
        { "xor", R2_XORPEN, 249, 255, 6 },           { "not: complement of dest", R2_NOT, 249, 0, 6 },
        { "not xor", R2_NOTXORPEN, 249, 0, 6 },      { "mask: dest & pen", R2_MASKPEN, 0xFA, 0x0F, 0x0A },
        { "nop", R2_NOP, 249, 0, 249 },              { "white", R2_WHITE, 249, 0, 255 },
        { "black", R2_BLACK, 249, 255, 0 },          { "not copy", R2_NOTCOPYPEN, 0, 250, 5 },
    };
    std::vector<RGBQUAD> table = SystemTable();
    // Every index gets a colour of its own, so a pen of index i draws exactly i.
    for (int i = 10; i < 246; ++i)
        table[i] = { static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0 };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(3, 3, 8, table);
        std::fill(canvas.bits, canvas.bits + 4 * 3, static_cast<uint8_t>(c.before));
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(table[c.pen].rgbRed, table[c.pen].rgbGreen, table[c.pen].rgbBlue));
        HGDIOBJ old = SelectObject(canvas.dc, pen);
        SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
        EXPECT_EQ(SetROP2(canvas.dc, c.rop), R2_COPYPEN);
        Rectangle(canvas.dc, 0, 0, 3, 3);
        EXPECT_EQ(canvas.bits[0], c.after);
        EXPECT_EQ(canvas.bits[4 + 1], c.before) << "the inside is not touched";
        SelectObject(canvas.dc, old);
        DeleteObject(pen);
    }
}

TEST(Primitives, XorShapesDrawnTwiceVanishAndOutlineAndFillMeetOnce)
{
    Canvas canvas(12, 10);
    Paint(canvas.dc, { 2, 2, 9, 7 }, 249);
    Grid before = canvas.Pixels();
    SelectTools(canvas.dc, PenKind::Black, BrushKind::Red);
    SetROP2(canvas.dc, R2_NOT);
    Ellipse(canvas.dc, 0, 0, 12, 10);
    Grid inverted = canvas.Pixels();
    EXPECT_EQ(inverted[5][6], CharOf(255 - 249)) << "inverted once, not twice where pen and brush meet";
    EXPECT_EQ(inverted[0][5], CharOf(0));
    Ellipse(canvas.dc, 0, 0, 12, 10);
    EXPECT_TRUE(SameGrid(before, canvas.Pixels()));
    Rectangle(canvas.dc, 1, 1, 11, 9);
    Rectangle(canvas.dc, 1, 1, 11, 9);
    EXPECT_TRUE(SameGrid(before, canvas.Pixels()));
}

TEST(Primitives, MonochromePatternBrushUsesTextAndBackgroundColoursFromTheBrushOrigin)
{
    HBRUSH brush = MonochromePatternBrush({ 0x80, 0x40 });
    Canvas canvas(12, 4);
    SetTextColor(canvas.dc, RGB(255, 255, 0));
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    POINT previous { -1, -1 };
    EXPECT_TRUE(SetBrushOrgEx(canvas.dc, 3, 1, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    RECT all { 0, 0, 12, 4 };
    FillRect(canvas.dc, &all, brush);
    // 1 bits (background colour) at pattern (0, 0) and (1, 1): device (3, 1), (11, 1), (4, 2).
    EXPECT_TRUE(SameGrid({ "yyyyyyyyyyyy", "yyybyyyyyyyb", "yyyybyyyyyyy", "yyyyyyyyyyyy" }, canvas.Pixels()));
    DeleteObject(brush);
}

TEST(Primitives, MergePenWithAPatternLaysWhiteCheckerboardOverExistingPixels)
{
    HBRUSH brush = MonochromePatternBrush({ 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 });
    Canvas canvas(6, 3);
    Paint(canvas.dc, { 0, 0, 6, 3 }, 249);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, RGB(0, 0, 0));
    SetROP2(canvas.dc, R2_MERGEPEN);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    Rectangle(canvas.dc, 0, 0, 7, 4);
    EXPECT_TRUE(SameGrid({ "r.r.r.", ".r.r.r", "r.r.r." }, canvas.Pixels()));
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(brush);
}

TEST(Primitives, FillRectCoversTheWholeRectangleAndIgnoresRop2)
{
    Canvas canvas(6, 4);
    SetROP2(canvas.dc, R2_XORPEN);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT rect { 1, 1, 5, 3 };
    EXPECT_EQ(FillRect(canvas.dc, &rect, blue), 1);
    EXPECT_TRUE(SameGrid({ "......", ".bbbb.", ".bbbb.", "......" }, canvas.Pixels()));
    DeleteObject(blue);
}

TEST(Primitives, InvertRectComplementsValuesAndTwiceRestores)
{
    Canvas canvas(4, 3);
    Paint(canvas.dc, { 0, 0, 2, 3 }, 249);
    SetROP2(canvas.dc, R2_MERGEPEN);
    RECT rect { 1, 0, 3, 2 };
    EXPECT_TRUE(InvertRect(canvas.dc, &rect));
    auto image = pw::platform::gdi::testing::ReadDC(canvas.dc);
    EXPECT_EQ(image->At(0, 0), 249u);
    EXPECT_EQ(image->At(1, 0), 255u - 249u);
    EXPECT_EQ(image->At(2, 1), 0u);
    EXPECT_EQ(image->At(2, 2), 255u);
    InvertRect(canvas.dc, &rect);
    EXPECT_TRUE(SameGrid({ "rr..", "rr..", "rr.." }, canvas.Pixels()));

    DibCanvas mono(8, 1, 1, { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } });
    RECT left { 0, 0, 3, 1 };
    InvertRect(mono.dc, &left);
    EXPECT_EQ(mono.bits[0], 0xE0);
}

TEST(Primitives, GetPixelAndSetPixelSpeakPlainColours)
{
    Canvas canvas(4, 4);
    EXPECT_EQ(SetPixel(canvas.dc, 1, 2, RGB(250, 10, 10)), RGB(255, 0, 0)) << "nearest palette colour";
    EXPECT_EQ(GetPixel(canvas.dc, 1, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(canvas.dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc, -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc, 0, 9, RGB(0, 0, 0)), CLR_INVALID);

    DibCanvas deep(2, 1, 16);
    EXPECT_EQ(SetPixel(deep.dc, 0, 0, RGB(255, 128, 7)), RGB(255, 132, 0)) << "5 bits a component";
    EXPECT_EQ(deep.bits[0] | (deep.bits[1] << 8), (31 << 10) | (16 << 5) | 0);
}

TEST(Primitives, WidePensAreCentredOnTheOutline)
{
    Canvas canvas(9, 9);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    Rectangle(canvas.dc, 2, 2, 7, 7);
    // The outline runs through pixels 2 and 6; a 3-wide pen covers one pixel either side of it.
    EXPECT_TRUE(SameGrid({ ".........", ".#######.", ".#######.", ".#######.", ".###.###.", ".#######.",
                           ".#######.", ".#######.", "........." },
                         canvas.Pixels()));
    SelectObject(canvas.dc, old);
    DeleteObject(pen);
}

// Under a mode that ignores the destination, shapes are painted span by span as they are found;
// under XOR they go through a buffer that paints each pixel once. On a black canvas XOR paints
// exactly what a copy paints, so the two ways must agree pixel for pixel, clip and all.
TEST(Primitives, ShapesPaintedAtOnceMatchTheBufferedPaint)
{
    POINT star[] = { { 1, 12 }, { 17, 12 }, { 3, 2 }, { 9, 17 }, { 15, 2 } };
    struct Case {
        const char* name;
        int penWidth;
        bool pattern;
        void (*draw)(HDC dc, const POINT* star);
    };
    const Case cases[] = {
        { "rectangle, thin pen", 1, false, [](HDC dc, const POINT*) { Rectangle(dc, 2, 3, 15, 12); } },
        { "rectangle, wide pen", 3, false, [](HDC dc, const POINT*) { Rectangle(dc, 2, 3, 15, 12); } },
        { "rectangle, null pen, pattern", 0, true, [](HDC dc, const POINT*) { Rectangle(dc, -3, 1, 19, 17); } },
        { "ellipse, thin pen", 1, false, [](HDC dc, const POINT*) { Ellipse(dc, 1, 2, 18, 15); } },
        { "ellipse, wide odd pen", 3, true, [](HDC dc, const POINT*) { Ellipse(dc, 1, 2, 18, 15); } },
        { "ellipse, wide even pen", 4, false, [](HDC dc, const POINT*) { Ellipse(dc, 0, 0, 17, 18); } },
        { "ellipse, null pen", 0, false, [](HDC dc, const POINT*) { Ellipse(dc, 3, 1, 14, 19); } },
        { "star, thin pen", 1, true, [](HDC dc, const POINT* s) { Polygon(dc, s, 5); } },
        { "star, wide pen", 2, false, [](HDC dc, const POINT* s) { Polygon(dc, s, 5); } },
        { "wide line", 5, false, [](HDC dc, const POINT*) {
             MoveToEx(dc, 2, 16, nullptr);
             LineTo(dc, 16, 3);
         } },
    };
    HBRUSH checker = MonochromePatternBrush({ 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 });
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid painted[2];
        for (int way = 0; way < 2; ++way) {
            DibCanvas canvas(20, 20);
            Paint(canvas.dc, { 0, 0, 20, 20 }, 0);
            HRGN clip = CreateRectRgn(0, 0, 20, 8);
            HRGN lower = CreateRectRgn(5, 8, 13, 20);
            CombineRgn(clip, clip, lower, RGN_OR);
            SelectClipRgn(canvas.dc, clip);
            HPEN pen = c.penWidth ? CreatePen(PS_SOLID, c.penWidth, RGB(0, 0, 255)) : nullptr;
            HGDIOBJ oldPen = SelectObject(canvas.dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
            HGDIOBJ oldBrush = SelectObject(canvas.dc, c.pattern ? checker : red);
            SetTextColor(canvas.dc, RGB(0, 255, 0));
            SetBkColor(canvas.dc, RGB(255, 255, 0));
            SetROP2(canvas.dc, way == 0 ? R2_COPYPEN : R2_XORPEN);
            c.draw(canvas.dc, star);
            painted[way] = GridOf(canvas.dc, 20, 20);
            SelectObject(canvas.dc, oldPen);
            SelectObject(canvas.dc, oldBrush);
            if (pen)
                DeleteObject(pen);
            DeleteObject(clip);
            DeleteObject(lower);
        }
        EXPECT_TRUE(SameGrid(painted[1], painted[0]));
    }
    DeleteObject(checker);
    DeleteObject(red);
}

// Clipped to a rectangle, every rectangular paint keeps exactly its unclipped pixels inside the
// clip and leaves the rest, whichever edges of the clip it crosses.
TEST(Primitives, RectangularPaintsAtEveryEdgeOfTheClip)
{
    const RECT clipBox { 3, 2, 9, 7 };
    const RECT boxes[] = {
        { 1, 3, 5, 6 }, { 7, 3, 11, 6 }, { 4, 0, 8, 4 }, { 4, 5, 8, 9 }, // each edge
        { 1, 0, 5, 4 }, { 7, 5, 11, 9 },                               // two corners
        { 0, 0, 12, 10 }, { 4, 3, 8, 6 },                              // around and inside
        { 0, 0, 3, 10 }, { 9, 0, 12, 10 }, { 0, 7, 12, 10 },           // just outside
        { 3, 2, 9, 7 },                                                // the clip itself
    };
    struct Operation {
        const char* name;
        void (*paint)(HDC dc, const RECT& box);
    };
    const Operation operations[] = {
        { "Rectangle", [](HDC dc, const RECT& r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); } },
        { "FillRect", [](HDC dc, const RECT& r) {
             HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
             FillRect(dc, &r, brush);
             DeleteObject(brush);
         } },
        { "FillRect with a pattern", [](HDC dc, const RECT& r) {
             HBRUSH brush = MonochromePatternBrush({ 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33 });
             FillRect(dc, &r, brush);
             DeleteObject(brush);
         } },
        { "InvertRect", [](HDC dc, const RECT& r) { InvertRect(dc, &r); } },
    };
    for (const Operation& operation : operations) {
        for (const RECT& box : boxes) {
            SCOPED_TRACE(testing::Message() << operation.name << " " << RectText(box));
            Grid unclipped;
            Grid clipped;
            for (bool clip : { false, true }) {
                Canvas canvas(12, 10);
                Paint(canvas.dc, { 0, 0, 6, 10 }, 250);
                SelectTools(canvas.dc, PenKind::Black, BrushKind::Red);
                HRGN region = CreateRectRgn(clipBox.left, clipBox.top, clipBox.right, clipBox.bottom);
                if (clip)
                    SelectClipRgn(canvas.dc, region);
                operation.paint(canvas.dc, box);
                (clip ? clipped : unclipped) = canvas.Pixels();
                DeleteObject(region);
            }
            Canvas untouched(12, 10);
            Paint(untouched.dc, { 0, 0, 6, 10 }, 250);
            Grid expected = untouched.Pixels();
            for (int y = clipBox.top; y < clipBox.bottom; ++y)
                for (int x = clipBox.left; x < clipBox.right; ++x)
                    expected[y][x] = unclipped[y][x];
            EXPECT_TRUE(SameGrid(expected, clipped));
        }
    }
}
