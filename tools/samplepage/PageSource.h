// The text form of a page that the build makes into a page file (see README.md beside this file
// for the lines it reads), and where each sprite stands in each frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::tools {

struct PagePoint {
    int32_t h { 0 };
    int32_t v { 0 };
    // Reached at once from the point before ("/" between them in the source): a sprite that
    // leaves the page on one side comes back on another without crossing it.
    bool jump { false };
};

struct SpriteSource {
    std::string name;
    // "box" or "disc" in `colour`, or BMP pictures named by `pictures`: one stands for the whole
    // page; several share the page's frames evenly, in turn.
    std::string shape;
    uint32_t colour { 0 };
    std::vector<std::string> pictures;
    int32_t width { 0 };
    int32_t height { 0 };
    // The top-left corner's way over the page's frames; one point stands still.
    std::vector<PagePoint> path;
    // The page's background: named "__Background", marked as one, and laid at (0, 0).
    bool background { false };
    // A web address the sprite links to at frame 0; empty: none.
    std::string link;
};

struct PageSource {
    int32_t width { 0 };
    int32_t height { 0 };
    int32_t frames { 0 };
    int32_t rate { 0 };
    std::vector<SpriteSource> sprites;
};

// The page a source describes, or none with `error` naming the first line it cannot read.
std::optional<PageSource> ReadPageSource(std::string_view text, std::string& error);

// Which of `count` pictures that share a page's `frames` evenly, in turn, shows on `frame`.
int32_t PictureOnFrame(int32_t count, int32_t frame, int32_t frames);

// The top-left corner on `frame` of `frames`: the path is walked at an even speed (jumps take no
// time), reaching its last point on the last frame; a path that ends where it starts is a loop,
// whose last frame lies one step before its start, so that a looping page runs on without a pause.
PagePoint PlaceOnPath(const std::vector<PagePoint>& path, int32_t frame, int32_t frames);

} // namespace pw::tools
