#include "graphics/ColorTable.h"
#include "graphics/WinVersion.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "foundation/FileReference.h"
#include "foundation/FlatArchive.h"
#include "foundation/MemoryStream.h"

#include "platform/gdi/GdiTesting.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

void PutLong(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(uint8_t(value >> shift));
}

// A palette file whose entry i is (i, 255 - i, i / 2), with a 4 by 1 picture after the table.
std::vector<uint8_t> PaletteFile()
{
    std::vector<uint8_t> file = { 'B', 'M' };
    PutLong(file, 1082);
    PutLong(file, 0);
    PutLong(file, 1078);
    PutLong(file, 40);
    PutLong(file, 4);
    PutLong(file, 1);
    file.insert(file.end(), { 1, 0, 8, 0 });
    for (int i = 0; i < 6; ++i)
        PutLong(file, 0);
    for (int i = 0; i < 256; ++i)
        file.insert(file.end(), { uint8_t(i / 2), uint8_t(255 - i), uint8_t(i), 0 });
    file.insert(file.end(), { 1, 2, 3, 4 });
    return file;
}

Color Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    Color color;
    color.SetBytes(red, green, blue, 0);
    return color;
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    std::vector<PALETTEENTRY> entries(256);
    entries.resize(GetPaletteEntries(palette, 0, 256, entries.data()));
    return entries;
}

// The program's start-up folder "c:\plume" with "Data\standard.pal" holding `bytes` (none when
// null), and alerts shown as the framework main shows them.
class StandardPalette : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
        pw::foundation::ForgetStartupFolder();
        std::filesystem::create_directories(DataFolder());
        WritePalette(PaletteFile());
        Alert::EnableAlerts();
    }
    void TearDown() override { pw::foundation::SetAlertsEnabled(false); }

    static std::filesystem::path DataFolder()
    {
        return std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    }
    static void WritePalette(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(DataFolder() / "standard.pal", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // What a palette request ends in: "" when it builds, the failure's text, or "exit <code>".
    static std::string Outcome(const std::function<void()>& step)
    {
        try {
            return Failure(step);
        } catch (const pw::platform::testing::ProcessExited& exited) {
            return "exit " + std::to_string(exited.Code());
        }
    }
};

// Tables are read and written as the object files frame them.
SmartPtr<ColorTable> Read(MemoryStream& stream)
{
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &ColorTable::version }, false);
    ArchiveScope scope(*archive.Get(), ColorTable::version);
    return new ColorTable(scope);
}

MemoryStream Stored(Fixed version, int32_t count, const std::vector<Color>& colors, std::optional<int16_t> depth)
{
    MemoryStream body;
    body.WriteLong(count);
    for (const Color& color : colors)
        color.ToStream(body);
    if (depth)
        body.WriteShort(*depth);
    MemoryStream stream;
    stream.WriteLong(static_cast<int32_t>(version.Raw())).WriteLong(static_cast<int32_t>(body.GetLength()));
    stream.Write(body.Block().Ptr(), body.GetLength());
    return stream;
}

} // namespace

TEST_F(StandardPalette, FileGivesEntries10To245AndTheDisplayKeepsItsStaticColours)
{
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    EXPECT_EQ(table->BitDepth(), 8);
    ASSERT_EQ(table->NumColors(), 256u);
    std::span<const RGBQUAD, 20> statics = pw::platform::gdi::Screen::StaticColors();
    struct Case {
        int index;
        Color expected;
        BYTE flags;
    } cases[] = {
        { 0, Rgb(statics[0].rgbRed, statics[0].rgbGreen, statics[0].rgbBlue), 0 },
        { 9, Rgb(statics[9].rgbRed, statics[9].rgbGreen, statics[9].rgbBlue), 0 },
        { 10, Rgb(10, 245, 5), PC_RESERVED },
        { 128, Rgb(128, 127, 64), PC_RESERVED },
        { 245, Rgb(245, 10, 122), PC_RESERVED },
        { 246, Rgb(statics[10].rgbRed, statics[10].rgbGreen, statics[10].rgbBlue), 0 },
        { 255, Rgb(255, 255, 255), 0 },
    };
    std::vector<PALETTEENTRY> standard = Entries(ColorTable::GetStandardPalette());
    std::vector<PALETTEENTRY> twin = Entries(ColorTable::GetStandardPaletteTwin());
    ASSERT_EQ(standard.size(), 256u);
    ASSERT_EQ(twin.size(), 256u);
    EXPECT_NE(ColorTable::GetStandardPalette(), ColorTable::GetStandardPaletteTwin());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        Color entry = table->GetColor(c.index);
        EXPECT_TRUE(entry.Equals(c.expected));
        EXPECT_EQ(entry.red, c.expected.red);
        EXPECT_EQ(standard[c.index].peFlags, c.flags);
        EXPECT_EQ(twin[c.index].peRed, standard[c.index].peRed);
        EXPECT_EQ(twin[c.index].peFlags, c.flags);
    }
}

TEST_F(StandardPalette, OneSharedTablePerWindowsPalette)
{
    SmartPtr<ColorTable> eight = ColorTable::Setup(8);
    EXPECT_EQ(ColorTable::Setup(8), eight);
    EXPECT_EQ(ColorTable::Setup(4), eight);
    EXPECT_EQ(ColorTable::Setup(16), eight);
    EXPECT_EQ(eight->GetPalette(), ColorTable::GetStandardPalette());

    SmartPtr<ColorTable> mono = ColorTable::Setup(1);
    EXPECT_EQ(mono->BitDepth(), 1);
    ASSERT_EQ(mono->NumColors(), 2u);
    EXPECT_TRUE(mono->GetColor(0).Equals(Rgb(0, 0, 0)));
    EXPECT_TRUE(mono->GetColor(1).Equals(Rgb(255, 255, 255)));
    uint32_t value = 0;
    EXPECT_TRUE(mono->Convert(Color(0), value));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(mono->Convert(Color(13), value)); // white with extra set matches nothing
    EXPECT_EQ(value, 2u);

    SmartPtr<ColorTable> direct = ColorTable::Setup(24);
    EXPECT_EQ(ColorTable::Setup(32), direct);
    EXPECT_EQ(direct->BitDepth(), 24);
    EXPECT_EQ(direct->NumColors(), 0u);
    EXPECT_EQ(direct->GetPalette(), nullptr);

    // A table made for a depth reads the same shared palette but is a table of its own.
    ColorTable fromDepth(int16_t(4));
    EXPECT_TRUE(fromDepth.Equals(*eight.Get()));
    EXPECT_EQ(fromDepth.GetPalette(), eight->GetPalette());
}

TEST_F(StandardPalette, FileRulesAndRetryAfterAFailure)
{
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
        std::string outcome;
    } cases[] = {
        { "not a BMP", [](std::vector<uint8_t>& f) { f[1] = 'A'; }, "Call failed." },
        { "core header", [](std::vector<uint8_t>& f) { f[14] = 12; }, "Call failed." },
        { "short table", [](std::vector<uint8_t>& f) { f.resize(1077); }, "Unexpected end of file." },
        { "table only", [](std::vector<uint8_t>& f) { f.resize(1078); }, "" },
        { "unchecked fields", [](std::vector<uint8_t>& f) { f[28] = 24, f[46] = 7; }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColorTable::ReleaseShared();
        std::vector<uint8_t> file = PaletteFile();
        c.damage(file);
        WritePalette(file);
        EXPECT_EQ(Outcome([] { ColorTable::Setup(8); }), c.outcome);
        if (c.outcome.empty())
            continue;
        // Nothing was kept: once the file is good, the next request builds the palette.
        WritePalette(PaletteFile());
        EXPECT_EQ(Outcome([] { ColorTable::Setup(8); }), "");
        EXPECT_EQ(ColorTable::Setup(8)->NumColors(), 256u);
    }
    EXPECT_TRUE(pw::platform::testing::AlertLog().empty());

    ColorTable::ReleaseShared();
    std::filesystem::remove(DataFolder() / "standard.pal");
    EXPECT_NE(Outcome([] { ColorTable::Setup(8); }), "");
    EXPECT_EQ(Outcome([] { ColorTable::Setup(24); }), "");
}

TEST_F(StandardPalette, DisplayWithoutA256ColourPaletteIsRefused)
{
    struct Case {
        const char* name;
        int bits;
        int entries;
        bool oldPlatform;
        const char* message;
    } cases[] = {
        { "no palette", 24, 0, false, "Display must be set to at least 256 colors!" },
        { "16 colours", 4, 16, false, "Display must be set to at least 256 colors!" },
        { "old platform, deeper display", 16, 256, true,
            "Display must be set to exactly 256 colors!\nPlease consult your monitor manual as to how to change to "
            "this Color Depth." },
        { "old platform, 8 bits", 8, 256, true, nullptr },
        { "newer platform, deeper display with a palette", 16, 256, false, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColorTable::ReleaseShared();
        size_t shown = pw::platform::testing::AlertLog().size();
        pw::platform::gdi::testing::ConfigureScreen({ 640, 480, c.bits, c.entries });
        pw::graphics::testing::ForceWinVersion(c.oldPlatform ? Win31Only : Win95);
        if (c.message)
            pw::platform::testing::ScriptMessageBoxes({ IDOK });
        EXPECT_EQ(Outcome([] { ColorTable::Setup(8); }), c.message ? "exit 0" : "");
        ASSERT_EQ(pw::platform::testing::AlertLog().size(), shown + (c.message ? 1 : 0));
        if (c.message) {
            const auto& box = pw::platform::testing::AlertLog().back();
            EXPECT_EQ(box.text, c.message);
            EXPECT_EQ(box.style & MB_ICONSTOP, UINT(MB_ICONSTOP));
            EXPECT_EQ(box.style & 0xF, UINT(MB_OK));
        }
    }
}

TEST(ColorTable, IndexedConvertFindsTheFirstEqualEntry)
{
    TypedArray<Color> colors;
    for (int i : { 1, 0, 7, 15, 13 })
        colors.Append(Color(i));
    ColorTable table(colors);
    EXPECT_EQ(table.BitDepth(), 4);
    struct Case {
        int standard;
        bool found;
        uint32_t value;
    } cases[] = { { 1, true, 0 }, { 16, true, 0 }, { 0, true, 1 }, { 15, true, 1 }, { 13, true, 4 }, { 9, false, 5 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standard);
        uint32_t value = 99;
        EXPECT_EQ(table.Convert(Color(c.standard), value), c.found);
        EXPECT_EQ(value, c.value);
    }
    EXPECT_EQ(Failure([&] { table.GetColor(5); }), "Range error");

    // Only each component's high byte counts, as for Equals.
    Color offWhite = Color(0);
    offWhite.red = 0xFF12;
    uint32_t value = 99;
    EXPECT_TRUE(table.Convert(offWhite, value));
    EXPECT_EQ(value, 1u);
    // Given other entries, the table answers by them, not by what it answered before.
    TypedArray<Color> others;
    for (int i : { 7, 0 })
        others.Append(Color(i));
    table = ColorTable(others);
    EXPECT_TRUE(table.Convert(Color(0), value));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(table.Convert(Color(1), value));
    EXPECT_EQ(value, 2u);
}

TEST(ColorTable, DirectColourPacksAt16And24Bits)
{
    MemoryStream stored16 = Stored(Fixed(1, 2), 0, {}, int16_t(16));
    SmartPtr<ColorTable> sixteen = Read(stored16);
    SmartPtr<ColorTable> twentyFour = new ColorTable(TypedArray<Color>());
    EXPECT_EQ(twentyFour->BitDepth(), 24);
    struct Case {
        const char* name;
        ColorTable& table;
        Color color;
        uint32_t packed;
        Color unpacked;
    } cases[] = {
        { "16: red", *sixteen.Get(), Color(7), 0x7C00, Rgb(0xF8, 0, 0) },
        { "16: green", *sixteen.Get(), Color(8), 0x03E0, Rgb(0, 0xF8, 0) },
        { "16: blue", *sixteen.Get(), Color(9), 0x001F, Rgb(0, 0, 0xF8) },
        { "16: mixed", *sixteen.Get(), Rgb(0x84, 0x42, 0x21), (0x10 << 10) | (0x08 << 5) | 0x04, Rgb(0x80, 0x40, 0x20) },
        { "24: mixed", *twentyFour.Get(), Rgb(0x12, 0x34, 0x56), 0x123456, Rgb(0x12, 0x34, 0x56) },
        { "24: white", *twentyFour.Get(), Color(0), 0xFFFFFF, Rgb(0xFF, 0xFF, 0xFF) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t value = 0;
        EXPECT_TRUE(c.table.Convert(c.color, value));
        EXPECT_EQ(value, c.packed);
        Color back = c.table.GetColor(value);
        EXPECT_TRUE(back.Equals(c.unpacked));
        EXPECT_EQ(back.red & 0xFF, 0);
        EXPECT_EQ(back.extra, 0);
    }
    EXPECT_EQ(sixteen->GetColor(0x7C00).red, 0xF800);
}

TEST(ColorTable, StoredTablesOfEveryVersionReadBack)
{
    std::vector<Color> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back(Rgb(uint8_t(i * 16), uint8_t(255 - i), 7));
    std::vector<Color> three(sixteen.begin(), sixteen.begin() + 3);
    struct Case {
        const char* name;
        Fixed version;
        std::vector<Color> colors;
        std::optional<int16_t> depth;
        int16_t expectedDepth;
        size_t paletteEntries;
    } cases[] = {
        { "1.0, 16 entries", Fixed(1, 0), sixteen, std::nullopt, 4, 16 },
        { "1.1, 3 entries", Fixed(1, 1), three, std::nullopt, 2, 4 },
        { "1.0 without entries", Fixed(1, 0), {}, std::nullopt, 24, 0 },
        { "1.2, 3 entries at depth 8", Fixed(1, 2), three, int16_t(8), 8, 256 },
        { "1.2 direct", Fixed(1, 2), {}, int16_t(24), 24, 0 },
        { "2.0, not readable", Fixed(2, 0), three, int16_t(2), 24, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStream stream = Stored(c.version, static_cast<int32_t>(c.colors.size()), c.colors, c.depth);
        SmartPtr<ColorTable> table = Read(stream);
        EXPECT_EQ(table->BitDepth(), c.expectedDepth);
        ASSERT_EQ(table->NumColors(), c.expectedDepth == 24 ? 0 : c.colors.size());
        for (size_t i = 0; i < table->NumColors(); ++i)
            EXPECT_EQ(table->GetColor(uint32_t(i)).red, c.colors[i].red);
        std::vector<PALETTEENTRY> entries = c.paletteEntries ? Entries(table->GetPalette()) : std::vector<PALETTEENTRY>();
        ASSERT_EQ(entries.size(), c.paletteEntries);
        for (size_t i = 0; i < entries.size(); ++i) {
            Color expected = i < c.colors.size() ? c.colors[i] : Rgb(0, 0, 0);
            EXPECT_EQ(entries[i].peRed, expected.red >> 8);
            EXPECT_EQ(entries[i].peGreen, expected.green >> 8);
        }

        // Written again, it is stored at the current version with its depth and reads back equal.
        MemoryStream again;
        {
            SmartPtr<FlatArchive> archive = new FlatArchive(again, { &ColorTable::version }, true);
            table->Write(*archive.Get());
        }
        SmartPtr<ColorTable> reread = Read(again);
        EXPECT_TRUE(reread->Equals(*table.Get()));
    }
}

TEST(ColorTable, StoredSizesThatDoNotFitGiveTheCorruptFileMessage)
{
    std::vector<Color> five(5, Rgb(1, 2, 3));
    std::vector<Color> many(300, Rgb(1, 2, 3));
    struct Case {
        const char* name;
        Fixed version;
        int32_t count;
        std::vector<Color> colors;
        std::optional<int16_t> depth;
    } cases[] = {
        { "count past the end", Fixed(1, 2), 6, five, int16_t(4) },
        { "negative count", Fixed(1, 2), -1, five, int16_t(4) },
        { "huge count", Fixed(1, 0), 0x20000000, five, std::nullopt },
        { "depth 3", Fixed(1, 2), 5, five, int16_t(3) },
        { "depth 0", Fixed(1, 2), 5, five, int16_t(0) },
        { "negative depth", Fixed(1, 2), 5, five, int16_t(-8) },
        { "more entries than depth 2 holds", Fixed(1, 2), 5, five, int16_t(2) },
        { "300 entries at depth 8", Fixed(1, 2), 300, many, int16_t(8) },
        { "indexed without entries", Fixed(1, 2), 0, {}, int16_t(8) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStream stream = Stored(c.version, c.count, c.colors, c.depth);
        EXPECT_EQ(Failure([&] { Read(stream); }), kCorrupt);
    }
}

TEST(ColorTable, CopiesOwnTheirPalettesAndNothingLeaks)
{
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    {
        TypedArray<Color> colors;
        colors.Append(Rgb(10, 20, 30));
        colors.Append(Rgb(40, 50, 60));
        colors.Append(Rgb(70, 80, 90));
        SmartPtr<ColorTable> original = new ColorTable(colors);
        EXPECT_EQ(original->BitDepth(), 2);
        std::vector<PALETTEENTRY> padded = Entries(original->GetPalette());
        ASSERT_EQ(padded.size(), 4u);
        EXPECT_EQ(padded[3].peRed, 0);

        SmartPtr<ColorTable> copy = original.MakeCopy();
        ASSERT_TRUE(copy.Valid());
        EXPECT_NE(copy->GetPalette(), original->GetPalette());
        original = nullptr;
        EXPECT_EQ(Entries(copy->GetPalette()).size(), 4u);

        ColorTable assigned(TypedArray<Color>{});
        assigned.CopyFrom(copy.Get());
        EXPECT_TRUE(assigned.Equals(*copy.Get()));
        EXPECT_NE(assigned.GetPalette(), copy->GetPalette());
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}

TEST(WinVersion, ThePlatformProbeBuildsAnAcceleratorTableOnce)
{
    pw::platform::testing::MakePlatformProbeFail(true);
    EXPECT_EQ(GetWinVersion(), Win31Only);
    pw::platform::testing::MakePlatformProbeFail(false);
    EXPECT_TRUE(IsWin31Only());
    pw::graphics::testing::ForceWinVersion(std::nullopt);
    EXPECT_EQ(GetWinVersion(), Win95);
    EXPECT_EQ(GetLastError(), 0u);
}
