#include "engine/CFWDecorator.h"

#include "ui/FrameworkFixture.h"
#include "ui/WindowFrame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom);
}

// Alignment of a 20 x 10 rectangle at (3, 4) in the frame (10, 20, 110, 220) by every mode.
TEST(CFWDecorator, AlignsByVerticalAndHorizontalMode)
{
    CFWDecorator decorator(Rect(10, 20, 110, 220));
    struct Case {
        int32_t vmode;
        int32_t hmode;
        bool smallTitle;
        const char* expected;
    } cases[] = {
        { 0, 0, false, "50,115,70,125" },
        { 1, 1, false, "10,38,30,48" },
        { 1, 1, true, "10,30,30,40" },
        { 2, 2, false, "90,210,110,220" },
        { 3, 3, false, "10,20,110,220" },
        { 3, 0, false, "50,20,70,220" },
        { 0, 3, false, "10,115,110,125" },
        { 7, -1, false, "3,4,23,14" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.vmode) + " " + std::to_string(c.hmode) + (c.smallTitle ? " small" : ""));
        Rect rect(3, 4, 23, 14);
        decorator.AlignRect(rect, c.vmode, c.hmode, c.smallTitle);
        EXPECT_EQ(Text(rect), c.expected);
    }
}

// Centre computations truncate toward zero on odd sums and on negative coordinates alike.
TEST(CFWDecorator, CentresTruncateTowardZero)
{
    struct Case {
        Rect frame;
        Rect rect;
        const char* expected;
    } cases[] = {
        { Rect(0, 0, 5, 5), Rect(0, 0, 2, 2), "1,1,3,3" },
        { Rect(-5, -5, 0, 0), Rect(0, 0, 2, 2), "-3,-3,-1,-1" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.frame));
        CFWDecorator decorator(c.frame);
        Rect rect = c.rect;
        decorator.AlignRect(rect, 0, 0, false);
        EXPECT_EQ(Text(rect), c.expected);
    }
}

// In a 200 x 120 frame, 50 x 50 windows go to the start and on by (4, 22); the first three go
// there even when they leave the frame, from the fourth on a window that would leave it wraps.
TEST(CFWDecorator, CascadesAndWrapsAfterThree)
{
    CFWDecorator decorator(Rect(0, 0, 200, 120));
    std::string corners;
    for (int i = 0; i < 6; ++i) {
        Rect rect(0, 0, 50, 50);
        decorator.CascadeRect(rect);
        corners += std::to_string(rect.left) + "," + std::to_string(rect.top) + " ";
    }
    // 18 + 3 * 22 = 84: the fourth reaches 134 > 120 and wraps; so does every fourth after.
    EXPECT_EQ(corners, "0,18 4,40 8,62 0,18 4,40 8,62 ");

    decorator.SetFrame(Rect(100, 100, 1000, 1000));
    Rect rect(0, 0, 10, 10);
    decorator.CascadeRect(rect);
    EXPECT_EQ(Text(rect), "100,118,110,128") << "a new frame restarts the cascade";
    decorator.SetStep(Point(10, 10));
    decorator.CascadeRect(rect);
    decorator.CascadeRect(rect);
    EXPECT_EQ(Text(rect), "110,128,120,138") << "a new step restarts it too";
}

// In a tall frame nothing leaves it, so the cascade never wraps.
TEST(CFWDecorator, KeepsCascadingWhileWindowsFit)
{
    CFWDecorator decorator(Rect(0, 0, 1000, 1000));
    Rect rect(0, 0, 50, 50);
    for (int i = 0; i < 6; ++i)
        decorator.CascadeRect(rect);
    EXPECT_EQ(Text(rect), "20,128,70,178");
}

} // namespace

namespace {

class Cascading : public uitest::FrameworkTest { };

// Windows cascaded one after another in the main window, each closed before the next (a page
// window closed and opened again): the second goes one step on, but one that would then reach
// out of the frame starts the cascade again, so every window shows whole.
TEST_F(Cascading, AWindowThatWouldLeaveTheFrameStartsTheCascadeAgain)
{
    Rect screen = WindowFrame::ScreenRect();
    Rect frame(screen.left + CFWDecorator::kInset, screen.top + CFWDecorator::kInset,
        screen.right - CFWDecorator::kInset, screen.bottom - CFWDecorator::kInset);
    CFWDecorator decorator(frame);
    // Tall enough to fit at the cascade's start and one step on, but not two steps on.
    int32_t start = frame.top + CFWDecorator::LargeTitle();
    int32_t step = CFWDecorator::LargeTitle() + 4;
    int32_t outerHeight = frame.bottom - start - step - step / 2;
    std::string tops;
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE("window " + std::to_string(round));
        SmartPtr<uitest::TestWindow> window = Open("page");
        Rect outer = window->GetRect();
        window->SetFrame(Rect(outer.left, outer.top, outer.left + 200, outer.top + outerHeight));
        decorator.Cascade(*window.Get());
        Rect placed = window->GetRect();
        EXPECT_GE(placed.top, frame.top);
        EXPECT_LE(placed.bottom, frame.bottom);
        EXPECT_LE(placed.right, frame.right);
        tops += std::to_string(placed.top - start) + " ";
        window->Close();
    }
    std::string expected;
    for (int round = 1; round <= 5; ++round)
        expected += std::to_string(round % 2 == 1 ? 0 : step) + " ";
    EXPECT_EQ(tops, expected);
}

} // namespace
