// Helpers for the GDI tests: small pixel grids as text art, and a memory DC over a fresh DIB.
//
// A grid row is a string, one character a pixel, naming the pixel's colour by the static system
// palette entry that shows it: '#' black 0, '.' white 255, 'r' red 249, 'g' green 250, 'y' yellow
// 251, 'b' blue 252, 'm' magenta 253, 'c' cyan 254, '-' grey 248, 's' silver 7. Other colours
// print as '?'. So surfaces of any depth and colour table read alike.
#pragma once

#include "platform/gdi/GdiTesting.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace gditest {

using Grid = std::vector<std::string>;

// The legend character of a system palette index, and the index of a character.
char CharOf(uint32_t index);
uint32_t IndexOf(char c);

// The colours of [left, left + width) x [top, top + height) of an image as a grid.
Grid GridOf(const pw::platform::gdi::testing::PixelImage& image, int left, int top, int width, int height);
Grid GridOf(HDC hdc, int width, int height);

// Passes when the grids are equal; else prints both, row by row.
::testing::AssertionResult SameGrid(const Grid& expected, const Grid& actual);

// "left,top,right,bottom", so a rectangle is checked in one expectation.
std::string RectText(const RECT& r);

// Fills a rectangle of a DC with a palette index (through a solid brush of that colour).
void Paint(HDC hdc, RECT rect, uint32_t index);

// A brush over an 8 x 8 monochrome pattern whose row i is `rows[i]`, bit 7 leftmost; the bitmap
// is deleted at once, since the brush keeps its own copy.
HBRUSH MonochromePatternBrush(const std::array<BYTE, 8>& rows);

// The 256 colours of the screen's system palette, as a DIB colour table.
std::vector<RGBQUAD> SystemTable();

// A DIB section of the given depth with a colour table, selected into a fresh memory DC. The
// destructor deletes both.
class DibCanvas {
public:
    DibCanvas(int width, int height, int depth = 8, std::vector<RGBQUAD> table = SystemTable(), bool topDown = false);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint8_t* bits = nullptr;
    int width;
    int height;

private:
    HGDIOBJ previous = nullptr;
};

// A BITMAPINFO with room for 256 colours.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];

    DibInfo(int width, int height, int depth, const std::vector<RGBQUAD>& table = {});
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
};

} // namespace gditest
