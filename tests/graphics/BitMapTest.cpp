#include "graphics/BitMap.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "foundation/FlatArchive.h"
#include "foundation/MemoryStream.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include "platform/gdi/GdiTesting.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

using namespace bitmaps;

namespace {

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

class BitMapTest : public WithStandardPalette { };

// What a colour becomes in the standard palette.
uint32_t Nearest(const Color& color)
{
    return GetNearestPaletteIndex(ColorTable::GetStandardPalette(), RGB(color.red >> 8, color.green >> 8, color.blue >> 8));
}

// A 24-bit bitmap of packed values (red in the high byte).
SmartPtr<BitMap> TrueColor(const std::string& grid)
{
    return MakeBitMap(new ColorTable(TypedArray<Color>()), grid);
}

// A region of its own with the same pixels.
HRGN CopyOfRegion(HRGN region)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, region, nullptr, RGN_COPY);
    return copy;
}

MemoryStream Stored(BitMap& bitmap)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &BitMap::version, &ColorTable::version }, true);
    bitmap.Write(*archive.Get());
    return stream;
}

SmartPtr<BitMap> ReadBack(MemoryStream& stream)
{
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &BitMap::version, &ColorTable::version }, false);
    ArchiveScope scope(*archive.Get(), BitMap::version);
    return new BitMap(scope);
}

void PutLong(MemoryStream& stream, uint32_t offset, uint32_t value)
{
    std::memcpy(static_cast<uint8_t*>(stream.Block().Ptr()) + offset, &value, 4);
}

} // namespace

TEST_F(BitMapTest, CopiesOwnPixelsAndAssignmentSharesThem)
{
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    {
        SmartPtr<BitMap> original = MakeBitMap(GreyTable(16), "1 2 | 3 4");
        SmartPtr<BitMap> copy(SmartCast<BitMap>(original->Copy()));
        EXPECT_EQ(copy->GetColorTable(), original->GetColorTable());
        EXPECT_NE(copy->GetOSBitMap(), original->GetOSBitMap());
        SmartPtr<BitMap> shown = MakeBitMap(GreyTable(2), "0");
        shown->CopyFrom(original.Get());
        EXPECT_EQ(shown->GetOSBitMap(), original->GetOSBitMap());
        {
            PixelIterator cursor(*original.Get(), original->GetBounds(), true);
            cursor.SetPixel(9);
        }
        original = nullptr;
        EXPECT_EQ(GridOf(*copy.Get()), "1 2 | 3 4");
        EXPECT_EQ(GridOf(*shown.Get()), "9 2 | 3 4");
        EXPECT_EQ(shown->GetObjectSize(), BitMap::classInfo.GetObjectSize() + 2u);
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}

TEST_F(BitMapTest, KeyedCopyBetweenEightBitBitmapsClipsBothSides)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    const char* source = "01 00 02 | 00 03 00";
    struct Case {
        const char* name;
        Rect rect, destination;
        const char* expected;
    } cases[] = {
        { "inside", { 0, 0, 3, 2 }, { 1, 0, 4, 2 }, "09 01 09 02 | 09 09 03 09 | 09 09 09 09" },
        { "left and top cut", { 0, 0, 3, 2 }, { -1, -1, 2, 1 }, "03 09 09 09 | 09 09 09 09 | 09 09 09 09" },
        { "bottom cut", { 0, 0, 3, 2 }, { 0, 2, 3, 4 }, "09 09 09 09 | 09 09 09 09 | 01 09 02 09" },
        { "part of the source", { 1, 0, 3, 2 }, { 0, 1, 2, 3 }, "09 09 09 09 | 09 02 09 09 | 03 09 09 09" },
        { "part, cut on the left", { 1, 0, 3, 2 }, { -1, 0, 1, 2 }, "02 09 09 09 | 09 09 09 09 | 09 09 09 09" },
        { "part below the source", { 1, 1, 3, 3 }, { 2, 0, 4, 2 }, "09 09 03 09 | 09 09 09 09 | 09 09 09 09" },
        { "part left of the source", { -1, 0, 2, 2 }, { 0, 0, 3, 2 }, "09 01 09 09 | 09 09 03 09 | 09 09 09 09" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<BitMap> from = MakeBitMap(standard, source);
        SmartPtr<BitMap> to = MakeBitMap(standard, "09 09 09 09 | 09 09 09 09 | 09 09 09 09");
        from->DrawPartTo(to->GetDC(), to.Get(), test.rect, test.destination, true, 0);
        EXPECT_EQ(GridOf(*to.Get()), FormatGrid(ParseGrid(test.expected), 2));
    }
}

// A keyed draw into a buffer writes the buffer's pixels itself; it keeps to the port's clip (a
// sprite's crop, the part being redrawn) as a draw through the device context does, piece by piece,
// a clip held as a platform region too, whatever its shape.
TEST_F(BitMapTest, KeyedDrawsIntoABufferKeepToThePortsClip)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<BitMap> source = MakeBitMap(standard, "01 01 00 01 | 01 01 01 01");
    struct Case {
        const char* name;
        std::vector<Rect> clip;
        bool region;
        const char* expected;
    } cases[] = {
        { "the whole buffer", { Rect(0, 0, 4, 2) }, false, "01 01 09 01 | 01 01 01 01" },
        { "one piece", { Rect(1, 0, 3, 2) }, false, "09 01 09 09 | 09 01 01 09" },
        { "two pieces", { Rect(0, 0, 1, 1), Rect(3, 1, 4, 2) }, false, "01 09 09 09 | 09 09 09 01" },
        { "nothing", {}, false, "09 09 09 09 | 09 09 09 09" },
        { "a region in an L", { Rect(0, 0, 1, 2), Rect(1, 1, 4, 2) }, true, "01 09 09 09 | 01 01 01 01" },
        { "a region with a notch", { Rect(0, 0, 1, 1), Rect(3, 0, 4, 1), Rect(0, 1, 4, 2) }, true,
            "01 09 09 01 | 01 01 01 01" },
        { "a region of two corners", { Rect(0, 0, 1, 1), Rect(3, 1, 4, 2) }, true, "01 09 09 09 | 09 09 09 01" },
        { "an empty region", {}, true, "09 09 09 09 | 09 09 09 09" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<OffScreen> buffer = new OffScreen(4, 2, standard, Color(0), true);
        {
            PixelIterator cursor(*buffer->GetBitMap().Get(), buffer->GetBitMap()->GetBounds(), true);
            for (; cursor.More(); cursor.Next())
                cursor.SetPixel(9);
        }
        {
            DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
            SmartPtr<Area> clip = new Area;
            for (const Rect& piece : test.clip)
                clip->Merge(Area(piece));
            if (test.region)
                clip = new Area(CopyOfRegion(clip->GetRegion()));
            ASSERT_EQ(clip->InRegionMode(), test.region);
            port.SetClip(clip);
            source->DrawPart(port, source->GetBounds(), true, 0);
        }
        EXPECT_EQ(GridOf(*buffer->GetBitMap().Get()), FormatGrid(ParseGrid(test.expected), 2));
    }
}

TEST_F(BitMapTest, KeyedCopyBetweenTablesGoesThroughTheColours)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<ColorTable> direct = new ColorTable(TypedArray<Color>());
    uint32_t red = CubeIndex(5, 0, 0);
    uint32_t blue = CubeIndex(0, 0, 5);
    ASSERT_EQ(red, 0xBEu);
    ASSERT_EQ(blue, 0x0Fu);
    struct Case {
        const char* name;
        SmartPtr<BitMap> source;
        SmartPtr<ColorTable> target;
        uint32_t key;
        std::vector<uint32_t> expected; // the target's values; 7 where the key left it
    } cases[] = {
        { "24 bits to the standard table", TrueColor("FF0000 0000FF 123456"), standard, 0x123456, { red, blue, 7 } },
        { "own 4-bit table to the standard table", MakeBitMap(GreyTable(16), "F 8 0"), standard, 0,
            { Nearest(Rgb(255, 255, 255)), Nearest(Rgb(0x88, 0x88, 0x88)), 7 } },
        { "standard table to 24 bits", MakeBitMap(standard, "BE 0F 00"), direct, 0, { 0xFF0000, 0x0000FF, 7 } },
        { "16 bits to 24 bits", MakeBitMap(SixteenBitTable(), "7C00 001F 0000"), direct, 0, { 0xF80000, 0x0000F8, 7 } },
        { "24 bits to 16 bits", TrueColor("FF0000 0000FF 000000"), SixteenBitTable(), 0, { 0x7C00, 0x001F, 7 } },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<BitMap> target = new BitMap(3, 1, test.target, Color(), false);
        {
            PixelIterator cursor(*target.Get(), target->GetBounds(), true);
            for (; cursor.More(); cursor.Next())
                cursor.SetPixel(7);
        }
        test.source->DrawPartTo(target->GetDC(), target.Get(), Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), true, test.key);
        std::vector<uint32_t> values;
        for (int column = 0; column < 3; ++column)
            values.push_back(target->GetPixelValue(column, 0));
        EXPECT_EQ(values, test.expected);
    }
}

// 17 entries (so 8 bits deep): greys turned by `shift` places, grey i * 17 at entry i - shift, and
// red last.
SmartPtr<ColorTable> TurnedGreys(int shift)
{
    TypedArray<Color> colors;
    for (int index = 0; index < 16; ++index) {
        uint8_t grey = uint8_t((index + shift) % 16 * 17);
        colors.Append(Rgb(grey, grey, grey));
    }
    colors.Append(Rgb(255, 0, 0));
    return new ColorTable(colors);
}

// Between 8-bit tables the translation each source table keeps is used; a table given other
// colours translates afresh, whichever side it is on.
TEST_F(BitMapTest, KeyedCopyBetweenEightBitTablesFollowsChangedTables)
{
    SmartPtr<ColorTable> sourceTable = TurnedGreys(0);
    SmartPtr<ColorTable> targetTable = TurnedGreys(8);
    SmartPtr<BitMap> source = MakeBitMap(sourceTable, "0F 01 05 | 00 10 0F");
    auto copied = [&] {
        SmartPtr<BitMap> target = MakeBitMap(targetTable, "77 77 77 | 77 77 77");
        source->DrawPartTo(target->GetDC(), target.Get(), Rect(0, 0, 3, 2), Rect(0, 0, 3, 2), true, 0);
        return GridOf(*target.Get());
    };
    EXPECT_EQ(copied(), "07 09 0D | 77 10 07");
    *sourceTable.Get() = *TurnedGreys(4).Get();
    EXPECT_EQ(copied(), "0B 0D 01 | 77 10 0B");
    *targetTable.Get() = *TurnedGreys(0).Get();
    EXPECT_EQ(copied(), "03 05 09 | 77 10 03");
}

TEST_F(BitMapTest, ScaledOrUnkeyedDrawsGoThroughTheDeviceContext)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<BitMap> source = MakeBitMap(standard, "00 BE | 0F 00");
    SmartPtr<BitMap> target = MakeBitMap(standard, "09 09 09 09 | 09 09 09 09 | 09 09 09 09 | 09 09 09 09");
    source->DrawPartTo(target->GetDC(), target.Get(), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), true, 0);
    EXPECT_EQ(GridOf(*target.Get()), "00 00 BE BE | 00 00 BE BE | 0F 0F 00 00 | 0F 0F 00 00");

    SmartPtr<BitMap> window = MakeBitMap(standard, "09 09 | 09 09");
    source->DrawPartTo(window->GetDC(), nullptr, Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), false, 0);
    EXPECT_EQ(GridOf(*window.Get()), "00 BE | 0F 00");
}

TEST_F(BitMapTest, StoredBitmapsReadBackAtEveryDepth)
{
    struct Case {
        const char* name;
        SmartPtr<ColorTable> table;
        const char* grid;
    } cases[] = {
        { "1 bit", GreyTable(2), "1 0 1 | 0 1 1" },
        { "2 bits", GreyTable(4), "3 0 1 | 2 1 1" },
        { "4 bits", GreyTable(16), "F 0 1 | 2 E 1" },
        { "8 bits", ColorTable::Setup(8), "BE 0F 01 | 00 FF 80" },
        { "16 bits", SixteenBitTable(), "7C00 001F 0001 | 0000 7FFF 1234" },
        { "24 bits", new ColorTable(TypedArray<Color>()), "FF0000 0000FF 000001 | 000000 FFFFFF 123456" },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<BitMap> bitmap = MakeBitMap(test.table, test.grid);
        bitmap->SetUseChromaKey(true);
        bitmap->SetChromaKey(1);
        MemoryStream stream = Stored(*bitmap.Get());
        SmartPtr<BitMap> read = ReadBack(stream);
        EXPECT_EQ(read->GetBitDepth(), bitmap->GetBitDepth());
        EXPECT_EQ(GridOf(*read.Get()), GridOf(*bitmap.Get()));
        EXPECT_EQ(ColorsOf(*read.Get()), ColorsOf(*bitmap.Get()));
        EXPECT_TRUE(read->UsesChromaKey());
        EXPECT_EQ(read->GetChromaKey(), 1u);
    }
}

// Offsets in a stored 24-bit bitmap of 2 by 1 pixels: the frame (8 bytes), the depth, the bounds,
// the table's reference (class number and a 14-byte framed empty table), the key, the flag, the
// row length and the rows.
namespace stored {
constexpr uint32_t kDepth = 8, kRight = 18, kBottom = 22, kTableClass = 26, kKey = 44, kRowLength = 49,
                   kRows = 53;
}

TEST_F(BitMapTest, StoredBitmapsThatDoNotFitAreCorrupt)
{
    SmartPtr<BitMap> bitmap = TrueColor("FF0000 00FF00");
    MemoryStream good = Stored(*bitmap.Get());
    ASSERT_EQ(good.GetLength(), stored::kRows + 6);
    struct Case {
        const char* name;
        uint32_t offset;
        uint32_t value;
    } cases[] = {
        { "depth of another table", stored::kDepth, 8 },
        { "bounds away from the origin", stored::kDepth + 2, 1 },
        { "no width", stored::kRight, 0 },
        { "huge", stored::kRight, 1u << 25 },
        { "negative height", stored::kBottom, 0xFFFFFFFF },
        { "rows missing", stored::kBottom, 3 },
        { "no table", stored::kTableClass, 0 },
        { "short rows", stored::kRowLength, 5 },
        { "long rows", stored::kRowLength, 7 },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        MemoryStream stream = Stored(*bitmap.Get());
        if (test.offset == stored::kDepth)
            static_cast<uint8_t*>(stream.Block().Ptr())[test.offset] = uint8_t(test.value);
        else
            PutLong(stream, test.offset, test.value);
        EXPECT_EQ(Failure([&] { ReadBack(stream); }), kCorrupt);
    }
}

TEST_F(BitMapTest, VersionOneZeroHasNoKey)
{
    SmartPtr<BitMap> bitmap = TrueColor("FF0000 00FF00");
    bitmap->SetUseChromaKey(true);
    MemoryStream stream = Stored(*bitmap.Get());
    // Drop the key and the flag, and mark the object as written by version 1.0.
    auto* bytes = static_cast<uint8_t*>(stream.Block().Ptr());
    std::vector<uint8_t> old(bytes, bytes + stream.GetLength());
    old.erase(old.begin() + stored::kKey, old.begin() + stored::kRowLength);
    MemoryStream older;
    older.Write(old.data(), uint32_t(old.size()));
    PutLong(older, 0, Fixed(1, 0).Raw());
    PutLong(older, 4, uint32_t(old.size() - 8));
    SmartPtr<BitMap> read = ReadBack(older);
    EXPECT_FALSE(read->UsesChromaKey());
    EXPECT_EQ(read->GetChromaKey(), 0u);
    EXPECT_EQ(GridOf(*read.Get()), "FF0000 00FF00");
}

TEST_F(BitMapTest, StoredEightBitBitmapsComeBackInTheStandardTable)
{
    // Entry 1 is pure red, entry 2 pure blue, in a table of the bitmap's own.
    TypedArray<Color> colors;
    for (int index = 0; index < 256; ++index)
        colors.Append(index == 1 ? Rgb(255, 0, 0) : index == 2 ? Rgb(0, 0, 255) : Rgb(255, 255, 255));
    SmartPtr<BitMap> bitmap = MakeBitMap(new ColorTable(colors), "01 02 00");
    bitmap->SetUseChromaKey(true);
    bitmap->SetChromaKey(2);
    MemoryStream stream = Stored(*bitmap.Get());
    SmartPtr<BitMap> read = ReadBack(stream);
    EXPECT_EQ(read->GetColorTable(), ColorTable::Setup(8));
    EXPECT_EQ(GridOf(*read.Get()), FormatGrid({ { CubeIndex(5, 0, 0), CubeIndex(0, 0, 5), Nearest(Rgb(255, 255, 255)) } }, 2));
    EXPECT_EQ(read->GetChromaKey(), CubeIndex(0, 0, 5));
}

TEST_F(BitMapTest, CropToContentKeepsTheSmallestRectangle)
{
    struct Case {
        const char* name;
        const char* grid;
        Point corner;
        const char* expected; // "" for an emptied handle, "same" for the bitmap kept
    } cases[] = {
        { "all background", "0 0 | 0 0", { 0, 0 }, "" },
        { "touching every edge", "1 0 0 | 0 0 2", { 0, 0 }, "same" },
        { "inside", "0 0 0 0 | 0 1 2 0 | 0 0 3 0 | 0 0 0 0", { 1, 1 }, "1 2 | 0 3" },
        { "one pixel", "0 0 0 | 0 0 0 | 0 0 5", { 2, 2 }, "5" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<BitMap> bitmap = MakeBitMap(GreyTable(16), test.grid);
        bitmap->SetUseChromaKey(true);
        bitmap->SetChromaKey(3);
        BitMap* before = bitmap.Get();
        Point corner = BitMap::CropToContent(bitmap, 0);
        EXPECT_EQ(corner, test.corner);
        if (std::string(test.expected).empty()) {
            EXPECT_FALSE(bitmap.Valid());
        } else if (std::string(test.expected) == "same") {
            EXPECT_EQ(bitmap.Get(), before);
        } else {
            EXPECT_EQ(GridOf(*bitmap.Get()), test.expected);
            EXPECT_EQ(bitmap->GetBitDepth(), 4);
            EXPECT_TRUE(bitmap->UsesChromaKey());
            EXPECT_EQ(bitmap->GetChromaKey(), 3u);
        }
    }
}

TEST_F(BitMapTest, RenderedImagesAreEightBitsDeep)
{
    SmartPtr<BitMap> wide = TrueColor("FF0000 0000FF");
    SmartPtr<BitMap> rendered = BitMap::RenderImage(*wide.Get());
    EXPECT_EQ(rendered->GetColorTable(), ColorTable::Setup(8));
    EXPECT_EQ(GridOf(*rendered.Get()), "BE 0F");

    SmartPtr<BitMap> eight = MakeBitMap(ColorTable::Setup(8), "BE 0F | 00 E1");
    EXPECT_EQ(GridOf(*BitMap::RenderImage(*eight.Get(), 4, 4).Get()), "BE BE 0F 0F | BE BE 0F 0F | 00 00 E1 E1 | 00 00 E1 E1");
}

TEST_F(BitMapTest, WindowsBitmapsArePixelsInTheSharedTable)
{
    const uint8_t eightBits[] = { 1, 2, 246, 0, 255, 0, 9, 0 };
    HBITMAP device = CreateBitmap(3, 2, 1, 8, eightBits);
    SmartPtr<BitMap> bitmap = new BitMap(device, true, 9);
    DeleteObject(device);
    EXPECT_EQ(bitmap->GetColorTable(), ColorTable::Setup(8));
    EXPECT_EQ(GridOf(*bitmap.Get()), "01 02 F6 | FF 00 09");
    EXPECT_TRUE(bitmap->UsesChromaKey());

    const uint8_t oneBit[] = { 0xA0, 0, 0x40, 0 };
    HBITMAP mask = CreateBitmap(3, 2, 1, 1, oneBit);
    SmartPtr<BitMap> monochrome = new BitMap(mask, false, 0);
    DeleteObject(mask);
    EXPECT_EQ(monochrome->GetBitDepth(), 1);
    EXPECT_EQ(GridOf(*monochrome.Get()), "1 0 1 | 0 1 0");

}

