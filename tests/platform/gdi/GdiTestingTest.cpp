// The test hooks: saved images must open in ordinary viewers, so their bytes are checked.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace gdi = pw::platform::gdi;

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

} // namespace

TEST(GdiTesting, SavedBmpFilesHoldThePixelsBottomUp)
{
    auto folder = std::filesystem::temp_directory_path();
    struct Case {
        const char* name;
        int depth;
        uint16_t savedDepth;
        size_t pixelOffset;
    };
    for (Case c : { Case { "indexed", 8, 8, 14 + 40 + 1024 }, Case { "deep", 24, 24, 14 + 40 } }) {
        SCOPED_TRACE(c.name);
        gditest::DibCanvas canvas(3, 2, c.depth);
        SetPixel(canvas.dc, 0, 1, RGB(255, 0, 0)); // bottom-left
        auto image = gdi::testing::ReadDC(canvas.dc);
        ASSERT_TRUE(image);
        auto path = folder / (std::string("gdi-save-") + c.name + ".bmp");
        ASSERT_TRUE(gdi::testing::SaveBmp(*image, path.string()));
        std::vector<uint8_t> bytes = ReadFile(path);
        std::filesystem::remove(path);
        ASSERT_GT(bytes.size(), c.pixelOffset + 3);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Le32(bytes, 2), bytes.size());
        EXPECT_EQ(Le32(bytes, 10), c.pixelOffset);
        EXPECT_EQ(Le32(bytes, 18), 3u);
        EXPECT_EQ(bytes[28], c.savedDepth);
        if (c.depth == 8) {
            EXPECT_EQ(bytes[c.pixelOffset], 249);
            EXPECT_EQ(bytes[14 + 40 + 249 * 4 + 2], 255) << "red in the colour table";
        } else {
            EXPECT_EQ(bytes[c.pixelOffset + 2], 255);
            EXPECT_EQ(bytes[c.pixelOffset + 1], 0);
        }
    }
    EXPECT_FALSE(gdi::testing::SaveBmp(gdi::testing::ReadScreen(), (folder / "no-such-folder" / "x.bmp").string()));
}
