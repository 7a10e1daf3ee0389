// Text drawn through DCs: what is inked agrees with what is measured.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"

#include <windows.h>

#include <set>
#include <string>

using namespace gditest;
namespace gdi = pw::platform::gdi;

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 60;

struct Ink {
    RECT box { kWidth, kHeight, 0, 0 };
    std::set<std::pair<int, int>> pixels;
    std::set<char> colours;
};

// Every pixel that is not white, with the bounding box and the colours found.
Ink InkOf(HDC dc)
{
    Ink ink;
    Grid grid = GridOf(dc, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            char c = grid[y][x];
            if (c == '.')
                continue;
            ink.colours.insert(c);
            ink.pixels.insert({ x, y });
            ink.box = { std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                        std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1) };
        }
    return ink;
}

struct TextCanvas : DibCanvas {
    TextCanvas()
        : DibCanvas(kWidth, kHeight)
    {
        Paint(dc, { 0, 0, kWidth, kHeight }, 255);
    }
};

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

TEST(TextDraw, TextOutInksOnlyInsideTheMeasuredCellInTheTextColour)
{
    const char* faces[] = { "Arial", "Courier New", "Times New Roman", "Fixedsys" };
    for (const char* face : faces) {
        for (int height : { -12, 16, -24 }) {
            SCOPED_TRACE(testing::Message() << face << " " << height);
            TextCanvas canvas;
            HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
            HGDIOBJ old = SelectObject(canvas.dc, font);
            SetBkMode(canvas.dc, TRANSPARENT);
            SetTextColor(canvas.dc, RGB(0, 0, 255));
            SIZE size {};
            ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, "Hg;W", 4, &size));
            TEXTMETRICA metrics {};
            ASSERT_TRUE(GetTextMetricsA(canvas.dc, &metrics));
            EXPECT_EQ(size.cy, metrics.tmHeight);
            EXPECT_TRUE(TextOutA(canvas.dc, 7, 5, "Hg;W", 4));
            Ink ink = InkOf(canvas.dc);
            EXPECT_FALSE(ink.pixels.empty());
            EXPECT_EQ(ink.colours, std::set<char> { 'b' }) << "no anti-aliasing";
            EXPECT_TRUE(Inside(ink.box, { 7, 5, 7 + size.cx, 5 + size.cy }));
            SelectObject(canvas.dc, old);
            DeleteObject(font);
        }
    }
}

TEST(TextDraw, OpaqueTextFillsExactlyItsCell)
{
    TextCanvas canvas;
    SetBkColor(canvas.dc, RGB(255, 0, 0));
    SIZE size {};
    GetTextExtentPoint32A(canvas.dc, "Cell", 4, &size);
    TextOutA(canvas.dc, 3, 4, "Cell", 4);
    Ink ink = InkOf(canvas.dc);
    EXPECT_EQ(RectText(ink.box), RectText({ 3, 4, 3 + size.cx, 4 + size.cy }));
    EXPECT_EQ(ink.pixels.size(), size_t(size.cx * size.cy));
    EXPECT_EQ(ink.colours, (std::set<char> { '#', 'r' }));
}

TEST(TextDraw, ExtentsAreTheSumOfAdvancesAndTheCellHeight)
{
    TextCanvas canvas;
    SIZE ab {}, a {}, b {};
    GetTextExtentPoint32A(canvas.dc, "Ab", 2, &ab);
    GetTextExtentPoint32A(canvas.dc, "A", 1, &a);
    GetTextExtentPointA(canvas.dc, "b", 1, &b);
    EXPECT_EQ(ab.cx, a.cx + b.cx);
    EXPECT_EQ(ab.cy, 16) << "the default font has a 16-pixel cell";
    SIZE empty { 9, 9 };
    EXPECT_TRUE(GetTextExtentPoint32A(canvas.dc, "", 0, &empty));
    EXPECT_EQ(empty.cx, 0);
}

TEST(TextDraw, DrawTextInksInsideTheRectangleItCalculates)
{
    const char* text = "The quick brown fox jumps over the lazy dog";
    for (UINT align : { UINT(DT_LEFT), UINT(DT_CENTER), UINT(DT_RIGHT) }) {
        SCOPED_TRACE(align);
        TextCanvas canvas;
        SetBkMode(canvas.dc, TRANSPARENT);
        RECT calc { 10, 2, 130, 2 };
        int height = DrawTextA(canvas.dc, text, -1, &calc, DT_WORDBREAK | DT_CALCRECT | align);
        EXPECT_TRUE(InkOf(canvas.dc).pixels.empty()) << "DT_CALCRECT draws nothing";
        EXPECT_EQ(calc.bottom - calc.top, height);
        EXPECT_GT(height, 16) << "wrapped onto several lines";
        EXPECT_LT(calc.right, 130) << "narrowed to the widest line";
        // Drawn into the rectangle it calculated, the text wraps the same way and stays inside.
        RECT rect = calc;
        EXPECT_EQ(DrawTextA(canvas.dc, text, -1, &rect, DT_WORDBREAK | align), height);
        Ink ink = InkOf(canvas.dc);
        EXPECT_TRUE(Inside(ink.box, calc));
        EXPECT_LT(ink.box.left, 13);
        EXPECT_GT(ink.box.right, calc.right - 3);
    }
}

TEST(TextDraw, DrawTextClipsToItsRectangleUnlessNoClip)
{
    RECT narrow { 20, 10, 40, 40 };
    TextCanvas clipped;
    DrawTextA(clipped.dc, "Overhanging", -1, &narrow, DT_WORDBREAK);
    Ink inside = InkOf(clipped.dc);
    EXPECT_TRUE(Inside(inside.box, narrow));
    TextCanvas free;
    DrawTextA(free.dc, "Overhanging", -1, &narrow, DT_WORDBREAK | DT_NOCLIP);
    Ink overhang = InkOf(free.dc);
    EXPECT_GT(overhang.box.right, narrow.right) << "a word wider than the line is not split";
    for (auto p : inside.pixels)
        EXPECT_TRUE(overhang.pixels.count(p));
}

TEST(TextDraw, PrefixUnderlinesTheNextCharacter)
{
    RECT rect { 5, 5, 150, 50 };
    TextCanvas plain;
    DrawTextA(plain.dc, "File", -1, &rect, DT_SINGLELINE);
    TextCanvas prefixed;
    DrawTextA(prefixed.dc, "&File", -1, &rect, DT_SINGLELINE);
    Ink a = InkOf(plain.dc);
    Ink b = InkOf(prefixed.dc);
    for (auto p : a.pixels)
        EXPECT_TRUE(b.pixels.count(p)) << "the same letters in the same place";
    EXPECT_GT(b.pixels.size(), a.pixels.size()) << "plus an underline";
    TextCanvas literal;
    DrawTextA(literal.dc, "&File", -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(InkOf(literal.dc).box.right, a.box.right) << "the '&' is drawn";
}

TEST(TextDraw, TextOutRespectsTheClip)
{
    TextCanvas canvas;
    HRGN clip = CreateRectRgn(0, 0, 12, kHeight);
    SelectClipRgn(canvas.dc, clip);
    SetBkColor(canvas.dc, RGB(0, 255, 0));
    TextOutA(canvas.dc, 2, 2, "Clipped text", 12);
    EXPECT_LE(InkOf(canvas.dc).box.right, 12);
    DeleteObject(clip);
}
