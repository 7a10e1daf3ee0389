// Saving a page to its file and opening it again, as the page's window does (an object file over
// the disk file, written through a temporary file that then replaces it), for pages of 20 and 320
// moving sprites, 10 to 1,000 frames long. Reports the time per save and per reopen, the file's
// size and the resident memory: the page's own, and the peak while saving (page in memory) or
// reopening (from no page), each counted from before the page was made.
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/ObjectFile.h"

#include "platform/kernel/KernelTesting.h"

#include "PeakMemory.h"
#include "SpritePage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr char kPagePath[] = "c:\\plume\\page.mvi";

std::filesystem::path HostPath()
{
    return std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "page.mvi";
}

SmartPtr<ObjectFile> PageFile()
{
    if (!std::filesystem::exists(HostPath()))
        std::ofstream(HostPath(), std::ios::binary);
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(kPagePath);
    return new ObjectFile(GetGenericTypeIndex(), new File(*reference.Get(), File::kRead | File::kWrite));
}

void Save(CShow& show)
{
    PageFile()->Write(SmartPtr<Smart>(&show));
}

SmartPtr<CShow> Reopen()
{
    return SmartCast<CShow>(PageFile()->Read().Get());
}

void BM_Save(benchmark::State& state)
{
    bench::PreparePagePlatform();
    bench::ResetPeak();
    uint64_t before = bench::ResidentBytes();
    SmartPtr<CShow> show = bench::MakeSpritePage(static_cast<int>(state.range(0)), static_cast<int16_t>(state.range(1)));
    uint64_t page = bench::ResidentBytes() - before;
    bench::ResetPeak();
    for (auto _ : state)
        Save(*show.Get());
    state.counters["page_MB"] = bench::Megabytes(page);
    state.counters["file_MB"] = bench::Megabytes(std::filesystem::file_size(HostPath()));
    state.counters["peak_MB"] = bench::Megabytes(bench::PeakResidentBytes() - before);
    show->Close();
}
BENCHMARK(BM_Save)->Apply(bench::PageSizes)->Unit(benchmark::kMillisecond);

void BM_Reopen(benchmark::State& state)
{
    bench::PreparePagePlatform();
    bench::ResetPeak();
    uint64_t before = bench::ResidentBytes();
    uint64_t page = 0;
    {
        SmartPtr<CShow> show = bench::MakeSpritePage(static_cast<int>(state.range(0)), static_cast<int16_t>(state.range(1)));
        page = bench::ResidentBytes() - before;
        Save(*show.Get());
        show->Close();
    }
    // For new fuzz seeds: the stored page, where the variable says.
    if (const char* seed = std::getenv("PW_WRITE_PAGE_SEED"))
        std::filesystem::copy_file(HostPath(), seed, std::filesystem::copy_options::overwrite_existing);
    bench::ResetPeak();
    for (auto _ : state) {
        SmartPtr<CShow> back = Reopen();
        if (!back.Valid()) {
            state.SkipWithError("the saved page did not open");
            break;
        }
        back->Close();
    }
    state.counters["page_MB"] = bench::Megabytes(page);
    state.counters["file_MB"] = bench::Megabytes(std::filesystem::file_size(HostPath()));
    state.counters["peak_MB"] = bench::Megabytes(bench::PeakResidentBytes() - before);
}
BENCHMARK(BM_Reopen)->Apply(bench::PageSizes)->Unit(benchmark::kMillisecond);

} // namespace
