// Region clipping on the drawing hot path: clipping every row of a 640 x 480 fill against a
// complex clip region, and combining regions the way window clips are built.
#include "platform/gdi/RegionData.h"

#include <benchmark/benchmark.h>

using pw::platform::gdi::RegionData;
namespace gdi = pw::platform::gdi;

namespace {

// A 640 x 480 screen with `holes` windows cut out of it in a staggered grid.
RegionData ScreenWithHoles(int holes)
{
    RegionData region(0, 0, 640, 480);
    for (int i = 0; i < holes; ++i) {
        int x = (i * 97) % 600, y = (i * 53) % 440;
        region = RegionData::Combine(region, RegionData(x, y, x + 37, y + 29), gdi::kRgnDiff);
    }
    return region;
}

void BM_ClipRowsOfAFill(benchmark::State& state)
{
    RegionData clip = ScreenWithHoles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int64_t pixels = 0;
        for (int y = 0; y < 480; ++y)
            clip.ForEachSpanInRow(y, 0, 640, [&](int l, int r) { pixels += r - l; });
        benchmark::DoNotOptimize(pixels);
    }
    state.SetItemsProcessed(state.iterations() * 480);
    state.SetLabel("rows");
}
BENCHMARK(BM_ClipRowsOfAFill)->Arg(1)->Arg(16)->Arg(64);

void BM_CombineOr(benchmark::State& state)
{
    RegionData a = ScreenWithHoles(static_cast<int>(state.range(0)));
    RegionData b = a;
    b.Offset(13, 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(RegionData::Combine(a, b, gdi::kRgnOr));
}
BENCHMARK(BM_CombineOr)->Arg(16)->Arg(64);

} // namespace
