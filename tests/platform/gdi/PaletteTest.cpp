// The system palette, logical palettes, realisation and palette-relative colours.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"

#include <windows.h>

#include <vector>

using namespace gditest;
namespace gdi = pw::platform::gdi;

namespace {

// A 256-entry palette laid out like the program's standard palette: the system's statics at
// 0..9 and 246..255 with flags 0, a colour ramp of PC_RESERVED entries in between.
std::vector<PALETTEENTRY> StandardLike()
{
    HDC screen = GetDC(nullptr);
    std::vector<PALETTEENTRY> entries(256);
    GetSystemPaletteEntries(screen, 0, 256, entries.data());
    ReleaseDC(nullptr, screen);
    for (int i = 10; i < 246; ++i)
        entries[i] = { static_cast<BYTE>(i), static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i), PC_RESERVED };
    return entries;
}

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries)
{
    std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), logical->palPalEntry);
    return CreatePalette(logical);
}

} // namespace

TEST(Palettes, EntriesComeBackAsCreatedAndCountsAreBounded)
{
    HPALETTE palette = MakePalette({ { 1, 2, 3, 0 }, { 4, 5, 6, PC_RESERVED }, { 7, 8, 9, PC_NOCOLLAPSE } });
    PALETTEENTRY out[4] {};
    EXPECT_EQ(GetPaletteEntries(palette, 0, 4, out), 3u);
    EXPECT_EQ(out[1].peFlags, PC_RESERVED);
    EXPECT_EQ(GetPaletteEntries(palette, 2, 4, out), 1u);
    EXPECT_EQ(out[0].peBlue, 9);
    SetLastError(0);
    EXPECT_EQ(GetPaletteEntries(palette, 3, 4, out), 0u);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u) << "NULL asks for the size";
    DeleteObject(palette);
}

TEST(Palettes, NearestIndexIsTheLeastSquaredDistanceAndTheLowestOnTies)
{
    HPALETTE palette = MakePalette({ { 0, 0, 0, 0 }, { 200, 0, 0, 0 }, { 0, 0, 100, 0 }, { 200, 0, 0, 0 }, { 100, 100, 100, 0 } });
    struct Case {
        COLORREF color;
        UINT index;
    };
    for (Case c : { Case { RGB(190, 10, 0), 1 }, { RGB(0, 0, 50), 0 }, { RGB(0, 0, 51), 2 },
                    { PALETTERGB(200, 0, 0), 1 }, { RGB(90, 90, 90), 4 } }) {
        SCOPED_TRACE(testing::Message() << std::hex << c.color);
        EXPECT_EQ(GetNearestPaletteIndex(palette, c.color), c.index);
    }
    DeleteObject(palette);
}

TEST(Palettes, RealisingAStandardLikePaletteIsTheIdentityAndCountsChanges)
{
    std::vector<PALETTEENTRY> entries = StandardLike();
    HPALETTE palette = MakePalette(entries);
    HDC screen = GetDC(nullptr);
    HPALETTE previous = SelectPalette(screen, palette, FALSE);
    EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(screen), 236u);
    EXPECT_EQ(RealizePalette(screen), 0u) << "already realised";
    PALETTEENTRY system[256];
    GetSystemPaletteEntries(screen, 0, 256, system);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(system[i].peRed, entries[i].peRed) << i;
        EXPECT_EQ(system[i].peGreen, entries[i].peGreen) << i;
        EXPECT_EQ(system[i].peBlue, entries[i].peBlue) << i;
    }

    // Palette-relative colours go through the selected palette, then to the screen's entry.
    COLORREF ramp = RGB(entries[100].peRed, entries[100].peGreen, entries[100].peBlue);
    EXPECT_EQ(SetPixel(screen, 0, 0, ramp | 0x02000000), ramp);
    EXPECT_EQ(gdi::testing::ReadScreen().At(0, 0), 100u);
    EXPECT_EQ(SetPixel(screen, 1, 0, PALETTEINDEX(120)), RGB(entries[120].peRed, entries[120].peGreen, entries[120].peBlue));
    EXPECT_EQ(gdi::testing::ReadScreen().At(1, 0), 120u);

    SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(DeleteObject(palette));
}

TEST(Palettes, PaletteRelativeColoursUseTheDefaultPaletteOnTheScreenAndTheBitmapsTableInMemory)
{
    // An orange that only the DIB's table holds exactly.
    std::vector<RGBQUAD> table = SystemTable();
    table[77] = { 0, 128, 255, 0 };
    DibCanvas canvas(1, 1, 8, table);
    SetPixel(canvas.dc, 0, 0, PALETTERGB(255, 128, 0));
    EXPECT_EQ(canvas.bits[0], 77) << "no palette selected: matched against the bitmap alone";

    HDC screen = GetDC(nullptr);
    EXPECT_EQ(SetPixel(screen, 0, 0, PALETTERGB(255, 128, 0)), RGB(128, 128, 0))
        << "the screen DC's default palette holds only the 20 static colours (dark yellow and yellow tie)";
    ReleaseDC(nullptr, screen);

    // With a palette selected, memory DCs go through it too.
    HPALETTE palette = MakePalette({ { 0, 0, 0, 0 }, { 255, 0, 0, 0 } });
    SelectPalette(canvas.dc, palette, FALSE);
    SetPixel(canvas.dc, 0, 0, PALETTERGB(255, 128, 0));
    EXPECT_EQ(canvas.bits[0], 249);
    EXPECT_FALSE(DeleteObject(palette)) << "still selected";
    SelectPalette(canvas.dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    EXPECT_TRUE(DeleteObject(palette));
}

TEST(Palettes, ScreenOverridesReachWhatTheScreenReports)
{
    gdi::testing::ConfigureScreen({ 320, 200, 16, 0 });
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 320);
    EXPECT_FALSE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE);
    PALETTEENTRY entries[256];
    EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 256, entries), 0u);
    RECT box {};
    GetClipBox(screen, &box);
    EXPECT_EQ(RectText(box), "0,0,320,200");
    ReleaseDC(nullptr, screen);
}
