#include "platform/gdi/Screen.h"

#include "platform/testing/Reset.h"

#include <algorithm>
#include <vector>

namespace pw::platform::gdi {

namespace {

constexpr std::array<RGBQUAD, 20> kStatics = { {
    { 0x00, 0x00, 0x00, 0 }, // 0 black
    { 0x00, 0x00, 0x80, 0 }, // 1 dark red
    { 0x00, 0x80, 0x00, 0 }, // 2 dark green
    { 0x00, 0x80, 0x80, 0 }, // 3 dark yellow
    { 0x80, 0x00, 0x00, 0 }, // 4 dark blue
    { 0x80, 0x00, 0x80, 0 }, // 5 dark magenta
    { 0x80, 0x80, 0x00, 0 }, // 6 dark cyan
    { 0xC0, 0xC0, 0xC0, 0 }, // 7 light grey
    { 0xC0, 0xDC, 0xC0, 0 }, // 8 money green
    { 0xF0, 0xCA, 0xA6, 0 }, // 9 sky blue
    { 0xF0, 0xFB, 0xFF, 0 }, // 246 cream
    { 0xA4, 0xA0, 0xA0, 0 }, // 247 medium grey
    { 0x80, 0x80, 0x80, 0 }, // 248 dark grey
    { 0x00, 0x00, 0xFF, 0 }, // 249 red
    { 0x00, 0xFF, 0x00, 0 }, // 250 green
    { 0x00, 0xFF, 0xFF, 0 }, // 251 yellow
    { 0xFF, 0x00, 0x00, 0 }, // 252 blue
    { 0xFF, 0x00, 0xFF, 0 }, // 253 magenta
    { 0xFF, 0xFF, 0x00, 0 }, // 254 cyan
    { 0xFF, 0xFF, 0xFF, 0 }, // 255 white
} };

struct ScreenState {
    ScreenSettings settings;
    std::vector<uint8_t> pixels;
    std::array<RGBQUAD, 256> palette {};
};

ScreenState& State()
{
    static ScreenState state;
    return state;
}

// The screen is made on first use, at the default settings.
ScreenState& Made()
{
    ScreenState& state = State();
    if (state.pixels.empty())
        Screen::Configure(state.settings);
    return state;
}

const bool registered = pw::platform::testing::RegisterReset([] { Screen::Configure(ScreenSettings {}); });

} // namespace

const ScreenSettings& Screen::Settings()
{
    return Made().settings;
}

void Screen::Configure(const ScreenSettings& settings)
{
    ScreenState& state = State();
    state.settings = settings;
    state.settings.width = std::max(1, settings.width);
    state.settings.height = std::max(1, settings.height);
    state.pixels.assign(static_cast<size_t>(state.settings.width) * state.settings.height, 0);
    state.palette.fill(RGBQUAD {});
    for (int i = 0; i < 10; ++i) {
        state.palette[i] = kStatics[i];
        state.palette[246 + i] = kStatics[10 + i];
    }
}

Surface Screen::GetSurface()
{
    ScreenState& state = Made();
    Surface surface;
    surface.top = state.pixels.data();
    surface.stride = state.settings.width;
    surface.width = state.settings.width;
    surface.height = state.settings.height;
    surface.depth = 8;
    surface.table = state.palette;
    return surface;
}

std::span<RGBQUAD, 256> Screen::SystemPalette()
{
    return Made().palette;
}

std::span<const RGBQUAD, 20> Screen::StaticColors()
{
    return kStatics;
}

} // namespace pw::platform::gdi
