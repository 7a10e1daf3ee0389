// Writing on the page with a real mouse and keyboard: the Write tab, clicks on the page and typed
// letters reach the program through the X server exactly as a child's hand sends them, and the
// window read back shows where the letters went.
#include "e2e/RealInputFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace pw::e2e;

// Letters being typed are black; a finished text takes the colour a run starts with.
constexpr Rgb kBlack { 0, 0, 0 };
constexpr Rgb kMagenta { 255, 0, 255 };
constexpr int kFirstTab = 192;
// More black pixels than the mouse cursor has, fewer than a short word at the text's first size.
constexpr int kWordInk = 100;

// The letters drawn in the box, being typed or finished.
int Ink(const Screen& s, const Box& box)
{
    return s.Count(box.left, box.top, box.right, box.bottom, kBlack) + s.Count(box.left, box.top, box.right, box.bottom, kMagenta);
}

class RealInputText : public RealInput {
protected:
    // The Paint & Sound row, then its Write tab.
    void ChooseWrite()
    {
        ClickAndWait(kRowsLeft, kPaintAndSoundRow, kTabBar);
        x.Click(kSecondTab, kTabTop);
        x.Pause(500);
    }
    // A click on the page, the letters typed, and the window read until they show in `box`. The
    // mouse leaves first: the window shows its cursor, whose outline is ink too, though less than
    // a word's.
    Screen WriteAt(int h, int v, const std::string& letters, const Box& box)
    {
        x.Click(h, v);
        x.Move(620, 470);
        x.Pause(300);
        x.Type(letters);
        // Read again a moment after the first letters show, once the last ones have too.
        if (x.WaitFor([&](const Screen& s) { return Ink(s, box) > kWordInk; }, 5000).width == 0)
            return {};
        x.Pause(500);
        return x.Shot();
    }
};

TEST_F(RealInputText, TextTypedOnThePageShows)
{
    ChooseWrite();
    Screen written = WriteAt(250, 250, "Hello", Box { 240, 240, 360, 280 });
    x.Keep("real-input-written.png");
    EXPECT_GT(written.width, 0) << "nothing shows where the child typed";
}

// A second text is a second text: after "Dog", the page tab and Write again, a click elsewhere and
// "Cat" show the new letters where the child clicked while they are typed, and "Dog" keeps its
// letters (the same ink but for the caret's), also once the page tab has put "Cat" on the page.
TEST_F(RealInputText, ASecondTextIsWrittenWhereTheChildClicks)
{
    const Box dogBox { 220, 170, 330, 210 };
    const Box catBox { 410, 270, 520, 310 };
    constexpr int kCaret = 20;
    ChooseWrite();
    Screen dog = WriteAt(230, 180, "Dog", dogBox);
    ASSERT_GT(dog.width, 0) << "the first text does not show";
    x.Click(kFirstTab, kTabTop);
    x.Pause(500);
    x.Click(kSecondTab, kTabTop);
    x.Pause(500);

    Screen cat = WriteAt(420, 280, "Cat", catBox);
    x.Keep("real-input-second-text.png");
    ASSERT_GT(cat.width, 0) << "the second text's letters do not show where the child clicked";
    EXPECT_NEAR(Ink(cat, dogBox), Ink(dog, dogBox), kCaret) << "the first text changed";

    x.Click(kFirstTab, kTabTop);
    x.Move(620, 470);
    Screen placed = x.WaitFor([&](const Screen& s) { return Ink(s, catBox) > kWordInk && Ink(s, dogBox) > kWordInk; }, 5000);
    x.Keep("real-input-two-texts.png");
    ASSERT_GT(placed.width, 0) << "the two texts are not both on the page";
    EXPECT_NEAR(Ink(placed, dogBox), Ink(dog, dogBox), kCaret);
}

// With the Write tab chosen the middle of the page takes the click: the letters show there.
TEST_F(RealInputText, AClickInThePagesMiddleStartsAText)
{
    ChooseWrite();
    int h = (kPage.left + kPage.right) / 2;
    int v = (kPage.top + kPage.bottom) / 2;
    Screen written = WriteAt(h, v, "Hello", Box { h - 5, v - 5, h + 80, v + 35 });
    x.Keep("real-input-middle.png");
    EXPECT_GT(written.width, 0) << "a click in the page's middle started no text there";
}

// The text options lie over the kid tools, below their caption, and go with them: dragged up by
// their caption, the kid tools show the same strip, options and all, that much higher, with no
// empty part of them beside the options.
TEST_F(RealInputText, TheTextOptionsGoWithTheKidToolsWhenDragged)
{
    ChooseWrite();
    x.Move(620, 470);
    // Up once the options' three buttons show their pale faces below the page's middle.
    constexpr Rgb kButtonFace { 255, 255, 204 };
    Screen before = x.WaitFor([&](const Screen& s) { return s.Count(kPage.left, 310, 630, 480, kButtonFace) > 3000; }, 5000);
    ASSERT_GT(before.width, 0) << "the text options do not show";
    // The strip's top row, the kid tools' caption: the first row below the page's middle that is
    // not the page's white.
    int top = (kPage.top + kPage.bottom) / 2;
    while (top < 470 && before.Count(160, top, 620, top + 1, kWhite) >= 400)
        ++top;
    ASSERT_LT(top, 470);
    constexpr int kRise = 120;
    x.Drag(300, top + 4, 300, top + 4 - kRise);
    x.Move(620, 470);
    // From the caption down to the options' last row; below them lies the main window's edge.
    auto risen = [&](const Screen& s) {
        for (int v = top; v < 470; ++v) {
            for (int h = kPage.left; h < 620; ++h) {
                if (!(s.At(h, v - kRise) == before.At(h, v)))
                    return false;
            }
        }
        return true;
    };
    Screen after = x.WaitFor(risen, 5000);
    x.Keep("real-input-options-dragged.png");
    EXPECT_GT(after.width, 0) << "the kid tools and their options do not show as before, " << kRise << " pixels higher";
}

} // namespace
