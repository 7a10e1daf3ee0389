#include "graphics/BMPFile.h"

#include "foundation/Failure.h"
#include "foundation/MemoryStream.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace bitmaps;

namespace {

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// The parts of a BMP file; offsets and sizes are worked out unless given.
struct Bmp {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 8;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    uint32_t infoSize = 40;
    std::vector<uint32_t> colors; // 0xRRGGBB
    std::vector<uint32_t> masks;
    std::vector<uint8_t> pixels;
    int64_t offBits = -1;

    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> out = { 'B', 'M' };
        auto put32 = [&](uint32_t value) {
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(uint8_t(value >> shift));
        };
        auto put16 = [&](uint16_t value) { out.insert(out.end(), { uint8_t(value), uint8_t(value >> 8) }); };
        uint32_t start = uint32_t(14 + 40 + 4 * masks.size() + 4 * colors.size());
        put32(uint32_t(start + pixels.size()));
        put32(0);
        put32(offBits < 0 ? start : uint32_t(offBits));
        put32(infoSize);
        put32(uint32_t(width));
        put32(uint32_t(height));
        put16(1);
        put16(bitCount);
        put32(compression);
        put32(uint32_t(pixels.size()));
        put32(2835);
        put32(2835);
        put32(colorsUsed);
        put32(0);
        for (uint32_t mask : masks)
            put32(mask);
        for (uint32_t color : colors)
            out.insert(out.end(), { uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16), 0 });
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// File rows for a grid of values: packed at `bits` per pixel, leftmost pixel in the high bits,
// padded to 32 bits, the bottom row first unless `topDown`.
std::vector<uint8_t> Rows(const std::string& grid, int bits, bool topDown = false)
{
    auto rows = ParseGrid(grid);
    std::vector<uint8_t> out;
    for (size_t index = 0; index < rows.size(); ++index) {
        const auto& row = rows[topDown ? index : rows.size() - 1 - index];
        std::vector<uint8_t> bytes((row.size() * bits + 31) / 32 * 4, 0);
        for (size_t column = 0; column < row.size(); ++column) {
            if (bits >= 8) {
                for (int byte = 0; byte < bits / 8; ++byte)
                    bytes[column * bits / 8 + byte] = uint8_t(row[column] >> (8 * byte));
            } else {
                size_t position = column * bits;
                bytes[position / 8] |= uint8_t(row[column] << (8 - bits - position % 8));
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

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
        { "type BA", typeBA, "bfType1 == 'B' && bfType2 == 'M'" },
        { "core header", with([](Bmp& f) { f.infoSize = 12; }), "biSize == sizeofInfoHeader" },
        { "version 4 header", with([](Bmp& f) { f.infoSize = 108; }), "biSize == sizeofInfoHeader" },
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

// Files written by another program: ImageMagick's convert makes BMP files of a small picture and
// decodes each back to plain pixels, which this reader must match.
class ConvertedFiles : public BMPFileTest {
protected:
    void SetUp() override
    {
        BMPFileTest::SetUp();
        if (std::system("convert -version > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "ImageMagick's convert is not installed; files from another tool are not checked";
        folder = std::filesystem::temp_directory_path() / ("pw-graphics-bmp-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        if (!folder.empty())
            std::filesystem::remove_all(folder);
    }

    bool Convert(const std::string& arguments)
    {
        std::string command = "cd '" + folder.string() + "' && convert " + arguments + " > /dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }

    std::vector<uint8_t> Bytes(const std::string& name) const
    {
        std::ifstream in(folder / name, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // The pixels of a binary PPM (values of up to 255) as RRGGBB, in the grid format.
    std::string PpmColors(const std::string& name) const
    {
        std::ifstream in(folder / name, std::ios::binary);
        std::string magic;
        int width = 0, height = 0, maximum = 0;
        in >> magic >> width >> height >> maximum;
        in.get();
        std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
        for (auto& row : rows) {
            for (uint32_t& pixel : row) {
                unsigned char rgb[3] = {};
                in.read(reinterpret_cast<char*>(rgb), 3);
                auto scaled = [&](unsigned char value) { return uint32_t(value * 255 / maximum); };
                pixel = scaled(rgb[0]) << 16 | scaled(rgb[1]) << 8 | scaled(rgb[2]);
            }
        }
        return FormatGrid(rows, 6);
    }

    std::filesystem::path folder;
};

TEST_F(ConvertedFiles, MatchWhatTheOtherToolDecodes)
{
    // Colours of the standard palette's cube, so that 8-bit files keep them exactly.
    std::ofstream(folder / "picture.ppm") << "P3\n5 4\n255\n"
                                             "255 0 0  0 255 0  0 0 255  255 255 255  0 0 0\n"
                                             "51 102 153  255 255 0  153 0 51  204 51 0  153 153 153\n"
                                             "0 51 0  102 0 102  255 204 255  51 51 51  0 255 255\n"
                                             "255 51 102  102 255 51  51 102 255  204 204 0  0 204 204\n";
    struct Case {
        const char* name;
        const char* arguments;
        int depth;
    } cases[] = {
        { "24 bits", "-type TrueColor BMP3:file.bmp", 24 },
        { "8 bits", "-type Palette BMP3:file.bmp", 8 },
        { "4 bits", "-colors 8 -type Palette BMP3:file.bmp", 4 },
        { "1 bit", "-monochrome BMP3:file.bmp", 1 },
        { "RLE8", "-type Palette -compress RLE BMP3:file.bmp", 8 },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(Convert(std::string("picture.ppm ") + test.arguments));
        ASSERT_TRUE(Convert("file.bmp -depth 8 decoded.ppm"));
        SmartPtr<BitMap> bitmap = Read(Bytes("file.bmp"));
        EXPECT_EQ(bitmap->GetBitDepth(), test.depth);
        EXPECT_EQ(ColorsOf(*bitmap.Get()), PpmColors("decoded.ppm"));
    }

    // Its default, a version 5 header, is refused as the format demands.
    ASSERT_TRUE(Convert("picture.ppm BMP:modern.bmp"));
    EXPECT_EQ(Failure([&] { Read(Bytes("modern.bmp")); }), "biSize == sizeofInfoHeader");
}
