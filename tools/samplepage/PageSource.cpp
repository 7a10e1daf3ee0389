#include "PageSource.h"

#include <cmath>
#include <sstream>

namespace pw::tools {

namespace {

constexpr int32_t kMostPixels = 2000;
constexpr int32_t kMostFrames = 1000;

bool ReadLook(const std::string& look, SpriteSource& sprite)
{
    size_t colon = look.find(':');
    if (colon == std::string::npos) {
        std::istringstream names(look);
        std::string name;
        while (std::getline(names, name, ','))
            sprite.pictures.push_back(name);
        bool bitmaps = !sprite.pictures.empty() && look.back() != ',';
        for (const std::string& picture : sprite.pictures)
            bitmaps = bitmaps && picture.size() > 4 && picture.compare(picture.size() - 4, 4, ".bmp") == 0;
        return bitmaps;
    }
    sprite.shape = look.substr(0, colon);
    std::istringstream colour(look.substr(colon + 1));
    return (sprite.shape == "box" || sprite.shape == "disc") && colour >> sprite.colour && colour.eof()
        && sprite.colour < 256;
}

bool ReadPath(std::istringstream& line, std::vector<PagePoint>& path)
{
    std::string word;
    bool jump = false;
    while (line >> word) {
        if (word == "/" && !path.empty() && !jump) {
            jump = true;
            continue;
        }
        PagePoint point { 0, 0, jump };
        std::istringstream h(word);
        if (!(h >> point.h) || !h.eof() || !(line >> point.v))
            return false;
        path.push_back(point);
        jump = false;
    }
    return !jump && !path.empty();
}

bool InRange(int32_t value, int32_t most)
{
    return value > 0 && value <= most;
}

} // namespace

std::optional<PageSource> ReadPageSource(std::string_view text, std::string& error)
{
    PageSource page;
    std::istringstream source { std::string(text) };
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#')
            continue;
        bool read = false;
        if (word == "page") {
            read = static_cast<bool>(words >> page.width >> page.height >> page.frames >> page.rate)
                && InRange(page.width, kMostPixels) && InRange(page.height, kMostPixels)
                && InRange(page.frames, kMostFrames) && InRange(page.rate, 60);
        } else if (word == "background") {
            SpriteSource sprite;
            sprite.name = "__Background";
            sprite.background = true;
            sprite.width = page.width;
            sprite.height = page.height;
            sprite.path.push_back({});
            std::string look;
            read = page.frames > 0 && words >> look && ReadLook(look, sprite) && !(words >> word);
            page.sprites.push_back(sprite);
        } else if (word == "sprite") {
            SpriteSource sprite;
            std::string look;
            read = page.frames > 0 && words >> sprite.name >> look >> sprite.width >> sprite.height && ReadLook(look, sprite)
                && InRange(sprite.width, kMostPixels) && InRange(sprite.height, kMostPixels)
                && ReadPath(words, sprite.path);
            page.sprites.push_back(sprite);
        } else if (word == "link") {
            read = !page.sprites.empty() && words >> page.sprites.back().link && !(words >> word);
        }
        if (!read) {
            error = std::to_string(number) + ": cannot read \"" + line + "\"";
            return std::nullopt;
        }
    }
    if (page.frames == 0) {
        error = "no page line";
        return std::nullopt;
    }
    return page;
}

int32_t PictureOnFrame(int32_t count, int32_t frame, int32_t frames)
{
    return frames > 0 ? int32_t(int64_t(frame) * count / frames) : 0;
}

PagePoint PlaceOnPath(const std::vector<PagePoint>& path, int32_t frame, int32_t frames)
{
    if (path.size() < 2 || frames < 2)
        return path.empty() ? PagePoint() : path.front();
    std::vector<double> lengths;
    double total = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        lengths.push_back(path[i].jump ? 0 : std::hypot(path[i].h - path[i - 1].h, path[i].v - path[i - 1].v));
        total += lengths.back();
    }
    bool loop = path.front().h == path.back().h && path.front().v == path.back().v;
    double along = total * frame / (loop ? frames : frames - 1);
    for (size_t i = 0; i < lengths.size(); ++i) {
        if (along <= lengths[i] && lengths[i] > 0) {
            double t = along / lengths[i];
            return { static_cast<int32_t>(std::lround(path[i].h + (path[i + 1].h - path[i].h) * t)),
                static_cast<int32_t>(std::lround(path[i].v + (path[i + 1].v - path[i].v) * t)) };
        }
        along -= lengths[i];
    }
    return path.back();
}

} // namespace pw::tools
