// The real program on a virtual X display, used with a real mouse and keyboard (xdotool) the way a
// child uses it, and judged by what its window shows (ImageMagick). The program's own input script
// once passed a whole journey while the first real drag blanked the page; these cases go through
// the X server and the SDL backend exactly as a child's hand does.
#include "e2e/RealInputFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace pw::e2e;

// The name typed over the proposed one replaced it; the page window that came up is the active
// window, and its caption says so above the tab-set column's.
TEST_F(RealInput, TheNameTypedReplacedTheProposedOneAndThePageWindowShowsActive)
{
    EXPECT_TRUE(std::filesystem::is_directory(home / "Projects" / "Kids"));
    EXPECT_FALSE(std::filesystem::exists(home / "Projects" / "ProjectKids"));
    constexpr Rgb kNavy { 0, 0, 128 };
    EXPECT_EQ(shown.Count(kPage.left + 100, 66, kPage.right - 40, 76, kNavy), (kPage.right - 40 - kPage.left - 100) * 10)
        << "the page window's caption band";
}

TEST_F(RealInput, PlayingASampleMovesItsBalloons)
{
    ClickAndWait(kRowsLeft, kMyPagesRow, kTabBar);
    ClickAndWait(kThirdTab, kTabTop, kPage);   // Samples
    ClickAndWait(204, 180, kPage);             // Balloon Ride, the first sample
    x.Keep("real-input-balloon-ride.png");
    x.Click(kRowsLeft, kPlayAndPublishRow);
    x.Move(620, 470);   // the mouse out of the way: the screen shows the platform's cursor
    Screen first = x.WaitFor([&](const Screen& s) { return Differs(s, shown, kPage); });
    std::vector<Screen> pictures;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end)
        pictures.push_back(x.Shot());
    x.Keep("real-input-playing.png");
    std::set<std::vector<uint8_t>> distinct;
    for (const Screen& s : pictures) {
        std::vector<uint8_t> page;
        for (int v = kPage.top; v < kPage.bottom; ++v)
            for (int h = kPage.left; h < kPage.right; ++h) {
                Rgb c = s.At(h, v);
                page.insert(page.end(), { uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue) });
            }
        distinct.insert(page);
    }
    EXPECT_GE(distinct.size(), 3u) << pictures.size() << " pictures read in a second of playing";
}

TEST_F(RealInput, APlacedPictureDragsAndThePageStays)
{
    ClickAndWait(kFourthTab, kTabTop, kPage);  // Pictures
    ClickAndWait(285, 180, kPage);             // the Cat: the browser closes, the cat is held
    x.Click(300, 300);
    Screen placed = x.WaitFor([&](const Screen& s) { return Orange(s, 300, 300) > 1000; });
    ASSERT_GT(placed.width, 0) << "the cat was not put on the page";
    x.Keep("real-input-placed.png");

    x.Drag(300, 300, 450, 250);
    x.Move(620, 470);
    // While the mouse is down the cat shows at both places; after the release only at the new one.
    Screen dragged = x.WaitFor([&](const Screen& s) { return Orange(s, 450, 250) > 1000 && Orange(s, 300, 300) == 0; }, 5000);
    x.Keep("real-input-dragged.png");
    ASSERT_GT(dragged.width, 0) << "the cat is not where it was dragged, or still shows at its old place";
    // Everything of the page outside the cat's two places is as white as before.
    int whiteBefore = 0;
    int whiteAfter = 0;
    for (int v = kPage.top; v < kPage.bottom; ++v)
        for (int h = kPage.left; h < kPage.right; ++h) {
            bool nearCat = (std::abs(h - 300) < 60 && std::abs(v - 300) < 60) || (std::abs(h - 450) < 60 && std::abs(v - 250) < 60);
            bool nearMouse = h > 600 && v > 455;
            if (nearCat || nearMouse)
                continue;
            whiteBefore += placed.At(h, v) == kWhite;
            whiteAfter += dragged.At(h, v) == kWhite;
        }
    EXPECT_EQ(whiteAfter, whiteBefore);
}

} // namespace
