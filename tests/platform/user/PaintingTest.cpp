#include "WindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/Desktop.h"

#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr uint8_t kRed = 249;
constexpr uint8_t kBlue = 252;

class PaintingTest : public WindowFixture {
protected:
    static RECT UpdateBox(HWND hwnd)
    {
        RECT box {};
        GetUpdateRect(hwnd, &box, FALSE);
        return box;
    }
};

// Paints the screen's pixels white (behind the windows' backs), to see what a paint reaches.
void WhitenScreen()
{
    HDC screen = GetDC(nullptr);
    RECT all { 0, 0, 200, 200 };
    FillRect(screen, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(nullptr, screen);
}

// Fills everything it may of a window it paints with the colour index kept in its extra bytes.
std::optional<LRESULT> FillOnPaint(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_PAINT)
        return std::nullopt;
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT all { -1000, -1000, 1000, 1000 };
    // The screen's exact static colours: red 249, blue 252.
    COLORREF colour = GetWindowLongA(hwnd, 0) == kRed ? RGB(255, 0, 0) : RGB(0, 0, 255);
    HBRUSH fill = CreateSolidBrush(colour);
    FillRect(hdc, &all, fill);
    DeleteObject(fill);
    EndPaint(hwnd, &paint);
    return 0;
}

TEST_F(PaintingTest, InvalidAreasAccumulateUntilBeginPaintTakesThem)
{
    HWND hwnd = Popup({ 10, 10, 110, 60 });
    driver::RunUntilIdle();
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));

    RECT a { 5, 5, 10, 10 };
    RECT b { 20, 30, 25, 35 };
    InvalidateRect(hwnd, &a, FALSE);
    InvalidateRect(hwnd, &b, TRUE);
    // Parts outside the client area are cut off.
    RECT outside { 90, 40, 200, 200 };
    InvalidateRect(hwnd, &outside, FALSE);
    EXPECT_EQ(RectText(UpdateBox(hwnd)), "5,5,100,50");
    RECT c { 90, 40, 100, 50 };
    ValidateRect(hwnd, &c);
    EXPECT_EQ(RectText(UpdateBox(hwnd)), "5,5,25,35");

    static RECT painted;
    static BOOL erase;
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        painted = paint.rcPaint;
        erase = paint.fErase;
        EndPaint(hwnd, &paint);
        return 0;
    };
    log.clear();
    driver::RunUntilIdle();
    EXPECT_EQ(MessageNumbers({ WM_PAINT, WM_ERASEBKGND }), (std::vector<UINT> { WM_PAINT, WM_ERASEBKGND }));
    EXPECT_EQ(RectText(painted), "5,5,25,35");
    // The class has no background, so the erase is left to the painter.
    EXPECT_TRUE(erase);
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    EXPECT_EQ(driver::RunUntilIdle(), 0u);
}

TEST_F(PaintingTest, UncoveredPartsJoinTheUpdateRegionsOfWhatLiesBelow)
{
    HWND below = Popup({ 0, 0, 100, 100 });
    HWND above = Popup({ 50, 50, 150, 150 });
    driver::RunUntilIdle();
    ASSERT_FALSE(GetUpdateRect(below, nullptr, FALSE));

    struct Case {
        const char* name;
        std::function<void()> change;
        const char* uncovered; // the update box of `below`, or "" for none
    };
    std::vector<Case> cases = {
        { "move right by 20", [&] { MoveWindow(above, 70, 50, 100, 100, TRUE); }, "50,50,70,100" },
        { "move back over it", [&] { MoveWindow(above, 50, 50, 100, 100, TRUE); }, "" },
        { "shrink", [&] { SetWindowPos(above, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); },
            "50,50,100,100" },
        { "grow again", [&] { SetWindowPos(above, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }, "" },
        { "hide", [&] { ShowWindow(above, SW_HIDE); }, "50,50,100,100" },
        { "show (and raise: hiding it activated the other)", [&] { ShowWindow(above, SW_SHOW); }, "" },
        { "raise the lower one", [&] { BringWindowToTop(below); }, "50,50,100,100" },
        { "destroy the other", [&] { DestroyWindow(above); }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        EXPECT_EQ(std::string(GetUpdateRect(below, nullptr, FALSE) ? RectText(UpdateBox(below)) : ""), c.uncovered);
        ValidateRect(below, nullptr);
        driver::RunUntilIdle();
    }
}

TEST_F(PaintingTest, AMovedWindowIsPaintedWholeAndTheBareDesktopComesBack)
{
    HWND hwnd = Popup({ 0, 0, 40, 40 });
    driver::RunUntilIdle();
    MoveWindow(hwnd, 100, 100, 40, 40, TRUE);
    EXPECT_EQ(RectText(UpdateBox(hwnd)), "0,0,40,40");
    Frame desktop = driver::ReadDesktop();
    EXPECT_EQ(desktop.At(10, 10), Desktop::kBackground);
}

TEST_F(PaintingTest, BeginPaintDrawsOnlyInTheUpdateRegionThatShows)
{
    HWND below = Popup({ 0, 0, 100, 100 });
    HWND above = Popup({ 60, 0, 160, 100 });
    SetWindowLongA(below, 0, kRed);
    SetWindowLongA(above, 0, kBlue);
    answer = FillOnPaint;
    driver::RunUntilIdle();
    Frame desktop = driver::ReadDesktop();
    EXPECT_EQ(desktop.At(10, 10), kRed);
    EXPECT_EQ(desktop.At(70, 10), kBlue);

    // Only the invalid part of `below` that shows is painted red again.
    SetWindowLongA(above, 0, kBlue);
    RECT part { 50, 20, 100, 30 };
    InvalidateRect(below, &part, FALSE);
    WhitenScreen();
    driver::RunUntilIdle();
    desktop = driver::ReadDesktop();
    struct Case {
        POINT at;
        uint8_t expected;
    };
    for (Case c : { Case { { 55, 25 }, kRed }, Case { { 49, 25 }, 255 }, Case { { 55, 19 }, 255 },
             Case { { 65, 25 }, 255 } }) {
        SCOPED_TRACE(std::to_string(c.at.x) + "," + std::to_string(c.at.y));
        EXPECT_EQ(desktop.At(c.at.x, c.at.y), c.expected);
    }
}

TEST_F(PaintingTest, AWindowDcDrawsOnlyIntoTheVisiblePartOfItsClientArea)
{
    HWND parent = Popup({ 0, 0, 100, 100 });
    Popup({ 10, 10, 40, 40 }, parent);
    Popup({ 80, 0, 180, 100 });
    driver::RunUntilIdle();
    WhitenScreen();

    HDC hdc = GetDC(parent);
    RECT all { 0, 0, 200, 200 };
    ASSERT_NE(hdc, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &all, red);
    DeleteObject(red);
    EXPECT_EQ(ReleaseDC(parent, hdc), 1);
    Frame desktop = driver::ReadDesktop();
    struct Case {
        const char* name;
        POINT at;
        uint8_t expected;
    };
    for (Case c : { Case { "own pixels", { 5, 5 }, kRed }, Case { "the child", { 20, 20 }, 255 },
             Case { "the covering window", { 90, 50 }, 255 }, Case { "beyond the window", { 150, 150 }, 255 } }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(desktop.At(c.at.x, c.at.y), c.expected);
    }
}

TEST_F(PaintingTest, UpdateWindowPaintsAtOnceOnlyWhenSomethingIsInvalid)
{
    HWND hwnd = Popup({ 0, 0, 50, 50 });
    driver::RunUntilIdle();
    log.clear();
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_TRUE(MessageNumbers({ WM_PAINT }).empty());
    InvalidateRect(hwnd, nullptr, FALSE);
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_EQ(MessageNumbers({ WM_PAINT }), std::vector<UINT> { WM_PAINT });
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
}

LRESULT CALLBACK PlainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(PaintingTest, TheDefaultEraseFillsWithTheClassBackground)
{
    WNDCLASSA wc {};
    wc.lpfnWndProc = PlainProcedure;
    wc.lpszClassName = "Painted";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    ASSERT_NE(RegisterClassA(&wc), 0);
    CreateWindowExA(0, "Painted", "", WS_POPUP | WS_VISIBLE, 20, 20, 30, 30, nullptr, nullptr, nullptr, nullptr);
    driver::RunUntilIdle();
    Frame desktop = driver::ReadDesktop();
    // COLOR_HIGHLIGHT is navy, the static colour 4.
    EXPECT_EQ(desktop.At(25, 25), 4);
    EXPECT_EQ(desktop.At(19, 25), Desktop::kBackground);
}

} // namespace

} // namespace pw::platform::tests
