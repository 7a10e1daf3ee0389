#include "graphics/DIBUtilities.h"

#include "foundation/Failure.h"
#include "graphics/DDBitMap.h"

#include "BitMapFixture.h"
#include "BmpFiles.h"
#include "platform/gdi/GdiTesting.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace bitmaps;
using namespace bmpfiles;

namespace {

// A global block, freed at the end of the scope.
struct Block {
    explicit Block(HGLOBAL handle)
        : handle(handle)
    {
    }
    ~Block()
    {
        if (handle)
            GlobalFree(handle);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    // The block's bytes, copied out.
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> bytes(GlobalSize(handle));
        auto* at = static_cast<uint8_t*>(GlobalLock(handle));
        std::memcpy(bytes.data(), at, bytes.size());
        GlobalUnlock(handle);
        return bytes;
    }
    BITMAPINFOHEADER Header() const
    {
        BITMAPINFOHEADER header {};
        std::vector<uint8_t> bytes = Bytes();
        std::memcpy(&header, bytes.data(), sizeof header);
        return header;
    }

    HGLOBAL handle;
};

uint32_t Long(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16
        | uint32_t(bytes[at + 3]) << 24;
}

// The colours of an uncompressed packed DIB as a grid of 0xRRGGBB, top row first.
std::string ColorsOfDIB(const std::vector<uint8_t>& block)
{
    BITMAPINFOHEADER header {};
    std::memcpy(&header, block.data(), sizeof header);
    size_t table = sizeof header;
    uint32_t masks[3] = { 0xFF0000, 0xFF00, 0xFF };
    if (header.biCompression == BI_BITFIELDS) {
        for (int n = 0; n < 3; ++n)
            masks[n] = Long(block, table + 4 * size_t(n));
        table += 12;
    }
    uint32_t colors = header.biClrUsed ? header.biClrUsed : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0);
    size_t pixels = table + 4 * colors;
    size_t stride = (size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    auto channel = [](uint32_t value, uint32_t mask) {
        if (mask == 0)
            return 0u;
        int shift = __builtin_ctz(mask);
        uint32_t top = mask >> shift;
        return ((value & mask) >> shift) * 255 / top;
    };
    std::vector<std::vector<uint32_t>> rows;
    for (int32_t y = 0; y < height; ++y) {
        size_t row = pixels + stride * size_t(header.biHeight > 0 ? height - 1 - y : y);
        std::vector<uint32_t> out;
        for (int32_t x = 0; x < header.biWidth; ++x) {
            uint32_t bits = header.biBitCount;
            size_t bit = size_t(x) * bits;
            uint32_t value = 0;
            for (uint32_t byte = 0; byte < (bits + 7) / 8; ++byte)
                value |= uint32_t(block[row + bit / 8 + byte]) << (8 * byte);
            if (bits < 8)
                value = value >> (8 - bits - bit % 8) & ((1u << bits) - 1);
            if (bits <= 8) {
                const uint8_t* entry = block.data() + table + 4 * value;
                out.push_back(uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0]);
            } else {
                out.push_back(channel(value, masks[0]) << 16 | channel(value, masks[1]) << 8 | channel(value, masks[2]));
            }
        }
        rows.push_back(out);
    }
    return FormatGrid(rows, 6);
}

class DIBUtilities : public WithStandardPalette {
protected:
    // A file of the test's drive, by its Windows name.
    static std::string Put(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(std::filesystem::path(pw::platform::testing::DriveRoot()) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return "c:\\" + name;
    }
};

} // namespace

// Blank DIBs: the header the depth asks for, 256 colours repeating the 16 VGA colours, and zero
// rows padded to 32 bits; depths and sizes no DIB has are refused.
TEST_F(DIBUtilities, CreateMakesBlankDIBsWithTheVGAColours)
{
    struct Case {
        uint16_t bits;
        int32_t width, height;
        uint32_t used;
        uint32_t image;
    } cases[] = {
        { 1, 33, 2, 0, 16 },
        { 4, 3, 5, 16, 20 },
        { 8, 5, 3, 256, 24 },
        { 24, 2, 2, 0, 16 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        Block dib(CreateDIB(c.bits, c.width, c.height));
        ASSERT_NE(dib.handle, nullptr);
        std::vector<uint8_t> bytes = dib.Bytes();
        ASSERT_EQ(bytes.size(), 40 + 1024 + c.image);
        BITMAPINFOHEADER header = dib.Header();
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, c.width);
        EXPECT_EQ(header.biHeight, c.height);
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, c.bits);
        EXPECT_EQ(header.biCompression, uint32_t(BI_RGB));
        EXPECT_EQ(header.biClrUsed, c.used);
        EXPECT_EQ(header.biSizeImage, c.image);
        for (size_t n : { 0, 4, 7, 8, 9, 15, 16, 255 }) {
            static const uint32_t vga[16] = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
                0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };
            const uint8_t* entry = bytes.data() + 40 + 4 * n;
            EXPECT_EQ(uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0], vga[n % 16]) << n;
        }
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 40 + 1024, bytes.end()), std::vector<uint8_t>(c.image, 0));
    }
    EXPECT_EQ(Failure([] { CreateDIB(3, 2, 2); }), "bitCount == 1 || 4 || 8 || 16 || 24 || 32");
    EXPECT_EQ(Failure([] { CreateDIB(8, 0, 2); }), "width > 0 && height > 0");
    EXPECT_EQ(CreateDIB(24, 0x7FFFFFFF, 0x7FFFFFFF), nullptr);
}

// The colour table from a palette (black past its entries; the default palette without one), or
// as palette indexes; a bit-field DIB keeps its masks, and a block too small is refused.
TEST_F(DIBUtilities, UsageFillsTheColourTable)
{
    LOGPALETTE* logical = static_cast<LOGPALETTE*>(std::malloc(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)));
    logical->palVersion = 0x300;
    logical->palNumEntries = 3;
    logical->palPalEntry[0] = { 0x10, 0x20, 0x30, 0 };
    logical->palPalEntry[1] = { 0x40, 0x50, 0x60, 0 };
    logical->palPalEntry[2] = { 0xFF, 0xFE, 0xFD, 0 };
    HPALETTE palette = CreatePalette(logical);
    std::free(logical);
    auto entry = [](const std::vector<uint8_t>& bytes, size_t n) {
        return uint32_t(bytes[40 + 4 * n + 2]) << 16 | uint32_t(bytes[40 + 4 * n + 1]) << 8 | bytes[40 + 4 * n];
    };

    Block colors(CreateDIB(8, 2, 2));
    EXPECT_TRUE(SetDIBUsage(colors.handle, palette, DIB_RGB_COLORS));
    std::vector<uint8_t> bytes = colors.Bytes();
    EXPECT_EQ(entry(bytes, 0), 0x102030u);
    EXPECT_EQ(entry(bytes, 2), 0xFFFEFDu);
    EXPECT_EQ(entry(bytes, 3), 0u);
    EXPECT_EQ(entry(bytes, 255), 0u);

    Block indexes(CreateDIB(4, 2, 2));
    EXPECT_TRUE(SetDIBUsage(indexes.handle, palette, DIB_PAL_COLORS));
    bytes = indexes.Bytes();
    for (size_t n = 0; n < 16; ++n)
        EXPECT_EQ(bytes[40 + 2 * n] | bytes[40 + 2 * n + 1] << 8, int(n));
    EXPECT_EQ(bytes[40 + 32], 0x80) << "the rest of the table is as it was";

    Block standard(CreateDIB(1, 2, 2));
    EXPECT_TRUE(SetDIBUsage(standard.handle, nullptr, DIB_RGB_COLORS));
    bytes = standard.Bytes();
    PALETTEENTRY first[2] {};
    GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 2, first);
    EXPECT_EQ(entry(bytes, 1), uint32_t(first[1].peRed) << 16 | uint32_t(first[1].peGreen) << 8 | first[1].peBlue);

    Block masked(CreateDIB(32, 1, 1));
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(masked.handle));
    header->biCompression = BI_BITFIELDS;
    header->biClrUsed = 3;
    GlobalUnlock(masked.handle);
    std::vector<uint8_t> before = masked.Bytes();
    EXPECT_TRUE(SetDIBUsage(masked.handle, palette, DIB_RGB_COLORS));
    EXPECT_EQ(masked.Bytes(), before);

    Block small(GlobalAlloc(GHND, 40 + 8));
    header = static_cast<BITMAPINFOHEADER*>(GlobalLock(small.handle));
    *header = { 40, 1, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0 };
    GlobalUnlock(small.handle);
    EXPECT_FALSE(SetDIBUsage(small.handle, palette, DIB_RGB_COLORS));
    EXPECT_FALSE(SetDIBUsage(nullptr, palette, DIB_RGB_COLORS));
    DeleteObject(palette);
}

// Every free entry of the system palette turns black; the static colours stay, and nothing is
// left behind.
TEST_F(DIBUtilities, ClearingTheSystemPaletteBlackensEveryFreeEntry)
{
    HDC screen = GetDC(nullptr);
    PALETTEENTRY before[256] {};
    GetSystemPaletteEntries(screen, 0, 256, before);
    size_t objects = pw::platform::gdi::testing::LiveObjectCount();
    ClearSystemPalette();
    PALETTEENTRY after[256] {};
    ASSERT_EQ(GetSystemPaletteEntries(screen, 0, 256, after), 256u);
    for (int n = 0; n < 256; ++n) {
        SCOPED_TRACE(n);
        bool free = n >= 10 && n <= 245;
        PALETTEENTRY expected = free ? PALETTEENTRY { 0, 0, 0, 0 } : before[n];
        EXPECT_EQ(after[n].peRed, expected.peRed);
        EXPECT_EQ(after[n].peGreen, expected.peGreen);
        EXPECT_EQ(after[n].peBlue, expected.peBlue);
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objects);
    ReleaseDC(nullptr, screen);
}

// Files made part by part: the header widened to 40 bytes, the colours to 4 bytes, the sizes filled,
// the masks kept as the table, the rows read from where the file header puts them, and with no
// file header from right after the table.
TEST_F(DIBUtilities, OpensTheFormsOfTheFileFormat)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        std::vector<uint8_t> block;
    };
    std::vector<uint8_t> core = { 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26 + 6, 0, 0, 0, // file header
        12, 0, 0, 0, 3, 0, 2, 0, 1, 0, 1, 0, // 3 x 2 at 1 bit
        0x11, 0x22, 0x33, 0x44, 0x55, 0x66, // two colours of 3 bytes
        0x80, 0, 0, 0, 0x40, 0, 0, 0 };
    // The files made by Bmp give 2835 pixels a metre (72 an inch) both ways.
    auto header = [](int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t image,
                      uint32_t used, LONG perMetre = 2835) {
        BITMAPINFOHEADER h { 40, width, height, 1, bits, compression, image, perMetre, perMetre, used, 0 };
        std::vector<uint8_t> bytes(40);
        std::memcpy(bytes.data(), &h, 40);
        return bytes;
    };
    auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
        std::vector<uint8_t> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    Bmp gap { 2, 2, 8, BI_RGB, 2, 40, { 0x112233, 0x445566 }, {}, Rows("0 1 | 1 0", 8), 14 + 40 + 8 + 5 };
    std::vector<uint8_t> gapFile = gap.Bytes();
    gapFile.insert(gapFile.begin() + 14 + 40 + 8, { 9, 9, 9, 9, 9 });
    Bmp v5 { 1, 1, 32, BI_BITFIELDS, 0, 124, {}, { 0xFF0000, 0xFF00, 0xFF }, { 1, 2, 3, 4 } };
    Bmp rle { 4, 1, 8, BI_RLE8, 2, 40, { 0, 0xFFFFFF }, {}, { 4, 1, 0, 1 } };
    Bmp zero { 3, 1, 24, BI_RGB, 0, 40, {}, {}, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0 } };
    std::vector<uint8_t> zeroFile = zero.Bytes();
    std::memset(zeroFile.data() + 14 + 20, 0, 4);
    std::vector<uint8_t> gapless = gap.Bytes();
    std::vector<uint8_t> bare(gapless.begin() + 14, gapless.end());
    Case cases[] = {
        { "core header", core,
            join({ header(3, 2, 1, BI_RGB, 8, 2, 0), { 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0 },
                { 0x80, 0, 0, 0, 0x40, 0, 0, 0 } }) },
        { "rows after a gap", gapFile,
            join({ header(2, 2, 8, BI_RGB, 8, 2), { 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0 }, Rows("0 1 | 1 0", 8) }) },
        { "no file header", bare,
            join({ header(2, 2, 8, BI_RGB, 8, 2), { 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0 }, Rows("0 1 | 1 0", 8) }) },
        { "fifth header with masks", v5.Bytes(),
            join({ header(1, 1, 32, BI_BITFIELDS, 4, 0), { 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0 }, { 1, 2, 3, 4 } }) },
        { "run lengths", rle.Bytes(),
            join({ header(4, 1, 8, BI_RLE8, 4, 2), { 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0 }, { 4, 1, 0, 1 } }) },
        { "size filled", zeroFile, join({ header(3, 1, 24, BI_RGB, 12, 0), { 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0 } }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Block dib(OpenDIB(Put("case.bmp", c.file).c_str()));
        ASSERT_NE(dib.handle, nullptr);
        EXPECT_EQ(dib.Bytes(), c.block);
    }
    SetLastError(0);
    EXPECT_EQ(OpenDIB("c:\\missing.bmp"), nullptr);
    EXPECT_EQ(GetLastError(), 0u) << "nothing to open leaves no error to report later";
}

// Damaged files are refused with the corrupt-file message before anything is allocated for what
// they only claim, and leave no file handle open.
TEST_F(DIBUtilities, DamagedFilesAreRefused)
{
    Bmp good { 3, 2, 8, BI_RGB, 4, 40, { 0, 0x111111, 0x222222, 0x333333 }, {}, Rows("0 1 2 | 3 2 1", 8) };
    std::vector<uint8_t> whole = good.Bytes();
    struct Case {
        const char* name;
        size_t at;
        uint32_t value;
        int width;
    } lies[] = {
        { "header size 20", 14, 20, 4 },
        { "header size huge", 14, 0xFFFFFFFF, 4 },
        { "width 0", 18, 0, 4 },
        { "height 0", 22, 0, 4 },
        { "height most negative", 22, 0x80000000, 4 },
        { "rows of 2^28 bytes", 22, 1u << 27, 4 },
        { "two planes", 26, 2, 2 },
        { "3 bits", 28, 3, 2 },
        { "run lengths at 24 bits", 28, 24, 2 },
        { "unknown compression", 30, 7, 4 },
        { "run lengths without a size", 30, BI_RLE8, 4 },
        { "image smaller than its rows", 34, 4, 4 },
        { "300 colours", 46, 300, 4 },
        { "rows before the table ends", 10, 20, 4 },
        { "rows past the end", 10, 0x7FFFFFF0, 4 },
    };
    for (const Case& lie : lies) {
        SCOPED_TRACE(lie.name);
        std::vector<uint8_t> bytes = whole;
        for (int n = 0; n < lie.width; ++n)
            bytes[lie.at + size_t(n)] = uint8_t(lie.value >> (8 * n));
        if (std::string(lie.name) == "run lengths at 24 bits")
            bytes[30] = BI_RLE8;
        if (std::string(lie.name) == "run lengths without a size")
            std::memset(bytes.data() + 34, 0, 4);
        std::string name = Put("damaged.bmp", bytes);
        EXPECT_EQ(Failure([&] { OpenDIB(name.c_str()); }), kCorrupt);
    }
    for (size_t size : { size_t(0), size_t(13), size_t(20), size_t(54), size_t(60), whole.size() - 1 }) {
        SCOPED_TRACE("cut to " + std::to_string(size));
        std::string name = Put("cut.bmp", std::vector<uint8_t>(whole.begin(), whole.begin() + ptrdiff_t(size)));
        EXPECT_EQ(Failure([&] { OpenDIB(name.c_str()); }), kCorrupt);
    }
    EXPECT_EQ(pw::platform::testing::LiveFileHandles(), 0u);
}

// Files other programs wrote: each opens as the header, colours and rows the file holds (the old
// 12-byte header widened), and the uncompressed ones show their picture pixel for pixel.
class OtherProgramsFiles : public DIBUtilities, protected CorpusFolder {
protected:
    void SetUp() override
    {
        DIBUtilities::SetUp();
        if (!ToolsInstalled())
            GTEST_SKIP() << "ImageMagick or netpbm is not installed; files from other tools are not checked";
    }
};

TEST_F(OtherProgramsFiles, OpenAsTheyWereWritten)
{
    std::map<std::string, std::string> pictures = {
        { "picture", Picture("picture.ppm", 37, 6, [](int x, int y) { return CubeColor((x / 3 * 11 + y * 29) % 216); }) },
        { "sixteen", Picture("sixteen.ppm", 21, 5, [](int x, int y) { return CubeColor((x + 2 * y) % 16 * 13); }) },
        { "two", Picture("two.ppm", 35, 3, [](int x, int y) { return (x / 2 + y) % 2 ? 0xFFFFFFu : 0u; }) },
    };
    ASSERT_EQ(MakeFiles(), 0);
    size_t opened = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".bmp")
            continue;
        SCOPED_TRACE(file);
        std::vector<uint8_t> bytes = Bytes(file);
        Block dib(OpenDIB(Put("other.bmp", bytes).c_str()));
        ASSERT_NE(dib.handle, nullptr);
        ++opened;
        std::vector<uint8_t> block = dib.Bytes();
        BITMAPINFOHEADER header = dib.Header();
        bool core = Long(bytes, 14) == 12;
        EXPECT_EQ(header.biBitCount, core ? bytes[24] : bytes[28]);
        uint32_t offBits = Long(bytes, 10);
        ASSERT_GE(bytes.size(), offBits + header.biSizeImage);
        EXPECT_EQ(std::vector<uint8_t>(block.end() - header.biSizeImage, block.end()),
            std::vector<uint8_t>(bytes.begin() + offBits, bytes.begin() + offBits + header.biSizeImage))
            << "the rows as the file holds them";
        std::string source = file.substr(file.find('.') + 1, file.rfind('.') - file.find('.') - 1);
        if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
            EXPECT_EQ(ColorsOfDIB(block), pictures[source]);
        }
    }
    bool imaging = std::system("/usr/bin/python3 -c 'import PIL' 2> /dev/null") == 0;
    EXPECT_EQ(opened, imaging ? 20u : 16u) << "every file the script makes";
}
