// The captions of child windows inside the active top-level window: the top captioned child shows
// active whatever floating palettes lie above it, the palettes show active with it, and all of
// them are repainted inactive and active again as the application loses and regains the keyboard.
#include "WindowFixture.h"

#include "platform/testing/TestDriver.h"

#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr uint8_t kNavy = 4;
constexpr uint8_t kGrey = 248;

class NonClientPainterTest : public WindowFixture {
protected:
    HWND Child(HWND parent, RECT rect, DWORD exStyle = 0)
    {
        HWND hwnd = CreateWindowExA(exStyle, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CAPTION, rect.left, rect.top,
            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
        EXPECT_NE(hwnd, nullptr);
        return hwnd;
    }
    // The colour of the caption band near its right end (past the title), 3 pixels below the
    // window's top.
    static uint8_t CaptionColour(HWND hwnd)
    {
        RECT box = WindowRectOf(hwnd);
        return driver::ReadDesktop().At(box.right - 15, box.top + 3);
    }
};

TEST_F(NonClientPainterTest, TheTopChildBelowFloatingPalettesShowsActive)
{
    HWND top = Popup({ 0, 0, 400, 300 });
    driver::SetAppActive(true);
    SetActiveWindow(top);
    HWND lower = Child(top, { 10, 10, 150, 150 });
    HWND upper = Child(top, { 40, 40, 190, 190 });
    HWND palette = Child(top, { 220, 10, 320, 100 }, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    PumpAll();
    struct Case {
        const char* name;
        HWND hwnd;
        uint8_t expected;
    };
    auto check = [](std::initializer_list<Case> cases) {
        for (const Case& c : cases)
            EXPECT_EQ(CaptionColour(c.hwnd), c.expected) << c.name;
    };
    check({ { "the top child", upper, kNavy }, { "the child below it", lower, kGrey },
        { "the floating palette", palette, kNavy } });

    BringWindowToTop(lower);
    PumpAll();
    check({ { "the child raised", lower, kNavy }, { "the child now below", upper, kGrey },
        { "the floating palette", palette, kNavy } });

    driver::SetAppActive(false);
    PumpAll();
    check({ { "inactive: the top child", lower, kGrey }, { "inactive: the palette", palette, kGrey } });
    driver::SetAppActive(true);
    PumpAll();
    check({ { "active again: the top child", lower, kNavy }, { "active again: the palette", palette, kNavy } });

    ShowWindow(lower, SW_HIDE);
    PumpAll();
    check({ { "the child left on top once the other is hidden", upper, kNavy } });
}

} // namespace

} // namespace pw::platform::tests
