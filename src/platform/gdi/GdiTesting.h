// Test hooks for the GDI: read back pixels of the screen, a DC or a bitmap, save them as a BMP file
// for a person to look at, count live objects, and change the emulated screen.
#pragma once

#include "platform/gdi/Screen.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform::gdi::testing {

// Pixels in image order (row 0 at the top): 8-bit-or-less values with their colour table, or the
// packed values of a deeper bitmap (ColorAt gives plain RGB for every depth).
struct PixelImage {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::vector<uint32_t> values;
    std::vector<RGBQUAD> table;

    uint32_t At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
    COLORREF ColorAt(int x, int y) const;
};

// The whole screen as 8-bit system palette indexes.
PixelImage ReadScreen();
// What a DC draws on, in its own coordinates: a memory DC's bitmap, the whole screen for the
// screen DC, and for a window DC the screen from its origin to the far corner of its visible
// region. None for a dead handle.
std::optional<PixelImage> ReadDC(HDC hdc);
std::optional<PixelImage> ReadBitmap(HBITMAP hbm);

// Writes an 8-bit BMP with the image's table (deeper images: 24 bits). False when the file
// cannot be written.
bool SaveBmp(const PixelImage& image, const std::string& path);

// Live GDI objects (stock objects left out) and live DCs: a test that cleans up ends where it began.
size_t LiveObjectCount();
size_t LiveDcCount();

// A fresh screen of this size and these reported depth and palette size (the next test reset
// brings the defaults back).
void ConfigureScreen(const ScreenSettings& settings);

} // namespace pw::platform::gdi::testing
