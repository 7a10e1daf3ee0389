// Playing a page: twenty 80 x 80 picture sprites moving over a 640 x 480 page of 30 frames, played
// for 300 frames on the virtual clock at 15 frames per second with every frame already in the
// frame cache; the playback chore is ticked directly as its period comes up, so that the figure
// is the engine's work and not the platform's message loop. Reports the processor time per frame and its share of the 67 ms a frame may take;
// and the time to save the page as a page file and to reopen it.
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

void ProvideStandardPalette()
{
    static const bool provided = [] {
        pw::platform::testing::SetStartupFolder("c:\\plume");
        std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
        std::filesystem::create_directories(data);
        std::filesystem::copy_file(PW_STANDARD_PALETTE, data / "standard.pal",
            std::filesystem::copy_options::overwrite_existing);
        ProgressRange::SetVisible(false);
        return true;
    }();
    (void)provided;
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
    ProvideStandardPalette();
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

void BM_PlayWarm(benchmark::State& state)
{
    SmartPtr<CShow> show = MakePage();
    CPlayer& player = *show->GetPlayer();
    player.Accelerate();
    int played = 0;
    double spent = 0.0;
    for (auto _ : state) {
        player.Start();
        double before = ProcessorSeconds();
        int16_t first = player.GetFrame();
        int steps = 0;
        // The playback chore's ticks, each when its period is up, without the platform's loop.
        while (steps < kPlayed) {
            Chore& chore = *player.GetPlayback();
            pw::platform::testing::AdvanceClock(chore.GetPeriod());
            chore.Perform();
            if (player.GetFrame() != first) {
                first = player.GetFrame();
                ++steps;
            }
        }
        spent += ProcessorSeconds() - before;
        played += steps;
        player.Stop();
    }
    double perFrameMs = spent * 1000.0 / played;
    state.counters["cpu_ms_per_frame"] = perFrameMs;
    state.counters["budget_share_pct"] = perFrameMs / kBudgetMs * 100.0;
    show->Close();
}
BENCHMARK(BM_PlayWarm)->Unit(benchmark::kMillisecond)->Iterations(1);

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
