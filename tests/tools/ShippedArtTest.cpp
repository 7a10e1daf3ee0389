// The pictures, cursors and sounds the build draws into data/, loaded the way the program loads
// them: every number the program asks for is there, with the size its palette grid needs, in the
// standard palette's colours, and every sound is a playable one.
#include "foundation/FileReference.h"
#include "foundation/Resources.h"
#include "graphics/BitMap.h"
#include "graphics/Sound.h"
#include "ui/Cursor.h"

#include "Failure.h"
#include "ShippedData.h"
#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using shipped::kData;
using shipped::ReadBytes;

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<size_t>(i));
    return value;
}

class ShippedArt : public shipped::ShippedData { };

// A whole-palette picture of a button grid, or a picture of its own size.
struct PictureCase {
    const char* use;
    int32_t first;
    int32_t last;
    std::vector<int16_t> numbers;
    int32_t rows;
    int32_t columns;
    int32_t cellWidth;
    int32_t cellHeight;
};

const std::vector<PictureCase>& Pictures()
{
    static const std::vector<PictureCase> cases = {
        { "animation tools (grid 201)", 1000, 4999, { 20, 21 }, 1, 7, 30, 25 },
        { "paint tools (grid 202)", 1000, 4999, { 30, 31 }, 3, 2, 25, 25 },
        { "grid 203", 1000, 4999, { 10, 11 }, 2, 2, 33, 33 },
        { "grid 204", 1000, 4999, { 50, 51 }, 2, 1, 22, 17 },
        { "grid 206 with its disabled look", 1000, 4999, { 60, 61, 62 }, 1, 1, 66, 33 },
        { "grids 210 to 213", 1000, 4999, { 100, 101, 110, 111, 120, 121, 130, 131 }, 1, 3, 100, 34 },
        { "grid 300", 1000, 4999, { 2000 }, 2, 7, 35, 35 },
        { "grid 301", 1000, 4999, { 2010 }, 2, 10, 35, 35 },
        { "grid 304", 1000, 4999, { 2040 }, 2, 2, 35, 35 },
        { "option rows, as high as their two-row palettes", 1000, 4999, { 2020, 2021, 2022 }, 1, 1, 44, 70 },
        { "tab bar button", 1000, 4999, { 2030 }, 1, 1, 50, 50 },
        { "tab sets (grids 400 to 404)", 1000, 3999, { 501, 502, 511, 512, 521, 522, 531, 532, 541, 542 }, 1, 5, 86,
            50 },
        { "tab-set selector (grid 405)", 1000, 3999, { 551, 552 }, 5, 1, 133, 78 },
        { "selector top, as wide as the selector", 1000, 3999, { 553 }, 1, 1, 133, 34 },
        { "name dialog, holding its field and button", 1000, 3999, { 420 }, 1, 1, 400, 360 },
        { "About box", 1000, 3999, { 421 }, 1, 1, 360, 240 },
        { "sound and link sprites", 400, 499, { 1, 4 }, 1, 1, 40, 40 },
    };
    return cases;
}

TEST_F(ShippedArt, EveryPictureLoadsWithTheSizeItsGridNeeds)
{
    for (const PictureCase& c : Pictures()) {
        Resources set(c.first, c.last);
        for (int16_t number : c.numbers) {
            SCOPED_TRACE(std::string(c.use) + ", picture " + std::to_string(c.first + number));
            Point size = set.GetBitmapSize(number);
            EXPECT_EQ(size.h, c.columns * c.cellWidth);
            EXPECT_EQ(size.v, c.rows * c.cellHeight);
            EXPECT_TRUE(set.GetImageResource(number)->Get().Valid());
        }
    }
}

// Button grids and dialogs are drawn whole over their views: a pixel of the see-through key
// would leave a hole.
TEST_F(ShippedArt, PalettesAndDialogsHaveNoSeeThroughPixels)
{
    for (const PictureCase& c : Pictures()) {
        if (c.first == 400)
            continue;
        for (int16_t number : c.numbers) {
            fs::path path = kData / "Data" / (std::to_string(c.first + number) + ".bmp");
            SCOPED_TRACE(path.string());
            std::vector<uint8_t> bytes = ReadBytes(path);
            ASSERT_GT(bytes.size(), 1078u);
            uint32_t width = Little(bytes, 18, 4);
            uint32_t rowBytes = (width + 3) & ~3u;
            uint32_t height = Little(bytes, 22, 4);
            size_t seeThrough = 0;
            for (uint32_t row = 0; row < height; ++row)
                for (uint32_t x = 0; x < width; ++x)
                    seeThrough += bytes.at(Little(bytes, 10, 4) + row * rowBytes + x) == 255;
            EXPECT_EQ(seeThrough, 0u);
        }
    }
}

TEST_F(ShippedArt, EveryBitmapIsAnUncompressedEightBitPictureInTheStandardColours)
{
    std::vector<uint8_t> palette = ReadBytes(kData / "Data" / "standard.pal");
    ASSERT_GE(palette.size(), 54u + 1024u);
    std::vector<uint8_t> standardTable(palette.begin() + 54, palette.begin() + 54 + 1024);
    size_t checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        if (entry.path().extension() != ".bmp")
            continue;
        SCOPED_TRACE(entry.path().string());
        std::vector<uint8_t> bytes = ReadBytes(entry.path());
        ASSERT_GE(bytes.size(), 54u + 1024u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Little(bytes, 14, 4), 40u) << "info header size";
        EXPECT_EQ(Little(bytes, 28, 2), 8u) << "bits per pixel";
        EXPECT_EQ(Little(bytes, 30, 4), 0u) << "compression";
        uint32_t colours = Little(bytes, 46, 4);
        EXPECT_TRUE(colours == 0 || colours == 256);
        // Every entry of the colour table is the standard one, so every pixel is a standard colour.
        EXPECT_TRUE(std::equal(standardTable.begin(), standardTable.end(), bytes.begin() + 54));
        uint32_t rowBytes = (Little(bytes, 18, 4) + 3) & ~3u;
        EXPECT_EQ(bytes.size(), Little(bytes, 10, 4) + rowBytes * Little(bytes, 22, 4));
        ++checked;
    }
    EXPECT_GT(checked, 100u);
}

TEST_F(ShippedArt, ThirtyTwoDistinctPatternsComeFromTheAuthoringSet)
{
    Resources authoring(200, 399);
    std::set<std::vector<uint8_t>> seen;
    for (int16_t number = 0; number < 32; ++number) {
        SCOPED_TRACE(number);
        std::vector<uint8_t> rows(8);
        EXPECT_EQ(Failure([&] { authoring.GetPattern(number, rows.data()); }), "");
        EXPECT_TRUE(seen.insert(rows).second) << "a pattern shown twice";
    }
    // Black pixels are the paint's own colour, which a pattern holds as clear bits.
    std::vector<uint8_t> solid(8);
    authoring.GetPattern(0, solid.data());
    EXPECT_EQ(solid, std::vector<uint8_t>(8, 0x00));
}

TEST_F(ShippedArt, EveryCursorIsTheProgramsOwnNotTheStandIn)
{
    struct Case {
        int32_t first;
        int32_t last;
        std::vector<int16_t> identifiers;
    };
    std::vector<int16_t> authoringCursors = { 201, 208, 210, 219, 230 };
    for (int16_t brush = 300; brush <= 319; ++brush)
        authoringCursors.push_back(brush);
    const Case cases[] = { { 200, 399, authoringCursors }, { 400, 499, { 404, 405 } } };
    for (const Case& c : cases) {
        Resources set(c.first, c.last);
        for (int16_t identifier : c.identifiers) {
            SCOPED_TRACE(identifier);
            // The platform answers null for an id without its own file; the set would then
            // quietly give cursor 201.
            EXPECT_NE(LoadCursorA(pw::platform::ProgramInstance(), MAKEINTRESOURCE(identifier)), nullptr);
            SmartPtr<Smart> cursor = set.GetCursor(static_cast<int16_t>(identifier - c.first));
            EXPECT_NE(SmartCast<Cursor>(cursor.Get()), nullptr);
        }
    }
}

// A brush paints the black of its cursor around the hot spot: every brush cursor has black, and
// the hot spot lies within the black's bounding rectangle.
TEST_F(ShippedArt, EveryBrushCursorPaintsAShapeAroundItsHotSpot)
{
    Resources authoring(200, 399);
    for (int16_t identifier = 300; identifier <= 319; ++identifier) {
        SCOPED_TRACE(identifier);
        SmartPtr<Smart> loaded = authoring.GetCursor(static_cast<int16_t>(identifier - 200));
        auto* cursor = SmartCast<Cursor>(loaded.Get());
        ASSERT_NE(cursor, nullptr);
        Point hotSpot(0, 0);
        SmartPtr<BitMap> shape = cursor->GetImage(hotSpot);
        uint32_t white = 0;
        shape->GetColorTable()->Convert(Color(0), white);
        Point at = BitMap::CropToContent(shape, white);
        ASSERT_TRUE(shape.Valid());
        Rect black = shape->GetBounds();
        black.Offset(at.h, at.v);
        EXPECT_TRUE(black.left <= hotSpot.h && hotSpot.h < black.right && black.top <= hotSpot.v && hotSpot.v < black.bottom);
    }
}

// The header of a WAVE file: PCM, one channel, 8 or 16 bits, 11025 or 22050 samples a second.
void ExpectPlainWave(const fs::path& path)
{
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Little(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Little(bytes, 22, 2), 1u) << "mono";
    uint32_t rate = Little(bytes, 24, 4);
    EXPECT_TRUE(rate == 11025 || rate == 22050) << rate;
    uint32_t bits = Little(bytes, 34, 2);
    EXPECT_TRUE(bits == 8 || bits == 16) << bits;
    EXPECT_EQ(Little(bytes, 4, 4) + 8, bytes.size());
}

TEST_F(ShippedArt, EveryKidSoundIsAPlayableSound)
{
    Resources kid(1000, 4999);
    for (int16_t number : { 0, 1, 2, 3, 4, 5, 12, 13, 20, 22, 23, 24, 31, 32, 33, 34, 35, 36, 40, 41, 43, 60, 61 }) {
        SCOPED_TRACE(number);
        ExpectPlainWave(kData / "Data" / (std::to_string(1000 + number) + ".wav"));
        SmartPtr<Smart> loaded = kid.LoadSound(number);
        auto* sound = SmartCast<Sound>(loaded.Get());
        ASSERT_NE(sound, nullptr);
        EXPECT_GT(sound->PlayableSize(), 44u + 200u) << "a sound shorter than a hundredth of a second";
    }
}

TEST_F(ShippedArt, EveryMediaFolderIsShippedWithItsSamples)
{
    for (const char* folder :
        { "Pictures", "Backgrounds", "Samples", "Dividers", "CoolSites", "KidClubs", "Yahoo", "Sounds", "Bullets",
            "Textures", "Projects", "HTML" })
        EXPECT_TRUE(fs::is_directory(kData / folder)) << folder;
    for (const char* folder : { "Pictures", "Backgrounds", "Dividers", "Bullets", "Textures" }) {
        size_t pictures = 0;
        for (const auto& entry : fs::directory_iterator(kData / folder))
            pictures += entry.path().extension() == ".bmp";
        EXPECT_GE(pictures, 5u) << folder;
    }
    size_t sounds = 0;
    for (const auto& entry : fs::directory_iterator(kData / "Sounds")) {
        if (entry.path().extension() == ".wav") {
            ExpectPlainWave(entry.path());
            ++sounds;
        }
    }
    EXPECT_GE(sounds, 5u);
}

} // namespace
