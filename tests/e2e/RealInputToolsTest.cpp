// Giving a picture a web link with a real mouse: the mark that shows which picture took the link
// reaches the screen while the program holds it, and goes away whole.
#include "e2e/RealInputFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace pw::e2e;

// The mark's colour, the Links row of the tab-set column and the Cool Sites browser's National
// Zoo cell.
constexpr Rgb kMarkBlue { 0, 0, 255 };
constexpr int kLinksRow = 360;
constexpr int kNationalZooH = 244;
constexpr int kNationalZooV = 208;
// Where the button goes: a click on the empty page puts it there, its middle on the click.
constexpr int kButtonH = 380;
constexpr int kButtonV = 300;
constexpr Box kAroundButton { kButtonH - 100, kButtonV - 30, kButtonH + 100, kButtonV + 30 };

class RealInputTools : public RealInput {
protected:
    // Cool Sites ▸ National Zoo, then a click on the page at the button's place.
    void GiveNationalZoo()
    {
        ClickAndWait(kFourthTab, kTabTop, kPage);
        ClickAndWait(kNationalZooH, kNationalZooV, kPage);
        x.Click(kButtonH, kButtonV);
    }
    static int Marked(const Screen& s)
    {
        return s.Count(kAroundButton.left, kAroundButton.top, kAroundButton.right, kAroundButton.bottom, kMarkBlue);
    }
};

// A web link clicked on the empty page puts its button there; the same link chosen with nothing
// selected and clicked on that button gives it the link: a blue mark round it shows for a moment,
// and then nothing of it is left.
TEST_F(RealInputTools, TheMarkOfAPictureGivenALinkShowsAndGoesAwayWhole)
{
    ClickAndWait(kRowsLeft, kLinksRow, kTabBar);
    GiveNationalZoo();
    Screen placed = x.WaitFor([](const Screen& s) { return s.Count(kAroundButton.left, kAroundButton.top,
                                                         kAroundButton.right, kAroundButton.bottom, kWhite) < 12000; });
    ASSERT_GT(placed.width, 0) << "the button did not go on the page";

    // The placed button is selected: a click beside it leaves nothing selected, so that the link
    // waits for the click on the button.
    x.Click(kButtonH - 150, kButtonV + 120);
    GiveNationalZoo();
    Screen marked = x.WaitFor([](const Screen& s) { return Marked(s) > 500; }, 3000);
    x.Keep("real-input-link-mark.png");
    EXPECT_GT(marked.width, 0) << "no mark showed round the button";
    x.Move(620, 470);
    Screen after = x.WaitFor([](const Screen& s) { return Marked(s) == 0; }, 5000);
    x.Keep("real-input-link-mark-gone.png");
    EXPECT_GT(after.width, 0) << "the mark stayed";
}

} // namespace
