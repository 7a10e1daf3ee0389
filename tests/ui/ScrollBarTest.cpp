#include "ui/ScrollBar.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

class ScrollBars : public WithApplication {
protected:
    // A vertical bar 142 pixels long (arrows of 16 at each end) over the range 0 to 100.
    SmartPtr<ScrollBar> Bar(int32_t page = 10)
    {
        target = new Target;
        target->pages[0] = page;
        SmartPtr<ScrollBar> bar = new ScrollBar(window.Get(), 100, 10, 116, 152, SmartPtr<Controllable>(target.Get()), 0);
        window->AddChild(SmartPtr<View>(bar.Get()));
        return bar;
    }

    int32_t Value(ScrollBar& bar)
    {
        int32_t value = -1;
        bar.GetValue(value);
        return value;
    }

    SmartPtr<Target> target;
};

} // namespace

TEST(ScrollBar, ContentLeavesRoomForTheBars)
{
    struct Case {
        bool vertical, horizontal;
        Rect expected;
    } cases[] = {
        { true, true, Rect(0, 0, 185, 85) },
        { true, false, Rect(0, 0, 185, 100) },
        { false, true, Rect(0, 0, 200, 85) },
        { false, false, Rect(0, 0, 200, 100) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.vertical << c.horizontal);
        EXPECT_EQ(ScrollBar::ContentRect(Rect(0, 0, 200, 100), c.vertical, c.horizontal), c.expected);
    }
}

TEST(ScrollBar, BarsLieOnTheGrownEdgesAndLeaveTheCorner)
{
    struct Case {
        const char* name;
        bool other, growBox;
        Rect vertical, horizontal;
    } cases[] = {
        { "both bars", true, false, Rect(95, 9, 111, 46), Rect(9, 45, 96, 61) },
        { "one bar", false, false, Rect(95, 9, 111, 61), Rect(9, 45, 111, 61) },
        { "one bar and a grow box", false, true, Rect(95, 9, 111, 46), Rect(9, 45, 96, 61) },
    };
    Rect view(10, 10, 110, 60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScrollBar::VerticalBarRect(view, c.other, c.growBox), c.vertical);
        EXPECT_EQ(ScrollBar::HorizontalBarRect(view, c.other, c.growBox), c.horizontal);
    }
}

TEST_F(ScrollBars, ClicksMoveByLinesAndPages)
{
    struct Case {
        const char* name;
        int32_t page;
        int y;
        int32_t expected;
    } cases[] = {
        { "up arrow", 10, 5, 49 },
        { "down arrow", 10, 136, 51 },
        { "track above the thumb", 10, 20, 40 },
        { "track below the thumb", 10, 120, 60 },
        { "a page of 0 moves by 1", 0, 120, 51 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<ScrollBar> bar = Bar(c.page);
        EXPECT_EQ(bar->GetPage(), c.page == 0 ? 1 : c.page);
        bar->SetValue(50);
        target->taken.clear();
        ClickOn(bar->GetControlWindow(), 8, c.y);
        EXPECT_EQ(Value(*bar.Get()), c.expected);
        ASSERT_FALSE(target->taken.empty());
        EXPECT_EQ(target->taken.back(), c.expected);
        window->RemoveChild(SmartPtr<View>(bar.Get()));
    }
}

TEST_F(ScrollBars, TheNativeBarKeepsTheValueInItsRange)
{
    SmartPtr<ScrollBar> bar = Bar(30);
    bar->SetValue(90);
    ClickOn(bar->GetControlWindow(), 8, 120);
    EXPECT_EQ(Value(*bar.Get()), 100);
    // A dragged thumb hands its positions on as it goes; dragged past the end it stops there.
    target->taken.clear();
    // The thumb of 90 lies about 101 to 117 pixels down.
    POINT from = OnDesktop(bar->GetControlWindow(), 8, 108);
    POINT to = OnDesktop(bar->GetControlWindow(), 8, -40);
    bar->SetValue(90);
    pw::platform::testing::Drag(from.x, from.y, to.x, to.y, 5);
    pw::platform::testing::RunUntilIdle();
    EXPECT_EQ(Value(*bar.Get()), 0);
    EXPECT_EQ(target->taken.back(), 0);
    EXPECT_GT(target->taken.size(), 2u);
}

TEST_F(ScrollBars, RevealingCentresARangeOutsideThePage)
{
    struct Case {
        const char* name;
        int32_t value, start, length, axis;
        int32_t expected;
    } cases[] = {
        { "wholly below the page", 0, 50, 2, 0, 46 },
        { "wholly above the page", 80, 20, 5, 0, 16 },
        { "overlapping the page's end", 40, 49, 5, 0, 40 },
        { "overlapping the page's start", 40, 38, 3, 0, 40 },
        { "just past the page", 40, 50, 1, 0, 46 },
        { "on the other axis", 0, 50, 2, 1, 0 },
    };
    SmartPtr<ScrollBar> bar = Bar(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bar->SetValue(c.value);
        int32_t range[3] = { c.start, c.length, c.axis };
        target->Broadcast(range[0], range[1], range[2]);
        EXPECT_EQ(Value(*bar.Get()), c.expected);
    }
}
