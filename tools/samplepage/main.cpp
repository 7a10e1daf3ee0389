// pw_samplepage: makes the sample page file from its text source (see Sample.page for the lines
// it reads). Runs on the program's platform, headless, in the shipped data folder, so that the
// standard palette is there: PW_PAGE_SOURCE names the source, PW_PAGE_OUTPUT the page file.
// Exits 1 on a line it cannot read or a file it cannot write.
#include <windows.h>

#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SpriteLine {
    std::string name;
    std::string shape;
    int32_t width { 0 };
    int32_t height { 0 };
    uint32_t colour { 0 };
    Point from;
    Point to;
};

SmartPtr<CMovie> CelMovie(const SpriteLine& line)
{
    SmartPtr<OffScreen> buffer = new OffScreen(line.width, line.height, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        // Twice the offset from the centre, so that even sizes stay symmetric.
        int64_t dh = 2 * p.h + 1 - line.width;
        int64_t dv = 2 * p.v + 1 - line.height;
        bool inside = line.shape == "box"
            || dh * dh * line.height * line.height + dv * dv * line.width * line.width
                <= int64_t(line.width) * line.width * line.height * line.height;
        if (inside)
            pixels.SetPixel(line.colour);
    }
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(buffer->GetBitMap().Get()), true);
    return new CMoviePic(resource, true);
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "pw_samplepage: %s\n", message.c_str());
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* sourcePath = std::getenv("PW_PAGE_SOURCE");
    const char* outputPath = std::getenv("PW_PAGE_OUTPUT");
    if (!sourcePath || !outputPath)
        return Fail("PW_PAGE_SOURCE and PW_PAGE_OUTPUT name the source and the page file");
    std::ifstream source(sourcePath);
    if (!source)
        return Fail(std::string("cannot read ") + sourcePath);

    int32_t width = 0;
    int32_t height = 0;
    int frames = 0;
    int rate = 0;
    std::vector<SpriteLine> sprites;
    std::string text;
    for (int number = 1; std::getline(source, text); ++number) {
        std::istringstream line(text);
        std::string word;
        if (!(line >> word) || word[0] == '#')
            continue;
        bool read = false;
        if (word == "page") {
            read = static_cast<bool>(line >> width >> height >> frames >> rate) && width > 0 && height > 0
                && frames > 0 && frames < 1000 && rate > 0 && rate <= 60;
        } else if (word == "sprite") {
            SpriteLine s;
            read = static_cast<bool>(line >> s.name >> s.shape >> s.width >> s.height >> s.colour >> s.from.h
                       >> s.from.v >> s.to.h >> s.to.v)
                && (s.shape == "box" || s.shape == "disc") && s.width > 0 && s.height > 0 && s.width <= 1000
                && s.height <= 1000 && s.colour < 256;
            sprites.push_back(s);
        }
        if (!read)
            return Fail(std::string(sourcePath) + ":" + std::to_string(number) + ": cannot read \"" + text + "\"");
    }
    if (frames == 0)
        return Fail("no page line");

    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, width, height));
    if (frames > 1)
        group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
    if (!group->ToggleLoop(false))
        group->ToggleLoop(true);
    for (const SpriteLine& s : sprites) {
        int16_t index = group->AddMovieAsSprite(0, static_cast<int16_t>(frames), CelMovie(s));
        CSprite* sprite = group->GetSprite(index);
        sprite->SetName(new String(s.name.c_str()));
        for (int f = 0; f < frames; ++f) {
            int32_t last = frames > 1 ? frames - 1 : 1;
            int32_t left = s.from.h + (s.to.h - s.from.h) * f / last;
            int32_t top = s.from.v + (s.to.v - s.from.v) * f / last;
            Rect place(left, top, left + s.width, top + s.height);
            sprite->PlaceAtFrame(static_cast<int16_t>(f), &place, nullptr);
        }
    }
    SmartPtr<CShow> show = new CShow(group.Get());
    show->SetFrameRate(static_cast<int16_t>(rate));

    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(show.Get()));
    std::vector<char> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    stream->Read(bytes.data(), uint32_t(bytes.size()));
    show->Close();

    std::string part = std::string(outputPath) + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            return Fail("cannot write " + part);
    }
    if (std::rename(part.c_str(), outputPath) != 0)
        return Fail(std::string("cannot write ") + outputPath);
    return 0;
}
