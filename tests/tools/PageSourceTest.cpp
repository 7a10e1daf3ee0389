// The page tool's source reading and the sprites' ways over the frames.
#include "samplepage/PageSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using pw::tools::PagePoint;
using pw::tools::PlaceOnPath;
using pw::tools::ReadPageSource;

TEST(PageSource, ReadsAPageWithItsBackgroundMovingSpritesAndLink)
{
    std::string error;
    auto page = ReadPageSource("# a page\n"
                               "page 350 350 60 10\n"
                               "background Backgrounds/Sea.bmp\n"
                               "sprite fish Sprites/Fish.bmp 64 64 200 50 -64 70 / 350 40 200 50\n"
                               "sprite dot disc:15 30 30 10 10\n"
                               "sprite bird Pictures/Up.bmp,Pictures/Down.bmp,Pictures/Up.bmp 96 96 0 0\n"
                               "link https://example.org/\n",
        error);
    ASSERT_TRUE(page) << error;
    EXPECT_EQ(page->frames, 60);
    ASSERT_EQ(page->sprites.size(), 4u);
    const auto& background = page->sprites[0];
    EXPECT_EQ(background.name, "__Background");
    EXPECT_TRUE(background.background);
    EXPECT_EQ(background.width, 350);
    const auto& fish = page->sprites[1];
    EXPECT_EQ(fish.pictures, std::vector<std::string> { "Sprites/Fish.bmp" });
    ASSERT_EQ(fish.path.size(), 4u);
    EXPECT_TRUE(fish.path[2].jump);
    EXPECT_FALSE(fish.path[3].jump);
    EXPECT_EQ(fish.link, "");
    EXPECT_EQ(page->sprites[2].shape, "disc");
    EXPECT_EQ(page->sprites[2].colour, 15u);
    EXPECT_EQ(page->sprites[2].link, "");
    EXPECT_EQ(page->sprites[3].pictures, (std::vector<std::string> { "Pictures/Up.bmp", "Pictures/Down.bmp", "Pictures/Up.bmp" }));
    EXPECT_EQ(page->sprites[3].link, "https://example.org/");
}

TEST(PageSource, NamesTheFirstLineItCannotRead)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "sprite a disc:1 4 4 0 0\n", "1: " },                     // before the page line
        { "page 10 10 1 15\nlink https://a.org/\n", "2: " },         // a link needs a sprite
        { "page 10 10 1 15\nsprite a disc:256 4 4 0 0\n", "2: " },  // no such colour
        { "page 10 10 1 15\nsprite a star:3 4 4 0 0\n", "2: " },    // no such shape
        { "page 10 10 1 15\nsprite a a.png 4 4 0 0\n", "2: " },     // pictures are BMP files
        { "page 10 10 1 15\nsprite a a.bmp,b.png 4 4 0 0\n", "2: " }, // every one of them
        { "page 10 10 1 15\nsprite a a.bmp, 4 4 0 0\n", "2: " },  // a list ending in nothing
        { "page 10 10 1 15\nsprite a a.bmp,,b.bmp 4 4 0 0\n", "2: " },  // a name left out
        { "page 10 10 1 15\nsprite a disc:1 4 4 0 0 5\n", "2: " },  // half a point
        { "page 10 10 1 15\nsprite a disc:1 4 4 0 0 /\n", "2: " },  // a jump to nowhere
        { "page 10 10 1 15\nsprite a disc:1 4 4 / 0 0\n", "2: " },  // a jump from nowhere
        { "page 10 10 0 15\n", "1: " },                             // no frames
        { "# nothing\n", "no page line" },
    };
    for (const auto& [source, expected] : cases) {
        std::string error;
        EXPECT_FALSE(ReadPageSource(source, error)) << source;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << source << " gave " << error;
    }
}

// Several pictures of a sprite take the page's frames in turn, each an even share, so that a page
// that loops shows them in a steady cycle.
TEST(PageSource, PicturesShareThePagesFramesEvenlyInTurn)
{
    const struct {
        int32_t count;
        int32_t frames;
        std::string shown; // the picture on each frame
    } cases[] = {
        { 1, 4, "0000" },
        { 2, 4, "0011" },
        { 3, 12, "000011112222" },
        { 4, 6, "001223" },  // shares as even as whole frames make them
        { 12, 24, "0011223344556677889910101111" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " pictures over " + std::to_string(c.frames) + " frames");
        std::string shown;
        for (int32_t frame = 0; frame < c.frames; ++frame)
            shown += std::to_string(pw::tools::PictureOnFrame(c.count, frame, c.frames));
        EXPECT_EQ(shown, c.shown);
    }
}

std::vector<std::pair<int32_t, int32_t>> Walk(const std::vector<PagePoint>& path, int32_t frames)
{
    std::vector<std::pair<int32_t, int32_t>> places;
    for (int32_t frame = 0; frame < frames; ++frame) {
        PagePoint at = PlaceOnPath(path, frame, frames);
        places.emplace_back(at.h, at.v);
    }
    return places;
}

TEST(PageSource, SpritesWalkTheirPathsAtAnEvenSpeed)
{
    using Places = std::vector<std::pair<int32_t, int32_t>>;
    // An open path ends on the last frame.
    EXPECT_EQ(Walk({ { 0, 0 }, { 40, 0 }, { 40, 40 } }, 5), (Places { { 0, 0 }, { 20, 0 }, { 40, 0 }, { 40, 20 }, { 40, 40 } }));
    // A loop's last frame is one step short of its start, which the next frame shows again.
    EXPECT_EQ(Walk({ { 0, 0 }, { 30, 0 }, { 0, 0 } }, 4), (Places { { 0, 0 }, { 15, 0 }, { 30, 0 }, { 15, 0 } }));
    // A jump takes no time: the sprite is never seen between the two points.
    EXPECT_EQ(Walk({ { 0, 0 }, { 100, 0 }, { 0, 50, true }, { 100, 50 } }, 5),
        (Places { { 0, 0 }, { 50, 0 }, { 100, 0 }, { 50, 50 }, { 100, 50 } }));
    // One point, or one frame, stands still.
    EXPECT_EQ(Walk({ { 7, 9 } }, 3), (Places { { 7, 9 }, { 7, 9 }, { 7, 9 } }));
    EXPECT_EQ(Walk({ { 7, 9 }, { 20, 20 } }, 1), (Places { { 7, 9 } }));
}

} // namespace
