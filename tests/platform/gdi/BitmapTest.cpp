// Bitmaps and DIBs: memory layouts, queries, and blits between depths and colour tables.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

using namespace gditest;
namespace gdi = pw::platform::gdi;

namespace {

// Black, red, green, blue, yellow, magenta, cyan, white, grey (as B, G, R).
std::vector<RGBQUAD> SmallTable()
{
    return { { 0, 0, 0, 0 },       { 0, 0, 255, 0 },   { 0, 255, 0, 0 },   { 255, 0, 0, 0 },
             { 0, 255, 255, 0 },   { 255, 0, 255, 0 }, { 255, 255, 0, 0 }, { 255, 255, 255, 0 },
             { 128, 128, 128, 0 } };
}

} // namespace

TEST(Bitmaps, DibSectionBitsAreLiveBottomUpRowsPaddedTo4Bytes)
{
    DibCanvas canvas(3, 2);
    SetPixel(canvas.dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(canvas.bits[4], 249) << "the top row is the second row in memory";
    canvas.bits[1] = 252;
    EXPECT_EQ(GetPixel(canvas.dc, 1, 1), RGB(0, 0, 255)) << "direct writes show at once";

    DibCanvas topDown(3, 2, 8, SystemTable(), true);
    SetPixel(topDown.dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(topDown.bits[0], 249);
}

TEST(Bitmaps, GetObjectDescribesRowsAndBits)
{
    struct Case {
        const char* name;
        int width;
        int depth;
        bool dib;
        LONG rowBytes;
    };
    const Case cases[] = {
        { "DIB 8-bit width 5", 5, 8, true, 8 },   { "DDB 8-bit width 5", 5, 8, false, 6 },
        { "DIB 1-bit width 9", 9, 1, true, 4 },   { "DDB 1-bit width 9", 9, 1, false, 2 },
        { "DIB 24-bit width 3", 3, 24, true, 12 }, { "DIB 16-bit width 3", 3, 16, true, 8 },
        { "DIB 4-bit width 3", 3, 4, true, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* bits = nullptr;
        HBITMAP bitmap = c.dib ? CreateDIBSection(nullptr, DibInfo(c.width, 7, c.depth, SmallTable()).Info(),
                                                  DIB_RGB_COLORS, &bits, nullptr, 0)
                               : CreateBitmap(c.width, 7, 1, c.depth, nullptr);
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm {};
        EXPECT_EQ(GetObjectA(bitmap, sizeof(bm), &bm), int(sizeof(bm)));
        EXPECT_EQ(bm.bmType, 0);
        EXPECT_EQ(bm.bmWidth, c.width);
        EXPECT_EQ(bm.bmHeight, 7);
        EXPECT_EQ(bm.bmWidthBytes, c.rowBytes);
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmBitsPixel, c.depth);
        EXPECT_EQ(bm.bmBits, bits);
        // The 32-bit platform's 24-byte size is accepted: everything but the pointer.
        BITMAP small {};
        small.bmBits = &small;
        EXPECT_EQ(GetObjectA(bitmap, 24, &small), 24);
        EXPECT_EQ(small.bmBitsPixel, c.depth);
        EXPECT_EQ(small.bmBits, &small);
        DeleteObject(bitmap);
    }
}

TEST(Bitmaps, DdbBitsAreTopDownRowsPaddedTo2Bytes)
{
    BYTE rows[8] = { 0xF0, 0, 0x0F, 0, 0xAA, 0, 0x55, 0 };
    HBITMAP mono = CreateBitmap(4, 4, 1, 1, rows);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    EXPECT_TRUE(SameGrid({ "....", "####", ".#.#", "#.#." }, GridOf(dc, 4, 4))) << "1 bits are white";
    SelectObject(dc, old);
    BYTE out[10];
    std::memset(out, 0xEE, sizeof(out));
    EXPECT_EQ(GetBitmapBits(mono, sizeof(out), out), 8) << "no more than the bitmap holds";
    EXPECT_EQ(out[0] & 0xF0, 0xF0);
    EXPECT_EQ(out[6] & 0xF0, 0x50);
    EXPECT_EQ(out[8], 0xEE);
    EXPECT_EQ(GetBitmapBits(mono, 3, out), 3);

    // The same layout for a DIB section, whose own rows run bottom-up.
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, DibInfo(3, 2, 8, SmallTable()).Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    BYTE ddbRows[8] = { 1, 2, 3, 0, 4, 5, 6, 0 };
    EXPECT_EQ(SetBitmapBits(dib, sizeof(ddbRows), ddbRows), 8);
    EXPECT_EQ(static_cast<BYTE*>(bits)[0], 4) << "the bottom row";
    EXPECT_EQ(static_cast<BYTE*>(bits)[4], 1);
    DeleteObject(mono);
    DeleteObject(dib);
    DeleteDC(dc);
}

TEST(Bitmaps, GetDIBitsConvertsToTheRequestedFormatWithItsColourTable)
{
    // A 2 x 2 screen-compatible bitmap: red, blue over green, white.
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 2, 2);
    BYTE values[4] = { 249, 252, 250, 255 };
    SetBitmapBits(ddb, 4, values);

    DibInfo eight(2, 2, 8);
    BYTE bits8[8] {};
    EXPECT_EQ(GetDIBits(screen, ddb, 0, 2, bits8, eight.Info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits8[0], 250) << "bottom-up: the bottom row first";
    EXPECT_EQ(bits8[4], 249);
    EXPECT_EQ(eight.colors[249].rgbRed, 255) << "the system palette as the table";
    EXPECT_EQ(eight.colors[10].rgbRed, 0);

    DibInfo deep(2, -2, 24);
    BYTE bits24[16] {};
    EXPECT_EQ(GetDIBits(screen, ddb, 0, 2, bits24, deep.Info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits24[0], 0) << "top-down request: red first, as B, G, R";
    EXPECT_EQ(bits24[2], 255);
    EXPECT_EQ(bits24[3], 255) << "then blue";

    DibInfo mono(2, 2, 1);
    BYTE bits1[8] {};
    EXPECT_EQ(GetDIBits(screen, ddb, 0, 2, bits1, mono.Info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(mono.colors[1].rgbRed, 255);
    EXPECT_EQ(bits1[0] & 0xC0, 0x40) << "green is nearer black, white is white";

    DibInfo tooWide(3, 2, 8);
    EXPECT_EQ(GetDIBits(screen, ddb, 0, 2, bits8, tooWide.Info(), DIB_RGB_COLORS), 0);
    DeleteObject(ddb);
    ReleaseDC(nullptr, screen);
}

TEST(Bitmaps, StretchDIBitsCountsSourceRowsFromTheBottomOfABottomUpDib)
{
    // Rows from the top: red, green, blue, yellow (SmallTable); bottom-up stores the last first.
    BYTE bottomUp[16] = { 4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1 };
    BYTE topDown[16] = { 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4 };
    struct Case {
        const char* name;
        int height;
        const BYTE* bits;
    };
    for (Case c : { Case { "bottom-up", 4, bottomUp }, Case { "top-down", -4, topDown } }) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(4, 2);
        DibInfo info(4, c.height, 8, SmallTable());
        // Source rows 1 and 2 counted from the DIB's origin line.
        EXPECT_EQ(StretchDIBits(canvas.dc, 0, 0, 4, 2, 0, 1, 4, 2, c.bits, info.Info(), DIB_RGB_COLORS, SRCCOPY), 2);
        EXPECT_TRUE(SameGrid({ "gggg", "bbbb" }, GridOf(canvas.dc, 4, 2))) << "the image's second and third rows";
    }
}

TEST(Bitmaps, StretchingIsNearestNeighbourAndOppositeSignsMirror)
{
    // Source columns r g b y (one row, top-down).
    BYTE row[4] = { 1, 2, 3, 4 };
    DibInfo info(4, -1, 8, SmallTable());
    struct Case {
        const char* name;
        int x;
        int width;
        int sourceX;
        int sourceWidth;
        const char* expected;
    };
    const Case cases[] = {
        { "same size", 0, 4, 0, 4, "rgby...." },
        { "doubled", 0, 8, 0, 4, "rrggbbyy" },
        { "halved takes the first of each pair", 0, 2, 0, 4, "rb......" },
        { "three to eight", 0, 8, 1, 3, "gggbbbyy" },
        { "negative destination width at x covers x - 3 .. x, mirrored", 3, -4, 0, 4, "ybgr...." },
        { "negative destination width ends on the pixel named", 4, -4, 0, 4, ".ybgr..." },
        { "negative source width mirrors", 0, 4, 3, -4, "ybgr...." },
        { "both negative do not mirror", 3, -4, 3, -4, "rgby...." },
        { "source partly outside leaves those pixels", 0, 4, 2, 4, "by......" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(8, 1);
        Paint(canvas.dc, { 0, 0, 8, 1 }, 255);
        StretchDIBits(canvas.dc, c.x, 0, c.width, 1, c.sourceX, 0, c.sourceWidth, 1, row, info.Info(), DIB_RGB_COLORS,
                      SRCCOPY);
        EXPECT_TRUE(SameGrid({ c.expected }, GridOf(canvas.dc, 8, 1)));
    }
}

// The same rule holds down the page, for a bottom-up image, and between two DCs.
TEST(Bitmaps, NegativeHeightsAndStretchBltFollowTheSameMirroringRule)
{
    // A bottom-up column whose rows, top to bottom, are r g b.
    BYTE column[12] = { 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0 };
    DibInfo info(1, 3, 8, SmallTable());
    struct Case {
        const char* name;
        int y;
        int height;
        int sourceY;
        int sourceHeight;
        const char* expected; // rows 0 to 3, top to bottom
    };
    const Case cases[] = {
        { "upright", 0, 3, 0, 3, "rgb." },
        { "negative destination height at y covers y - 2 .. y", 2, -3, 0, 3, "bgr." },
        { "negative source height counts up from the bottom line", 0, 3, 2, -3, "bgr." },
        { "both negative: the lower two rows, upright", 1, -2, 1, -2, "gb.." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(1, 4);
        Paint(canvas.dc, { 0, 0, 1, 4 }, 255);
        StretchDIBits(canvas.dc, 0, c.y, 1, c.height, 0, c.sourceY, 1, c.sourceHeight, column, info.Info(),
                      DIB_RGB_COLORS, SRCCOPY);
        Grid rows;
        for (char pixel : std::string(c.expected))
            rows.push_back(std::string(1, pixel));
        EXPECT_TRUE(SameGrid(rows, GridOf(canvas.dc, 1, 4)));
    }

    DibCanvas source(4, 1);
    BYTE row[4] = { 249, 250, 252, 251 }; // r g b y
    std::copy(row, row + 4, source.bits);
    DibCanvas dest(6, 1);
    Paint(dest.dc, { 0, 0, 6, 1 }, 255);
    EXPECT_TRUE(StretchBlt(dest.dc, 4, 0, -4, 1, source.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_TRUE(SameGrid({ ".ybgr." }, GridOf(dest.dc, 6, 1)));
}

TEST(Bitmaps, BlitsConvertThroughColoursExceptBetweenIdenticalTables)
{
    // Index 5 and index 200 are both pure red in this table.
    std::vector<RGBQUAD> twins = SystemTable();
    twins[5] = { 0, 0, 255, 0 };
    twins[200] = { 0, 0, 255, 0 };
    DibCanvas source(2, 1, 8, twins);
    source.bits[0] = 200;
    source.bits[1] = 7;

    DibCanvas sameTable(2, 1, 8, twins);
    BitBlt(sameTable.dc, 0, 0, 2, 1, source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(sameTable.bits[0], 200) << "identical tables copy the index";

    DibCanvas systemTable(2, 1, 8);
    BitBlt(systemTable.dc, 0, 0, 2, 1, source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(systemTable.bits[0], 249) << "other tables get the nearest colour";
    EXPECT_EQ(systemTable.bits[1], 7);

    struct Case {
        const char* name;
        int depth;
        std::vector<RGBQUAD> table;
        COLORREF expected;
    };
    const Case cases[] = {
        { "into 1 bit", 1, { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } }, RGB(0, 0, 0) },
        { "into 4 bits", 4, SmallTable(), RGB(255, 0, 0) },
        { "into 16 bits", 16, {}, RGB(255, 0, 0) },
        { "into 24 bits", 24, {}, RGB(255, 0, 0) },
        { "into 32 bits", 32, {}, RGB(255, 0, 0) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas dest(2, 1, c.depth, c.table);
        BitBlt(dest.dc, 0, 0, 2, 1, source.dc, 0, 0, SRCCOPY);
        EXPECT_EQ(GetPixel(dest.dc, 0, 0), c.expected);
        // And back into the 8-bit table: the same red.
        DibCanvas back(2, 1, 8);
        BitBlt(back.dc, 0, 0, 2, 1, dest.dc, 0, 0, SRCCOPY);
        EXPECT_EQ(GetPixel(back.dc, 0, 0), c.expected);
    }
}

// Pixel values of a top-down DIB canvas of 4 or 8 bits.
BYTE* ValueByte(const DibCanvas& canvas, int depth, int x, int y)
{
    size_t stride = (static_cast<size_t>(canvas.width) * depth + 31) / 32 * 4;
    return canvas.bits + stride * y + x * depth / 8;
}

uint32_t ValueAt(const DibCanvas& canvas, int depth, int x, int y)
{
    BYTE byte = *ValueByte(canvas, depth, x, y);
    return depth == 8 ? byte : (x % 2 ? byte & 15 : byte >> 4);
}

void SetValue(const DibCanvas& canvas, int depth, int x, int y, uint32_t value)
{
    BYTE* byte = ValueByte(canvas, depth, x, y);
    if (depth == 8)
        *byte = static_cast<BYTE>(value);
    else
        *byte = static_cast<BYTE>(x % 2 ? (*byte & 0xF0) | value : (*byte & 0x0F) | (value << 4));
}

// A table of `count` different colours, black first; `reversed` lists them last to first.
std::vector<RGBQUAD> DistinctTable(size_t count, bool reversed)
{
    std::vector<RGBQUAD> table;
    for (size_t i = 0; i < count; ++i) {
        size_t k = reversed ? count - 1 - i : i;
        table.push_back({ static_cast<BYTE>(k * 7 % 256), static_cast<BYTE>(k), static_cast<BYTE>(k), 0 });
    }
    return table;
}

TEST(Bitmaps, BlitsBetweenTablesOf16And236And256Entries)
{
    for (size_t count : { size_t(16), size_t(236), size_t(256) }) {
        for (int sourceDepth : { 4, 8 }) {
            if (count > (size_t(1) << sourceDepth))
                continue;
            SCOPED_TRACE(testing::Message() << count << " entries, source of " << sourceDepth << " bits");
            // Every value of the source depth once in each row, the second row reversed.
            int values = 1 << sourceDepth;
            DibCanvas source(values, 2, sourceDepth, DistinctTable(count, false), true);
            for (int v = 0; v < values; ++v) {
                SetValue(source, sourceDepth, v, 0, static_cast<uint32_t>(v));
                SetValue(source, sourceDepth, values - 1 - v, 1, static_cast<uint32_t>(v));
            }
            DibCanvas same(values, 2, sourceDepth, DistinctTable(count, false), true);
            DibCanvas reversed(values, 2, 8, DistinctTable(count, true), true);
            BitBlt(same.dc, 0, 0, values, 2, source.dc, 0, 0, SRCCOPY);
            BitBlt(reversed.dc, 0, 0, values, 2, source.dc, 0, 0, SRCCOPY);
            // A value past the table shows black, the reversed table's last entry.
            for (int v = 0; v < values; ++v) {
                uint32_t expected = v < static_cast<int>(count) ? static_cast<uint32_t>(count - 1 - v)
                                                                 : static_cast<uint32_t>(count - 1);
                EXPECT_EQ(ValueAt(same, sourceDepth, v, 0), static_cast<uint32_t>(v))
                    << "identical tables copy every value, in the table or not";
                EXPECT_EQ(ValueAt(same, sourceDepth, values - 1 - v, 1), static_cast<uint32_t>(v));
                EXPECT_EQ(ValueAt(reversed, 8, v, 0), expected) << "value " << v;
                EXPECT_EQ(ValueAt(reversed, 8, values - 1 - v, 1), expected) << "value " << v;
            }
        }
    }
}

// A packed DIB whose colours change in place between two calls is drawn with its new colours.
TEST(Bitmaps, AChangedColourTableIsTranslatedAfresh)
{
    DibInfo info(3, 1, 8, DistinctTable(236, false));
    const BYTE pixels[4] = { 0, 1, 2, 0 };
    DibCanvas dest(3, 1, 8, DistinctTable(236, true));
    StretchDIBits(dest.dc, 0, 0, 3, 1, 0, 0, 3, 1, pixels, info.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dest.bits[0], 235);
    EXPECT_EQ(dest.bits[1], 234);
    EXPECT_EQ(dest.bits[2], 233);
    std::swap(info.colors[0], info.colors[2]);
    StretchDIBits(dest.dc, 0, 0, 3, 1, 0, 0, 3, 1, pixels, info.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dest.bits[0], 233);
    EXPECT_EQ(dest.bits[1], 234);
    EXPECT_EQ(dest.bits[2], 235);
}

TEST(Bitmaps, DeepFormatsPackTheirComponents)
{
    DibCanvas deep16(1, 1, 16);
    deep16.bits[0] = 0x1F; // blue 31
    deep16.bits[1] = 0x40; // red 16
    EXPECT_EQ(GetPixel(deep16.dc, 0, 0), RGB(0x84, 0, 0xFF)) << "5 bits widened with their top bits";
    DibCanvas deep24(1, 1, 24);
    BitBlt(deep24.dc, 0, 0, 1, 1, deep16.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(deep24.bits[0], 0xFF);
    EXPECT_EQ(deep24.bits[2], 0x84);
    DibCanvas deep32(1, 1, 32);
    SetPixel(deep32.dc, 0, 0, RGB(1, 2, 3));
    EXPECT_EQ(deep32.bits[0], 3);
    EXPECT_EQ(deep32.bits[1], 2);
    EXPECT_EQ(deep32.bits[2], 1);
    EXPECT_EQ(deep32.bits[3], 0);
}

// The byte holding pixel (x, y) (row 0 at the top) of a 4- or 8-bit canvas stored either way up.
BYTE* PixelByte(const DibCanvas& canvas, int depth, bool topDown, int x, int y)
{
    size_t stride = (static_cast<size_t>(canvas.width) * depth + 31) / 32 * 4;
    int row = topDown ? y : canvas.height - 1 - y;
    return canvas.bits + stride * row + x * depth / 8;
}

uint32_t PixelValue(const DibCanvas& canvas, int depth, bool topDown, int x, int y)
{
    BYTE byte = *PixelByte(canvas, depth, topDown, x, y);
    return depth == 8 ? byte : (x % 2 ? byte & 15 : byte >> 4);
}

void SetPixelValue(const DibCanvas& canvas, int depth, bool topDown, int x, int y, uint32_t value)
{
    BYTE* byte = PixelByte(canvas, depth, topDown, x, y);
    if (depth == 8)
        *byte = static_cast<BYTE>(value);
    else
        *byte = static_cast<BYTE>(x % 2 ? (*byte & 0xF0) | value : (*byte & 0x0F) | (value << 4));
}

// Unscaled blits at every edge: a destination pixel changes only inside the destination, the
// clip and the source, and then takes its source pixel's value (translated for another table).
// Covers rows stored both ways up, padded and unpadded rows, and a clip with a hole.
TEST(Bitmaps, UnscaledBlitsCopyWhereSourceDestinationAndClipMeet)
{
    struct Layout {
        const char* name;
        int width;
        int depth;
        bool sourceTopDown;
        bool destTopDown;
        bool reversedTable;
    } layouts[] = {
        { "8 bits, unpadded, both bottom-up", 8, 8, false, false, false },
        { "8 bits, padded rows", 6, 8, false, false, false },
        { "8 bits, opposite row orders", 8, 8, true, false, false },
        { "8 bits, both top-down", 8, 8, true, true, false },
        { "8 bits into another table", 8, 8, false, false, true },
        { "4 bits, same table", 8, 4, false, true, false },
    };
    struct Offset {
        int x, y, w, h, sx, sy;
    } offsets[] = {
        { 0, 0, 8, 5, 0, 0 }, { 1, 1, 5, 3, 2, 1 }, { 0, 0, 8, 5, -3, 0 }, { 0, 0, 8, 5, 3, 0 },
        { 0, 0, 8, 5, 0, -2 }, { 0, 0, 8, 5, 0, 2 }, { -2, -1, 20, 20, 0, 0 }, { 3, 2, 8, 5, -1, -1 },
        { 0, 0, -8, -5, 7, 4 }, { 0, 0, 8, 5, 9, 0 },
    };
    constexpr int kHeight = 5;
    for (const Layout& layout : layouts) {
        int count = layout.depth == 8 ? 236 : 16;
        for (bool clipped : { false, true }) {
            for (const Offset& o : offsets) {
                SCOPED_TRACE(testing::Message() << layout.name << (clipped ? ", clipped" : "") << ", blit " << o.x
                                                << "," << o.y << " " << o.w << "x" << o.h << " from " << o.sx << ","
                                                << o.sy);
                DibCanvas source(layout.width, kHeight, layout.depth, DistinctTable(count, false), layout.sourceTopDown);
                DibCanvas dest(layout.width, kHeight, layout.depth, DistinctTable(count, layout.reversedTable),
                               layout.destTopDown);
                uint32_t untouched = static_cast<uint32_t>(count) - 1;
                for (int y = 0; y < kHeight; ++y) {
                    for (int x = 0; x < layout.width; ++x) {
                        // Values 1 .. count - 2: neither they nor their translations are `untouched`.
                        SetPixelValue(source, layout.depth, layout.sourceTopDown, x, y,
                                      static_cast<uint32_t>(1 + (x * 5 + y * 3) % (count - 2)));
                        SetPixelValue(dest, layout.depth, layout.destTopDown, x, y, untouched);
                    }
                }
                // The clip: the whole canvas but a hole at (2, 1) - (4, 3).
                HRGN clip = CreateRectRgn(0, 0, layout.width, kHeight);
                HRGN hole = CreateRectRgn(2, 1, 4, 3);
                CombineRgn(clip, clip, hole, RGN_DIFF);
                if (clipped)
                    SelectClipRgn(dest.dc, clip);
                EXPECT_TRUE(BitBlt(dest.dc, o.x, o.y, o.w, o.h, source.dc, o.sx, o.sy, SRCCOPY));
                // A negative extent e at c covers c + e + 1 .. c.
                int left = o.w < 0 ? o.x + o.w + 1 : o.x;
                int top = o.h < 0 ? o.y + o.h + 1 : o.y;
                int sourceLeft = o.w < 0 ? o.sx + o.w + 1 : o.sx;
                int sourceTop = o.h < 0 ? o.sy + o.h + 1 : o.sy;
                for (int y = 0; y < kHeight; ++y) {
                    for (int x = 0; x < layout.width; ++x) {
                        int sx = x - left + sourceLeft;
                        int sy = y - top + sourceTop;
                        bool inside = x >= left && x < left + std::abs(o.w) && y >= top && y < top + std::abs(o.h)
                            && sx >= 0 && sx < layout.width && sy >= 0 && sy < kHeight
                            && !(clipped && PtInRegion(hole, x, y));
                        uint32_t expected = untouched;
                        if (inside) {
                            expected = PixelValue(source, layout.depth, layout.sourceTopDown, sx, sy);
                            if (layout.reversedTable)
                                expected = static_cast<uint32_t>(count) - 1 - expected;
                        }
                        ASSERT_EQ(PixelValue(dest, layout.depth, layout.destTopDown, x, y), expected)
                            << "at " << x << "," << y;
                    }
                }
                DeleteObject(hole);
                DeleteObject(clip);
            }
        }
    }
}

TEST(Bitmaps, BlitsHonourTheClipAndCopyOverlappingAreasAsIfAtOnce)
{
    DibCanvas canvas(6, 1);
    BYTE* row = canvas.bits;
    const BYTE start[6] = { 249, 250, 252, 251, 255, 255 };
    std::memcpy(row, start, 6);
    BitBlt(canvas.dc, 1, 0, 4, 1, canvas.dc, 0, 0, SRCCOPY);
    EXPECT_TRUE(SameGrid({ "rrgby." }, GridOf(canvas.dc, 6, 1)));

    HRGN clip = CreateRectRgn(0, 0, 2, 1);
    SelectClipRgn(canvas.dc, clip);
    BitBlt(canvas.dc, 0, 0, 6, 1, canvas.dc, 1, 0, SRCCOPY);
    EXPECT_TRUE(SameGrid({ "rggby." }, GridOf(canvas.dc, 6, 1)));
    DeleteObject(clip);
}

// Blocks longer than the copy's pieces: a whole bitmap whose rows lie end to end, and rows that
// are each longer than a piece, set at different places on both sides. Every pixel arrives, and
// none beside the rectangle changes.
TEST(Bitmaps, LongBlocksCopyWhole)
{
    struct Case {
        const char* name;
        int width, height;
        int x, y, cx, cy, x1, y1;
    } cases[] = {
        { "whole rows end to end", 64, 70, 0, 0, 64, 70, 0, 0 },
        { "rows longer than a piece", 4500, 3, 11, 1, 4480, 2, 5, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas source(c.width, c.height);
        DibCanvas target(c.width, c.height);
        const int stride = (c.width + 3) / 4 * 4;
        // Image row y lies at memory row height - 1 - y of these bottom-up sections.
        auto at = [&](uint8_t* bits, int x, int y) -> uint8_t& { return bits[(c.height - 1 - y) * stride + x]; };
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                at(source.bits, x, y) = uint8_t((x * 7 + y * 13) % 256);
                at(target.bits, x, y) = 3;
            }
        }
        ASSERT_TRUE(BitBlt(target.dc, c.x, c.y, c.cx, c.cy, source.dc, c.x1, c.y1, SRCCOPY));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                bool inside = x >= c.x && x < c.x + c.cx && y >= c.y && y < c.y + c.cy;
                int expected = inside ? at(source.bits, x - c.x + c.x1, y - c.y + c.y1) : 3;
                ASSERT_EQ(int(at(target.bits, x, y)), expected) << "at " << x << ", " << y;
            }
        }
    }
}

TEST(Bitmaps, ScreenAndMemoryDcsBlitBothWays)
{
    HDC screen = GetDC(nullptr);
    Paint(screen, { 100, 100, 104, 102 }, 252);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 2);
    BITMAP bm {};
    GetObjectA(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_TRUE(BitBlt(memory, 0, 0, 4, 2, screen, 100, 100, SRCCOPY));
    EXPECT_TRUE(SameGrid({ "bbbb", "bbbb" }, GridOf(memory, 4, 2)));
    Paint(memory, { 1, 0, 3, 2 }, 249);
    EXPECT_TRUE(StretchBlt(screen, 0, 0, 8, 4, memory, 0, 0, 4, 2, SRCCOPY));
    EXPECT_TRUE(SameGrid({ "bbrrrrbb", "bbrrrrbb", "bbrrrrbb", "bbrrrrbb" },
                         GridOf(gdi::testing::ReadScreen(), 0, 0, 8, 4)));
    SetLastError(0);
    EXPECT_FALSE(BitBlt(screen, 0, 0, 1, 1, memory, 0, 0, 0x00660046)) << "only SRCCOPY";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(Bitmaps, DibPatternBrushesTileWithTheirOwnColours)
{
    // A 1-bit 2 x 2 packed DIB whose table is red and blue, not black and white.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
        DWORD rows[2];
    } packed {};
    packed.header = DibInfo(2, 2, 1).header;
    packed.header.biClrUsed = 2;
    packed.colors[0] = { 0, 0, 255, 0 };
    packed.colors[1] = { 255, 0, 0, 0 };
    packed.rows[0] = 0x40; // bottom row: 0 1
    packed.rows[1] = 0x80; // top row: 1 0
    HBRUSH brush = CreateDIBPatternBrushPt(&packed, DIB_RGB_COLORS);
    std::memset(&packed, 0, sizeof(packed)); // the brush keeps its own copy
    ASSERT_NE(brush, nullptr);
    DibCanvas canvas(5, 3);
    SetTextColor(canvas.dc, RGB(0, 255, 0));
    SetBrushOrgEx(canvas.dc, 1, 0, nullptr);
    RECT all { 0, 0, 5, 3 };
    FillRect(canvas.dc, &all, brush);
    EXPECT_TRUE(SameGrid({ "rbrbr", "brbrb", "rbrbr" }, GridOf(canvas.dc, 5, 3)));
    DeleteObject(brush);
}

TEST(Bitmaps, CreateDIBitmapMakesAScreenBitmapOfTheNearestColours)
{
    HDC screen = GetDC(nullptr);
    BYTE pixels[4] = { 0, 0, 250, 0 }; // one 24-bit pixel: almost pure red
    DibInfo info(1, 1, 24);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, pixels, info.Info(), DIB_RGB_COLORS);
    BYTE value = 0;
    EXPECT_EQ(GetBitmapBits(bitmap, 1, &value), 1);
    EXPECT_EQ(value, 249);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

// A rectangle onto a parallelogram: upright it stretches as StretchBlt does, turned or mirrored
// it covers each pixel once, sheared along its rows it slants; a monochrome mask (tiled) lets
// only its 1 bits through.
TEST(Bitmaps, ParallelogramBlitsMapTheSourceCornersToThePoints)
{
    DibCanvas source(2, 2);
    Paint(source.dc, { 0, 0, 1, 1 }, 249);
    Paint(source.dc, { 1, 0, 2, 1 }, 250);
    Paint(source.dc, { 0, 1, 1, 2 }, 252);
    Paint(source.dc, { 1, 1, 2, 2 }, 251);
    // A 1 x 2 mask: its upper bit 1, its lower 0; tiled across.
    BYTE maskRows[4] = { 0x80, 0, 0x00, 0 };
    HBITMAP mask = CreateBitmap(1, 2, 1, 1, maskRows);
    struct Case {
        const char* name;
        POINT points[3];
        HBITMAP mask;
        Grid expected;
    } cases[] = {
        { "upright, doubled", { { 0, 0 }, { 4, 0 }, { 0, 4 } }, nullptr, { "rrgg..", "rrgg..", "bbyy..", "bbyy.." } },
        { "turned a quarter", { { 2, 0 }, { 2, 2 }, { 0, 0 } }, nullptr, { "br....", "yg....", "......", "......" } },
        { "mirrored", { { 2, 0 }, { 0, 0 }, { 2, 2 } }, nullptr, { "gr....", "yb....", "......", "......" } },
        { "sheared", { { 0, 0 }, { 2, 0 }, { 1, 2 } }, nullptr, { "rg....", ".by...", "......", "......" } },
        { "sheared further", { { 0, 0 }, { 2, 0 }, { 4, 2 } }, nullptr, { "rg....", "..by..", "......", "......" } },
        { "masked", { { 0, 0 }, { 4, 0 }, { 0, 4 } }, mask, { "rrgg..", "rrgg..", "......", "......" } },
        { "moved", { { 3, 1 }, { 5, 1 }, { 3, 3 } }, nullptr, { "......", "...rg.", "...by.", "......" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas dest(6, 4);
        Paint(dest.dc, { 0, 0, 6, 4 }, 255);
        EXPECT_TRUE(PlgBlt(dest.dc, c.points, source.dc, 0, 0, 2, 2, c.mask, 0, 0));
        EXPECT_TRUE(SameGrid(c.expected, GridOf(dest.dc, 6, 4)));
    }

    DibCanvas dest(6, 4);
    POINT flat[3] = { { 0, 0 }, { 4, 0 }, { 8, 0 } };
    EXPECT_TRUE(PlgBlt(dest.dc, flat, source.dc, 0, 0, 2, 2, nullptr, 0, 0)) << "a flat parallelogram draws nothing";
    HBITMAP deep = CreateBitmap(2, 2, 1, 8, nullptr);
    struct Failure {
        const char* name;
        HDC dc;
        const POINT* points;
        int width;
        HBITMAP mask;
        DWORD error;
    } failures[] = {
        { "no points", dest.dc, nullptr, 2, nullptr, ERROR_INVALID_PARAMETER },
        { "negative width", dest.dc, flat, -2, nullptr, ERROR_INVALID_PARAMETER },
        { "mask not monochrome", dest.dc, flat, 2, deep, ERROR_INVALID_PARAMETER },
        { "mask not a bitmap", dest.dc, flat, 2, reinterpret_cast<HBITMAP>(dest.dc), ERROR_INVALID_HANDLE },
        { "no DC", nullptr, flat, 2, nullptr, ERROR_INVALID_HANDLE },
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        SetLastError(0);
        EXPECT_FALSE(PlgBlt(f.dc, f.points, source.dc, 0, 0, f.width, 2, f.mask, 0, 0));
        EXPECT_EQ(GetLastError(), f.error);
    }
    DeleteObject(deep);
    DeleteObject(mask);
}
