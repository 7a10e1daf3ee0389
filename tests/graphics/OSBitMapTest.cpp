#include "graphics/DDBitMap.h"
#include "graphics/DIBSection.h"
#include "graphics/DIBitMap.h"
#include "graphics/OSBitMap.h"
#include "graphics/WinVersion.h"

#include "foundation/Failure.h"

#include "platform/gdi/GdiTesting.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace bitmaps;

namespace {

enum class Kind { Section, Device, Memory };

const char* KindName(Kind kind)
{
    return kind == Kind::Section ? "DIBSection" : kind == Kind::Device ? "DDBitMap" : "DIBitMap";
}

SmartPtr<OSBitMap> MakeKind(Kind kind)
{
    if (kind == Kind::Section)
        return SmartPtr<OSBitMap>(new DIBSection);
    if (kind == Kind::Device)
        return SmartPtr<OSBitMap>(new DDBitMap);
    return SmartPtr<OSBitMap>(new DIBitMap);
}

// A logical palette of the given RGB colours.
HPALETTE MakePalette(const std::vector<COLORREF>& colors)
{
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * colors.size());
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(colors.size());
    for (size_t index = 0; index < colors.size(); ++index)
        logical->palPalEntry[index] = { GetRValue(colors[index]), GetGValue(colors[index]), GetBValue(colors[index]), 0 };
    return CreatePalette(logical);
}

// 256 distinct colours: entry i is (i, 255 - i, i / 2).
std::vector<COLORREF> DistinctColors()
{
    std::vector<COLORREF> colors;
    for (int index = 0; index < 256; ++index)
        colors.push_back(RGB(index, 255 - index, index / 2));
    return colors;
}

// Writes an 8-bit grid into the bitmap through its pixel bytes.
void SetGrid(OSBitMap& bitmap, const std::string& grid)
{
    auto rows = ParseGrid(grid);
    bool isCopy = false;
    uint8_t* bits = bitmap.LockBits(isCopy);
    for (size_t row = 0; row < rows.size(); ++row) {
        size_t memoryRow = bitmap.RowsTopDown() ? row : bitmap.GetSize().v - 1 - row;
        for (size_t column = 0; column < rows[row].size(); ++column)
            bits[memoryRow * bitmap.BytesPerRow() + column] = uint8_t(rows[row][column]);
    }
    bitmap.UnlockBits(true, bits, isCopy);
}

std::string GridOf(OSBitMap& bitmap)
{
    std::vector<std::vector<uint32_t>> rows;
    for (int32_t row = 0; row < bitmap.GetSize().v; ++row) {
        std::vector<uint8_t> bytes = RowBytes(bitmap, row);
        rows.emplace_back(bytes.begin(), bytes.begin() + bitmap.GetSize().h);
    }
    return FormatGrid(rows, 1);
}

// A 1-bit mask from a grid of 0s and 1s.
SmartPtr<OSBitMap> MakeMask(Kind kind, const std::string& grid)
{
    auto rows = ParseGrid(grid);
    SmartPtr<OSBitMap> mask = MakeKind(kind);
    mask->Initialize(int32_t(rows[0].size()), int32_t(rows.size()), 1, nullptr);
    bool isCopy = false;
    uint8_t* bits = mask->LockBits(isCopy);
    for (size_t row = 0; row < rows.size(); ++row) {
        size_t memoryRow = mask->RowsTopDown() ? row : rows.size() - 1 - row;
        for (size_t column = 0; column < rows[row].size(); ++column) {
            if (rows[row][column])
                bits[memoryRow * mask->BytesPerRow() + column / 8] |= uint8_t(0x80 >> (column % 8));
        }
    }
    mask->UnlockBits(true, bits, isCopy);
    return mask;
}

SmartPtr<OSBitMap> Made(Kind kind, const std::string& grid)
{
    auto rows = ParseGrid(grid);
    SmartPtr<OSBitMap> bitmap = MakeKind(kind);
    bitmap->Initialize(int32_t(rows[0].size()), int32_t(rows.size()), 8, nullptr);
    SetGrid(*bitmap.Get(), grid);
    return bitmap;
}

} // namespace

TEST(OSBitMap, FactoryPicksTheKindByPlatformAndDepth)
{
    struct Case {
        WinVersion platform;
        int16_t depth;
        const char* kind;
        uint32_t rowBytes; // for a width of 9
        bool topDown;
    } cases[] = {
        { Win95, 1, "DIBSection", 4, false },
        { Win95, 4, "DIBSection", 8, false },
        { Win95, 8, "DIBSection", 12, false },
        { Win95, 24, "DIBSection", 28, false },
        { Win31Only, 8, "DDBitMap", 10, true },
        { Win31Only, 1, "DDBitMap", 2, true },
        { Win31Only, 4, "DIBitMap", 8, false },
        { Win31Only, 24, "DIBitMap", 28, false },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.platform == Win95 ? "Win95 " : "Win31 ") + std::to_string(test.depth));
        pw::graphics::testing::ForceWinVersion(test.platform);
        SmartPtr<OSBitMap> bitmap = MakeOSBitMap(test.depth);
        EXPECT_STREQ(bitmap->GetClassInfo()->GetName(), test.kind);
        bitmap->Initialize(9, 2, test.depth, nullptr);
        EXPECT_EQ(bitmap->BytesPerRow(), test.rowBytes);
        EXPECT_EQ(bitmap->GetByteSize(), 2 * test.rowBytes);
        EXPECT_EQ(bitmap->RowsTopDown(), test.topDown);
    }
}

TEST(OSBitMap, InitialisationIsOnceAndOnlyForSoundSizes)
{
    SmartPtr<OSBitMap> bitmap = MakeOSBitMap(8);
    bitmap->Initialize(2, 2, 8, nullptr);
    EXPECT_EQ(Failure([&] { bitmap->Initialize(2, 2, 8, nullptr); }), "!IsInitialized()");

    // Odd depths, empty sizes and sizes past the allocation cap are refused before anything is made.
    for (Rect odd : { Rect(4, 4, 3, 0), Rect(4, 4, 64, 0), Rect(0, 4, 8, 0), Rect(4, -1, 8, 0), Rect(1 << 16, 1 << 14, 8, 0) }) {
        SmartPtr<OSBitMap> refused = MakeOSBitMap(8);
        EXPECT_EQ(Failure([&] { refused->Initialize(odd.left, odd.top, int16_t(odd.right), nullptr); }), "Call failed.");
    }
}

TEST(OSBitMap, CopyTransparentSkipsKeyAndClipsToBothBitmaps)
{
    const char* source = "1 0 2 | 0 3 0 | 4 0 5";
    const char* blank = "9 9 9 9 | 9 9 9 9 | 9 9 9 9 | 9 9 9 9";
    struct Case {
        const char* name;
        Rect from, to;
        const char* expected;
    } cases[] = {
        { "inside", { 0, 0, 3, 3 }, { 0, 0, 3, 3 }, "1 9 2 9 | 9 3 9 9 | 4 9 5 9 | 9 9 9 9" },
        { "above left", { 0, 0, 3, 3 }, { -1, -1, 2, 2 }, "3 9 9 9 | 9 5 9 9 | 9 9 9 9 | 9 9 9 9" },
        { "below right", { 0, 0, 3, 3 }, { 2, 2, 5, 5 }, "9 9 9 9 | 9 9 9 9 | 9 9 1 9 | 9 9 9 3" },
        { "hanging 2 rows below", { 0, 0, 3, 3 }, { 1, 3, 4, 6 }, "9 9 9 9 | 9 9 9 9 | 9 9 9 9 | 9 1 9 2" },
        { "outside", { 0, 0, 3, 3 }, { 4, 0, 7, 3 }, blank },
        { "larger than the source", { 0, 0, 4, 4 }, { 1, 0, 5, 4 }, "9 1 9 2 | 9 9 3 9 | 9 4 9 5 | 9 9 9 9" },
    };
    for (Kind sourceKind : { Kind::Section, Kind::Device }) {
        for (Kind targetKind : { Kind::Section, Kind::Device }) {
            for (const Case& test : cases) {
                SCOPED_TRACE(std::string(KindName(sourceKind)) + " to " + KindName(targetKind) + ": " + test.name);
                SmartPtr<OSBitMap> from = Made(sourceKind, source);
                SmartPtr<OSBitMap> to = Made(targetKind, blank);
                from->CopyTransparent(*to.Get(), test.from, test.to, 0);
                EXPECT_EQ(GridOf(*to.Get()), FormatGrid(ParseGrid(test.expected), 1));
            }
        }
    }
}

// Rows wide enough for the copy to go a register at a time, of widths that leave odd pixels
// over, one step wide exactly, and placed so that both edges are cut: every pixel must come out
// as the plain rule says, through a translation too, and a key past 8 bits matches no pixel.
// Figures on the key have see-through runs that end on, just before and just after the copy's
// 16- and 32-pixel steps, at both ends of a row and inside it, and rows that are see-through whole.
TEST(OSBitMap, KeyedCopyOfWideRowsKeepsThePixelRule)
{
    constexpr int32_t kHeight = 6;
    auto scattered = [](int32_t row, int32_t column) {
        return uint8_t((column * 7 + row * 13) % 5 == 0 ? 0 : (column * 31 + row * 17) % 256);
    };
    // The figure's runs of each row, [first, end) pairs; key 0 elsewhere.
    static const std::vector<std::pair<int32_t, int32_t>> figureRuns[kHeight] = {
        {}, { { 16, 48 } }, { { 15, 49 } }, { { 0, 1 }, { 69, 70 } }, { { 3, 20 }, { 40, 66 } }, { { 17, 33 } },
    };
    auto figure = [](int32_t row, int32_t column) {
        for (const auto& [first, end] : figureRuns[row]) {
            if (column >= first && column < end)
                return uint8_t(1 + (column * 31 + row * 17) % 255);
        }
        return uint8_t(0);
    };
    auto targetValue = [](int32_t row, int32_t column) { return uint8_t(200 + (column + row) % 50); };
    auto fill = [](OSBitMap& bitmap, auto value) {
        bool isCopy = false;
        uint8_t* bits = bitmap.LockBits(isCopy);
        for (int32_t row = 0; row < bitmap.GetSize().v; ++row) {
            int32_t memoryRow = bitmap.RowsTopDown() ? row : bitmap.GetSize().v - 1 - row;
            for (int32_t column = 0; column < bitmap.GetSize().h; ++column)
                bits[memoryRow * bitmap.BytesPerRow() + column] = value(row, column);
        }
        bitmap.UnlockBits(true, bits, isCopy);
    };
    std::vector<uint32_t> translation(256);
    for (uint32_t value = 0; value < 256; ++value)
        translation[value] = value ^ 0x5A;
    struct Case {
        const char* name;
        int32_t width;
        int32_t left;
        uint32_t key;
        bool translated;
        bool isFigure;
    } cases[] = {
        { "37 wide, cut at the left", 37, -5, 0, false, false },
        { "70 wide, cut at the right", 70, 9, 0, false, false },
        { "70 wide through a translation", 70, -3, 0, true, false },
        { "53 wide, key past 8 bits", 53, 2, 0x100, false, false },
        { "53 wide, key past 8 bits, translated", 53, -1, 0x100, true, false },
        { "a figure on the key", 70, 0, 0, false, true },
        { "a figure on the key, cut at the left", 70, -1, 0, false, true },
        { "a figure on the key, translated", 70, 2, 0, true, true },
        { "16 wide", 16, 0, 0, false, false },
        { "20 wide, cut at the left to 18", 20, -2, 0, false, true },
        { "31 wide", 31, 1, 0, false, true },
        { "32 wide", 32, 0, 0, false, true },
        { "a sprite's 80", 80, 2, 0, false, true },
        { "80 wide, cut at the right to 77", 80, 7, 0, false, false },
    };
    for (Kind kind : { Kind::Section, Kind::Device }) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(KindName(kind)) + ": " + test.name);
            auto sourceValue = [&](int32_t row, int32_t column) {
                return test.isFigure ? figure(row, column) : scattered(row, column);
            };
            const int32_t targetWidth = test.width + 4;
            SmartPtr<OSBitMap> from = MakeKind(kind);
            from->Initialize(test.width, kHeight, 8, nullptr);
            fill(*from.Get(), sourceValue);
            SmartPtr<OSBitMap> to = MakeKind(kind);
            to->Initialize(targetWidth, kHeight, 8, nullptr);
            fill(*to.Get(), targetValue);
            from->CopyKeyedThrough(*to.Get(), Rect(0, 0, test.width, kHeight),
                Rect(test.left, 0, test.left + test.width, kHeight), test.key,
                test.translated ? translation.data() : nullptr);
            for (int32_t row = 0; row < kHeight; ++row) {
                std::vector<uint8_t> bytes = RowBytes(*to.Get(), row);
                for (int32_t column = 0; column < targetWidth; ++column) {
                    int32_t sourceColumn = column - test.left;
                    uint8_t expected = targetValue(row, column);
                    if (sourceColumn >= 0 && sourceColumn < test.width && sourceValue(row, sourceColumn) != test.key) {
                        uint8_t value = sourceValue(row, sourceColumn);
                        expected = test.translated ? uint8_t(translation[value]) : value;
                    }
                    ASSERT_EQ(int(bytes[size_t(column)]), int(expected)) << "row " << row << ", column " << column;
                }
            }
        }
    }
}

// A DIB section (its pixels are locked where they lie) keyed onto itself three pixels to the
// right, rows wide enough to go a register at a time: each pixel is chosen after the ones before
// it in its row, so the figure's copy runs on over the pixels it has just written.
TEST(OSBitMap, KeyedCopyOntoItselfChoosesPixelsInOrder)
{
    constexpr int32_t kWidth = 40;
    constexpr int32_t kHeight = 4;
    std::vector<std::vector<uint32_t>> start(kHeight, std::vector<uint32_t>(kWidth));
    for (int32_t row = 0; row < kHeight; ++row) {
        for (int32_t column = 0; column < kWidth; ++column)
            start[size_t(row)][size_t(column)] = column % 6 == 0 ? 0 : 1 + (column * 5 + row) % 9;
    }
    std::vector<std::vector<uint32_t>> expected = start;
    for (std::vector<uint32_t>& row : expected) {
        for (size_t column = 0; column + 3 < row.size(); ++column) {
            if (row[column] != 0)
                row[column + 3] = row[column];
        }
    }
    SmartPtr<OSBitMap> bitmap = Made(Kind::Section, FormatGrid(start, 1));
    bitmap->CopyTransparent(*bitmap.Get(), Rect(0, 0, kWidth - 3, kHeight), Rect(3, 0, kWidth, kHeight), 0);
    EXPECT_EQ(GridOf(*bitmap.Get()), FormatGrid(expected, 1));
}

TEST(OSBitMap, CopyMaskedCopiesWhereTheMaskIsClear)
{
    const char* blank = "0 0 0 0 0 | 0 0 0 0 0 | 0 0 0 0 0";
    struct Case {
        const char* name;
        const char* source;
        Rect destination;
        const char* expected;
    } cases[] = {
        { "inside", "1 2 3 4 | 5 6 7 8", { 1, 1, 5, 3 }, "0 0 0 0 0 | 0 1 0 0 4 | 0 0 6 7 0" },
        { "left outside", "1 2 3 4 | 5 6 7 8", { -1, 1, 3, 3 }, blank },
        { "bottom outside", "1 2 3 4 | 5 6 7 8", { 0, 2, 4, 4 }, blank },
        { "source smaller than the mask", "1 2 | 5 6", { 0, 0, 4, 2 }, "1 0 0 0 0 | 0 6 0 0 0 | 0 0 0 0 0" },
    };
    for (Kind kind : { Kind::Section, Kind::Device }) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(KindName(kind)) + ": " + test.name);
            SmartPtr<OSBitMap> source = Made(kind, test.source);
            SmartPtr<OSBitMap> target = Made(kind, blank);
            SmartPtr<OSBitMap> mask = MakeMask(kind, "0 1 1 0 | 1 0 0 1");
            source->CopyMasked(*target.Get(), test.destination, *mask.Get());
            EXPECT_EQ(GridOf(*target.Get()), FormatGrid(ParseGrid(test.expected), 1));
        }
    }
}

TEST(OSBitMap, CachingDeviceBitmapHandsOutOneCopy)
{
    SmartPtr<OSBitMap> bitmap = Made(Kind::Device, "1 2 | 3 4");
    bitmap->SetCaching(true);
    bool isCopy = false;
    uint8_t* first = bitmap->LockBits(isCopy);
    EXPECT_TRUE(isCopy);
    first[0] = 7;
    bitmap->UnlockBits(true, first, isCopy);
    uint8_t* second = bitmap->LockBits(isCopy);
    EXPECT_EQ(second, first);
    uint8_t other[4] = {};
    EXPECT_EQ(Failure([&] { bitmap->UnlockBits(false, other, true); }), "!caching || cachedBits == bits");
    bitmap->SetCaching(false);
    EXPECT_EQ(GridOf(*bitmap.Get()), "7 2 | 3 4");
}

TEST(OSBitMap, CopiesOwnTheirHandleAndPixels)
{
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    for (Kind kind : { Kind::Section, Kind::Device, Kind::Memory }) {
        SCOPED_TRACE(KindName(kind));
        SmartPtr<OSBitMap> original = Made(kind, "1 2 3 | 4 5 6");
        SmartPtr<OSBitMap> copy(static_cast<OSBitMap*>(SmartCast<OSBitMap>(original->Copy())));
        ASSERT_TRUE(copy.Valid());
        EXPECT_NE(copy->GetHandle(), original->GetHandle());
        EXPECT_NE(copy->GetHeader(), original->GetHeader());
        original = nullptr;
        EXPECT_EQ(GridOf(*copy.Get()), "1 2 3 | 4 5 6");

        SmartPtr<OSBitMap> assigned = Made(kind, "9 | 9");
        assigned->CopyFrom(copy.Get());
        EXPECT_NE(assigned->GetHandle(), copy->GetHandle());
        copy = nullptr;
        EXPECT_EQ(GridOf(*assigned.Get()), "1 2 3 | 4 5 6");
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
    SmartPtr<OSBitMap> other(new DDBitMap);
    EXPECT_EQ(Failure([&] { DIBSection section; section.CopyFrom(other.Get()); }), "castPtr");
}

TEST(OSBitMap, InitFromAWindowsBitmapCopiesItsPixels)
{
    const uint8_t pixels[] = { 1, 2, 3, 0, 246, 247, 248, 0 }; // 3 by 2, rows padded to 16 bits
    for (WinVersion platform : { Win95, Win31Only }) {
        SCOPED_TRACE(platform == Win95 ? "Win95" : "Win31");
        pw::graphics::testing::ForceWinVersion(platform);
        HBITMAP device = CreateBitmap(3, 2, 1, 8, pixels);
        ASSERT_NE(device, nullptr);
        HPALETTE palette = MakePalette(DistinctColors());
        SmartPtr<OSBitMap> bitmap = NewOSBitMap(device, palette, 0);
        EXPECT_EQ(bitmap->GetBitDepth(), 8);
        EXPECT_EQ(GridOf(*bitmap.Get()), "1 2 3 | F6 F7 F8");
        bitmap = nullptr;
        DeleteObject(device);
        DeleteObject(palette);
    }
}

TEST(OSBitMap, DrawCountsSourceRowsFromTheTop)
{
    HPALETTE palette = MakePalette(DistinctColors());
    for (Kind kind : { Kind::Section, Kind::Memory }) {
        SCOPED_TRACE(KindName(kind));
        SmartPtr<OSBitMap> source = MakeKind(kind);
        source->Initialize(3, 3, 8, palette);
        SetGrid(*source.Get(), "1 2 3 | 4 5 6 | 7 8 9");
        SmartPtr<OSBitMap> target = MakeKind(Kind::Section);
        target->Initialize(3, 2, 8, palette);
        source->Draw(target->GetDC(), nullptr, Rect(1, 1, 3, 3), Rect(0, 0, 2, 2));
        source->Draw(target->GetDC(), nullptr, Rect(0, 0, 1, 2), Rect(2, 0, 3, 2));
        EXPECT_EQ(GridOf(*target.Get()), "5 6 1 | 8 9 4");
    }
    DeleteObject(palette);
}

TEST(OSBitMap, ChangePaletteRemapsPixelsAndTheSectionFollows)
{
    std::vector<COLORREF> colors = DistinctColors();
    std::vector<COLORREF> reversed(colors.rbegin(), colors.rend());
    HPALETTE first = MakePalette(colors);
    HPALETTE second = MakePalette(reversed);
    SmartPtr<OSBitMap> bitmap = MakeKind(Kind::Section);
    bitmap->Initialize(3, 1, 8, first);
    SetGrid(*bitmap.Get(), "0 1 FF");
    bool isCopy = false;
    uint8_t* bits = bitmap->LockBits(isCopy);
    bitmap->ChangePalette(second, bits);
    bitmap->UnlockBits(true, bits, isCopy);
    EXPECT_EQ(GridOf(*bitmap.Get()), "FF FE 0");
    EXPECT_EQ(bitmap->GetHeader()->bmiColors[0].rgbRed, 255);

    // GDI drawing into the section now matches the new colours.
    SetPixel(bitmap->GetDC(), 1, 0, RGB(2, 253, 1));
    EXPECT_EQ(GridOf(*bitmap.Get()), "FF FD 0");
    bitmap = nullptr;
    DeleteObject(first);
    DeleteObject(second);
}

TEST(OSBitMap, MapDIBToPaletteTranslatesIndexesOnly)
{
    // Header colours 0..3 are the palette's entries 3, 2, 1, 0.
    HPALETTE palette = MakePalette({ RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255) });
    auto header = OSBitMap::MakeHeader(4, 1, 8);
    auto* info = reinterpret_cast<BITMAPINFO*>(header.get());
    info->bmiColors[0] = { 255, 0, 0, 0 };
    info->bmiColors[1] = { 0, 255, 0, 0 };
    info->bmiColors[2] = { 0, 0, 255, 0 };
    info->bmiColors[3] = { 0, 0, 0, 0 };
    info->bmiHeader.biClrUsed = 4;
    struct Case {
        const char* name;
        WORD bitCount;
        DWORD compression;
        std::vector<uint8_t> pixels, expected;
    } cases[] = {
        { "8 bits", 8, BI_RGB, { 0, 1, 2, 3 }, { 3, 2, 1, 0 } },
        { "4 bits", 4, BI_RGB, { 0x01, 0x23 }, { 0x32, 0x10 } },
        { "1 bit", 1, BI_RGB, { 0x5A }, { 0x5A } },
        { "RLE8", 8, BI_RLE8,
            { 5, 0, 0, 0, 0, 3, 1, 2, 3, 9, 0, 2, 3, 1, 2, 1, 0, 1, 1, 1 },
            { 5, 3, 0, 0, 0, 3, 2, 1, 0, 9, 0, 2, 3, 1, 2, 2, 0, 1, 1, 1 } },
        { "RLE8 cut short", 8, BI_RLE8, { 0, 5, 1, 2 }, { 0, 5, 2, 1 } },
        { "RLE4", 4, BI_RLE4, { 4, 0x01 }, { 4, 0x01 } },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        info->bmiHeader.biBitCount = test.bitCount;
        info->bmiHeader.biCompression = test.compression;
        std::vector<uint8_t> pixels = test.pixels;
        MapDIBToPalette(info, palette, pixels.data(), uint32_t(pixels.size()));
        EXPECT_EQ(pixels, test.expected);
    }
    DeleteObject(palette);
}

// The 16-bit platform's bitmap drawn onto a parallelogram that is the destination rectangle:
// stretched, only where its mask is set, or a part of it; a mask of the wrong depth is a failed
// call that still gives the bitmap's DC back. (The DCs of 8-bit device bitmaps hold the standard
// palette.)
using DeviceBitmaps = WithStandardPalette;

TEST_F(DeviceBitmaps, DrawOntoTheDestinationsParallelogram)
{
    SmartPtr<OSBitMap> made = Made(Kind::Device, "F9 FA | FC FB");
    auto* source = SmartCast<DDBitMap>(made.Get());
    ASSERT_NE(source, nullptr);
    SmartPtr<OSBitMap> mask = MakeMask(Kind::Device, "1 0 | 0 1");
    const char* blank = "FF FF FF FF | FF FF FF FF | FF FF FF FF | FF FF FF FF";
    struct Case {
        const char* name;
        OSBitMap* mask;
        Rect source;
        Rect destination;
        const char* expected;
    } cases[] = {
        { "doubled", nullptr, { 0, 0, 2, 2 }, { 0, 0, 4, 4 }, "F9 F9 FA FA | F9 F9 FA FA | FC FC FB FB | FC FC FB FB" },
        { "masked", mask.Get(), { 0, 0, 2, 2 }, { 1, 1, 3, 3 }, "FF FF FF FF | FF F9 FF FF | FF FF FB FF | FF FF FF FF" },
        { "a column", nullptr, { 1, 0, 2, 2 }, { 3, 0, 4, 2 }, "FF FF FF FA | FF FF FF FB | FF FF FF FF | FF FF FF FF" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<OSBitMap> target = Made(Kind::Device, blank);
        HDC dc = target->GetDC();
        source->DrawParallelogram(dc, c.mask, c.source, c.destination);
        target->ReleaseDC(dc);
        EXPECT_EQ(GridOf(*target.Get()), FormatGrid(ParseGrid(c.expected), 1));
    }
    SmartPtr<OSBitMap> target = Made(Kind::Device, blank);
    HDC dc = target->GetDC();
    EXPECT_FALSE(Failure([&] { source->DrawParallelogram(dc, target.Get(), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2)); }).empty());
    target->ReleaseDC(dc);
    dc = target->GetDC();
    source->DrawParallelogram(dc, nullptr, Rect(0, 0, 2, 2), Rect(0, 0, 2, 2));
    target->ReleaseDC(dc);
    EXPECT_EQ(GridOf(*target.Get()), "F9 FA FF FF | FC FB FF FF | FF FF FF FF | FF FF FF FF");
}
