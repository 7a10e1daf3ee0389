// The shipped "Data/standard.pal", as the build makes it from tools/palette.
#include "graphics/ColorTable.h"

#include "foundation/MemoryStream.h"

#include "platform/gdi/Screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<uint8_t> ShippedFile()
{
    std::ifstream file(PW_STANDARD_PALETTE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

using Rgb = std::tuple<int, int, int>;

Rgb Of(const PALETTEENTRY& entry)
{
    return { entry.peRed, entry.peGreen, entry.peBlue };
}

} // namespace

TEST(ShippedPalette, HoldsTheStaticColoursTheWebCubeAndAGreyRamp)
{
    std::vector<uint8_t> bytes = ShippedFile();
    ASSERT_FALSE(bytes.empty()) << PW_STANDARD_PALETTE;
    MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, Stream::kFromStart);
    PALETTEENTRY entries[256];
    pw::graphics::ReadPaletteFile(stream, entries);

    std::span<const RGBQUAD, 20> statics = pw::platform::gdi::Screen::StaticColors();
    for (int i = 0; i < 20; ++i) {
        int index = i < 10 ? i : 236 + i;
        SCOPED_TRACE(index);
        EXPECT_EQ(Of(entries[index]), Rgb(statics[i].rgbRed, statics[i].rgbGreen, statics[i].rgbBlue));
    }
    std::set<Rgb> cube;
    for (int index = 10; index < 226; ++index) {
        auto [red, green, blue] = Of(entries[index]);
        EXPECT_TRUE(red % 51 == 0 && green % 51 == 0 && blue % 51 == 0) << index;
        cube.insert(Of(entries[index]));
    }
    EXPECT_EQ(cube.size(), 216u);
    int previous = 0;
    for (int index = 226; index < 246; ++index) {
        auto [red, green, blue] = Of(entries[index]);
        SCOPED_TRACE(index);
        EXPECT_TRUE(red == green && green == blue);
        EXPECT_GT(red, previous);
        EXPECT_NE(red % 51, 0);
        previous = red;
    }
}

// Another tool reads the file as the 16 by 16 picture of its entries.
TEST(ShippedPalette, ReadsAsABmpPictureOfItsEntriesInAnotherTool)
{
    std::string command = std::string("convert bmp:") + PW_STANDARD_PALETTE + " txt:- 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::vector<std::string> lines;
    char line[256];
    while (fgets(line, sizeof line, pipe.get()))
        lines.push_back(line);
    if (lines.empty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    ASSERT_EQ(lines.size(), 257u);

    std::vector<uint8_t> bytes = ShippedFile();
    ASSERT_GE(bytes.size(), 1078u);
    for (size_t pixel = 0; pixel < 256; ++pixel) {
        int x = 0, y = 0, red = 0, green = 0, blue = 0;
        ASSERT_EQ(std::sscanf(lines[pixel + 1].c_str(), "%d,%d: (%d,%d,%d)", &x, &y, &red, &green, &blue), 5);
        const uint8_t* quad = bytes.data() + 54 + 4 * (y * 16 + x);
        SCOPED_TRACE(lines[pixel + 1]);
        EXPECT_EQ(Rgb(red, green, blue), Rgb(quad[2], quad[1], quad[0]));
    }
}
