// Device contexts and the object table: defaults, selection, deletion rules, handle checks, and
// the last error the program reads.
#include "GdiTestSupport.h"

#include "platform/gdi/GdiTesting.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/WindowDc.h"

#include <windows.h>

#include <functional>

using namespace gditest;
namespace gdi = pw::platform::gdi;

TEST(DeviceContext, NewContextsHaveTheDocumentedDefaults)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    for (HDC dc : { screen, memory }) {
        SCOPED_TRACE(dc == screen ? "screen" : "memory");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
        EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
        // A memory DC reports the screen, not its bitmap.
        EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 8);
        EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 256);
        EXPECT_EQ(GetDeviceCaps(dc, NUMRESERVED), 20);
        EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
    }
    // A memory DC holds a 1 x 1 monochrome bitmap until another is selected.
    BITMAP bm {};
    ASSERT_EQ(GetObjectA(GetCurrentObject(memory, OBJ_BITMAP), sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    RECT box {};
    EXPECT_EQ(GetClipBox(memory, &box), SIMPLEREGION);
    EXPECT_EQ(RectText(box), "0,0,1,1");
    EXPECT_EQ(GetClipBox(screen, &box), SIMPLEREGION);
    EXPECT_EQ(RectText(box), "0,0,640,480");
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(gdi::testing::LiveDcCount(), 0u);
}

TEST(DeviceContext, SelectObjectReturnsThePreviousObjectOfTheSameKind)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 8, nullptr);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    HGDIOBJ oneByOne = SelectObject(dc, bitmap);
    EXPECT_NE(oneByOne, nullptr);
    EXPECT_EQ(SelectObject(dc, bitmap), bitmap) << "re-selecting the held bitmap returns it";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);

    // A bitmap held by one DC cannot go into another; a bitmap never goes into the screen DC.
    HDC other = CreateCompatibleDC(nullptr);
    SetLastError(0);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_NE(GetLastError(), 0u);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(SelectObject(screen, CreateBitmap(1, 1, 1, 1, nullptr)), nullptr);
    ReleaseDC(nullptr, screen);

    EXPECT_EQ(SelectObject(dc, oneByOne), bitmap);
    EXPECT_EQ(SelectObject(other, bitmap), oneByOne) << "free again once the first DC let it go";
    DeleteDC(other);
    DeleteDC(dc);
}

TEST(DeviceContext, DeleteObjectRules)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

    EXPECT_FALSE(DeleteObject(brush)) << "selected objects are kept";
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(GetStockObject(NULL_PEN))) << "stock objects: TRUE, nothing happens";
    EXPECT_NE(GetStockObject(NULL_PEN), nullptr);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(bitmap)) << "the bitmap outlives the DC it was in";
    EXPECT_EQ(gdi::testing::LiveObjectCount(), 0u);
}

TEST(DeviceContext, DeadAndForeignHandlesFailWithoutCrashing)
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    DeleteObject(brush);
    HDC dc = CreateCompatibleDC(nullptr);
    DeleteDC(dc);
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    HDC live = CreateCompatibleDC(nullptr);
    RECT rect { 0, 0, 1, 1 };
    BITMAP bm;
    struct Case {
        const char* name;
        std::function<bool()> fails;
    };
    const Case cases[] = {
        { "DeleteObject twice", [&] { return !DeleteObject(brush); } },
        { "SelectObject of a dead brush", [&] { return SelectObject(live, brush) == nullptr; } },
        { "SelectObject into a dead DC", [&] { return SelectObject(dc, GetStockObject(NULL_PEN)) == nullptr; } },
        { "drawing on a dead DC", [&] { return !Rectangle(dc, 0, 0, 2, 2); } },
        { "FillRect with a dead brush", [&] { return FillRect(live, &rect, brush) == 0; } },
        { "FillRect with a region as brush", [&] { return FillRect(live, &rect, reinterpret_cast<HBRUSH>(region)) == 0; } },
        { "GetObjectA of a brush", [&] { return GetObjectA(brush, sizeof(bm), &bm) == 0; } },
        { "GetObjectA of a region", [&] { return GetObjectA(region, sizeof(bm), &bm) == 0; } },
        { "GetObjectA of a made-up handle", [&] { return GetObjectA(reinterpret_cast<HANDLE>(0x1234), sizeof(bm), &bm) == 0; } },
        { "DeleteDC of the dead DC", [&] { return !DeleteDC(dc); } },
        { "ReleaseDC of a memory DC", [&] { return ReleaseDC(nullptr, live) == 0; } },
        { "GetNearestPaletteIndex of a brush", [&] { return GetNearestPaletteIndex(reinterpret_cast<HPALETTE>(brush), 0) == CLR_INVALID; } },
        { "SetROP2 out of range", [&] { return SetROP2(live, 17) == 0; } },
        { "SetBkMode out of range", [&] { return SetBkMode(live, 3) == 0; } },
        { "CombineRgn with a DC", [&] { return CombineRgn(region, reinterpret_cast<HRGN>(live), region, RGN_OR) == ERROR; } },
        { "CreatePen of another style", [&] { return CreatePen(1, 1, 0) == nullptr; } },
        { "CreateBitmap of depth 3", [&] { return CreateBitmap(1, 1, 1, 3, nullptr) == nullptr; } },
        { "CreateBitmap of width 0", [&] { return CreateBitmap(0, 1, 1, 8, nullptr) == nullptr; } },
        { "GetStockObject 99", [&] { return GetStockObject(99) == nullptr; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_TRUE(c.fails());
        DWORD error = GetLastError();
        EXPECT_TRUE(error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_PARAMETER) << error;
    }
    DeleteObject(region);
    DeleteDC(live);
}

TEST(DeviceContext, SuccessfulCallsLeaveTheLastErrorAlone)
{
    SetLastError(1234);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    DibCanvas canvas(8, 8);
    HRGN region = CreateRectRgn(0, 0, 4, 4);
    SelectClipRgn(canvas.dc, region);
    RECT rect { 0, 0, 8, 8 };
    FillRect(canvas.dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Rectangle(canvas.dc, 0, 0, 3, 3);
    Ellipse(canvas.dc, 0, 0, 3, 3);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 5, 5);
    GetPixel(canvas.dc, 1, 1);
    BitBlt(dc, 0, 0, 1, 1, canvas.dc, 0, 0, SRCCOPY);
    SIZE size;
    GetTextExtentPoint32A(canvas.dc, "abc", 3, &size);
    DrawTextA(canvas.dc, "abc", -1, &rect, DT_NOCLIP | DT_WORDBREAK);
    PALETTEENTRY entries[256];
    GetSystemPaletteEntries(screen, 0, 256, entries);
    DeleteObject(region);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetLastError(), 1234u);
}

TEST(DeviceContext, WindowDcIsTheScreenSeenThroughItsVisibleRegion)
{
    gdi::SetWindowDCProvider(nullptr);
    SetLastError(0);
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x42)), nullptr) << "no window manager installed";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));

    // A 6 x 4 client area at (10, 20) whose right half is covered by another window.
    HWND window = reinterpret_cast<HWND>(0x42);
    gdi::SetWindowDCProvider([](HWND hwnd) {
        return gdi::CreateWindowDC(hwnd, { 10, 20 }, gdi::RegionData(10, 20, 13, 24));
    });
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    RECT box {};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(RectText(box), "0,0,3,4");
    HDC screenDc = GetDC(nullptr);
    Paint(screenDc, { 0, 0, 640, 480 }, 255);
    ReleaseDC(nullptr, screenDc);
    RECT all { -5, -5, 50, 50 };
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID) << "covered part";
    EXPECT_TRUE(SameGrid({ "......", ".r##..", ".###..", ".###..", ".###..", "......" },
                         GridOf(gdi::testing::ReadScreen(), 9, 19, 6, 6)));
    // The window moves by (1, 1) while its DC is held.
    gdi::UpdateWindowDC(dc, { 11, 21 }, gdi::RegionData(11, 21, 14, 25));
    SetPixel(dc, 0, 0, RGB(0, 0, 255));
    EXPECT_EQ(gdi::testing::ReadScreen().At(11, 21), IndexOf('b'));
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    gdi::SetWindowDCProvider(nullptr);
}
