// Drawing a 640 x 480 page through a display port into an 8-bit off-screen buffer: a page's worth
// of each primitive (a grid of 80 x 60 cells), and one flood fill and one gradient fill of the
// whole page, each reported per operation. A page-sized gradient and a page composed of sprites
// are set beside plain loops doing the same work.
#include "BitMapRows.h"
#include "graphics/BitMap.h"
#include "graphics/ColorPaint.h"
#include "graphics/ColorTable.h"
#include "graphics/ColoredPatternPaint.h"
#include "graphics/DisplayPort.h"
#include "graphics/Gradient.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/TextStyle.h"
#include "graphics/Translation.h"

#include "platform/kernel/KernelTesting.h"

#include "Ratio.h"
#include "StartupFolder.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
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
        bench::ProvideStartupFolder();
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
    ColorPaint fill(Color(7));
    ColorPaint frame(Color(1));
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawRectangle(cell, fill, frame, 1); });
}
BENCHMARK(BM_Rectangles);

void BM_Ovals(benchmark::State& state)
{
    ColorPaint fill(Color(9));
    ColorPaint frame(Color(1));
    EveryCell(state, [&](DisplayPort& port, const Rect& cell) { port.DrawOval(cell, fill, frame, 1); });
}
BENCHMARK(BM_Ovals);

void BM_Polygons(benchmark::State& state)
{
    ColorPaint fill(Color(8));
    ColorPaint frame(Color(1));
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
    ColoredPatternPaint pattern(Color(9), Pattern(2), Color(10));
    ColorPaint none { Color(Color::kNoColor) };
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
struct GradientPage {
    GradientPage()
        : page(kWidth, kHeight, PageColors(), Color(0), true)
        , port(page, page.GetBounds(), 0)
        , table(page.GetColorTable())
        , rows(bench::Rows(*page.GetBitMap().Get()))
    {
    }

    OffScreen page;
    DisplayPort port;
    SmartPtr<ColorTable> table;
    std::vector<uint8_t*> rows;
    Color first { 7 };
    Color second { 9 };
};

[[maybe_unused]] const bool pageGradient = bench::Compare("BM_PageGradient", { 3.0 }, [] {
    auto page = std::make_shared<GradientPage>();
    return bench::Sides {
        [page] { Gradient::Draw(page->port, page->page.GetBounds(), page->first, page->second, 2, 8); },
        [page] {
            Color step = Gradient::ColorStep(page->first, page->second, kHeight);
            Color running = page->first;
            for (int32_t row = 0; row < kHeight; ++row) {
                std::memset(page->rows[row], Nearest(*page->table.Get(), running), kWidth);
                Gradient::AddStep(step, running);
            }
            benchmark::ClobberMemory();
        },
    };
});

// A background, 20 keyed 64 x 64 sprites over it, and the page copied to a screen buffer, beside
// loops of row copies and keyed byte copies (through a lookup when the sprites' colour table is
// not the page's). Both sides leave the same bytes on the screen. The reference's keyed copy picks
// each byte (the page's where the sprite holds the key, the sprite's elsewhere), the plain loop a
// compiler turns into whole-register steps; written as a store under a test of each pixel it ran
// one jump a pixel, as slowly as the drawing it is the measure of.
class KeyedSpritePage {
public:
    static constexpr int kSprites = 20;
    static constexpr int32_t kSide = 64;

    explicit KeyedSpritePage(bool otherTable)
        : otherTable(otherTable)
        , pageTable((ProvideStandardPalette(), ColorTable::Setup(8)))
        , spriteTable(otherTable ? PageColors() : pageTable)
        , background(kWidth, kHeight, pageTable, Color(0), true)
        , page(kWidth, kHeight, pageTable, Color(0), true)
        , screen(kWidth, kHeight, pageTable, Color(0), true)
        , pagePort(page, page.GetBounds(), 0)
        , screenPort(screen, screen.GetBounds(), 0)
    {
        {
            DisplayPort port(background, background.GetBounds(), 0);
            ColorPaint fill(Color(7));
            ColorPaint frame(Color(1));
            for (int32_t cell = 0; cell < 8; ++cell)
                port.DrawRectangle(Rect(cell * 80, cell * 60, cell * 80 + 80, cell * 60 + 60), fill, frame, 1);
        }
        for (int sprite = 0; sprite < kSprites; ++sprite) {
            OffScreen buffer(kSide, kSide, spriteTable, Color(0), true);
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            ColorPaint fill(Color(9 + sprite % 4));
            ColorPaint frame(Color(1));
            port.DrawOval(Rect(4, 4, kSide - 4, kSide - 4), fill, frame, 1);
            sprites.push_back(buffer.GetBitMap());
        }
        backgroundRows = bench::Rows(*background.GetBitMap().Get());
        pageRows = bench::Rows(*page.GetBitMap().Get());
        screenRows = bench::Rows(*screen.GetBitMap().Get());
        for (const SmartPtr<BitMap>& sprite : sprites)
            spriteRows.push_back(bench::Rows(*sprite.Get()));
        lookup = spriteTable->TranslationTo(*pageTable.Get());
        key = static_cast<uint8_t>(sprites[0]->GetPixelValue(0, 0));
    }

    void Draw()
    {
        background.GetBitMap()->Draw(pagePort, 1);
        for (int sprite = 0; sprite < kSprites; ++sprite) {
            Translation move(At(sprite).h, At(sprite).v);
            PortSaverTransform saver(pagePort, move);
            sprites[sprite]->DrawKeyed(pagePort, key);
        }
        page.GetBitMap()->Draw(screenPort, 1);
    }

    void Copy()
    {
        for (int32_t row = 0; row < kHeight; ++row)
            std::memcpy(pageRows[row], backgroundRows[row], kWidth);
        const uint8_t keyValue = key;
        const uint32_t* const table = lookup;
        for (int sprite = 0; sprite < kSprites; ++sprite) {
            Point place = At(sprite);
            for (int32_t row = 0; row < kSide; ++row) {
                const uint8_t* in = spriteRows[sprite][row];
                uint8_t* out = pageRows[place.v + row] + place.h;
                if (otherTable) {
                    for (int32_t column = 0; column < kSide; ++column)
                        out[column] = in[column] == keyValue ? out[column] : static_cast<uint8_t>(table[in[column]]);
                } else {
                    for (int32_t column = 0; column < kSide; ++column)
                        out[column] = in[column] == keyValue ? out[column] : in[column];
                }
            }
        }
        for (int32_t row = 0; row < kHeight; ++row)
            std::memcpy(screenRows[row], pageRows[row], kWidth);
        benchmark::ClobberMemory();
    }

private:
    static Point At(int sprite) { return Point(sprite * 29 % (kWidth - kSide), sprite * 53 % (kHeight - kSide)); }

    bool otherTable;
    SmartPtr<ColorTable> pageTable;
    SmartPtr<ColorTable> spriteTable;
    OffScreen background;
    OffScreen page;
    OffScreen screen;
    DisplayPort pagePort;
    DisplayPort screenPort;
    std::vector<SmartPtr<BitMap>> sprites;
    std::vector<uint8_t*> backgroundRows;
    std::vector<uint8_t*> pageRows;
    std::vector<uint8_t*> screenRows;
    std::vector<std::vector<uint8_t*>> spriteRows;
    const uint32_t* lookup { nullptr };
    uint8_t key { 0 };
};

bench::Sides SpritePageSides(bool otherTable)
{
    auto page = std::make_shared<KeyedSpritePage>(otherTable);
    return bench::Sides { [page] { page->Draw(); }, [page] { page->Copy(); } };
}

[[maybe_unused]] const bool spritePage
    = bench::Compare("BM_SpritePage", { 2.0 }, [] { return SpritePageSides(false); });
[[maybe_unused]] const bool spritePageOtherTable
    = bench::Compare("BM_SpritePageOtherTable", { 2.0 }, [] { return SpritePageSides(true); });

// A 64 x 64 bitmap drawn through a port onto a buffer with the same colour table, beside a row
// by row memcpy: the cost beyond the copy is held to 1 microsecond.
struct Blit64 {
    static constexpr int32_t kSide = 64;

    Blit64()
        : table(PageColors())
        , sprite(kSide, kSide, table, Color(0), true)
        , target(kSide, kSide, table, Color(0), true)
        , port(target, target.GetBounds(), 0)
        , bitmap(sprite.GetBitMap())
        , in(bench::Rows(*bitmap.Get()))
        , out(bench::Rows(*target.GetBitMap().Get()))
    {
        for (int32_t row = 0; row < kSide; ++row) {
            for (int32_t column = 0; column < kSide; ++column)
                in[row][column] = static_cast<uint8_t>(row * 7 + column);
        }
    }

    SmartPtr<ColorTable> table;
    OffScreen sprite;
    OffScreen target;
    DisplayPort port;
    SmartPtr<BitMap> bitmap;
    std::vector<uint8_t*> in;
    std::vector<uint8_t*> out;
};

[[maybe_unused]] const bool blit64ThroughPort = bench::Compare("BM_Blit64ThroughPort", { 0, 1000 }, [] {
    auto blit = std::make_shared<Blit64>();
    return bench::Sides {
        [blit] { blit->bitmap->Draw(blit->port, 1); },
        [blit] {
            for (int32_t row = 0; row < Blit64::kSide; ++row)
                std::memcpy(blit->out[row], blit->in[row], Blit64::kSide);
            benchmark::ClobberMemory();
        },
    };
});

} // namespace
