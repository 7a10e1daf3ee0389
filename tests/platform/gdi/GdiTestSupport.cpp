#include "GdiTestSupport.h"

#include <cstring>
#include <sstream>

using pw::platform::gdi::testing::PixelImage;

namespace gditest {

namespace {

constexpr struct {
    char c;
    uint32_t index;
} kLegend[] = { { '#', 0 },   { '.', 255 }, { 'r', 249 }, { 'g', 250 }, { 'y', 251 },
                { 'b', 252 }, { 'm', 253 }, { 'c', 254 }, { '-', 248 }, { 's', 7 } };

} // namespace

char CharOf(uint32_t index)
{
    for (auto entry : kLegend)
        if (entry.index == index)
            return entry.c;
    return '?';
}

uint32_t IndexOf(char c)
{
    for (auto entry : kLegend)
        if (entry.c == c)
            return entry.index;
    ADD_FAILURE() << "no legend entry for '" << c << "'";
    return 0;
}

Grid GridOf(const PixelImage& image, int left, int top, int width, int height)
{
    Grid grid;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            if (x >= image.width || y >= image.height) {
                row.push_back(' ');
                continue;
            }
            COLORREF color = image.ColorAt(x, y);
            char c = '?';
            for (auto entry : kLegend) {
                const RGBQUAD& q = pw::platform::gdi::Screen::StaticColors()[entry.index < 10 ? entry.index : entry.index - 236];
                if (RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == color)
                    c = entry.c;
            }
            row.push_back(c);
        }
        grid.push_back(row);
    }
    return grid;
}

Grid GridOf(HDC hdc, int width, int height)
{
    auto image = pw::platform::gdi::testing::ReadDC(hdc);
    if (!image)
        return { "(dead DC)" };
    return GridOf(*image, 0, 0, width, height);
}

::testing::AssertionResult SameGrid(const Grid& expected, const Grid& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "grids differ (expected | actual):\n";
    size_t rows = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < rows; ++i) {
        std::string e = i < expected.size() ? expected[i] : "";
        std::string a = i < actual.size() ? actual[i] : "";
        out << "  " << e << std::string(e.size() < 20 ? 20 - e.size() : 1, ' ') << "| " << a
            << (e == a ? "" : "   <") << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

void Paint(HDC hdc, RECT rect, uint32_t index)
{
    RGBQUAD q = SystemTable()[index];
    HBRUSH brush = CreateSolidBrush(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

HBRUSH MonochromePatternBrush(const std::array<BYTE, 8>& rows)
{
    // Device-dependent rows are padded to 16 bits.
    BYTE padded[16] {};
    for (size_t i = 0; i < rows.size(); ++i)
        padded[2 * i] = rows[i];
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, padded);
    HBRUSH brush = CreatePatternBrush(pattern);
    EXPECT_TRUE(DeleteObject(pattern)) << "the brush keeps its own copy";
    return brush;
}

std::vector<RGBQUAD> SystemTable()
{
    HDC screen = GetDC(nullptr);
    PALETTEENTRY entries[256] {};
    GetSystemPaletteEntries(screen, 0, 256, entries);
    ReleaseDC(nullptr, screen);
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY& e : entries)
        table.push_back({ e.peBlue, e.peGreen, e.peRed, 0 });
    return table;
}

DibInfo::DibInfo(int width, int height, int depth, const std::vector<RGBQUAD>& table)
{
    std::memset(this, 0, sizeof(*this));
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(depth);
    header.biCompression = BI_RGB;
    header.biClrUsed = static_cast<DWORD>(depth <= 8 ? table.size() : 0);
    for (size_t i = 0; i < table.size() && i < 256; ++i)
        colors[i] = table[i];
}

DibCanvas::DibCanvas(int width, int height, int depth, std::vector<RGBQUAD> table, bool topDown)
    : width(width)
    , height(height)
{
    if (depth > 8)
        table.clear();
    else if (table.size() > (size_t(1) << depth))
        table.resize(size_t(1) << depth);
    DibInfo info(width, topDown ? -height : height, depth, table);
    HDC screen = GetDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(screen, info.Info(), DIB_RGB_COLORS, &pixels, nullptr, 0);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bits = static_cast<uint8_t*>(pixels);
    previous = SelectObject(dc, bitmap);
}

DibCanvas::~DibCanvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace gditest
