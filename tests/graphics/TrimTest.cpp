#include "graphics/Trim.h"

#include "foundation/Failure.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TrimTest : public bitmaps::WithStandardPalette {
protected:
    // An 8-bit mask from text art ('#' shape, '.' background 0), rows padded to 4 bytes.
    void Load(const std::vector<std::string>& art)
    {
        height = int32_t(art.size());
        width = int32_t(art[0].size());
        int32_t rowBytes = (width + 3) & ~3;
        rows.assign(size_t(rowBytes * height), 0);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x)
                rows[size_t(y * rowBytes + x)] = art[size_t(y)][size_t(x)] == '#' ? 5 : 0;
        }
        bitmap = MakeOSBitMap(8);
        bitmap->Initialize(width, height, 8, ColorTable::GetStandardPalette());
    }

    // The region's pixels as text art.
    std::string Pixels(HRGN region) const
    {
        std::string art;
        for (int32_t y = 0; y < height; ++y) {
            if (y)
                art += '|';
            for (int32_t x = 0; x < width; ++x)
                art += PtInRegion(region, x, y) ? '#' : '.';
        }
        return art;
    }

    int32_t width { 0 };
    int32_t height { 0 };
    std::vector<uint8_t> rows;
    SmartPtr<OSBitMap> bitmap;
};

} // namespace

// The outline runs through the centres of the edge pixels, so the region holds the pixels whose
// centres lie inside it.
TEST_F(TrimTest, OutlinesEndAtTheirStart)
{
    struct Case {
        const char* name;
        std::vector<std::string> art;
        bool flip;
        const char* region;
    } cases[] = {
        { "square", { "......", ".####.", ".####.", ".####.", "......" }, false, "......|.###..|.###..|......|......" },
        { "two by two", { "##..", "##..", "...." }, false, "#...|....|...." },
        { "flipped", { ".####.", ".####.", ".####.", "......", "......" }, true, "......|......|.###..|.###..|......" },
        { "isolated pixel", { "...", ".#.", "..." }, false, "...|...|..." },
        { "line", { ".....", ".###.", "....." }, false, ".....|.....|....." },
        { "diagonal ends", { "#...", ".#..", "..#.", "...#" }, false, "....|....|....|...." },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Load(test.art);
        Trim trim(*bitmap.Get(), rows.data(), 0);
        Point start = trim.FindStart(0);
        HRGN region = trim.TraceOutline(start.h, start.v, test.flip);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(Pixels(region), test.region);
        DeleteObject(region);
    }
}

TEST_F(TrimTest, MakeRegionTracesTheFirstShapeOrAnswersNull)
{
    for (const std::vector<std::string>& nothing : { std::vector<std::string> { "...", "..." }, { "...", ".#." } }) {
        Load(nothing);
        EXPECT_EQ(Trim(*bitmap.Get(), rows.data(), 0).MakeRegion(false), nullptr);
    }
    Load({ ".....", ".....", "..###", "..###", "..###" });
    HRGN region = Trim(*bitmap.Get(), rows.data(), 0).MakeRegion(false);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(Pixels(region), ".....|.....|..##.|..##.|.....");
    DeleteObject(region);
}

TEST_F(TrimTest, OutlineTooLongFails)
{
    Load({ std::string(Trim::maxArraySize / 2 + 10, '#') });
    Trim trim(*bitmap.Get(), rows.data(), 0);
    EXPECT_EQ(Failure([&] { trim.MakeRegion(false); }), "arraySize < maxArraySize");
}
