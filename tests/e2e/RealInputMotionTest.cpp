// The real program driven through the X server as a child's hand drives it: a moving picture of
// the Pictures tab, placed on the page, moves when the page plays.
#include "e2e/RealInputFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <vector>

namespace {

using namespace pw::e2e;

// The Fish, third in the Pictures tab's first row, and where the child puts it.
constexpr int kFishEntryH = 377;
constexpr int kFishEntryV = 180;
constexpr int kPlacedH = 300;
constexpr int kPlacedV = 300;
constexpr Rgb kFishBlue { 51, 204, 255 };

TEST_F(RealInput, APlacedMovingPictureMovesWhenThePagePlays)
{
    ClickAndWait(kFourthTab, kTabTop, kPage);  // Pictures
    ClickAndWait(kFishEntryH, kFishEntryV, kPage);
    x.Click(kPlacedH, kPlacedV);
    Screen placed = x.WaitFor([](const Screen& s) {
        return s.Count(kPlacedH - 60, kPlacedV - 60, kPlacedH + 60, kPlacedV + 60, kFishBlue) > 300;
    });
    x.Keep("real-input-fish-placed.png");
    ASSERT_GT(placed.width, 0) << "the fish was not put on the page";

    x.Click(kRowsLeft, kPlayAndPublishRow);
    x.Move(620, 470);   // the mouse out of the way: the screen shows the platform's cursor
    const Box around { kPlacedH - 60, kPlacedV - 60, kPlacedH + 60, kPlacedV + 60 };
    // Playing begins when the selection's handles go from around the fish.
    ASSERT_GT(x.WaitFor([&](const Screen& s) { return Differs(s, placed, around); }).width, 0) << "nothing played";
    std::set<std::vector<uint8_t>> distinct;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        Screen s = x.Shot();
        std::vector<uint8_t> shown;
        for (int v = around.top; v < around.bottom; ++v)
            for (int h = around.left; h < around.right; ++h) {
                Rgb c = s.At(h, v);
                shown.insert(shown.end(), { uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue) });
            }
        distinct.insert(shown);
    }
    x.Keep("real-input-fish-playing.png");
    EXPECT_GE(distinct.size(), 3u) << "the fish shows no more than " << distinct.size() << " pictures in a second";
}

} // namespace
