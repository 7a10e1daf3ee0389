// pw_samplepage: makes a page file from its text source (README.md beside this file gives the
// lines it reads). Runs on the program's platform, headless, in the shipped data folder, so that
// the standard palette is there: PW_PAGE_SOURCE names the source, PW_PAGE_OUTPUT the page file and
// PW_PAGE_ART the folder the source's pictures lie in. Exits 1 on a line it cannot read, a picture
// it cannot load, a background picture not as large as the page or a file it cannot write.
// For reviewing the pages, PW_PAGE_RENDER names a page file instead of a source: its first frame
// (or frame PW_PAGE_FRAME, counted round the page's loop), read back as the program reads pages, is
// written to PW_PAGE_OUTPUT as a PPM picture.
#include <windows.h>

#include "PageSource.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "export/LinkHREF.h"
#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using pw::tools::PagePoint;
using pw::tools::SpriteSource;

// The value of the see-through pixels of the drawn pictures.
constexpr uint32_t kSeeThrough = 255;

struct Failure {
    std::string message;
};

std::vector<char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Failure { "cannot read " + path };
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

SmartPtr<BitMap> Shape(const SpriteSource& s)
{
    SmartPtr<OffScreen> buffer = new OffScreen(s.width, s.height, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        // Twice the offset from the centre, so that even sizes stay symmetric.
        int64_t dh = 2 * p.h + 1 - s.width;
        int64_t dv = 2 * p.v + 1 - s.height;
        bool inside = s.shape == "box"
            || dh * dh * s.height * s.height + dv * dv * s.width * s.width
                <= int64_t(s.width) * s.width * s.height * s.height;
        if (inside)
            pixels.SetPixel(s.colour);
    }
    return buffer->GetBitMap();
}

SmartPtr<BitMap> Picture(const std::string& art, const std::string& name)
{
    std::vector<char> bytes = ReadBytes(art + "/" + name);
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    try {
        return new BitMap(*stream.Get(), true, kSeeThrough);
    } catch (Exception* exception) {
        SmartPtr<Exception> hold(exception->Unreferenced() ? nullptr : exception);
        throw Failure { "cannot read the picture " + name };
    }
}

SmartPtr<CResource> Item(const SmartPtr<BitMap>& picture)
{
    return new CResource(SmartPtr<Persistent>(picture.Get()), true);
}

// One picture (or shape) is one cel that the sprite shows on every frame; several pictures are a
// cel a frame, each picture on its share of the page's frames.
SmartPtr<CMovie> CelMovie(const SpriteSource& s, int32_t frames, const std::string& art)
{
    if (s.pictures.empty())
        return new CMoviePic(Item(Shape(s)), true);
    std::vector<SmartPtr<CResource>> items;
    for (const std::string& name : s.pictures) {
        SmartPtr<BitMap> picture = Picture(art, name);
        // A background laid over a page of another size would be stretched or leave a strip bare.
        if (s.background && picture->GetBounds().Size() != Point(s.width, s.height))
            throw Failure { "the background " + name + " is not as large as the page" };
        items.push_back(Item(picture));
    }
    SmartPtr<CMoviePic> cels = new CMoviePic(items.front(), true);
    if (items.size() == 1)
        return cels.Get();
    auto count = static_cast<int32_t>(items.size());
    for (int32_t f = 1; f < frames; ++f) {
        CResource* item = items[size_t(pw::tools::PictureOnFrame(count, f, frames))].Get();
        cels->StoreItem(static_cast<int16_t>(f), 1, item, true, static_cast<int16_t>(frames));
    }
    return cels.Get();
}

void AddSprite(CMovieGroup& group, const SpriteSource& s, int32_t frames, const std::string& art)
{
    int16_t index = group.AddMovieAsSprite(0, static_cast<int16_t>(frames), CelMovie(s, frames, art));
    CSprite* sprite = group.GetSprite(index);
    sprite->SetName(new String(s.name.c_str()));
    if (s.background && !sprite->ToggleFlag2(false))
        sprite->ToggleFlag2(true);
    // Everything but the background shows the page through its white (see-through) pixels; the
    // background covers the page with all of its own, white too.
    SmartPtr<CMovie> cel = sprite->GetMovie();
    if (!s.background && !cel->ToggleModeBit2(false))
        cel->ToggleModeBit2(true);
    if (s.background && cel->ToggleModeBit0(false))
        cel->ToggleModeBit0(true);
    for (int32_t f = 0; f < frames; ++f) {
        PagePoint at = pw::tools::PlaceOnPath(s.path, f, frames);
        Rect place(at.h, at.v, at.h + s.width, at.v + s.height);
        sprite->PlaceAtFrame(static_cast<int16_t>(f), &place, nullptr);
    }
    if (!s.link.empty()) {
        SmartPtr<CLink> link = new CLink;
        link->SetHREF(new LinkHREF(String(s.link.c_str())));
        sprite->SetLink(0, 1, link.Get());
    }
}

std::vector<char> PageBytes(const pw::tools::PageSource& page, const std::string& art)
{
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, page.width, page.height));
    if (page.frames > 1)
        group->InsertFrames(1, static_cast<int16_t>(page.frames - 1), true, true);
    if (!group->ToggleLoop(false))
        group->ToggleLoop(true);
    for (const SpriteSource& s : page.sprites)
        AddSprite(*group.Get(), s, page.frames, art);
    SmartPtr<CShow> show = new CShow(group.Get());
    show->SetFrameRate(static_cast<int16_t>(page.rate));

    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(show.Get()));
    std::vector<char> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    stream->Read(bytes.data(), uint32_t(bytes.size()));
    show->Close();
    return bytes;
}

// A frame of a page file as a binary PPM picture.
std::vector<char> Frame(const std::string& path, int32_t frame)
{
    std::vector<char> bytes = ReadBytes(path);
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<Smart> read = SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
    SmartPtr<CShow> show(SmartCast<CShow>(read.Get()));
    if (!show.Valid())
        throw Failure { path + " holds no page" };
    Rect bounds;
    show->GetMovie()->GetBounds(bounds);
    Rect page(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
    SmartPtr<OffScreen> buffer = new OffScreen(page.right, page.bottom, 8, Color(0), true);
    {
        DisplayPort port(*buffer.Get(), page, 0);
        int32_t frames = show->GetMovie()->NumFrames();
        show->DrawFrame(port, static_cast<int16_t>(frames > 0 ? frame % frames : 0), page, 1);
    }
    show->Close();
    std::string header = "P6\n" + std::to_string(page.right) + " " + std::to_string(page.bottom) + "\n255\n";
    std::vector<char> picture(header.begin(), header.end());
    SmartPtr<BitMap> bitmap = buffer->GetBitMap();
    SmartPtr<ColorTable> table = bitmap->GetColorTable();
    for (PixelIterator pixels(*bitmap.Get(), page, true); pixels.More(); pixels.Next()) {
        Color colour = table->GetColor(pixels.GetPixel());
        for (uint16_t component : { colour.red, colour.green, colour.blue })
            picture.push_back(static_cast<char>(component >> 8));
    }
    return picture;
}

void WriteAtomically(const std::string& path, const std::vector<char>& bytes)
{
    std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            throw Failure { "cannot write " + part };
    }
    if (std::rename(part.c_str(), path.c_str()) != 0)
        throw Failure { "cannot write " + path };
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* sourcePath = std::getenv("PW_PAGE_SOURCE");
    const char* outputPath = std::getenv("PW_PAGE_OUTPUT");
    const char* artFolder = std::getenv("PW_PAGE_ART");
    const char* renderPath = std::getenv("PW_PAGE_RENDER");
    try {
        if (renderPath && outputPath) {
            const char* frame = std::getenv("PW_PAGE_FRAME");
            WriteAtomically(outputPath, Frame(renderPath, frame ? std::max(0, std::atoi(frame)) : 0));
            return 0;
        }
        if (!sourcePath || !outputPath)
            throw Failure { "PW_PAGE_SOURCE and PW_PAGE_OUTPUT name the source and the page file" };
        std::vector<char> text = ReadBytes(sourcePath);
        std::string error;
        std::optional<pw::tools::PageSource> page = pw::tools::ReadPageSource({ text.data(), text.size() }, error);
        if (!page)
            throw Failure { std::string(sourcePath) + ":" + error };
        WriteAtomically(outputPath, PageBytes(*page, artFolder ? artFolder : "."));
    } catch (const Failure& failure) {
        std::fprintf(stderr, "pw_samplepage: %s\n", failure.message.c_str());
        return 1;
    }
    return 0;
}
