// Blits on the emulated 8-bit screen: a whole 640 x 480 copy and a 2x stretch, in bytes a second
// so they can be set against memory bandwidth.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <vector>

namespace {

// An 8-bit 640 x 480 DIB section with the system palette's colours, in a memory DC.
struct Source {
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    Source(int width, int height)
    {
        screen = GetDC(nullptr);
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info {};
        info.header = { sizeof(BITMAPINFOHEADER), width, height, 1, 8, BI_RGB, 0, 0, 0, 256, 0 };
        PALETTEENTRY system[256];
        GetSystemPaletteEntries(screen, 0, 256, system);
        for (int i = 0; i < 256; ++i)
            info.colors[i] = { system[i].peBlue, system[i].peGreen, system[i].peRed, 0 };
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* bytes = static_cast<uint8_t*>(bits);
        for (int i = 0; i < ((width + 3) & ~3) * height; ++i)
            bytes[i] = static_cast<uint8_t>(i * 7);
        dc = CreateCompatibleDC(screen);
        previous = SelectObject(dc, bitmap);
    }
    ~Source()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }

    HDC screen;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

void BitBlt640x480(benchmark::State& state)
{
    Source source(Source::kWidth, Source::kHeight);
    for (auto _ : state)
        BitBlt(source.screen, 0, 0, Source::kWidth, Source::kHeight, source.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * Source::kWidth * Source::kHeight);
}
BENCHMARK(BitBlt640x480);

void StretchBlt2x(benchmark::State& state)
{
    Source source(Source::kWidth / 2, Source::kHeight / 2);
    for (auto _ : state)
        StretchBlt(source.screen, 0, 0, Source::kWidth, Source::kHeight, source.dc, 0, 0, Source::kWidth / 2,
                   Source::kHeight / 2, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * Source::kWidth * Source::kHeight);
}
BENCHMARK(StretchBlt2x);

} // namespace
