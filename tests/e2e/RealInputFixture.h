// The real program on a virtual X display, used with a real mouse and keyboard (xdotool) the way a
// child uses it: the fixture that starts it in a fresh start-up folder with the first page up, and
// where things are on its 640 x 480 desktop. Each RealInput*Test.cpp file holds one family of cases.
#pragma once

#include "e2e/XDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pw::e2e {

inline constexpr Rgb kWhite { 255, 255, 255 };
inline constexpr Rgb kCatOrange { 255, 153, 51 };
inline constexpr Rgb kPale { 255, 255, 204 };

// Where things are on the 640 x 480 desktop once the first page is up.
struct Box {
    int left, top, right, bottom;
};
inline constexpr Box kTabBar { 150, 84, 580, 130 };
inline constexpr Box kPage { 150, 134, 610, 466 };
inline constexpr int kRowsLeft = 72;
inline constexpr int kMyPagesRow = 125;
inline constexpr int kPaintAndSoundRow = 282;
inline constexpr int kPlayAndPublishRow = 437;
inline constexpr int kTabTop = 107;
inline constexpr int kSecondTab = 277;
inline constexpr int kThirdTab = 362;
inline constexpr int kFourthTab = 449;

inline bool Differs(const Screen& a, const Screen& b, const Box& box)
{
    return !a.SameArea(b, box.left, box.top, box.right, box.bottom);
}

class RealInput : public ::testing::Test {
protected:
    // The program started in a fresh start-up folder, the project named, the first page up.
    void SetUp() override
    {
        if (std::system("command -v xdotool >/dev/null && command -v import >/dev/null && command -v Xvfb >/dev/null") != 0)
            GTEST_FAIL() << "xdotool, ImageMagick and Xvfb are needed (scripts/setup installs them)";
        ASSERT_TRUE(x.Ready());
        home = PrepareHome(::testing::UnitTest::GetInstance()->current_test_info()->name(), true);
        ASSERT_TRUE(x.StartProgram(home));
        Screen asked = x.WaitFor([](const Screen& s) { return s.Count(200, 70, 580, 450, kPale) > 80000; });
        ASSERT_GT(asked.width, 0) << "the project's name was not asked for";
        // Typed straight over the proposed name, which the field selects when the dialog shows.
        x.Type("Kids");
        x.Key("Return");
        shown = x.WaitFor([](const Screen& s) { return s.Count(kPage.left, kPage.top, kPage.right, kPage.bottom, kWhite) > 140000; });
        if (shown.width == 0)
            x.Keep(std::string("real-input-no-page-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
        ASSERT_GT(shown.width, 0) << "the first page did not come up";
    }

    // A click, then the window read until `box` shows something else than it did before.
    Screen ClickAndWait(int h, int v, const Box& box)
    {
        Screen before = x.Shot();
        x.Click(h, v);
        Screen after = x.WaitFor([&](const Screen& s) { return Differs(s, before, box); });
        EXPECT_GT(after.width, 0) << "nothing changed after a click at (" << h << ", " << v << ")";
        return after.width > 0 ? after : before;
    }

    int Orange(const Screen& s, int centreH, int centreV) const
    {
        return s.Count(centreH - 40, centreV - 40, centreH + 40, centreV + 40, kCatOrange);
    }

    XDisplay x;
    std::filesystem::path home;
    Screen shown;
};

} // namespace pw::e2e
