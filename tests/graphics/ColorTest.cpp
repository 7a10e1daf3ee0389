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

Color Make(uint16_t red, uint16_t green, uint16_t blue, uint16_t extra = 0)
{
    Color color;
    color.SetComponents(red, green, blue, extra);
    return color;
}

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
    } cases[] = {
        { 13, 0, false }, // no colour: white with extra set
        { 11, 10, true },
        { 14, 12, true },
        { 15, 0, true },
        { 16, 1, true },
        { 7, 12, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        EXPECT_EQ(Color(c.a).Equals(Color(c.b)), c.equal);
    }
    EXPECT_EQ(ColorToOSColor(Color(13)), ColorToOSColor(Color(0)));
    EXPECT_TRUE(Make(0x1200, 0, 0).Equals(Make(0x12FF, 0, 0)));
    EXPECT_FALSE(Make(0x1200, 0, 0).Equals(Make(0x1300, 0, 0)));
}

TEST(Color, StandardNumbersOutOfRangeFailTheirAssertions)
{
    EXPECT_EQ(Failure([] { Color(17); }), "whichColor < numStandardColors");
    EXPECT_EQ(Failure([] { Color(-1); }), "whichColor >= 0");
    EXPECT_EQ(Failure([] { Color::SetStandardColor(Color(1), 17); }), "whichColor < numStandardColors");
    EXPECT_EQ(Failure([] { Pattern(5); }), "pattern < numStandardPatterns");
    EXPECT_EQ(Failure([] { Pattern(-1); }), "pattern >= 0");
}

TEST(Color, ReplacedStandardColourIsWhatLaterLookupsGive)
{
    Color saved(4);
    Color::SetStandardColor(Make(0x1234, 0x5678, 0x9ABC), 4);
    Color replaced(4);
    Color::SetStandardColor(saved, 4);
    EXPECT_EQ(replaced.red, 0x1234);
    EXPECT_EQ(replaced.blue, 0x9ABC);
    EXPECT_EQ(Color(4).red, 0x8000);
}

TEST(Color, DeviceBytesRoundTripThroughColorRef)
{
    Color fromFile;
    fromFile.SetBytes(0x80, 0, 0, 0);
    EXPECT_EQ(fromFile.red, 0x8080);
    COLORREF reference = ColorToOSColor(fromFile);
    EXPECT_EQ(reference, 0x02000080u);
    Color back = OSColorToColor(reference);
    EXPECT_EQ(back.red, 0x8000);
    EXPECT_TRUE(back.Equals(fromFile));

    COLORREF mixed = ColorToOSColor(Make(0x11FF, 0x22FF, 0x33FF, 0xFFFF));
    EXPECT_EQ(mixed, 0x02332211u);
    Color parsed = OSColorToColor(0xFF332211);
    EXPECT_EQ(parsed.red, 0x1100);
    EXPECT_EQ(parsed.green, 0x2200);
    EXPECT_EQ(parsed.blue, 0x3300);
    EXPECT_EQ(parsed.extra, 0);
}

TEST(Color, BlendTruncatesEveryComponent)
{
    Color black = Make(0, 0, 0, 0);
    Color white = Make(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF);
    struct Case {
        double t;
        uint16_t expected;
    } cases[] = { { 0.0, 0 }, { 1.0, 0xFFFF }, { 0.5, 0x7FFF }, { 0.25, 0x3FFF } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        Color mixed = black.Blend(white, c.t);
        EXPECT_EQ(mixed.red, c.expected);
        EXPECT_EQ(mixed.extra, c.expected);
    }
    Color far = black.Blend(white, 2.0);
    EXPECT_EQ(far.green, 0xFFFF);
}

TEST(Color, StoredAsFourShortsUnderTheSwapRule)
{
    Color color = Make(0x0102, 0x0304, 0x0506, 0x0708);
    MemoryStream little;
    color.ToStream(little);
    EXPECT_EQ(Bytes(little), (std::vector<uint8_t> { 2, 1, 4, 3, 6, 5, 8, 7 }));

    MemoryStream big;
    big.SetSwap(true);
    color.ToStream(big);
    EXPECT_EQ(Bytes(big), (std::vector<uint8_t> { 1, 2, 3, 4, 5, 6, 7, 8 }));
    big.Seek(0, Stream::kFromStart);
    Color read;
    read.FromStream(big);
    EXPECT_EQ(read.red, 0x0102);
    EXPECT_EQ(read.extra, 0x0708);
}

TEST(Pattern, StoredRawInRowOrderEvenWhenSwapping)
{
    Pattern dots(2);
    MemoryStream stream;
    stream.SetSwap(true);
    dots.ToStream(stream);
    EXPECT_EQ(Bytes(stream), (std::vector<uint8_t> { 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44 }));
    stream.Seek(0, Stream::kFromStart);
    Pattern read;
    read.FromStream(stream);
    EXPECT_TRUE(read.Equals(dots));
    EXPECT_FALSE(read.Equals(Pattern(3)));
}

TEST(OSPattern, ByteCountOtherThanEightFails)
{
    OSPattern pattern;
    uint8_t buffer[16] = {};
    EXPECT_EQ(Failure([&] { pattern.GetPattern(buffer, 7); }), "bytes == patternSize.x");
    EXPECT_EQ(Failure([&] { pattern.SetPattern(buffer, 16); }), "bytes == patternSize.x");
    EXPECT_EQ(Failure([&] { pattern.SetPattern(buffer, 8); }), "");
}

TEST(OSPattern, CopiesShareTheirRows)
{
    OSPattern original = PatternToOSPattern(Pattern(4));
    OSPattern copy = original;
    copy.SetPattern(Pattern(3).rows, 8);
    EXPECT_TRUE(OSPatternToPattern(original).Equals(Pattern(3)));

    OSPattern other;
    PatternToOSPattern(Pattern(1), other);
    EXPECT_TRUE(OSPatternToPattern(other).Equals(Pattern(1)));
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
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            EXPECT_EQ(image->ColorAt(x, y) & 0xFFFFFF, set ? 0xFFFFFFu : 0u);
        }
    }
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(target);
    DeleteDC(dc);
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}
