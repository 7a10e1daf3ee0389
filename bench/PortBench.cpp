// Drawing a 640 x 480 page through a display port into an 8-bit off-screen buffer: a page's worth
// of each primitive (a grid of 80 x 60 cells), and one flood fill and one gradient fill of the
// whole page, each reported per operation. A page-sized gradient and a page composed of sprites
// are set beside plain loops doing the same work.
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/Gradient.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PatternPaint.h"
#include "graphics/PortSaver.h"
#include "graphics/SolidPaint.h"
#include "graphics/TextStyle.h"
#include "graphics/Translation.h"

#include "platform/kernel/KernelTesting.h"

#include "Ratio.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

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

// Every pixel's value in image order.
std::vector<uint8_t*> Rows(BitMap& bitmap)
{
    std::vector<uint8_t*> rows;
    OSBitMap* bits = bitmap.GetOSBitMap();
    bool copied = false;
    uint8_t* base = bits->LockBits(copied);
    bits->UnlockBits(false, base, copied);
    for (int32_t row = 0; row < bitmap.GetBounds().bottom; ++row)
        rows.push_back(base + bits->RowOffset(row));
    return rows;
}

// The nearest entry of a table to a colour, searched plainly.
uint8_t Nearest(ColorTable& table, const Color& color)
{
    int best = 0;
    int32_t bestDistance = INT32_MAX;
    for (uint32_t index = 0; index < table.NumColors(); ++index) {
        Color entry = table.GetColor(index);
        int32_t dr = (entry.red >> 8) - (color.red >> 8);
        int32_t dg = (entry.green >> 8) - (color.green >> 8);
        int32_t db = (entry.blue >> 8) - (color.blue >> 8);
        int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance)
            best = static_cast<int>(index), bestDistance = distance;
    }
    return static_cast<uint8_t>(best);
}

// A top-to-bottom gradient over the whole page, beside a loop that steps the colour and fills
// each row with its nearest entry.
void BM_PageGradient(benchmark::State& state)
{
    OffScreen page(kWidth, kHeight, PageColors(), Color(0), true);
    DisplayPort port(page, page.GetBounds(), 0);
    SmartPtr<ColorTable> table = page.GetColorTable();
    std::vector<uint8_t*> rows = Rows(*page.GetBitMap().Get());
    Color first(7);
    Color second(9);
    bench::CompareWithReference(
        state, 3.0, 1, [&] { Gradient::Draw(port, page.GetBounds(), first, second, 2, 8); },
        [&] {
            Color step = Gradient::ColorStep(first, second, kHeight);
            Color running = first;
            for (int32_t row = 0; row < kHeight; ++row) {
                std::memset(rows[row], Nearest(*table.Get(), running), kWidth);
                Gradient::AddStep(step, running);
            }
            benchmark::ClobberMemory();
        });
}
BENCHMARK(BM_PageGradient);

// A background, 20 keyed 64 x 64 sprites over it, and the page copied to a screen buffer, beside
// loops of row copies and keyed byte copies (through a lookup when the sprites' colour table is
// not the page's).
void SpritePage(benchmark::State& state, bool otherTable)
{
    ProvideStandardPalette();
    constexpr int kSprites = 20;
    constexpr int32_t kSide = 64;
    SmartPtr<ColorTable> pageTable = ColorTable::Setup(8);
    SmartPtr<ColorTable> spriteTable = otherTable ? PageColors() : pageTable;
    OffScreen background(kWidth, kHeight, pageTable, Color(0), true);
    {
        DisplayPort port(background, background.GetBounds(), 0);
        SolidPaint fill(Color(7));
        SolidPaint frame(Color(1));
        for (int32_t cell = 0; cell < 8; ++cell)
            port.DrawRectangle(Rect(cell * 80, cell * 60, cell * 80 + 80, cell * 60 + 60), fill, frame, 1);
    }
    std::vector<SmartPtr<BitMap>> sprites;
    for (int sprite = 0; sprite < kSprites; ++sprite) {
        OffScreen buffer(kSide, kSide, spriteTable, Color(0), true);
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        SolidPaint fill(Color(9 + sprite % 4));
        SolidPaint frame(Color(1));
        port.DrawOval(Rect(4, 4, kSide - 4, kSide - 4), fill, frame, 1);
        sprites.push_back(buffer.GetBitMap());
    }
    OffScreen page(kWidth, kHeight, pageTable, Color(0), true);
    OffScreen screen(kWidth, kHeight, pageTable, Color(0), true);
    DisplayPort pagePort(page, page.GetBounds(), 0);
    DisplayPort screenPort(screen, screen.GetBounds(), 0);
    auto at = [](int sprite) { return Point(sprite * 29 % (kWidth - kSide), sprite * 53 % (kHeight - kSide)); };

    std::vector<uint8_t*> backgroundRows = Rows(*background.GetBitMap().Get());
    std::vector<uint8_t*> pageRows = Rows(*page.GetBitMap().Get());
    std::vector<uint8_t*> screenRows = Rows(*screen.GetBitMap().Get());
    std::vector<std::vector<uint8_t*>> spriteRows;
    for (const SmartPtr<BitMap>& sprite : sprites)
        spriteRows.push_back(Rows(*sprite.Get()));
    const uint32_t* lookup = spriteTable->TranslationTo(*pageTable.Get());
    uint8_t key = static_cast<uint8_t>(sprites[0]->GetPixelValue(0, 0));

    bench::CompareWithReference(
        state, 2.0, 1,
        [&] {
            background.GetBitMap()->Draw(pagePort, 1);
            for (int sprite = 0; sprite < kSprites; ++sprite) {
                Translation move(at(sprite).h, at(sprite).v);
                PortSaverTransform saver(pagePort, move);
                sprites[sprite]->DrawKeyed(pagePort, key);
            }
            page.GetBitMap()->Draw(screenPort, 1);
        },
        [&] {
            for (int32_t row = 0; row < kHeight; ++row)
                std::memcpy(pageRows[row], backgroundRows[row], kWidth);
            for (int sprite = 0; sprite < kSprites; ++sprite) {
                Point place = at(sprite);
                for (int32_t row = 0; row < kSide; ++row) {
                    const uint8_t* in = spriteRows[sprite][row];
                    uint8_t* out = pageRows[place.v + row] + place.h;
                    for (int32_t column = 0; column < kSide; ++column) {
                        if (in[column] != key)
                            out[column] = otherTable ? static_cast<uint8_t>(lookup[in[column]]) : in[column];
                    }
                }
            }
            for (int32_t row = 0; row < kHeight; ++row)
                std::memcpy(screenRows[row], pageRows[row], kWidth);
            benchmark::ClobberMemory();
        });
}

void BM_SpritePage(benchmark::State& state)
{
    SpritePage(state, false);
}
BENCHMARK(BM_SpritePage);

void BM_SpritePageOtherTable(benchmark::State& state)
{
    SpritePage(state, true);
}
BENCHMARK(BM_SpritePageOtherTable);

// A 64 x 64 bitmap drawn through a port onto a buffer with the same colour table, beside a row
// by row memcpy: `fixed_ns` is the cost beyond the copy, kept under `fixed_limit_ns`.
void BM_Blit64ThroughPort(benchmark::State& state)
{
    constexpr int32_t kSide = 64;
    SmartPtr<ColorTable> table = PageColors();
    OffScreen sprite(kSide, kSide, table, Color(0), true);
    OffScreen target(kSide, kSide, table, Color(0), true);
    DisplayPort port(target, target.GetBounds(), 0);
    SmartPtr<BitMap> bitmap = sprite.GetBitMap();
    std::vector<uint8_t*> in = Rows(*bitmap.Get());
    std::vector<uint8_t*> out = Rows(*target.GetBitMap().Get());
    for (int32_t row = 0; row < kSide; ++row) {
        for (int32_t column = 0; column < kSide; ++column)
            in[row][column] = static_cast<uint8_t>(row * 7 + column);
    }
    bench::CompareWithReference(
        state, 0, 64, [&] { bitmap->Draw(port, 1); },
        [&] {
            for (int32_t row = 0; row < kSide; ++row)
                std::memcpy(out[row], in[row], kSide);
            benchmark::ClobberMemory();
        });
    state.counters["fixed_ns"] = state.counters["ns"] - state.counters["ref_ns"];
    state.counters["fixed_limit_ns"] = 1000;
}
BENCHMARK(BM_Blit64ThroughPort);

} // namespace
