// The pages the player and save benchmarks work on: a 640 x 480 page of 80 x 80 picture sprites,
// each moving on its own path for the page's frames, as a child's long page would. Both run over
// the same sizes: 20 and 320 sprites by 10, 100 and 1,000 frames.
#pragma once

#include "engine/CShow.h"

#include <benchmark/benchmark.h>

#include <cstdint>

class BitMap;

namespace bench {

// A disc striped in colours that depend on `seed`, on the white key colour, `side` pixels square.
SmartPtr<BitMap> DiscPicture(int32_t side, int seed);

// The platform the page needs: the virtual clock (the player's chores then tick without sitting
// out real waits), a start-up folder with the standard palette, no progress windows.
void PreparePagePlatform();

SmartPtr<CShow> MakeSpritePage(int sprites, int16_t frames);

// Where sprite `sprite` (0-based) of a page stands in frame `frame`; its picture is
// DiscPicture(80, sprite).
Rect SpritePlace(int sprite, int16_t frame);

// Arguments {sprites, frames} of every page size.
void PageSizes(benchmark::internal::Benchmark* benchmark);

} // namespace bench
