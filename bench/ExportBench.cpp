// Exporting a 640 x 480 page as a save does after storing it: the page's picture as a JPEG file, its
// HTML file with the image map, and one sound saved as a WAVE file, the previous export's files
// removed first. The JPEG part is set beside the JPEG library doing the same work the plain way:
// the page's 8-bit picture coloured through its table row by row, each row handed to the library
// as it is made, with the same settings, into memory; neither side writes a file. A whole save of
// a page that links to other pages is set beside the same save in a smaller project: what a save
// costs must not grow with the pages around it.
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/ShowFileType.h"
#include "export/ImageMap.h"
#include "export/JpegExport.h"
#include "export/TallowScribe.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
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

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
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

// The page's picture, and for the library's side its values, top row first, and its colour table
// as red, green and blue bytes and a fourth of 0.
struct PagePicture {
    SmartPtr<BitMap> bitmap;
    std::vector<uint8_t> values;
    uint8_t table[256][4] {};
};

std::shared_ptr<PagePicture> MakePagePicture()
{
    auto picture = std::make_shared<PagePicture>();
    SmartPtr<CShow> show = ExportPage();
    picture->bitmap = SmartCast<BitMap>(show->GetMovie()->MakeImage().Get());
    show->Close();
    BitMap& bitmap = *picture->bitmap.Get();
    for (PixelIterator pixels(bitmap, bitmap.GetBounds(), true); pixels.More(); pixels.Next())
        picture->values.push_back(static_cast<uint8_t>(pixels.GetPixel()));
    for (uint32_t value = 0; value < 256; ++value) {
        Color color = bitmap.GetColorOfValue(value);
        picture->table[value][0] = static_cast<uint8_t>(color.red >> 8);
        picture->table[value][1] = static_cast<uint8_t>(color.green >> 8);
        picture->table[value][2] = static_cast<uint8_t>(color.blue >> 8);
    }
    return picture;
}

// The export's work done plainly through the library: each row coloured pixel by pixel into one
// row buffer just before the library takes it, into the library's own memory destination. A pixel
// is one store of its table entry's four bytes, the fourth overwritten by the next pixel's.
std::vector<uint8_t> LibraryCompress(const PagePicture& picture)
{
    return jpegtest::EncodeRowByRow(kWidth, kHeight, [&picture](JSAMPLE* out, JDIMENSION row) {
        const uint8_t* values = picture.values.data() + size_t(row) * kWidth;
        for (int32_t column = 0; column < kWidth; ++column, out += 3)
            std::memcpy(out, picture.table[values[column]], 4);
    });
}

// Both sides must make the file the library makes of the picture's colours, or the pair would
// compare different work. With both sides colouring and compressing alike, the export is 0.99 to
// 1.04 times the library's time at rest and beside builds and memory-heavy programs, an export 1.3
// times slower 1.29 to 1.35; held at 1.15. (When the library's side compressed rows coloured
// beforehand, the export's colouring alone put the figure at 1.15 on one processor and up to 1.31
// on another.)
[[maybe_unused]] const bool jpegAgainstLibrary = bench::Compare("BM_PageJpeg", { 1.15 }, [] {
    std::shared_ptr<PagePicture> picture = MakePagePicture();
    if (picture->bitmap->GetBounds() != Rect(0, 0, kWidth, kHeight))
        throw bench::Failure("the page's picture is not 640 x 480");
    std::vector<uint8_t> rgb = jpegtest::TableColors(*picture->bitmap.Get());
    std::vector<uint8_t> expected = jpegtest::EncodeRows(jpegtest::RowsOf(rgb, kWidth), kWidth);
    if (ExportCompress(*picture->bitmap.Get()) != expected || LibraryCompress(*picture.get()) != expected)
        throw bench::Failure("the export's JPEG differs from the library's");
    return bench::Sides {
        [picture] { benchmark::DoNotOptimize(ExportCompress(*picture->bitmap.Get())); },
        [picture] { benchmark::DoNotOptimize(LibraryCompress(*picture.get())); },
    };
}, [](benchmark::internal::Benchmark* side) { side->Unit(benchmark::kMillisecond); });

// A project folder c:\plume\<name> of `pages` page documents, "Page 1" to "Page <pages>", each
// exported once before (the export-name record lists them all). "Page 1" is a page of eight
// picture sprites over a painted background, each sprite leading to one of the pages after it;
// the others are empty pages.
class Project {
public:
    static constexpr int kLinks = 8;

    Project(const std::string& name, int pages)
        : folder(std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / name)
        , path("c:\\plume\\" + name + "\\")
    {
        bench::PreparePagePlatform();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kWidth, kHeight));
        group->AddSprite(PictureSprite(Background(), Rect(0, 0, kWidth, kHeight)), false);
        for (int i = 0; i < kLinks; ++i) {
            int32_t left = 20 + (i % 4) * 150;
            int32_t top = 100 + (i / 4) * 200;
            SmartPtr<CSprite> sprite
                = PictureSprite(bench::DiscPicture(kSide, i), Rect(left, top, left + kSide, top + kSide));
            SmartPtr<CLink> link = new CLink;
            link->SetJumpMovie(new CJumpMovie(FileReference::FileReferenceFromPath(Document(i + 2).c_str()), true));
            link->SetKind(2);
            sprite->SetLink(0, 1, link.Get());
            group->AddSprite(sprite, false);
        }
        show = new CShow(group.Get());
        SmartPtr<CShow> empty = new CShow(new CMovieGroup(Rect(0, 0, kWidth, kHeight)));
        Open(Document(2))->Write(SmartPtr<Smart>(empty.Get()));
        empty->Close();
        std::ofstream record(folder / "_pagefiles.txt", std::ios::binary);
        record << "Page_1\tPage 1\nPage_2\tPage 2\n";
        for (int page = 3; page <= pages; ++page) {
            std::filesystem::copy_file(folder / "Page 2.mvi", folder / ("Page " + std::to_string(page) + ".mvi"));
            record << "Page_" << page << "\tPage " << page << "\n";
        }
    }
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;
    ~Project() { show->Close(); }

    // Stores "Page 1" through the page scribe, as the page's window saves it.
    void Save()
    {
        std::string document = Document(1);
        SmartPtr<FileReference> file = FileReference::FileReferenceFromPath(document.c_str());
        SmartPtr<TallowScribe> scribe = new TallowScribe(Open(document), file);
        scribe->Write(SmartPtr<Smart>(show.Get()));
    }

    // The HTML the last save wrote.
    std::string Exported() const
    {
        std::ifstream page(folder / "HTML" / "Page_1.htm", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(page), {});
    }

private:
    std::string Document(int page) const { return path + "Page " + std::to_string(page) + ".mvi"; }

    SmartPtr<Scribe> Open(const std::string& document) const
    {
        std::filesystem::path host = folder / document.substr(path.size());
        if (!std::filesystem::exists(host))
            std::ofstream(host, std::ios::binary);
        SmartPtr<FileReference> file = FileReference::FileReferenceFromPath(document.c_str());
        return new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), File::kRead | File::kWrite));
    }

    std::filesystem::path folder;
    std::string path;
    SmartPtr<CShow> show;
};

// Both saves must write the same page, with a link to every linked page, or the pair would
// compare different work. The larger project's save still reads a folder of 400 pages where the
// other reads one of 10 (the pages' export names need a listing that looks at every page document;
// the search for old temporary files and the naming of the new one read every entry), and a busy
// machine slows that file-system work more than the rest of the save: timed apart, the sides moved
// apart with the load, up to 1.9 beside a build. So they alternate, each run after an untimed run
// of the other, and each save works out its project's page names afresh, as the first save after a
// page comes or goes does. The figure is then 1.18 to 1.55 at rest and 1.15 to 1.6 beside builds,
// busy processors and a memory-heavy program, while a save that asks the file system about every
// page document once more gives 2.5 to 3.2; held at 1.9, a fifth above the one and a quarter below
// the other.
constexpr bench::Limit kSaveLimit { .ratio = 1.9, .alternate = true };
[[maybe_unused]] const bool saveInLargeProject = bench::Compare("BM_SaveInLargeProject", kSaveLimit, [] {
    auto large = std::make_shared<Project>("Project400", 400);
    auto small = std::make_shared<Project>("Project10", 10);
    large->Save();
    small->Save();
    std::string html = small->Exported();
    for (int page = 2; page < 2 + Project::kLinks; ++page) {
        if (html.find("Page_" + std::to_string(page) + ".htm") == std::string::npos)
            throw bench::Failure("the saved page does not link to page " + std::to_string(page));
    }
    if (large->Exported() != html)
        throw bench::Failure("the page saved in the large project differs from the small project's");
    return bench::Sides { [large] { large->Save(); }, [small] { small->Save(); } };
}, [](benchmark::internal::Benchmark* side) { side->Unit(benchmark::kMillisecond); });

} // namespace
