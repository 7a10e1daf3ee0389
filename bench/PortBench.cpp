// Drawing a 640 x 480 page through a display port into an 8-bit off-screen buffer: a page's worth
// of each primitive (a grid of 80 x 60 cells), and one flood fill and one gradient fill of the
// whole page, each reported per operation.
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PatternPaint.h"
#include "graphics/SolidPaint.h"
#include "graphics/TextStyle.h"

#include "platform/kernel/KernelTesting.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kCell = 8;
constexpr int32_t kColumns = kWidth / kCell;
constexpr int32_t kRows = kHeight / kCell;

// The shared tables of 1 and 8 bits (the flood fill's masks) are built from the standard palette
// file, which the benchmark takes from the data tree into a start-up folder of its own.
void ProvideStandardPalette()
{
    static const bool provided = [] {
        pw::platform::testing::SetStartupFolder("c:\\plume");
        std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
        std::filesystem::create_directories(data);
        std::filesystem::copy_file(PW_STANDARD_PALETTE, data / "standard.pal",
            std::filesystem::copy_options::overwrite_existing);
        return true;
    }();
    (void)provided;
}

// 256 colours of our own: a 6 x 6 x 6 cube and a grey ramp.
SmartPtr<ColorTable> PageColors()
{
    ProvideStandardPalette();
    TypedArray<Color> colors;
    for (int index = 0; index < 256; ++index) {
        Color color;
        if (index < 216)
            color.SetBytes(uint8_t(index / 36 * 51), uint8_t(index / 6 % 6 * 51), uint8_t(index % 6 * 51), 0);
        else
            color.SetBytes(uint8_t((index - 216) * 6), uint8_t((index - 216) * 6), uint8_t((index - 216) * 6), 0);
        colors.Append(color);
    }
    return new ColorTable(colors);
}

// Runs `draw` on every cell of the page (its rectangle given) once per iteration.
void EveryCell(benchmark::State& state, const std::function<void(DisplayPort&, const Rect&)>& draw)
{
    OffScreen page(kWidth, kHeight, PageColors(), Color(0), true);
    DisplayPort port(page, page.GetBounds(), 0);
    for (auto _ : state) {
        for (int32_t row = 0; row < kRows; ++row) {
            for (int32_t column = 0; column < kColumns; ++column)
                draw(port, Rect(column * kCell, row * kCell, column * kCell + kCell, row * kCell + kCell));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}

void BM_Rectangles(benchmark::State& state)
{
    SolidPaint fill(Color(7));
    SolidPaint frame(Color(1));
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawRectangle(cell, fill, frame, 1); });
}
BENCHMARK(BM_Rectangles);

void BM_Ovals(benchmark::State& state)
{
    SolidPaint fill(Color(9));
    SolidPaint frame(Color(1));
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawOval(cell, fill, frame, 1); });
}
BENCHMARK(BM_Ovals);

void BM_Polygons(benchmark::State& state)
{
    SolidPaint fill(Color(8));
    SolidPaint frame(Color(1));
    TypedArray<Point> points(3);
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) {
        points[1] = Point(cell.left, cell.bottom - 1);
        points[2] = Point((cell.left + cell.right) / 2, cell.top);
        points[3] = Point(cell.right - 1, cell.bottom - 1);
        port.DrawPolygon(points, fill, frame, 1);
    });
}
BENCHMARK(BM_Polygons);

void BM_Lines(benchmark::State& state)
{
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) {
        port.DrawLine(cell.left, cell.top, cell.right, cell.bottom, Color(1), 1);
    });
}
BENCHMARK(BM_Lines);

void BM_Bevels(benchmark::State& state)
{
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawBevel(cell, Color(0), Color(4), 1); });
}
BENCHMARK(BM_Bevels);

void BM_CheckerboardFills(benchmark::State& state)
{
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.FillRect(cell); });
}
BENCHMARK(BM_CheckerboardFills);

void BM_PatternRectangles(benchmark::State& state)
{
    PatternPaint pattern(Color(9), Pattern(2), Color(10));
    SolidPaint none(Color(Color::kNoColor));
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawRectangle(cell, pattern, none, 1); });
}
BENCHMARK(BM_PatternRectangles);

void BM_Inversions(benchmark::State& state)
{
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.InvertFrame(cell, 2); });
}
BENCHMARK(BM_Inversions);

// Text goes line by line: one short string in each row of cells.
void BM_TextLines(benchmark::State& state)
{
    OffScreen page(kWidth, kHeight, PageColors(), Color(0), true);
    DisplayPort port(page, page.GetBounds(), 0);
    TextStyle style(1, 12, 0, Color(1), Color(Color::kNoColor));
    constexpr int32_t kLine = 16;
    for (auto _ : state) {
        for (int32_t top = 0; top < kHeight; top += kLine)
            port.DrawText("The quick brown fox jumps over the lazy dog.", 44, Rect(0, top, kWidth, top + kLine), style);
    }
    state.SetItemsProcessed(state.iterations() * (kHeight / kLine));
}
BENCHMARK(BM_TextLines);

// The whole page is one area of white; a pattern bitmap fills it.
void BM_FloodFill(benchmark::State& state)
{
    OffScreen page(kWidth, kHeight, PageColors(), Color(0), true);
    SmartPtr<BitMap> pattern = new BitMap(8, 8, page.GetColorTable(), Color(0), false);
    for (auto _ : state) {
        state.PauseTiming();
        {
            DisplayPort erase(page, page.GetBounds(), 0);
            erase.EraseArea(Area(page.GetBounds()));
        }
        state.ResumeTiming();
        DisplayPort port(page, page.GetBounds(), 0);
        port.FloodFill(kWidth / 2, kHeight / 2, *pattern.Get());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FloodFill);

// The mask of the area is found pixel by pixel, then a gradient buffer is copied through it.
void BM_GradientFill(benchmark::State& state)
{
    OffScreen page(kWidth, kHeight, PageColors(), Color(0), true);
    for (auto _ : state) {
        state.PauseTiming();
        {
            DisplayPort erase(page, page.GetBounds(), 0);
            erase.EraseArea(Area(page.GetBounds()));
        }
        state.ResumeTiming();
        DisplayPort port(page, page.GetBounds(), 0);
        port.GradientFill(Color(7), Color(9), kWidth / 2, kHeight / 2, 0, 2);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GradientFill);

} // namespace
