// Blits on the emulated 8-bit screen: a whole 640 x 480 copy and a 2x stretch, in bytes a second
// so they can be set against memory bandwidth; small blits and a page-sized fill beside the plain
// loops that do the same.
#include "Ratio.h"

#include <benchmark/benchmark.h>
#include <windows.h>

#include <cstring>
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

namespace {

// An 8-bit 64 x 64 DIB section in a memory DC, with a colour table of its own.
struct Small {
    static constexpr int kSide = 64;

    explicit Small(bool shuffled)
    {
        HDC screen = GetDC(nullptr);
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info {};
        info.header = { sizeof(BITMAPINFOHEADER), kSide, kSide, 1, 8, BI_RGB, 0, 0, 0, 256, 0 };
        PALETTEENTRY system[256];
        GetSystemPaletteEntries(screen, 0, 256, system);
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = system[shuffled ? (i * 77 + 3) % 256 : i];
            info.colors[i] = { e.peBlue, e.peGreen, e.peRed, 0 };
        }
        void* pixels = nullptr;
        bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
        bits = static_cast<uint8_t*>(pixels);
        for (int i = 0; i < kSide * kSide; ++i)
            bits[i] = static_cast<uint8_t>(i * 13);
        dc = CreateCompatibleDC(screen);
        previous = SelectObject(dc, bitmap);
        ReleaseDC(nullptr, screen);
    }
    ~Small()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    uint8_t* bits;
};

// Different tables: the reference is a lookup of each byte through a 256-entry table.
void BM_Blit64BetweenPalettes(benchmark::State& state)
{
    Small source(true);
    Small dest(false);
    uint8_t lookup[256];
    for (int i = 0; i < 256; ++i)
        lookup[i] = static_cast<uint8_t>((i * 77 + 3) % 256);
    bench::CompareWithReference(
        state, 3.0, 16, [&] { BitBlt(dest.dc, 0, 0, Small::kSide, Small::kSide, source.dc, 0, 0, SRCCOPY); },
        [&] {
            for (int y = 0; y < Small::kSide; ++y) {
                const uint8_t* in = source.bits + y * Small::kSide;
                uint8_t* out = dest.bits + y * Small::kSide;
                for (int x = 0; x < Small::kSide; ++x)
                    out[x] = lookup[in[x]];
            }
            benchmark::ClobberMemory();
        });
}
BENCHMARK(BM_Blit64BetweenPalettes);

// Identical tables: rows are copied, and `fixed_ns` (the time beyond a row-by-row memcpy) must stay
// under `fixed_limit_ns`.
void BM_Blit64SameTable(benchmark::State& state)
{
    Small source(false);
    Small dest(false);
    bench::CompareWithReference(
        state, 0, 64, [&] { BitBlt(dest.dc, 0, 0, Small::kSide, Small::kSide, source.dc, 0, 0, SRCCOPY); },
        [&] {
            for (int y = 0; y < Small::kSide; ++y)
                std::memcpy(dest.bits + y * Small::kSide, source.bits + y * Small::kSide, Small::kSide);
            benchmark::ClobberMemory();
        });
    state.counters["fixed_ns"] = state.counters["ns"] - state.counters["ref_ns"];
    state.counters["fixed_limit_ns"] = 1000;
}
BENCHMARK(BM_Blit64SameTable);

// A filled rectangle over the whole 640 x 480 page beside a memset of each row.
void BM_PageRectangle(benchmark::State& state)
{
    Source page(Source::kWidth, Source::kHeight);
    BITMAP description {};
    GetObjectA(page.bitmap, sizeof description, &description);
    auto* bits = static_cast<uint8_t*>(description.bmBits);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(page.dc, brush);
    HGDIOBJ oldPen = SelectObject(page.dc, GetStockObject(NULL_PEN));
    bench::CompareWithReference(
        state, 3.0, 1, [&] { Rectangle(page.dc, 0, 0, Source::kWidth + 1, Source::kHeight + 1); },
        [&] {
            for (int y = 0; y < Source::kHeight; ++y)
                std::memset(bits + y * Source::kWidth, 249, Source::kWidth);
            benchmark::ClobberMemory();
        });
    SelectObject(page.dc, oldPen);
    SelectObject(page.dc, oldBrush);
    DeleteObject(brush);
}
BENCHMARK(BM_PageRectangle);

} // namespace
