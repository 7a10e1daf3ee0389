// Exporting a 640 x 480 page as a save does after storing it: the page's picture as a JPEG file, its
// HTML file with the image map, and one sound saved as a WAVE file, the previous export's files
// removed first. The JPEG part is set beside the JPEG library compressing the same RGB rows
// directly, with the same settings, into memory; both sides compress into memory and write no
// file. Target: within 1.2 times the library's own time.
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "export/ImageMap.h"
#include "export/JpegExport.h"
#include "export/TallowScribe.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "graphics/BitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "graphics/Sound.h"

#include "platform/kernel/KernelTesting.h"

#include "Ratio.h"
#include "JpegEncode.h"
#include "SoundBytes.h"
#include "SpritePage.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int kSprites = 19;
constexpr int32_t kSide = 80;

// A painted background: broad bands of colour with strokes across them, as a child paints a sky
// and a meadow.
SmartPtr<BitMap> Background()
{
    SmartPtr<OffScreen> buffer = new OffScreen(kWidth, kHeight, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        int band = p.v < kHeight / 2 ? 20 + p.v / 24 : 120 + (p.v + p.h / 16) / 20;
        bool stroke = (p.h + 3 * p.v) % 97 < 6;
        pixels.SetPixel(static_cast<uint32_t>(stroke ? 200 + p.h % 40 : band));
    }
    return buffer->GetBitMap();
}

SmartPtr<CSprite> PictureSprite(const SmartPtr<BitMap>& picture, const Rect& place)
{
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(picture.Get()), true);
    return new CSprite(0, new CMoviePic(resource, true), place);
}

// Two seconds of an 8-bit sound at 22050 samples a second, as the recorder makes them.
SmartPtr<Sound> TwoSeconds()
{
    std::vector<uint8_t> samples(2 * 22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<uint8_t>(128 + (i * 5 % 64) - 32);
    MemoryStream source = sound_bytes::StreamOf(sound_bytes::Wave(1, 22050, 8, samples));
    return new Sound(source, Sound::wave, false);
}

// The page: the background, 19 disc sprites over it, the first of which plays the sound.
SmartPtr<CShow> ExportPage()
{
    bench::PreparePagePlatform();
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kWidth, kHeight));
    group->AddSprite(PictureSprite(Background(), Rect(0, 0, kWidth, kHeight)), false);
    for (int i = 0; i < kSprites; ++i) {
        int32_t left = (i * 97) % (kWidth - kSide);
        int32_t top = (i * 61) % (kHeight - kSide);
        SmartPtr<CSprite> sprite
            = PictureSprite(bench::DiscPicture(kSide, i), Rect(left, top, left + kSide, top + kSide));
        if (i == 0)
            sprite->SetSound(0, 1, TwoSeconds().Get());
        group->AddSprite(sprite, false);
    }
    return new CShow(group.Get());
}

// The project folder c:\plume\Proj and its export folder.
struct Folders {
    SmartPtr<FileReference> project;
    SmartPtr<FileReference> exported;
};

Folders ProjectFolders()
{
    std::filesystem::create_directories(std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Proj");
    Folders folders;
    folders.project = FileReference::FileReferenceFromPath("c:\\plume\\Proj");
    folders.exported = FileReference::FileReferenceInFolder(*folders.project.Get(), String("HTML"), true);
    return folders;
}

// What a page's save exports once the document is stored.
void Export(CShow& show, const Folders& folders)
{
    String pageName("Meadow");
    SmartPtr<ImageMap> map = TallowScribe::MakePageMap(*show.GetMovie().Get(), folders.project, folders.exported);
    SmartPtr<htmlElement> root = TallowScribe::WrapPageBody(map.Get());
    RemoveOldPageFiles(pageName, folders.exported);
    root->WritePage(pageName, folders.exported, SmartList<FileReference>());
}

void BM_ExportPage(benchmark::State& state)
{
    SmartPtr<CShow> show = ExportPage();
    Folders folders = ProjectFolders();
    for (auto _ : state)
        Export(*show.Get(), folders);
    std::filesystem::path exported = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume/Proj/HTML";
    // The page, its picture and its sound, however many times it was exported.
    std::error_code missing;
    auto files = std::distance(std::filesystem::directory_iterator(exported), {});
    if (std::filesystem::file_size(exported / "Meadow.wav", missing) == 0 || missing || files != 3)
        state.SkipWithError("the export did not leave one page, one picture and one sound");
    state.counters["jpeg_KB"] = double(std::filesystem::file_size(exported / "Meadow.jpg", missing)) / 1024;
    show->Close();
}
BENCHMARK(BM_ExportPage)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> ExportCompress(BitMap& bitmap)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    JpegCompressFile(bitmap, *stream.Get());
    const auto* bytes = static_cast<const uint8_t*>(stream->Block().Ptr());
    return std::vector<uint8_t>(bytes, bytes + stream->GetLength());
}

// The page's picture and its RGB rows, top row first, as the export converts them.
struct PagePicture {
    SmartPtr<BitMap> bitmap;
    std::vector<uint8_t> rgb;
    std::vector<JSAMPROW> rows;
};

std::shared_ptr<PagePicture> MakePagePicture()
{
    auto picture = std::make_shared<PagePicture>();
    SmartPtr<CShow> show = ExportPage();
    picture->bitmap = SmartCast<BitMap>(show->GetMovie()->MakeImage().Get());
    show->Close();
    picture->rgb = jpegtest::TableColors(*picture->bitmap.Get());
    picture->rows = jpegtest::RowsOf(picture->rgb, kWidth);
    return picture;
}

// Both sides must make the same file, or the pair would compare different work.
[[maybe_unused]] const bool jpegAgainstLibrary = bench::Compare("BM_PageJpeg", { 1.2 }, [] {
    std::shared_ptr<PagePicture> picture = MakePagePicture();
    if (picture->bitmap->GetBounds() != Rect(0, 0, kWidth, kHeight))
        throw bench::Failure("the page's picture is not 640 x 480");
    if (ExportCompress(*picture->bitmap.Get()) != jpegtest::EncodeRows(picture->rows, kWidth))
        throw bench::Failure("the export's JPEG differs from the library's");
    return bench::Sides {
        [picture] { benchmark::DoNotOptimize(ExportCompress(*picture->bitmap.Get())); },
        [picture] { benchmark::DoNotOptimize(jpegtest::EncodeRows(picture->rows, kWidth)); },
    };
}, [](benchmark::internal::Benchmark* side) { side->Unit(benchmark::kMillisecond); });

} // namespace
