// Playing a page: twenty 80 x 80 picture sprites moving over a 640 x 480 page of 30 frames, played
// for 300 frames at 15 frames per second with every frame already in the frame cache, through the
// platform's message loop on the virtual clock, as the program plays it: both chores tick from
// their timers. Reports the processor time per played frame and its share of the 67 ms a frame
// may take, and how often the playback chore ticked per frame; and the time to save the page as a
// page file and to reopen it.
#include "engine/CChorePlay.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "ui/ProgressRange.h"

#include "platform/kernel/Clock.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

constexpr int32_t kSide = 80;
constexpr int kSprites = 20;
constexpr int16_t kFrames = 30;
constexpr int kPlayed = 300;
constexpr double kBudgetMs = 1000.0 / 15.0;

// The page's palette, and virtual time: on the real clock the loop would sit out each frame's
// 67 ms, and the figure would be that wait instead of the work.
void PreparePlatform()
{
    static const bool prepared = [] {
        pw::platform::testing::SetClock(pw::platform::Clock::kDefaultVirtualStart);
        pw::platform::testing::SetStartupFolder("c:\\plume");
        std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
        std::filesystem::create_directories(data);
        std::filesystem::copy_file(PW_STANDARD_PALETTE, data / "standard.pal",
            std::filesystem::copy_options::overwrite_existing);
        ProgressRange::SetVisible(false);
        return true;
    }();
    (void)prepared;
}

SmartPtr<CMovie> SpriteMovie(int seed)
{
    SmartPtr<OffScreen> buffer = new OffScreen(kSide, kSide, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        int32_t dh = p.h - kSide / 2;
        int32_t dv = p.v - kSide / 2;
        if (dh * dh + dv * dv < (kSide / 2 - 4) * (kSide / 2 - 4))
            pixels.SetPixel(static_cast<uint32_t>(10 + (seed * 7 + p.v / 8) % 200));
    }
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(buffer->GetBitMap().Get()), true);
    return new CMoviePic(resource, true);
}

SmartPtr<CShow> MakePage()
{
    PreparePlatform();
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 640, 480));
    group->InsertFrames(1, kFrames - 1, true, true);
    for (int i = 0; i < kSprites; ++i) {
        int16_t index = group->AddMovieAsSprite(0, kFrames, SpriteMovie(i));
        CSprite* sprite = group->GetSprite(index);
        for (int16_t f = 0; f < kFrames; ++f) {
            int32_t left = (i * 31 + f * 7) % (640 - kSide);
            int32_t top = (i * 23 + f * 5) % (480 - kSide);
            Rect place(left, top, left + kSide, top + kSide);
            sprite->PlaceAtFrame(f, &place, nullptr);
        }
    }
    return new CShow(group.Get());
}

std::vector<uint8_t> Save(CShow& show)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(&show));
    std::vector<uint8_t> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    stream->Read(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

SmartPtr<CShow> Reopen(const std::vector<uint8_t>& bytes)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    return SmartCast<CShow>(SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read().Get());
}

double ProcessorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// Counts the frames the player moves to and the playback chore's ticks.
class PlayCounter : public PlayerClient, public ChoreClient {
public:
    explicit PlayCounter(CPlayer& player)
        : player(player)
        , last(player.GetFrame())
    {
    }
    void FrameNotice() override
    {
        if (player.GetFrame() != last) {
            last = player.GetFrame();
            ++frames;
        }
    }
    void PlayNotice() override { }
    void AreaNotice(const SmartPtr<Area>&) override { }
    void DoChore(Chore&) override { ++ticks; }

    CPlayer& player;
    int16_t last;
    int frames { 0 };
    int ticks { 0 };
};

bool AllFramesCached(const CShow& show, int16_t frames)
{
    for (int16_t f = 0; f < frames; ++f) {
        if (!show.IsFrameCached(f))
            return false;
    }
    return true;
}

void BM_PlayWarm(benchmark::State& state)
{
    SmartPtr<CShow> show = MakePage();
    CPlayer& player = *show->GetPlayer();
    player.Accelerate();
    if (!pw::platform::Clock::IsVirtual() || !AllFramesCached(*show.Get(), kFrames)) {
        state.SkipWithError("needs the virtual clock and a warm frame cache");
        show->Close();
        return;
    }
    int played = 0;
    int ticks = 0;
    double spent = 0.0;
    for (auto _ : state) {
        PlayCounter counter(player);
        player.RemoveOrAppendClient(&counter);
        double before = ProcessorSeconds();
        player.Start();
        player.GetPlayback()->RemoveOrAppendClient(&counter);
        // The loop jumps the clock from timer to timer and dispatches each tick as it falls due.
        while (counter.frames < kPlayed)
            pw::platform::testing::RunFor(uint64_t(kBudgetMs));
        player.GetPlayback()->RemoveOrAppendClient(&counter);
        player.Stop();
        spent += ProcessorSeconds() - before;
        player.RemoveOrAppendClient(&counter);
        played += counter.frames;
        ticks += counter.ticks;
    }
    double perFrameMs = spent * 1000.0 / played;
    state.counters["cpu_ms_per_frame"] = perFrameMs;
    state.counters["budget_share_pct"] = perFrameMs / kBudgetMs * 100.0;
    state.counters["ticks_per_frame"] = double(ticks) / played;
    if (!AllFramesCached(*show.Get(), kFrames))
        state.SkipWithError("the frame cache let frames go while playing");
    show->Close();
}
BENCHMARK(BM_PlayWarm)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    SmartPtr<CShow> show = MakePage();
    for (auto _ : state)
        benchmark::DoNotOptimize(Save(*show.Get()));
    show->Close();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Reopen(benchmark::State& state)
{
    SmartPtr<CShow> show = MakePage();
    std::vector<uint8_t> bytes = Save(*show.Get());
    show->Close();
    if (const char* seed = std::getenv("PW_WRITE_PAGE_SEED"))
        std::ofstream(seed, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    for (auto _ : state) {
        SmartPtr<CShow> back = Reopen(bytes);
        back->Close();
    }
}
BENCHMARK(BM_Reopen)->Unit(benchmark::kMillisecond);

} // namespace
