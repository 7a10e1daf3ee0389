// Shared ground for the bitmap tests: a start-up folder whose "Data\standard.pal" holds a known
// palette (the 6 x 6 x 6 colour cube at entries 10 to 225 and a grey ramp at 226 to 245), and
// pixel grids as text art: rows of hexadecimal values separated by blanks, rows by '|'.
#pragma once

#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"
#include "graphics/PixelIterator.h"

#include "foundation/ArchiveScope.h"
#include "foundation/FileReference.h"
#include "foundation/FlatArchive.h"
#include "foundation/MemoryStream.h"

#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace bitmaps {

inline Color Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    Color color;
    color.SetBytes(red, green, blue, 0);
    return color;
}

// The standard palette index of cube colour (r, g, b), each 0 to 5 (steps of 51).
inline uint32_t CubeIndex(int red, int green, int blue)
{
    return static_cast<uint32_t>(10 + red * 36 + green * 6 + blue);
}

inline std::vector<uint8_t> PaletteFile()
{
    std::vector<uint8_t> file(1078, 0);
    const uint8_t header[] = { 'B', 'M', 0x36, 4, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40 };
    std::copy(std::begin(header), std::end(header), file.begin());
    for (int index = 10; index <= 245; ++index) {
        uint8_t red, green, blue;
        if (index < 226) {
            int cube = index - 10;
            red = uint8_t(cube / 36 * 51), green = uint8_t(cube / 6 % 6 * 51), blue = uint8_t(cube % 6 * 51);
        } else {
            red = green = blue = uint8_t(8 + (index - 226) * 12);
        }
        uint8_t* entry = &file[54 + 4 * index];
        entry[0] = blue, entry[1] = green, entry[2] = red;
    }
    return file;
}

class WithStandardPalette : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
        pw::foundation::ForgetStartupFolder();
        std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
        std::filesystem::create_directories(data);
        std::vector<uint8_t> bytes = PaletteFile();
        std::ofstream(data / "standard.pal", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

// A table of `count` entries: entry i is grey i * 17 (so 16 entries span black to white).
inline SmartPtr<ColorTable> GreyTable(uint32_t count)
{
    TypedArray<Color> colors;
    for (uint32_t index = 0; index < count; ++index)
        colors.Append(Rgb(uint8_t(index * 17), uint8_t(index * 17), uint8_t(index * 17)));
    return new ColorTable(colors);
}

// A direct-colour table of depth 16, as object files store one (no entries).
inline SmartPtr<ColorTable> SixteenBitTable()
{
    MemoryStream stream;
    stream.WriteLong(static_cast<int32_t>(Fixed(1, 2).Raw())).WriteLong(6).WriteLong(0).WriteShort(16);
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &ColorTable::version }, false);
    ArchiveScope scope(*archive.Get(), ColorTable::version);
    return new ColorTable(scope);
}

inline std::vector<std::vector<uint32_t>> ParseGrid(const std::string& grid)
{
    std::vector<std::vector<uint32_t>> rows(1);
    std::istringstream in(grid);
    std::string token;
    while (in >> token) {
        if (token == "|") {
            rows.emplace_back();
            continue;
        }
        rows.back().push_back(static_cast<uint32_t>(std::stoul(token, nullptr, 16)));
    }
    return rows;
}

inline std::string FormatGrid(const std::vector<std::vector<uint32_t>>& rows, int digits)
{
    std::string text;
    for (size_t row = 0; row < rows.size(); ++row) {
        if (row)
            text += " | ";
        for (size_t column = 0; column < rows[row].size(); ++column) {
            char value[16];
            std::snprintf(value, sizeof(value), column ? " %0*X" : "%0*X", digits, rows[row][column]);
            text += value;
        }
    }
    return text;
}

inline int DigitsFor(int depth)
{
    return depth <= 4 ? 1 : depth <= 8 ? 2 : 6;
}

// A bitmap in `table` holding the grid.
inline SmartPtr<BitMap> MakeBitMap(const SmartPtr<ColorTable>& table, const std::string& grid)
{
    auto rows = ParseGrid(grid);
    SmartPtr<BitMap> bitmap = new BitMap(int32_t(rows[0].size()), int32_t(rows.size()), table, Color(), false);
    PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
    for (const auto& row : rows) {
        for (uint32_t value : row) {
            cursor.SetPixel(value);
            cursor.Next();
        }
    }
    return bitmap;
}

inline std::string GridOf(BitMap& bitmap)
{
    Rect bounds = bitmap.GetBounds();
    std::vector<std::vector<uint32_t>> rows(bounds.bottom, std::vector<uint32_t>(bounds.right));
    PixelIterator cursor(bitmap, bounds, true);
    for (; cursor.More(); cursor.Next())
        rows[cursor.GetPosition().v][cursor.GetPosition().h] = cursor.GetPixel();
    return FormatGrid(rows, DigitsFor(bitmap.GetBitDepth()));
}

// The colour of every pixel as RRGGBB, in the grid format.
inline std::string ColorsOf(BitMap& bitmap)
{
    Rect bounds = bitmap.GetBounds();
    std::vector<std::vector<uint32_t>> rows(bounds.bottom, std::vector<uint32_t>(bounds.right));
    PixelIterator cursor(bitmap, bounds, true);
    for (; cursor.More(); cursor.Next()) {
        Color color = bitmap.GetColorOfValue(cursor.GetPixel());
        rows[cursor.GetPosition().v][cursor.GetPosition().h] =
            uint32_t(color.red >> 8) << 16 | uint32_t(color.green >> 8) << 8 | (color.blue >> 8);
    }
    return FormatGrid(rows, 6);
}

// Image row `row` (0 at the top) of an 8-bit or deeper Windows bitmap, read from its bytes.
inline std::vector<uint8_t> RowBytes(OSBitMap& bitmap, int32_t row)
{
    std::vector<uint8_t> bytes(bitmap.GetByteSize());
    bitmap.GetBits(bytes.data(), uint32_t(bytes.size()));
    int32_t memoryRow = bitmap.RowsTopDown() ? row : bitmap.GetSize().v - 1 - row;
    auto begin = bytes.begin() + memoryRow * bitmap.BytesPerRow();
    return std::vector<uint8_t>(begin, begin + bitmap.BytesPerRow());
}

} // namespace bitmaps
