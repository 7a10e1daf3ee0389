// Painting on the real program with a real mouse (xdotool on Xvfb): the shipped Hills background
// and Cat, then the Paint tab's bucket on the sky, judged by what the window shows.
#include "e2e/RealInputFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace pw::e2e;

// The bucket's colour as the program starts, the clouds' white and the sun's yellow.
constexpr Rgb kMagenta { 255, 0, 255 };
constexpr Rgb kSunYellow { 255, 204, 0 };
// Where things are once Hills and the Cat are on the page: a cloud, the sun, the sky between
// them, the Cat's middle and the hills below the kid tools' window of the Paint tab.
constexpr int kCloudH = 285;
constexpr int kCloudV = 185;
constexpr int kSunH = 490;
constexpr int kSunV = 193;
constexpr int kSkyH = 400;
constexpr int kSkyV = 150;
constexpr int kCatH = 280;
constexpr int kCatV = 300;
constexpr Box kHills { 150, 400, 610, 466 };
// The first tab of a set (Page), the Backgrounds and Hills cells, the Cat cell, the kid tools'
// bucket and the row of its fill styles.
constexpr int kFirstTab = 190;
constexpr int kHillsH = 316;
constexpr int kHillsV = 175;
constexpr int kCatCellH = 285;
constexpr int kCatCellV = 180;
constexpr int kBucketH = 157;
constexpr int kBucketV = 396;
constexpr Box kToolOptions { 196, 380, 480, 470 };

int Around(const Screen& s, int h, int v, Rgb colour)
{
    return s.Count(h - 20, v - 10, h + 20, v + 10, colour);
}

class RealInputPaint : public RealInput {
protected:
    // Hills from the Backgrounds tab, the Cat from the Pictures tab put on its sky: the page as
    // it shows once the pointer has surely left the Cat.
    Screen PlaceCatOnHills()
    {
        ClickAndWait(kSecondTab, kTabTop, kPage);   // Backgrounds
        ClickAndWait(kHillsH, kHillsV, kPage);
        ClickAndWait(kFourthTab, kTabTop, kPage);   // Pictures
        ClickAndWait(kCatCellH, kCatCellV, kPage);  // the Cat: the browser closes, the Cat is held
        x.Click(kCatH, kCatV);
        x.Move(620, 470);
        EXPECT_GT(x.WaitFor([&](const Screen& s) { return Orange(s, kCatH, kCatV) > 1000; }).width, 0)
            << "the Cat was not put on the page";
        x.Pause(500);
        return x.Shot();
    }
    // Paint & Sound ▸ Paint ▸ the bucket, a click on the sky: the screen once the sky is filled,
    // none when it is not.
    Screen FillTheSky()
    {
        ClickAndWait(kRowsLeft, kPaintAndSoundRow, kTabBar);
        ClickAndWait(kThirdTab, kTabTop, kPage);    // Paint: the kid tools come up
        ClickAndWait(kBucketH, kBucketV, kToolOptions);
        x.Click(kSkyH, kSkyV);
        x.Move(620, 470);
        return x.WaitFor([](const Screen& s) { return s.Count(kPage.left, kPage.top, kPage.right, 200, kMagenta) > 20000; });
    }
};

// Hills, the Cat placed on its sky, Paint & Sound ▸ Paint ▸ the bucket, a click on the sky: the
// sky takes the bucket's colour while the Cat, the clouds and the sun keep theirs; back on the
// Page tab the Cat and the hills show as before.
TEST_F(RealInputPaint, TheBucketOnTheSkyFillsOnlyTheSky)
{
    Screen placed = PlaceCatOnHills();
    x.Keep("real-input-paint-placed.png");
    ASSERT_GT(Around(placed, kCloudH, kCloudV, kWhite), 700) << "a cloud shows there";
    ASSERT_GT(Around(placed, kSunH, kSunV, kSunYellow), 700) << "the sun shows there";

    Screen filled = FillTheSky();
    x.Keep("real-input-paint-filled.png");
    ASSERT_GT(filled.width, 0) << "the sky was not filled";
    EXPECT_EQ(Around(filled, kCloudH, kCloudV, kWhite), Around(placed, kCloudH, kCloudV, kWhite)) << "the cloud";
    EXPECT_EQ(Around(filled, kSunH, kSunV, kSunYellow), Around(placed, kSunH, kSunV, kSunYellow)) << "the sun";
    EXPECT_EQ(Orange(filled, kCatH, kCatV), Orange(placed, kCatH, kCatV)) << "the Cat";

    x.Click(kFirstTab, kTabTop);                // Page
    x.Move(620, 470);
    Screen page = x.WaitFor([&](const Screen& s) { return !Differs(s, placed, kHills); });
    x.Keep("real-input-paint-page.png");
    EXPECT_GT(page.width, 0) << "the hills do not show as they did";
    Screen shown = x.Shot();
    EXPECT_EQ(Orange(shown, kCatH, kCatV), Orange(placed, kCatH, kCatV)) << "the Cat shows whole, no white in its place";
    EXPECT_EQ(shown.At(kSkyH, kSkyV), kMagenta);
}

// After the bucket on the sky, whose picture lies in front of the Cat and is selected, the Cat
// seen through it is still the one a drag takes on the Page tab: it shows whole at its new place
// on the filled sky, and the sky is filled as before away from the Cat's two places.
TEST_F(RealInputPaint, TheCatDragsAfterTheBucketOnTheSky)
{
    Screen placed = PlaceCatOnHills();
    ASSERT_GT(FillTheSky().width, 0) << "the sky was not filled";
    ClickAndWait(kFirstTab, kTabTop, kPage);    // Page
    x.Pause(500);
    Screen before = x.Shot();

    constexpr int kNewH = kCatH + 150;
    constexpr int kNewV = kCatV - 40;
    x.Drag(kCatH, kCatV, kNewH, kNewV);
    x.Move(620, 470);
    Screen dragged = x.WaitFor([&](const Screen& s) { return Orange(s, kNewH, kNewV) >= Orange(placed, kCatH, kCatV); }, 5000);
    x.Keep("real-input-paint-dragged.png");
    ASSERT_GT(dragged.width, 0) << "the Cat does not show whole where it was dragged";
    EXPECT_EQ(Orange(dragged, kCatH, kCatV), 0) << "no Cat left at its old place";
    EXPECT_EQ(dragged.At(kSkyH, kSkyV), kMagenta) << "the sky keeps its fill";
    int skyBefore = 0;
    int skyAfter = 0;
    for (int v = kPage.top; v < 200; ++v) {
        for (int h = kPage.left; h < kPage.right; ++h) {
            bool cat = (std::abs(h - kCatH) < 60 && std::abs(v - kCatV) < 60) || (std::abs(h - kNewH) < 60 && std::abs(v - kNewV) < 60);
            // The sky's corner handles go once the Cat is the selected picture.
            bool handle = v < kPage.top + 12 && (h < kPage.left + 12 || h >= kPage.right - 12);
            if (cat || handle)
                continue;
            skyBefore += before.At(h, v) == kMagenta;
            skyAfter += dragged.At(h, v) == kMagenta;
        }
    }
    EXPECT_EQ(skyAfter, skyBefore) << "the sky's picture stayed where it was";
}

} // namespace
