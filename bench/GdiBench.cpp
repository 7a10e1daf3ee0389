// Blits on the emulated 8-bit screen: a whole 640 x 480 copy and a 2x stretch, in bytes a second
// so they can be set against memory bandwidth; small blits and a page-sized fill beside the plain
// loops that do the same.
#include "Ratio.h"

#include <benchmark/benchmark.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <memory>
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
[[maybe_unused]] const bool blit64BetweenPalettes = bench::Compare("BM_Blit64BetweenPalettes", { 3.0 }, [] {
    auto source = std::make_shared<Small>(true);
    auto dest = std::make_shared<Small>(false);
    auto lookup = std::make_shared<std::array<uint8_t, 256>>();
    for (int i = 0; i < 256; ++i)
        (*lookup)[i] = static_cast<uint8_t>((i * 77 + 3) % 256);
    return bench::Sides {
        [source, dest] { BitBlt(dest->dc, 0, 0, Small::kSide, Small::kSide, source->dc, 0, 0, SRCCOPY); },
        [source, dest, lookup] {
            for (int y = 0; y < Small::kSide; ++y) {
                const uint8_t* in = source->bits + y * Small::kSide;
                uint8_t* out = dest->bits + y * Small::kSide;
                for (int x = 0; x < Small::kSide; ++x)
                    out[x] = (*lookup)[in[x]];
            }
            benchmark::ClobberMemory();
        },
    };
});

// Identical tables: rows are copied, and the time beyond a row-by-row memcpy is held to 1 microsecond.
[[maybe_unused]] const bool blit64SameTable = bench::Compare("BM_Blit64SameTable", { 0, 1000 }, [] {
    auto source = std::make_shared<Small>(false);
    auto dest = std::make_shared<Small>(false);
    return bench::Sides {
        [source, dest] { BitBlt(dest->dc, 0, 0, Small::kSide, Small::kSide, source->dc, 0, 0, SRCCOPY); },
        [source, dest] {
            for (int y = 0; y < Small::kSide; ++y)
                std::memcpy(dest->bits + y * Small::kSide, source->bits + y * Small::kSide, Small::kSide);
            benchmark::ClobberMemory();
        },
    };
});

// A filled rectangle over the whole 640 x 480 page beside a memset of each row.
struct FilledPage {
    FilledPage()
        : page(Source::kWidth, Source::kHeight)
        , brush(CreateSolidBrush(RGB(255, 0, 0)))
    {
        BITMAP description {};
        GetObjectA(page.bitmap, sizeof description, &description);
        bits = static_cast<uint8_t*>(description.bmBits);
        oldBrush = SelectObject(page.dc, brush);
        oldPen = SelectObject(page.dc, GetStockObject(NULL_PEN));
    }
    ~FilledPage()
    {
        SelectObject(page.dc, oldPen);
        SelectObject(page.dc, oldBrush);
        DeleteObject(brush);
    }

    Source page;
    HBRUSH brush;
    uint8_t* bits;
    HGDIOBJ oldBrush;
    HGDIOBJ oldPen;
};

[[maybe_unused]] const bool pageRectangle = bench::Compare("BM_PageRectangle", { 3.0 }, [] {
    auto page = std::make_shared<FilledPage>();
    return bench::Sides {
        [page] { Rectangle(page->page.dc, 0, 0, Source::kWidth + 1, Source::kHeight + 1); },
        [page] {
            for (int y = 0; y < Source::kHeight; ++y)
                std::memset(page->bits + y * Source::kWidth, 249, Source::kWidth);
            benchmark::ClobberMemory();
        },
    };
});

} // namespace
