// Composing a page: twenty 80 x 80 picture sprites on a 640 x 480 8-bit page, half of them drawn
// transparent, a quarter scaled and a few turned, drawn through their cel movies' stamp caches
// into an off-screen frame over the page's background. Warm frames (every stamp cached) report
// their time against one memcpy of the page's bytes; cold frames start from empty caches.
#include "engine/CMoviePic.h"
#include "engine/CSprite.h"
#include "engine/CStamp.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include "platform/kernel/KernelTesting.h"

#include "Ratio.h"
#include "SpritePage.h"
#include "StartupFolder.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kSide = 80;
constexpr int kSprites = 20;

// The standard palette from the data tree, in a start-up folder of the benchmark's own.
void ProvideStandardPalette()
{
    static const bool provided = [] {
        bench::ProvideStartupFolder();
        return true;
    }();
    (void)provided;
}

struct Page {
    Page()
    {
        ProvideStandardPalette();
        frame = new OffScreen(kWidth, kHeight, 8, Color(0), true);
        background = new OffScreen(kWidth, kHeight, 8, Color(0), true);
        PixelIterator pixels(*background->GetBitMap().Get(), background->GetBounds(), true);
        for (; pixels.More(); pixels.Next())
            pixels.SetPixel(static_cast<uint32_t>(20 + pixels.GetPosition().v / 16));
        for (int index = 0; index < kSprites; ++index) {
            SmartPtr<CStamp> stamp = new CStamp(bench::DiscPicture(kSide, index), Color(0));
            SmartPtr<CMovie> movie = new CMoviePic(stamp->MakeResource(), true);
            if (index % 2 == 0)
                movie->ToggleModeBit2(true);
            int32_t left = (index % 5) * 120 + 10;
            int32_t top = (index / 5) * 110 + 20;
            SmartPtr<CSprite> sprite = new CSprite(0, movie, Rect(left, top, left + kSide, top + kSide));
            Rect target(left, top, left + 100, top + 90);
            // Scaled ones are among the transparent ones, which the stamps then key scaled.
            if (index % 4 == 2)
                sprite->PlaceAtFrame(0, &target, nullptr);
            if (index == 3 || index == 12)
                sprite->RotateAtFrame(0, 30);
            movies.push_back(movie);
            sprites.push_back(sprite);
        }
    }

    void Compose()
    {
        DisplayPort port(*frame.Get(), frame->GetBounds(), 0);
        background->GetBitMap()->DrawOpaque(port);
        for (const SmartPtr<CSprite>& sprite : sprites)
            sprite->DrawFrame(port, nullptr, 0, Color(1), 0);
    }

    void EmptyCaches()
    {
        for (const SmartPtr<CMovie>& movie : movies)
            movie->Purge(0);
    }

    SmartPtr<OffScreen> frame;
    SmartPtr<OffScreen> background;
    std::vector<SmartPtr<CMovie>> movies;
    std::vector<SmartPtr<CSprite>> sprites;
};

// A warm frame beside one memcpy of the page's bytes.
[[maybe_unused]] const bool composeWarm = bench::Compare("BM_ComposeWarm", {}, [] {
    auto page = std::make_shared<Page>();
    page->Compose();
    auto from = std::make_shared<std::vector<uint8_t>>(size_t(kWidth) * kHeight, 7);
    auto to = std::make_shared<std::vector<uint8_t>>(from->size());
    return bench::Sides {
        [page] { page->Compose(); },
        [from, to] {
            std::memcpy(to->data(), from->data(), from->size());
            benchmark::DoNotOptimize(to->data());
            benchmark::ClobberMemory();
        },
    };
});

void BM_ComposeCold(benchmark::State& state)
{
    Page page;
    for (auto _ : state) {
        state.PauseTiming();
        page.EmptyCaches();
        state.ResumeTiming();
        page.Compose();
    }
}
BENCHMARK(BM_ComposeCold)->Unit(benchmark::kMillisecond);

} // namespace
