// The emulated display: one 8-bit desktop in memory on which every window is drawn, and the
// system palette that gives its pixel values their colours. The 20 static colours sit at 0..9 and
// 246..255 (0 black, 255 white, index i and 255 - i complementary); 10..245 hold what the last
// foreground palette realised, black before any.
//
// The memory is always 8 bits a pixel; tests may change the size and what the screen reports of
// itself (BITSPIXEL, the number of system palette entries) to reach the program's display checks.
#pragma once

#include "platform/gdi/Surface.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

namespace pw::platform::gdi {

struct ScreenSettings {
    int width = 640;
    int height = 480;
    // What GetDeviceCaps(BITSPIXEL) reports.
    int bitsPerPixel = 8;
    // How many entries GetSystemPaletteEntries and SIZEPALETTE report; 0 for a display without a
    // palette.
    int paletteEntries = 256;
};

class Screen {
public:
    static const ScreenSettings& Settings();
    // Makes a fresh, black screen with a fresh system palette.
    static void Configure(const ScreenSettings& settings);

    static Surface GetSurface();
    static std::span<RGBQUAD, 256> SystemPalette();
    // The 20 static colours in index order (0..9, then 246..255).
    static std::span<const RGBQUAD, 20> StaticColors();
    static bool IsStaticIndex(int index) { return index < 10 || index >= 246; }
};

} // namespace pw::platform::gdi
