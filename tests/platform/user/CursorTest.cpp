#include "WindowFixture.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/Cursors.h"

#include <fstream>
#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class CursorTest : public WindowFixture { };

// Writes a cursor file into the start-up folder's Data folder.
void WriteDataFile(const std::string& name, const std::string& text)
{
    ASSERT_TRUE(driver::SetStartupFolder("c:\\Start\\Data"));
    ASSERT_TRUE(driver::SetStartupFolder("c:\\Start"));
    std::ofstream file(driver::DriveRoot() + "/Start/Data/" + name, std::ios::binary);
    file << text;
}

TEST_F(CursorTest, SystemCursorsAreSharedAndUnknownIdsFail)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    // Ids without art of their own show the arrow.
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZEALL), arrow);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    EXPECT_NE(wait, nullptr);
    EXPECT_NE(wait, arrow);
    struct Case {
        const char* name;
        HINSTANCE instance;
        UINT id;
    };
    for (Case c : {
             Case { "unknown system id", nullptr, 32600 },
             Case { "program id without a module", nullptr, 201 },
             Case { "system id from the program", ProgramInstance(), 32512 },
             Case { "program id without a Data file", ProgramInstance(), 201 },
         }) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(LoadCursorA(c.instance, MAKEINTRESOURCE(c.id)), nullptr);
        EXPECT_EQ(GetLastError(), 1814u);
    }
}

TEST_F(CursorTest, SetCursorReturnsThePreviousOne)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    // The arrow shows from the start, so putting back what the first call returned keeps a cursor.
    EXPECT_EQ(SetCursor(wait), arrow);
    EXPECT_EQ(SetCursor(nullptr), wait);
    EXPECT_EQ(SetCursor(arrow), nullptr);
    SetLastError(0);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x1234)), nullptr);
    EXPECT_EQ(GetLastError(), 1402u);
    EXPECT_EQ(SetCursor(arrow), arrow);
}

TEST_F(CursorTest, ProgramCursorsComeFromTextArtDataFiles)
{
    WriteDataFile("300.cur", "; a plus\nhotspot 1 1\n.o.\n#~#\n.o.\n");
    HCURSOR cursor = LoadCursorA(ProgramInstance(), MAKEINTRESOURCE(300));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LoadCursorA(ProgramInstance(), MAKEINTRESOURCE(300)), cursor);

    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.yHotspot, 1u);
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP bm {};
    ASSERT_EQ(GetObjectA(info.hbmMask, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 64);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * 64);
    ASSERT_EQ(GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()), static_cast<LONG>(bits.size()));
    auto bit = [&](int x, int row) { return (bits[static_cast<size_t>(row) * bm.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1; };
    struct Case {
        const char* name;
        int x, y;
        int andBit, xorBit;
    };
    for (Case c : { Case { "clear", 0, 0, 1, 0 }, Case { "white", 1, 0, 0, 1 }, Case { "black", 0, 1, 0, 0 },
             Case { "inverted", 1, 1, 1, 1 }, Case { "beyond the art", 20, 20, 1, 0 } }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bit(c.x, c.y), c.andBit);
        EXPECT_EQ(bit(c.x, 32 + c.y), c.xorBit);
    }
    DeleteObject(info.hbmMask);
}

TEST_F(CursorTest, MalformedArtIsRefused)
{
    for (const char* text : { "", "hotspot 0 0\n", "hot 0 0\n#\n", "hotspot 0 0\n#x#\n", "hotspot 3 0\n###\n",
             "hotspot 0 0\n#################################\n" }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseCursorArt(text).has_value());
    }
    std::string tall = "hotspot 0 0\n";
    for (int i = 0; i < 33; ++i)
        tall += "#\n";
    EXPECT_FALSE(ParseCursorArt(tall).has_value());
    WriteDataFile("301.cur", "hotspot 0 0\n#?\n");
    SetLastError(0);
    EXPECT_EQ(LoadCursorA(ProgramInstance(), MAKEINTRESOURCE(301)), nullptr);
    EXPECT_EQ(GetLastError(), 1814u);
}

TEST_F(CursorTest, TheCursorIsDrawnOverTheDesktopAtThePointer)
{
    WriteDataFile("302.cur", "hotspot 1 1\n##.\n#o~\n...\n");
    HCURSOR cursor = LoadCursorA(ProgramInstance(), MAKEINTRESOURCE(302));
    ASSERT_NE(cursor, nullptr);
    // Nothing shows before the pointer has moved.
    Frame before = driver::ReadDesktop(true);
    driver::MoveMouse(100, 50);
    driver::RunUntilIdle();
    SetCursor(cursor);
    Frame shown = driver::ReadDesktop(true);
    EXPECT_EQ(shown.pixels.size(), before.pixels.size());
    uint8_t ground = before.At(100, 50);
    struct Case {
        int x, y;
        int expected;
    };
    for (Case c : { Case { 99, 49, 0 }, Case { 100, 49, 0 }, Case { 101, 49, ground }, Case { 99, 50, 0 },
             Case { 100, 50, 255 }, Case { 101, 50, 255 - ground }, Case { 100, 51, ground } }) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(shown.At(c.x, c.y), c.expected);
    }
    // Without the cursor the desktop is as it was.
    EXPECT_EQ(driver::ReadDesktop(false).pixels, before.pixels);
    SetCursor(nullptr);
    EXPECT_EQ(driver::ReadDesktop(true).pixels, before.pixels);
}

} // namespace

} // namespace pw::platform::tests
