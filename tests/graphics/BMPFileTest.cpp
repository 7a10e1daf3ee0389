#include "graphics/BMPFile.h"

#include "foundation/Failure.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/MemoryStream.h"
#include "foundation/Resources.h"

#include "BitMapFixture.h"
#include "BmpFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace bitmaps;
using namespace bmpfiles;

namespace {

SmartPtr<MemoryStream> StreamOf(const std::vector<uint8_t>& bytes, size_t prefix = 0)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    std::vector<uint8_t> lead(prefix, 0xEE);
    if (prefix)
        stream->Write(lead.data(), uint32_t(prefix));
    if (!bytes.empty())
        stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(int32_t(prefix), Stream::kFromStart);
    return stream;
}

SmartPtr<BitMap> Read(const std::vector<uint8_t>& bytes, bool useKey = false, uint32_t key = 0)
{
    SmartPtr<MemoryStream> stream = StreamOf(bytes);
    return new BitMap(*stream.Get(), useKey, key);
}

std::vector<uint32_t> Greys(int count)
{
    std::vector<uint32_t> colors;
    for (int index = 0; index < count; ++index)
        colors.push_back(uint32_t(index * 17) * 0x010101);
    return colors;
}

class BMPFileTest : public WithStandardPalette { };

} // namespace

TEST_F(BMPFileTest, ReadsEveryDepthWithItsRowPadding)
{
    const uint32_t red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
    struct Case {
        const char* name;
        Bmp file;
        int depth;
        const char* grid;
    } cases[] = {
        { "1 bit, width 33 (8-byte rows)",
            { 33, 2, 1, BI_RGB, 0, 40, { 0, white }, {},
                Rows("1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 | "
                     "0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0",
                    1) },
            1, nullptr },
        { "4 bits", { 3, 2, 4, BI_RGB, 0, 40, Greys(16), {}, Rows("F 0 1 | 2 E 3", 4) }, 4, "F 0 1 | 2 E 3" },
        { "8 bits, width 3 (4-byte rows)", { 3, 2, 8, BI_RGB, 3, 40, { 0, red, blue }, {}, Rows("1 2 0 | 0 1 2", 8) },
            8, nullptr },
        { "8 bits, rows top-down", { 3, -2, 8, BI_RGB, 3, 40, { 0, red, blue }, {}, Rows("1 2 0 | 0 1 2", 8, true) },
            8, nullptr },
        { "8 bits, 3 colours used", { 2, 1, 8, BI_RGB, 3, 40, { 0, red, blue }, {}, Rows("2 1", 8) }, 8, nullptr },
        { "24 bits", { 2, 2, 24, BI_RGB, 0, 40, {}, {}, Rows("FF0000 0000FF | 123456 000000", 24) }, 24,
            "FF0000 0000FF | 123456 000000" },
        { "16 bits 5-5-5", { 2, 1, 16, BI_RGB, 0, 40, {}, {}, Rows("7C00 001F", 16) }, 24, "FF0000 0000FF" },
        { "16 bits 5-6-5", { 2, 1, 16, BI_BITFIELDS, 0, 40, {}, { 0xF800, 0x07E0, 0x001F }, Rows("07E0 F81F", 16) },
            24, "00FF00 FF00FF" },
        { "32 bits", { 2, 1, 32, BI_RGB, 0, 40, {}, {}, Rows("00FF0000 FF0000FF", 32) }, 24, "FF0000 0000FF" },
        { "32 bits, fields", { 1, 1, 32, BI_BITFIELDS, 0, 40, {}, { 0xFF, 0xFF00, 0xFF0000 }, Rows("00000080", 32) },
            24, "800000" },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<BitMap> bitmap = Read(test.file.Bytes());
        EXPECT_EQ(bitmap->GetBitDepth(), test.depth);
        if (test.grid) {
            EXPECT_EQ(GridOf(*bitmap.Get()), FormatGrid(ParseGrid(test.grid), DigitsFor(test.depth)));
        }
    }

    // Colours are what the file's table says, in the standard table for 8 bits.
    SmartPtr<BitMap> wide = Read(cases[0].file.Bytes());
    EXPECT_EQ(GridOf(*wide.Get()).substr(0, 6), "1 0 0 ");
    EXPECT_EQ(wide->GetPixelValue(32, 0), 1u);
    EXPECT_EQ(wide->GetPixelValue(31, 1), 1u);
    for (int index : { 2, 3 }) {
        SmartPtr<BitMap> eight = Read(cases[index].file.Bytes());
        EXPECT_EQ(eight->GetColorTable(), ColorTable::Setup(8));
        EXPECT_EQ(ColorsOf(*eight.Get()), "FF0000 0000FF 000000 | 000000 FF0000 0000FF");
    }
    EXPECT_EQ(ColorsOf(*Read(cases[4].file.Bytes()).Get()), "0000FF FF0000");
}

TEST_F(BMPFileTest, DecodesRunLengthRows)
{
    const uint32_t red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
    Bmp rle8 { 5, 3, 8, BI_RLE8, 4, 40, { 0, red, blue, white }, {},
        {
            3, 1, 0, 3, 2, 3, 2, 0, // bottom row: three 1s, literal 2 3 2 (padded)
            0, 0,                   // end of line
            0, 2, 1, 1,             // move right 1, up 1: to the top row
            2, 3, 9, 9,             // two 3s, then a run that falls off the right edge
            0, 1,                   // end of bitmap
            7, 7,                   // never read
        } };
    SmartPtr<BitMap> eight = Read(rle8.Bytes());
    uint32_t r = CubeIndex(5, 0, 0), b = CubeIndex(0, 0, 5), w = CubeIndex(5, 5, 5);
    EXPECT_EQ(GridOf(*eight.Get()), FormatGrid({ { 0, w, w, 0, 0 }, { 0, 0, 0, 0, 0 }, { r, r, r, b, w } }, 2));

    Bmp rle4 { 6, 2, 4, BI_RLE4, 0, 40, Greys(16), {},
        {
            5, 0x12,             // 1 2 1 2 1
            0, 0,                // end of line
            0, 3, 0xAB, 0xC0,    // literal A B C, padded to a 16-bit boundary
            0, 1,
        } };
    EXPECT_EQ(GridOf(*Read(rle4.Bytes()).Get()), "A B C 0 0 0 | 1 2 1 2 1 0");

    Bmp cutShort { 4, 1, 8, BI_RLE8, 2, 40, { 0, red }, {}, { 2, 1, 0, 4, 1 } };
    EXPECT_EQ(GridOf(*Read(cutShort.Bytes()).Get()), FormatGrid({ { r, r, 0, 0 } }, 2));
}

// The 108- and 124-byte headers extend the 40-byte one: the same fields, and the masks inside them.
TEST_F(BMPFileTest, LongerInfoHeadersReadAsTheOneTheyExtend)
{
    for (uint32_t infoSize : { 108u, 124u }) {
        SCOPED_TRACE(infoSize);
        Bmp eight { 3, 2, 8, BI_RGB, 3, infoSize, { 0, 0xFF0000, 0x0000FF }, {}, Rows("1 2 0 | 0 1 2", 8) };
        EXPECT_EQ(ColorsOf(*Read(eight.Bytes()).Get()), "FF0000 0000FF 000000 | 000000 FF0000 0000FF");
        Bmp fields { 2, 1, 16, BI_BITFIELDS, 0, infoSize, {}, { 0xF800, 0x07E0, 0x001F }, Rows("07E0 F81F", 16) };
        EXPECT_EQ(GridOf(*Read(fields.Bytes()).Get()), "00FF00 FF00FF");
        Bmp rle { 4, 1, 8, BI_RLE8, 2, infoSize, { 0, 0xFF0000 }, {}, { 3, 1, 0, 1 } };
        EXPECT_EQ(ColorsOf(*Read(rle.Bytes()).Get()), "FF0000 FF0000 FF0000 000000");
    }
}

// Runs and moves that pass the right edge are dropped without the column ever growing past the
// row: a file of nothing but long runs and moves decodes at once to what fits.
TEST_F(BMPFileTest, RunawayRunsStayInsideTheBitmap)
{
    // 12 MB of the bottom row: runs of 255 and moves of 255 to the right.
    std::vector<uint8_t> runs;
    for (int index = 0; index < 2 << 20; ++index)
        runs.insert(runs.end(), { 255, 1, 0, 2, 255, 0 });
    runs.insert(runs.end(), { 0, 0 });
    Bmp file { 3, 2, 8, BI_RLE8, 2, 40, { 0, 0xFF0000 }, {}, runs };
    SmartPtr<BitMap> bitmap = Read(file.Bytes());
    EXPECT_EQ(ColorsOf(*bitmap.Get()), "000000 000000 000000 | FF0000 FF0000 FF0000");

    // Literal runs and runs of four bits alike.
    Bmp literal { 2, 1, 8, BI_RLE8, 2, 40, { 0, 0xFF0000 }, {}, { 0, 5, 1, 1, 1, 1, 1, 0, 0, 1 } };
    EXPECT_EQ(ColorsOf(*Read(literal.Bytes()).Get()), "FF0000 FF0000");
    Bmp four { 3, 1, 4, BI_RLE4, 0, 40, Greys(16), {}, { 255, 0x12, 0, 4, 0x34, 0x56, 0, 1 } };
    EXPECT_EQ(GridOf(*Read(four.Bytes()).Get()), "1 2 1");
}

TEST_F(BMPFileTest, KeyedEntryIsMarkedAndFollowsTheRemap)
{
    Bmp four { 2, 1, 4, BI_RGB, 0, 40, Greys(16), {}, Rows("5 6", 4) };
    SmartPtr<BitMap> bitmap = Read(four.Bytes(), true, 5);
    EXPECT_TRUE(bitmap->UsesChromaKey());
    EXPECT_EQ(bitmap->GetColorTable()->GetColor(5).extra, 0xFFFF);
    EXPECT_EQ(bitmap->GetColorTable()->GetColor(6).extra, 0);

    Bmp eight { 2, 1, 8, BI_RGB, 2, 40, { 0xFFFFFF, 0x0000FF }, {}, Rows("1 0", 8) };
    SmartPtr<BitMap> remapped = Read(eight.Bytes(), true, 1);
    EXPECT_EQ(remapped->GetChromaKey(), CubeIndex(0, 0, 5));
    EXPECT_EQ(remapped->GetPixelValue(0, 0), CubeIndex(0, 0, 5));
}

TEST_F(BMPFileTest, ReadsFromTheStreamsMark)
{
    Bmp file { 2, 1, 24, BI_RGB, 0, 40, {}, {}, Rows("FF0000 00FF00", 24) };
    SmartPtr<MemoryStream> stream = StreamOf(file.Bytes(), 10);
    SmartPtr<BitMap> bitmap = new BitMap(*stream.Get(), false, 0);
    EXPECT_EQ(GridOf(*bitmap.Get()), "FF0000 00FF00");
}

TEST_F(BMPFileTest, HostileHeadersFailClearly)
{
    auto with = [](auto change) {
        Bmp file { 3, 2, 8, BI_RGB, 2, 40, { 0, 0xFF0000 }, {}, Rows("1 0 1 | 0 1 0", 8) };
        change(file);
        return file.Bytes();
    };
    auto truncated = [](std::vector<uint8_t> bytes, size_t size) {
        bytes.resize(size);
        return bytes;
    };
    std::vector<uint8_t> typeBA = with([](Bmp&) { });
    typeBA[1] = 'A';
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string failure;
    } cases[] = {
        { "an OS/2 array (type BA)", typeBA, kCorrupt },
        { "core header", with([](Bmp& f) { f.infoSize = 12; }), kCorrupt },
        { "OS/2 2 header", with([](Bmp& f) { f.infoSize = 64; }), kCorrupt },
        { "header size past the end", with([](Bmp& f) { f.infoSize = 0xFFFFFFFF; }), kCorrupt },
        { "version 5 header cut short", truncated(with([](Bmp& f) { f.infoSize = 124; }), 14 + 100), kCorrupt },
        { "empty file", {}, kCorrupt },
        { "one byte", { 'B' }, kCorrupt },
        { "cut in the info header", truncated(with([](Bmp&) { }), 30), kCorrupt },
        { "width 0", with([](Bmp& f) { f.width = 0; }), kCorrupt },
        { "negative width", with([](Bmp& f) { f.width = -3; }), kCorrupt },
        { "height 0", with([](Bmp& f) { f.height = 0; }), kCorrupt },
        { "lowest height", with([](Bmp& f) { f.height = std::numeric_limits<int32_t>::min(); }), kCorrupt },
        { "too many pixels", with([](Bmp& f) { f.width = 20000, f.height = 20000; }), kCorrupt },
        { "bit count 3", with([](Bmp& f) { f.bitCount = 3; }), kCorrupt },
        { "bit count 0", with([](Bmp& f) { f.bitCount = 0; }), kCorrupt },
        { "bit count 64", with([](Bmp& f) { f.bitCount = 64; }), kCorrupt },
        { "more colours than values", with([](Bmp& f) { f.bitCount = 4, f.colorsUsed = 17; }), kCorrupt },
        { "colours past the end", with([](Bmp& f) { f.colorsUsed = 256; }), kCorrupt },
        { "pixels inside the header", with([](Bmp& f) { f.offBits = 20; }), kCorrupt },
        { "pixels past the end", with([](Bmp& f) { f.offBits = 5000; }), kCorrupt },
        { "rows cut short", truncated(with([](Bmp&) { }), 14 + 40 + 8 + 6), kCorrupt },
        { "JPEG inside", with([](Bmp& f) { f.compression = 4; }), kCorrupt },
        { "PNG inside", with([](Bmp& f) { f.compression = 5, f.bitCount = 0; }), kCorrupt },
        { "PNG inside a version 5 header", with([](Bmp& f) { f.compression = 5, f.infoSize = 124; }), kCorrupt },
        // One column of 16,777,216 rows is 64 MB of padded rows, from a file of a few bytes.
        { "RLE8 of a huge column",
            with([](Bmp& f) { f.compression = BI_RLE8, f.width = 1, f.height = 1 << 24, f.pixels = { 0, 1 }; }),
            kCorrupt },
        { "24 bits past the byte cap", with([](Bmp& f) { f.bitCount = 24, f.width = 2400, f.height = 2400; }), kCorrupt },
        { "RLE8 at 4 bits", with([](Bmp& f) { f.bitCount = 4, f.compression = BI_RLE8; }), kCorrupt },
        { "RLE top-down", with([](Bmp& f) { f.compression = BI_RLE8, f.height = -2; }), kCorrupt },
        { "fields at 24 bits", with([](Bmp& f) { f.bitCount = 24, f.compression = BI_BITFIELDS; }), kCorrupt },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(Failure([&] { Read(test.bytes); }), test.failure);
    }
}

TEST_F(BMPFileTest, ScribeReadsBitmapsAndNeverWrites)
{
    Bmp file { 2, 1, 24, BI_RGB, 0, 40, {}, {}, Rows("FF0000 00FF00", 24) };
    SmartPtr<MemoryStream> stream = StreamOf(file.Bytes());
    SmartPtr<BMPFile> scribe = new BMPFile(SmartPtr<Stream>(stream.Get()));
    SmartPtr<Smart> read = scribe->Read();
    BitMap* bitmap = SmartCast<BitMap>(read.Get());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(bitmap->UsesChromaKey());
    EXPECT_EQ(GridOf(*bitmap), "FF0000 00FF00");

    uint32_t length = stream->GetLength();
    scribe->Write(read);
    EXPECT_EQ(stream->GetLength(), length);
    EXPECT_TRUE(scribe->Accepts(&BitMap::classInfo));
    EXPECT_FALSE(scribe->Accepts(&Image::classInfo));
}

// The BMP scribe's file type is the one the resource sets look for replacement pictures with:
// "bmp " files, no type code.
TEST_F(BMPFileTest, ResourceSetsUseTheScribesFileType)
{
    const FileType* type = pw::foundation::GetResourceServices().bitmapFileType;
    ASSERT_EQ(type, &BMPFile::GetFileType());
    EXPECT_STREQ(type->GetName(), "BitMap File");
    EXPECT_EQ(type->GetTypeCode(), 0u);
    EXPECT_EQ(type->GetExtension(), pw::foundation::FourCharCode("bmp "));
}

// The resource sets read their pictures through the bitmap floor: a replacement file in "Data" is
// the picture of its number, keyed on 255, measured without being kept, and the picture 50 past a
// pattern's number gives that pattern from its top-left 8 x 8 pixels.
TEST_F(BMPFileTest, ResourceSetsReadDataFolderPicturesAndPatterns)
{
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    auto put = [&](const char* name, const Bmp& file) {
        std::vector<uint8_t> bytes = file.Bytes();
        std::ofstream(data / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    put("1020.bmp", { 3, 2, 4, BI_RGB, 0, 40, Greys(16), {}, Rows("F 0 1 | 2 E 3", 4) });
    put("1053.bmp",
        { 9, 8, 1, BI_RGB, 0, 40, { 0, 0xFFFFFF }, {},
            Rows("1 0 0 0 0 0 0 0 1 | 0 1 0 0 0 0 0 0 0 | 0 0 0 0 0 0 0 0 0 | 0 0 0 0 0 0 0 0 0 | "
                 "0 0 0 0 0 0 0 0 0 | 0 0 0 0 0 0 0 0 0 | 0 0 0 0 0 0 0 0 0 | 1 1 1 1 1 1 1 1 1",
                1) });
    Resources kid(1000, 4999);
    SmartPtr<Smart> read = kid.GetBitmap(20);
    BitMap* bitmap = SmartCast<BitMap>(read.Get());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GridOf(*bitmap), "F 0 1 | 2 E 3");
    EXPECT_TRUE(bitmap->UsesChromaKey());
    EXPECT_EQ(bitmap->GetChromaKey(), 255u);
    EXPECT_EQ(kid.GetBitmapSize(20), Point(3, 2));

    uint8_t rows[8] = {};
    kid.GetPattern(3, rows);
    EXPECT_EQ(std::vector<uint8_t>(rows, rows + 8), std::vector<uint8_t>({ 0x80, 0x40, 0, 0, 0, 0, 0, 0xFF }));
}

// Files written by other programs: a script makes BMP files of three pictures with ImageMagick and
// netpbm (the set-up script installs both), and each must read back as its picture, pixel for
// pixel, or be refused with the corrupt-file message when it is a form this reader does not take.
class ConvertedFiles : public BMPFileTest, protected bmpfiles::CorpusFolder {
protected:
    void SetUp() override
    {
        BMPFileTest::SetUp();
        if (!ToolsInstalled())
            GTEST_SKIP() << "ImageMagick or netpbm is not installed; files from other tools are not checked";
    }
};

TEST_F(ConvertedFiles, ReadAsTheirPicturesPixelForPixel)
{
    // Colours of the standard palette's cube, in runs of three (an odd width pads every row), so
    // that 8-bit files keep them exactly and RLE has runs to make.
    std::map<std::string, std::string> pictures = {
        { "picture", Picture("picture.ppm", 37, 6, [](int x, int y) { return CubeColor((x / 3 * 11 + y * 29) % 216); }) },
        { "sixteen", Picture("sixteen.ppm", 21, 5, [](int x, int y) { return CubeColor((x + 2 * y) % 16 * 13); }) },
        { "two", Picture("two.ppm", 35, 3, [](int x, int y) { return (x / 2 + y) % 2 ? 0xFFFFFFu : 0u; }) },
    };
    ASSERT_EQ(MakeFiles(), 0);

    // The header each tool wrote, so that the corpus is known to hold every form.
    struct Case {
        const char* file;
        uint32_t infoSize;
        uint16_t bitCount;
        uint32_t compression;
        bool refused;
    } cases[] = {
        { "im-bmp2.picture.bmp", 12, 0, 0, true },
        { "im-bmp3-24.picture.bmp", 40, 24, BI_RGB, false },
        { "im-v5-24.picture.bmp", 124, 24, BI_RGB, false },
        { "im-v5-alpha.picture.bmp", 124, 32, BI_BITFIELDS, false },
        { "im-bmp3-rle8.picture.bmp", 40, 8, BI_RLE8, false },
        { "im-v5-rle8.picture.bmp", 124, 8, BI_RLE8, false },
        { "im-bmp3-8.picture.bmp", 40, 8, BI_RGB, false },
        { "im-v5-8.picture.bmp", 124, 8, BI_RGB, false },
        { "im-bmp3-4.sixteen.bmp", 40, 4, BI_RGB, false },
        { "im-v5-4.sixteen.bmp", 124, 4, BI_RGB, false },
        { "im-bmp3-1.two.bmp", 40, 1, BI_RGB, false },
        { "np-24.picture.bmp", 40, 24, BI_RGB, false },
        { "np-8.picture.bmp", 40, 8, BI_RGB, false },
        { "np-4.sixteen.bmp", 40, 4, BI_RGB, false },
        { "np-1.two.bmp", 40, 1, BI_RGB, false },
        { "np-os2.picture.bmp", 12, 0, 0, true },
    };
    auto field = [](const std::vector<uint8_t>& bytes, size_t at, int size) {
        uint32_t value = 0;
        for (int index = size - 1; index >= 0; --index)
            value = value << 8 | (at + index < bytes.size() ? bytes[at + index] : 0);
        return value;
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        std::vector<uint8_t> bytes = Bytes(test.file);
        ASSERT_EQ(field(bytes, 14, 4), test.infoSize);
        if (test.refused) {
            EXPECT_EQ(Failure([&] { Read(bytes); }), kCorrupt);
            continue;
        }
        EXPECT_EQ(field(bytes, 28, 2), test.bitCount);
        EXPECT_EQ(field(bytes, 30, 4), test.compression);
        std::string name(test.file);
        std::string source = name.substr(name.find('.') + 1, name.rfind('.') - name.find('.') - 1);
        SmartPtr<BitMap> bitmap = Read(bytes);
        EXPECT_EQ(ColorsOf(*bitmap.Get()), pictures[source]);
    }

    // The 108-byte form is the 124-byte one without its last 16 bytes.
    std::vector<uint8_t> v5 = Bytes("im-v5-rle8.picture.bmp");
    std::vector<uint8_t> v4(v5.begin(), v5.begin() + 14 + 108);
    v4.insert(v4.end(), v5.begin() + 14 + 124, v5.end());
    v4[14] = 108;
    v4[10] = uint8_t(v5[10] - 16);
    EXPECT_EQ(ColorsOf(*Read(v4).Get()), pictures["picture"]);
}

// Files of the corpus damaged by hand: each is refused with the corrupt-file message, or read, at
// once; none fails an assertion, reads outside its bytes or allocates for what it only claims.
TEST_F(ConvertedFiles, DamagedFilesAreRefusedAtOnce)
{
    Picture("picture.ppm", 37, 6, [](int x, int y) { return CubeColor((x / 3 * 11 + y * 29) % 216); });
    Picture("sixteen.ppm", 21, 5, [](int x, int) { return CubeColor(x % 16); });
    Picture("two.ppm", 2, 2, [](int x, int) { return x ? 0xFFFFFFu : 0u; });
    ASSERT_EQ(MakeFiles(), 0);
    auto put32 = [](std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
        for (int index = 0; index < 4; ++index)
            bytes[at + index] = uint8_t(value >> (8 * index));
    };
    for (const char* file : { "im-bmp3-24.picture.bmp", "im-v5-rle8.picture.bmp", "im-v5-alpha.picture.bmp",
             "np-4.sixteen.bmp", "im-bmp3-8.picture.bmp" }) {
        std::vector<uint8_t> good = Bytes(file);
        bool indexed = good[28] <= 8;
        // Compressed rows that end early leave the rest 0, so only their headers must be whole.
        bool compressed = good[30] == BI_RLE8;
        struct Damaged {
            std::string name;
            std::vector<uint8_t> bytes;
            bool mayRead;
        };
        std::vector<Damaged> damaged;
        for (size_t size : { size_t(0), size_t(13), size_t(20), size_t(53), size_t(100), good.size() / 2 }) {
            std::vector<uint8_t> cut(good.begin(), good.begin() + std::min(size, good.size()));
            damaged.push_back({ "cut to " + std::to_string(size), cut, compressed && size > 1100 });
        }
        struct Lie {
            const char* name;
            size_t at;
            uint32_t value;
        } lies[] = {
            { "pixels offset past the end", 10, 0x7FFFFFFF },
            { "pixels offset inside the header", 10, 20 },
            { "header size 0", 14, 0 },
            { "header size huge", 14, 0xFFFFFFFF },
            { "width huge", 18, 0x7FFFFFFF },
            { "height huge", 22, 0x7FFFFFFF },
            { "height most negative", 22, 0x80000000 },
            { "a column of 2^24 rows", 18, 1 },
            { "colours used huge", 46, 0xFFFFFFFF },
            { "compression unknown", 30, 0x80000000 },
        };
        for (const Lie& lie : lies) {
            std::vector<uint8_t> bytes = good;
            put32(bytes, lie.at, lie.value);
            if (std::string(lie.name) == "a column of 2^24 rows")
                put32(bytes, 22, 1u << 24);
            // Deeper pixels have no colour table, so its count is not read.
            damaged.push_back({ lie.name, bytes, lie.at == 46 && !indexed });
        }
        for (const Damaged& test : damaged) {
            SCOPED_TRACE(std::string(file) + ", " + test.name);
            std::string failure = Failure([&] { Read(test.bytes); });
            if (!(test.mayRead && failure.empty())) {
                EXPECT_EQ(failure, kCorrupt);
            }
        }
    }
}
