// Regions through their handles, and the clip of a DC checked against a pixel-set oracle.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/WindowDc.h"

#include <windows.h>

#include <random>

using namespace gditest;
namespace gdi = pw::platform::gdi;

namespace {

constexpr int kSize = 24;

// A set of pixels of a kSize x kSize area, one flag each.
using PixelSet = std::vector<bool>;

PixelSet RectSet(RECT r)
{
    PixelSet set(kSize * kSize, false);
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, kSize); ++y)
        for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, kSize); ++x)
            set[y * kSize + x] = true;
    return set;
}

PixelSet Apply(const PixelSet& a, const PixelSet& b, int mode)
{
    PixelSet out(a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        switch (mode) {
        case RGN_AND: out[i] = a[i] && b[i]; break;
        case RGN_OR: out[i] = a[i] || b[i]; break;
        case RGN_XOR: out[i] = a[i] != b[i]; break;
        case RGN_DIFF: out[i] = a[i] && !b[i]; break;
        default: out[i] = a[i]; break;
        }
    }
    return out;
}

} // namespace

TEST(Regions, CombineRgnReturnsTheResultTypeAndMayWriteIntoASource)
{
    struct Case {
        const char* name;
        RECT a;
        RECT b;
        int mode;
        int type;
        RECT box;
    };
    const Case cases[] = {
        { "and of disjoint rectangles is empty", { 0, 0, 4, 4 }, { 4, 0, 8, 4 }, RGN_AND, NULLREGION, { 0, 0, 0, 0 } },
        { "or of side-by-side rectangles is one rectangle", { 0, 0, 4, 4 }, { 4, 0, 8, 4 }, RGN_OR, SIMPLEREGION,
          { 0, 0, 8, 4 } },
        { "or of overlapping rectangles is complex", { 0, 0, 4, 4 }, { 2, 2, 6, 6 }, RGN_OR, COMPLEXREGION,
          { 0, 0, 6, 6 } },
        { "xor of a rectangle with itself is empty", { 1, 1, 3, 3 }, { 1, 1, 3, 3 }, RGN_XOR, NULLREGION, {} },
        { "diff cuts a notch", { 0, 0, 4, 4 }, { 2, 0, 4, 2 }, RGN_DIFF, COMPLEXREGION, { 0, 0, 4, 4 } },
        { "copy ignores the second region", { 1, 2, 3, 4 }, { 9, 9, 10, 10 }, RGN_COPY, SIMPLEREGION, { 1, 2, 3, 4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int into = 0; into < 3; ++into) {
            HRGN a = CreateRectRgn(c.a.left, c.a.top, c.a.right, c.a.bottom);
            HRGN b = CreateRectRgn(c.b.left, c.b.top, c.b.right, c.b.bottom);
            HRGN dst = into == 0 ? CreateRectRgn(0, 0, 0, 0) : into == 1 ? a : b;
            EXPECT_EQ(CombineRgn(dst, a, b, c.mode), c.type);
            RECT box { -1, -1, -1, -1 };
            EXPECT_EQ(GetRgnBox(dst, &box), c.type);
            EXPECT_EQ(RectText(box), RectText(c.box));
            if (into == 0)
                DeleteObject(dst);
            DeleteObject(a);
            DeleteObject(b);
        }
    }
    EXPECT_EQ(gdi::testing::LiveObjectCount(), 0u);
}

TEST(Regions, OffsetTestAndCompareThroughHandles)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT box {};
    EXPECT_EQ(GetRgnBox(region, &box), NULLREGION) << "(0, 0, 0, 0) is an empty start";
    HRGN square = CreateRectRgn(5, 5, 1, 1);
    EXPECT_EQ(GetRgnBox(square, &box), SIMPLEREGION) << "corners in either order";
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(OffsetRgn(square, 10, -1), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(square, 11, 0));
    EXPECT_FALSE(PtInRegion(square, 15, 0)) << "right edge exclusive";
    HRGN same = CreateRectRgn(11, 0, 15, 4);
    EXPECT_TRUE(EqualRgn(square, same));
    EXPECT_FALSE(EqualRgn(square, region));
    EXPECT_EQ(OffsetRgn(square, 0x7FFFFFFF, 0), ERROR) << "leaving the coordinate range fails";
    EXPECT_TRUE(EqualRgn(square, same)) << "and leaves the region as it was";

    POINT triangle[] = { { 0, 0 }, { 8, 0 }, { 0, 8 } };
    HRGN polygon = CreatePolygonRgn(triangle, 3, WINDING);
    EXPECT_EQ(GetRgnBox(polygon, &box), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(polygon, 0, 6));
    EXPECT_FALSE(PtInRegion(polygon, 0, 7)) << "its centre lies on the slanted right boundary";
    EXPECT_FALSE(PtInRegion(polygon, 7, 7));
    for (HRGN h : { region, square, same, polygon })
        DeleteObject(h);
}

TEST(Clip, FillsLandExactlyOnTheClipOfRandomRegions)
{
    std::mt19937 random(20260101);
    std::uniform_int_distribution<int> coord(-3, kSize + 3);
    std::uniform_int_distribution<int> mode(RGN_AND, RGN_DIFF);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        auto randomRect = [&] {
            int x0 = coord(random), x1 = coord(random), y0 = coord(random), y1 = coord(random);
            return RECT { std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1) };
        };
        RECT first = randomRect();
        HRGN region = CreateRectRgn(first.left, first.top, first.right, first.bottom);
        PixelSet oracle = RectSet(first);
        for (int step = 0; step < 4; ++step) {
            RECT r = randomRect();
            int m = mode(random);
            HRGN piece = CreateRectRgn(r.left, r.top, r.right, r.bottom);
            CombineRgn(region, region, piece, m);
            DeleteObject(piece);
            oracle = Apply(oracle, RectSet(r), m);
        }

        DibCanvas canvas(kSize, kSize);
        Paint(canvas.dc, { 0, 0, kSize, kSize }, 255);
        int type = SelectClipRgn(canvas.dc, region);
        DeleteObject(region); // the DC holds its own copy
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HGDIOBJ old = SelectObject(canvas.dc, red);
        SelectObject(canvas.dc, GetStockObject(NULL_PEN));
        Rectangle(canvas.dc, -10, -10, kSize + 10, kSize + 10);
        SelectObject(canvas.dc, old);
        DeleteObject(red);

        auto image = gdi::testing::ReadDC(canvas.dc);
        RECT box { kSize, kSize, 0, 0 };
        int count = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                bool inside = oracle[y * kSize + x];
                ASSERT_EQ(image->At(x, y), inside ? IndexOf('r') : IndexOf('.')) << "at " << x << "," << y;
                if (inside) {
                    ++count;
                    box = { std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                            std::max<LONG>(box.bottom, y + 1) };
                }
            }
        RECT clipBox {};
        EXPECT_EQ(GetClipBox(canvas.dc, &clipBox), type);
        if (count == 0) {
            EXPECT_EQ(type, NULLREGION);
        } else {
            EXPECT_NE(type, NULLREGION);
            EXPECT_EQ(RectText(clipBox), RectText(box));
        }
    }
}

TEST(Clip, ASelectedClipReplacesTheLastAndNullRemovesIt)
{
    DibCanvas canvas(6, 3);
    Paint(canvas.dc, { 0, 0, 6, 3 }, 255);
    HRGN left = CreateRectRgn(0, 0, 2, 3);
    HRGN right = CreateRectRgn(4, 0, 6, 3);
    SelectClipRgn(canvas.dc, left);
    SelectClipRgn(canvas.dc, right);
    OffsetRgn(right, -4, 0); // changing the region afterwards does not move the clip
    Paint(canvas.dc, { 0, 0, 6, 1 }, 0);
    EXPECT_EQ(SelectClipRgn(canvas.dc, nullptr), SIMPLEREGION);
    Paint(canvas.dc, { 0, 2, 6, 3 }, 0);
    EXPECT_TRUE(SameGrid({ "....##", "......", "######" }, GridOf(canvas.dc, 6, 3)));
    DeleteObject(left);
    DeleteObject(right);
}

TEST(Clip, WindowDcClipIsItsRegionMovedByTheOriginAndCutToTheVisibleArea)
{
    HDC screen = GetDC(nullptr);
    Paint(screen, { 0, 0, 40, 40 }, 255);
    ReleaseDC(nullptr, screen);
    // Client area at (10, 10), of which only (10..20) x (10..14) on the screen is visible.
    HDC dc = gdi::CreateWindowDC(reinterpret_cast<HWND>(7), { 10, 10 }, gdi::RegionData(10, 10, 20, 14));
    HRGN region = CreateRectRgn(2, 1, 30, 3);
    EXPECT_EQ(SelectClipRgn(dc, region), SIMPLEREGION);
    RECT box {};
    GetClipBox(dc, &box);
    EXPECT_EQ(RectText(box), "2,1,10,3");
    Paint(dc, { 0, 0, 100, 100 }, 0);
    EXPECT_TRUE(SameGrid({ "..............", "..............", "...########...", "...########...", "..............",
                           ".............." },
                         GridOf(gdi::testing::ReadScreen(), 9, 9, 14, 6)));
    ReleaseDC(reinterpret_cast<HWND>(7), dc);
    DeleteObject(region);
}
