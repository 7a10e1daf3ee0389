#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/user/clipboard/ClipboardStore.h"
#include "platform/user/clipboard/ClipboardTesting.h"
#include "platform/user/clipboard/PackedDib.h"

#include "../WindowFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace pw::platform::testing;
using pw::platform::tests::WindowFixture;

HGLOBAL TextBlock(const std::string& text)
{
    return pw::platform::ClipboardStore::BlockOf(text);
}

// A 3 x 2 picture of 8 bits with a four-colour table, rows bottom-up: the bottom row 0 1 2, the
// top row 3 2 1.
std::vector<uint8_t> SmallDib()
{
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + 4 * sizeof(RGBQUAD) + 2 * 4, 0);
    BITMAPINFOHEADER header {};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 4;
    std::memcpy(dib.data(), &header, sizeof header);
    const RGBQUAD colors[4] = { { 0, 0, 0, 0 }, { 0, 0, 255, 0 }, { 0, 255, 0, 0 }, { 255, 255, 255, 0 } };
    std::memcpy(dib.data() + sizeof header, colors, sizeof colors);
    const uint8_t rows[8] = { 0, 1, 2, 0, 3, 2, 1, 0 };
    std::memcpy(dib.data() + sizeof header + sizeof colors, rows, sizeof rows);
    return dib;
}

using Clipboard = WindowFixture;

TEST_F(Clipboard, OpeningAndClosing)
{
    HWND first = MakeWindow();
    HWND second = MakeWindow();
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x7777)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

    ASSERT_TRUE(OpenClipboard(first));
    EXPECT_TRUE(OpenClipboard(first));
    EXPECT_FALSE(OpenClipboard(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(PutSystemClipboardText("other program"));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(second));
    EXPECT_TRUE(CloseClipboard());

    SetLastError(0);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_FALSE(EmptyClipboard());
    HGLOBAL stray = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, stray), nullptr);
    GlobalFree(stray);
    EXPECT_FALSE(IsClipboardOpen());
}

TEST_F(Clipboard, TextGoesToTheBackendAndBack)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL block = TextBlock("caf\xe9");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
    EXPECT_EQ(GetClipboardData(CF_TEXT), block);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(pw::platform::GetBackendClipboardText(), "caf\xc3\xa9");
    EXPECT_EQ(SystemClipboardText(), "caf\xe9");

    // Another program on the desktop changes the text: the clipboard takes it over.
    DWORD before = GetClipboardSequenceNumber();
    pw::platform::SetBackendClipboardText("na\xc3\xafve \xe2\x82\xac \xe2\x98\x83");
    EXPECT_GT(GetClipboardSequenceNumber(), before);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(SystemClipboardText(), "na\xefve \x80 ?");
    EXPECT_EQ(GlobalSize(block), 0u) << "the replaced text was freed";
}

TEST_F(Clipboard, SequenceNumberCountsChangesOnly)
{
    DWORD start = GetClipboardSequenceNumber();
    EXPECT_EQ(GetClipboardSequenceNumber(), start);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardSequenceNumber(), start);
    EXPECT_TRUE(EmptyClipboard());
    SetClipboardData(CF_TEXT, TextBlock("a"));
    EXPECT_TRUE(CloseClipboard());
    DWORD afterOwn = GetClipboardSequenceNumber();
    EXPECT_EQ(afterOwn, start + 2);
    EXPECT_EQ(GetClipboardSequenceNumber(), afterOwn);
    ASSERT_TRUE(PutSystemClipboardText("b"));
    EXPECT_GT(GetClipboardSequenceNumber(), afterOwn);
}

TEST_F(Clipboard, RefusedData)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HGLOBAL text = TextBlock("x");
    EXPECT_EQ(SetClipboardData(49152, text), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x1234)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SetClipboardData(CF_BITMAP, text), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    GlobalFree(text);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    CloseClipboard();
}

// Each picture format is offered whenever the other was put; the one made is the clipboard's.
TEST_F(Clipboard, PicturesAreOfferedInBothForms)
{
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
    BITMAP info {};
    ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_TRUE(CloseClipboard());

    // Put as a bitmap, read back as a packed DIB with the same colours.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    std::vector<uint8_t> source = SmallDib();
    HBITMAP made = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(source.data()), CBM_INIT,
        source.data() + sizeof(BITMAPINFOHEADER) + 16, reinterpret_cast<const BITMAPINFO*>(source.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, made), made);
    CloseClipboard();
    std::optional<std::vector<uint8_t>> dib = SystemClipboardDib();
    ASSERT_TRUE(dib);
    std::optional<pw::platform::PackedDibLayout> layout = pw::platform::ParsePackedDib(dib->data(), dib->size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 3);
    EXPECT_EQ(layout->height, 2);
    auto colorAt = [&](int x, int y) {
        // Bottom-up 8-bit rows of 4 bytes.
        uint8_t index = (*dib)[layout->bitsOffset + static_cast<size_t>((1 - y) * 4 + x)];
        RGBQUAD color;
        std::memcpy(&color, dib->data() + sizeof(BITMAPINFOHEADER) + index * sizeof(RGBQUAD), sizeof color);
        return (color.rgbRed << 16) | (color.rgbGreen << 8) | color.rgbBlue;
    };
    EXPECT_EQ(colorAt(0, 0), 0xFFFFFF);
    EXPECT_EQ(colorAt(1, 0), 0x00FF00);
    EXPECT_EQ(colorAt(2, 0), 0xFF0000);
    EXPECT_EQ(colorAt(0, 1), 0x000000);
}

TEST_F(Clipboard, PackedDibsAreReadWithinTheirBytes)
{
    std::vector<uint8_t> dib = SmallDib();
    struct Case {
        const char* name;
        void (*spoil)(std::vector<uint8_t>&);
        bool readable;
    };
    const std::vector<Case> cases = {
        { "as made", [](std::vector<uint8_t>&) {}, true },
        { "one byte short", [](std::vector<uint8_t>& b) { b.pop_back(); }, false },
        { "no header", [](std::vector<uint8_t>& b) { b.resize(39); }, false },
        { "taller than its bytes", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biHeight = 3; }, false },
        { "top-down", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biHeight = -2; }, true },
        { "huge width", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biWidth = 0x7FFFFFFF; }, false },
        { "too many colours", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biClrUsed = 257; }, false },
        { "compressed", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biCompression = 1; }, false },
        { "odd depth", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biBitCount = 7; }, false },
        { "bigger header", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biSize = 108; }, false },
        { "lowest height", [](std::vector<uint8_t>& b) { reinterpret_cast<BITMAPINFOHEADER*>(b.data())->biHeight = INT32_MIN; }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = dib;
        c.spoil(bytes);
        EXPECT_EQ(pw::platform::ParsePackedDib(bytes.data(), bytes.size()).has_value(), c.readable);
        ASSERT_TRUE(PutSystemClipboardDib(bytes));
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(GetClipboardData(CF_BITMAP) != nullptr, c.readable);
        CloseClipboard();
    }
}

TEST_F(Clipboard, EmptyingFreesWhatTheClipboardOwns)
{
    size_t before = LiveGlobalBlocks();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    HGLOBAL text = TextBlock("shared");
    SetClipboardData(CF_TEXT, text);
    SetClipboardData(CF_TEXT, text);
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()) == false);
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, SmallDib().size());
    std::memcpy(GlobalLock(dib), SmallDib().data(), SmallDib().size());
    GlobalUnlock(dib);
    SetClipboardData(CF_DIB, dib);
    EXPECT_NE(GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_EQ(LiveGlobalBlocks(), before + 2);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(LiveGlobalBlocks(), before);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    CloseClipboard();
}

} // namespace
