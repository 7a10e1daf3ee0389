// Playing a page of 20 or 320 moving 80 x 80 sprites, 10 to 1,000 frames long, at 15 frames a
// second through the platform's message loop on the virtual clock, as the program plays it (both
// chores tick from their timers), after the player has rendered ahead what its frame cache holds.
// Reports the processor time per played frame and its share of the 67 ms a frame may take, the
// longest any one frame took, how often the playback chore ticked per frame, how many frames the
// cache held, and the resident memory: the page's own and the peak while rendering ahead and
// playing (both counted from before the page was made).
#include "engine/CChorePlay.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"

#include "platform/kernel/Clock.h"
#include "platform/testing/TestDriver.h"

#include "PeakMemory.h"
#include "SpritePage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

constexpr int kLeastPlayed = 300;
constexpr double kBudgetMs = 1000.0 / 15.0;

double ProcessorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// Counts the frames the player moves to, the longest real time between two of them, and the
// playback chore's ticks.
class PlayCounter : public PlayerClient, public ChoreClient {
public:
    using Clock = std::chrono::steady_clock;

    explicit PlayCounter(CPlayer& player)
        : player(player)
        , last(player.GetFrame())
    {
    }
    void FrameNotice() override
    {
        if (player.GetFrame() == last)
            return;
        last = player.GetFrame();
        ++frames;
        Clock::time_point now = Clock::now();
        worst = std::max(worst, now - lastChange);
        lastChange = now;
    }
    void PlayNotice() override { }
    void AreaNotice(const SmartPtr<Area>&) override { }
    void DoChore(Chore&) override { ++ticks; }

    CPlayer& player;
    int16_t last;
    int frames { 0 };
    int ticks { 0 };
    Clock::time_point lastChange { Clock::now() };
    Clock::duration worst {};
};

void BM_Play(benchmark::State& state)
{
    int sprites = static_cast<int>(state.range(0));
    auto frames = static_cast<int16_t>(state.range(1));
    bench::PreparePagePlatform();
    bench::ResetPeak();
    uint64_t before = bench::ResidentBytes();
    SmartPtr<CShow> show = bench::MakeSpritePage(sprites, frames);
    uint64_t page = bench::ResidentBytes() - before;
    bench::ResetPeak();
    if (!pw::platform::Clock::IsVirtual()) {
        state.SkipWithError("needs the virtual clock");
        show->Close();
        return;
    }
    CPlayer& player = *show->GetPlayer();
    player.Accelerate();
    int toPlay = std::max<int>(frames, kLeastPlayed);
    int played = 0;
    int ticks = 0;
    double spent = 0.0;
    PlayCounter::Clock::duration worst {};
    for (auto _ : state) {
        PlayCounter counter(player);
        player.RemoveOrAppendClient(&counter);
        double start = ProcessorSeconds();
        player.Start();
        player.GetPlayback()->RemoveOrAppendClient(&counter);
        counter.lastChange = PlayCounter::Clock::now();
        // The loop jumps the clock from timer to timer and dispatches each tick as it falls due.
        while (counter.frames < toPlay)
            pw::platform::testing::RunFor(uint64_t(kBudgetMs));
        player.GetPlayback()->RemoveOrAppendClient(&counter);
        player.Stop();
        spent += ProcessorSeconds() - start;
        player.RemoveOrAppendClient(&counter);
        played += counter.frames;
        ticks += counter.ticks;
        worst = std::max(worst, counter.worst);
    }
    double perFrameMs = spent * 1000.0 / played;
    state.counters["cpu_ms_per_frame"] = perFrameMs;
    state.counters["budget_share_pct"] = perFrameMs / kBudgetMs * 100.0;
    state.counters["worst_frame_ms"] = std::chrono::duration<double, std::milli>(worst).count();
    state.counters["ticks_per_frame"] = double(ticks) / played;
    state.counters["cached_frames"] = double(show->NumCachedFrames());
    state.counters["page_MB"] = bench::Megabytes(page);
    state.counters["peak_MB"] = bench::Megabytes(bench::PeakResidentBytes() - before);
    show->Close();
}
BENCHMARK(BM_Play)->Apply(bench::PageSizes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
