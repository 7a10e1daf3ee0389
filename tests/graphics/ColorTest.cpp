#include "graphics/Color.h"
#include "graphics/OSPattern.h"
#include "graphics/Pattern.h"
#include "graphics/PlatformConversions.h"

#include "foundation/Failure.h"
#include "foundation/MemoryStream.h"

#include "platform/gdi/GdiTesting.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(MemoryStream& stream)
{
    const auto* data = static_cast<const uint8_t*>(stream.Block().Ptr());
    return std::vector<uint8_t>(data, data + stream.GetLength());
}

} // namespace

TEST(Color, StandardColoursCompareByHighBytesAndExtra)
{
    struct Case {
        int a;
        int b;
        bool equal;
    } cases[] = { { 13, 0, false }, { 11, 10, true }, { 14, 12, true }, { 15, 0, true }, { 16, 1, true }, { 7, 12, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        EXPECT_EQ(Color(c.a).Equals(Color(c.b)), c.equal);
    }
    // "No colour" differs from white only in extra, which devices never see.
    EXPECT_EQ(ColorToOSColor(Color(13)), ColorToOSColor(Color(0)));

    EXPECT_EQ(Failure([] { Color(17); }), "whichColor < numStandardColors");
    EXPECT_EQ(Failure([] { Color(-1); }), "whichColor >= 0");
    EXPECT_EQ(Failure([] { Pattern(5); }), "pattern < numStandardPatterns");
    EXPECT_EQ(Failure([] { Pattern(-1); }), "pattern >= 0");
}

TEST(Color, DeviceBytesRoundTripThroughColorRef)
{
    Color fromFile;
    fromFile.SetBytes(0x80, 0, 0, 0);
    EXPECT_EQ(fromFile.red, 0x8080);
    EXPECT_EQ(ColorToOSColor(fromFile), 0x02000080u);
    Color back = OSColorToColor(ColorToOSColor(fromFile));
    EXPECT_EQ(back.red, 0x8000);
    EXPECT_TRUE(back.Equals(fromFile));

    Color mixed;
    mixed.SetComponents(0x11FF, 0x22FF, 0x33FF, 0xFFFF);
    EXPECT_EQ(ColorToOSColor(mixed), 0x02332211u);
    Color parsed = OSColorToColor(0xFF332211);
    EXPECT_EQ(parsed.blue, 0x3300);
    EXPECT_EQ(parsed.extra, 0);
}

TEST(Color, BlendTruncatesEveryComponent)
{
    Color white(0);
    white.extra = 0xFFFF;
    for (auto [t, expected] : { std::pair { 0.0, 0 }, { 1.0, 0xFFFF }, { 0.5, 0x7FFF }, { 2.0, 0xFFFF } }) {
        SCOPED_TRACE(t);
        Color mixed = Color(1).Blend(white, t);
        EXPECT_EQ(mixed.red, expected);
        EXPECT_EQ(mixed.extra, expected);
    }
}

// Colours follow the stream's swap rule; patterns are raw bytes either way.
TEST(Color, StoredFormsUnderTheSwapRule)
{
    Color color;
    color.SetComponents(0x0102, 0x0304, 0x0506, 0x0708);
    MemoryStream stream;
    stream.SetSwap(true);
    color.ToStream(stream);
    Pattern(2).ToStream(stream);
    EXPECT_EQ(Bytes(stream), (std::vector<uint8_t> { 1, 2, 3, 4, 5, 6, 7, 8, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44 }));
    stream.Seek(0, Stream::kFromStart);
    Color readColor;
    Pattern readPattern;
    readColor.FromStream(stream);
    readPattern.FromStream(stream);
    EXPECT_EQ(readColor.extra, 0x0708);
    EXPECT_TRUE(readPattern.Equals(Pattern(2)));
}

TEST(OSPattern, CopiesShareTheirRowsOfEightBytes)
{
    OSPattern original = PatternToOSPattern(Pattern(4));
    OSPattern copy = original;
    copy.SetPattern(Pattern(3).rows, 8);
    EXPECT_TRUE(OSPatternToPattern(original).Equals(Pattern(3)));
    uint8_t buffer[16] = {};
    EXPECT_EQ(Failure([&] { original.GetPattern(buffer, 7); }), "bytes == patternSize.x");
    EXPECT_EQ(Failure([&] { original.SetPattern(buffer, 16); }), "bytes == patternSize.x");
}

// Set bits paint in the background colour (white by default), clear bits in the text colour.
TEST(OSPattern, BrushPaintsThePatternRows)
{
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(dc, 16, 8);
    HGDIOBJ old = SelectObject(dc, target);
    HBRUSH brush = PatternToOSPattern(Pattern(3)).CreateBrush();
    RECT all { 0, 0, 16, 8 };
    FillRect(dc, &all, brush);
    auto image = pw::platform::gdi::testing::ReadDC(dc);
    ASSERT_TRUE(image.has_value());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            bool set = (Pattern(3).rows[y] >> (7 - x % 8)) & 1;
            ASSERT_EQ(image->ColorAt(x, y) & 0xFFFFFF, set ? 0xFFFFFFu : 0u) << x << "," << y;
        }
    }
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(target);
    DeleteDC(dc);
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}
