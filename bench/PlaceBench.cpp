// Building a page by hand, frame by frame: each of 20 or 320 sprites, starting one frame long, is
// placed and turned at every frame of a 100, 1,000 or 3,000 frame page, as a child dragging and
// turning it across the frames would, so the sprite grows by one frame at each placement. Reports
// the time per page frame (every sprite placed there) and per placement (one sprite at one frame),
// which should not grow with the page's length.
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CSprite.h"
#include "graphics/BitMap.h"

#include "Ratio.h"
#include "SpritePage.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kSide = 80;

// The sprites' pictures, made once: the benchmark times the placements, not the painting.
const std::vector<SmartPtr<BitMap>>& Pictures()
{
    static const std::vector<SmartPtr<BitMap>> pictures = [] {
        bench::PreparePagePlatform();
        std::vector<SmartPtr<BitMap>> made;
        for (int seed = 0; seed < 8; ++seed)
            made.push_back(bench::DiscPicture(kSide, seed));
        return made;
    }();
    return pictures;
}

Rect PlaceOf(int sprite, int16_t frame)
{
    int32_t left = (sprite * 31 + frame * 7) % (kWidth - kSide);
    int32_t top = (sprite * 23 + frame * 5) % (kHeight - kSide);
    return Rect(left, top, left + kSide, top + kSide);
}

// A page of `frames` frames whose sprites are placed and turned at each frame in turn.
SmartPtr<CMovieGroup> BuildPage(int sprites, int16_t frames)
{
    const std::vector<SmartPtr<BitMap>>& pictures = Pictures();
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kWidth, kHeight));
    group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
    for (int i = 0; i < sprites; ++i) {
        SmartPtr<Persistent> picture(pictures[size_t(i) % pictures.size()].Get());
        SmartPtr<CMovie> movie = new CMoviePic(new CResource(picture, true), true);
        SmartPtr<CSprite> sprite = new CSprite(0, movie, PlaceOf(i, 0));
        for (int16_t f = 0; f < frames; ++f) {
            Rect place = PlaceOf(i, f);
            sprite->PlaceAtFrame(f, &place, nullptr);
            sprite->RotateAtFrame(f, static_cast<int16_t>((i * 11 + f * 3) % 360));
        }
        group->AddSprite(sprite, false);
    }
    return group;
}

void BM_PlaceSprites(benchmark::State& state)
{
    int sprites = static_cast<int>(state.range(0));
    auto frames = static_cast<int16_t>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildPage(sprites, frames).Get());
    const auto timePer = benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert;
    state.counters["per_frame"] = benchmark::Counter(frames, timePer);
    state.counters["per_placement"] = benchmark::Counter(double(sprites) * frames, timePer);
}
BENCHMARK(BM_PlaceSprites)
    ->ArgsProduct({ { 20, 320 }, { 100, 1000, 3000 } })
    ->ArgNames({ "sprites", "frames" })
    ->Unit(benchmark::kMillisecond);

// A 3,000-frame page beside three 1,000-frame pages: the same placements, and the same number of
// sprite frames alive at the end (the three pages go together), so the sides take as long as each
// other and hold as much memory, and a busy machine slows both alike. Within 1.1 times, 3,000
// frames take at most 3.3 times as long as 1,000.
bool CompareLengths(int sprites)
{
    return bench::Compare(
        "BM_PlaceLength/sprites:" + std::to_string(sprites), { 1.1 },
        [sprites] {
            return bench::Sides {
                [sprites] { benchmark::DoNotOptimize(BuildPage(sprites, 3000).Get()); },
                [sprites] {
                    SmartPtr<CMovieGroup> pages[] = { BuildPage(sprites, 1000), BuildPage(sprites, 1000),
                        BuildPage(sprites, 1000) };
                    benchmark::DoNotOptimize(pages);
                },
            };
        },
        [sprites](benchmark::internal::Benchmark* side) {
            side->Unit(benchmark::kMillisecond);
            // A repetition of the large pages is a single build of seconds, which a busy machine
            // stretches by a quarter either way: nine of them give a steadier median.
            if (sprites > 20)
                side->Repetitions(9);
        });
}

[[maybe_unused]] const bool lengths20 = CompareLengths(20);
[[maybe_unused]] const bool lengths320 = CompareLengths(320);

} // namespace
