#include "graphics/PixelIterator.h"
#include "graphics/WinVersion.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace bitmaps;

namespace {

SmartPtr<ColorTable> TableOfDepth(int depth)
{
    switch (depth) {
    case 16:
        return SixteenBitTable();
    case 24:
        return new ColorTable(TypedArray<Color>());
    default:
        return GreyTable(1u << depth);
    }
}

std::vector<uint8_t> AllBytes(BitMap& bitmap)
{
    OSBitMap& pixels = *bitmap.GetOSBitMap();
    std::vector<uint8_t> bytes(pixels.GetByteSize());
    pixels.GetBits(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

} // namespace

TEST(PixelIterator, PixelsLieWhereEachDepthPutsThem)
{
    struct Case {
        int depth;
        int32_t x;
        uint32_t value;
        std::vector<std::pair<size_t, uint8_t>> bytes; // offset in the image's top row, value
    } cases[] = {
        { 1, 0, 1, { { 0, 0x80 } } },
        { 1, 9, 1, { { 1, 0x40 } } },
        { 2, 0, 3, { { 0, 0xC0 } } },
        { 2, 5, 2, { { 1, 0x20 } } },
        { 4, 0, 0xA, { { 0, 0xA0 } } },
        { 4, 3, 0x5, { { 1, 0x05 } } },
        { 8, 7, 0xAB, { { 7, 0xAB } } },
        { 16, 2, 0x1234, { { 4, 0x34 }, { 5, 0x12 } } },
        { 24, 1, 0x123456, { { 3, 0x56 }, { 4, 0x34 }, { 5, 0x12 } } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE("depth " + std::to_string(test.depth) + " x " + std::to_string(test.x));
        SmartPtr<BitMap> bitmap = new BitMap(10, 2, TableOfDepth(test.depth), Color(), false);
        ASSERT_EQ(bitmap->GetBitDepth(), test.depth);
        {
            PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
            cursor.MoveTo(test.x, 0);
            cursor.SetPixel(test.value);
        }
        // Rows are stored bottom-up: the image's top row is the last row of memory.
        std::vector<uint8_t> expected(bitmap->GetOSBitMap()->GetByteSize(), 0);
        size_t topRow = bitmap->GetOSBitMap()->BytesPerRow();
        for (const auto& [offset, byte] : test.bytes)
            expected[topRow + offset] = byte;
        EXPECT_EQ(AllBytes(*bitmap.Get()), expected);
        EXPECT_EQ(bitmap->GetPixelValue(test.x, 0), test.value);
        EXPECT_EQ(bitmap->GetPixelValue(test.x + 1, 0), 0u);

        // A neighbour written next to it leaves it alone.
        {
            PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
            cursor.MoveTo(test.x ^ 1, 0);
            cursor.SetPixel(~0u);
        }
        EXPECT_EQ(bitmap->GetPixelValue(test.x, 0), test.value);
    }
}

TEST(PixelIterator, WalksImageOrderOrBottomRowFirstWhicheverWayRowsAreStored)
{
    struct Case {
        bool imageOrder;
        std::vector<uint32_t> values;
    } cases[] = { { true, { 1, 2, 4, 5 } }, { false, { 4, 5, 1, 2 } } };
    // The 16-bit platform keeps 8-bit pixels in a device bitmap whose rows run top-down.
    for (WinVersion platform : { Win95, Win31Only }) {
        pw::graphics::testing::ForceWinVersion(platform);
        SmartPtr<BitMap> bitmap = MakeBitMap(GreyTable(256), "0 1 2 | 3 4 5 | 6 7 8");
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(bitmap->GetOSBitMap()->GetClassInfo()->GetName())
                + (test.imageOrder ? " image order" : " bottom row first"));
            std::vector<uint32_t> seen;
            PixelIterator cursor(*bitmap.Get(), Rect(1, 0, 3, 2), test.imageOrder);
            for (; cursor.More(); cursor.Next()) {
                Point at = cursor.GetPosition();
                seen.push_back(cursor.GetPixel());
                EXPECT_EQ(seen.back(), uint32_t(at.v * 3 + at.h));
            }
            EXPECT_EQ(seen, test.values);
        }
    }
}

TEST(PixelIterator, PositionsOutsideTheBitmapReadZeroAndIgnoreWrites)
{
    SmartPtr<BitMap> bitmap = MakeBitMap(GreyTable(256), "1 2 | 3 4");
    std::vector<uint8_t> before = AllBytes(*bitmap.Get());
    {
        PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
        for (Point outside : { Point(-1, 0), Point(2, 0), Point(0, 2), Point(0, -1) }) {
            cursor.MoveTo(outside.h, outside.v);
            EXPECT_EQ(cursor.GetPixel(), 0u);
            cursor.SetPixel(0xEE);
        }
    }
    EXPECT_EQ(AllBytes(*bitmap.Get()), before);
    EXPECT_EQ(GridOf(*bitmap.Get()), "01 02 | 03 04");
}

TEST(PixelIterator, RowSpanCountsTheBytesOfTheRectanglesRow)
{
    struct Case {
        int depth;
        int32_t width, column;
        int32_t span;
    } cases[] = {
        { 8, 3, 0, 3 }, { 1, 33, 0, 5 }, { 4, 5, 1, 3 }, { 4, 4, 3, 1 }, { 24, 2, 1, 3 }, { 16, 3, 0, 6 },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE("depth " + std::to_string(test.depth) + " width " + std::to_string(test.width));
        SmartPtr<BitMap> bitmap = new BitMap(test.width, 1, TableOfDepth(test.depth), Color(), false);
        PixelIterator cursor(*bitmap.Get(), Rect(test.column, 0, test.width, 1), true);
        EXPECT_EQ(cursor.RowSpanBytes(), test.span);
    }
}

TEST(PixelIterator, PatternTakesTheTopLeftEightByEight)
{
    struct Case {
        Point pixel;
        int row;
        uint8_t bits;
    } cases[] = { { { 0, 0 }, 0, 0x80 }, { { 3, 5 }, 5, 0x10 }, { { 8, 2 }, 2, 0x00 } };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.pixel.h) + "," + std::to_string(test.pixel.v));
        SmartPtr<BitMap> bitmap = new BitMap(9, 8, GreyTable(2), Color(), false);
        {
            PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
            cursor.MoveTo(test.pixel.h, test.pixel.v);
            cursor.SetPixel(1);
        }
        Pattern pattern = bitmap->GetPattern();
        for (int row = 0; row < 8; ++row)
            EXPECT_EQ(pattern.rows[row], row == test.row ? test.bits : 0) << "row " << row;
    }
}
