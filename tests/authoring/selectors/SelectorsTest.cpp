#include "authoring/selectors/CPatternSelector.h"
#include "authoring/selectors/ColorView.h"
#include "authoring/selectors/PatternView.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/PaintSettings.h"
#include "graphics/ColorTable.h"
#include "graphics/Pattern.h"
#include "ui/GridSelector.h"
#include "ui/ViewPort.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace authoring;
using pw::authoring::PaintSettings;

namespace {

class Told : public pw::authoring::PaintClient {
public:
    void PaintChanged(CDropperTool*) override { ++count; }
    int count { 0 };
};

class SelectorsTest : public AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        PaintSettings::Reset();
        app->SetCurrentTool(new Tool);
        CToolsDir::GetDropperTool()->ToggleClient(&told, false);
        // Pattern n (authoring picture 250 + n) has n in binary on its top row.
        for (int n = 0; n < 32; ++n) {
            std::string art;
            for (int bit = 7; bit >= 0; --bit)
                art += (n >> bit) & 1 ? 'k' : 'w';
            for (int row = 1; row < 8; ++row)
                art += "|wwwwwwww";
            PutPicture(250 + n - 1000, art);
        }
    }
    void TearDown() override
    {
        CToolsDir::GetDropperTool()->ToggleClient(&told, false);
        AuthoringTest::TearDown();
    }

    // The open selector window, or none.
    static SmartPtr<Window> SelectorWindow()
    {
        HWND hwnd = driver::FindWindowByTitle("Selector Window");
        return hwnd ? Window::FromHandle(hwnd) : SmartPtr<Window>();
    }
    // Picks the cell at (h, v) of the selector window's surface with a press and a release.
    static void PickAt(int32_t h, int32_t v)
    {
        Point origin = SelectorWindow()->GetContentOrigin();
        driver::PressMouse(origin.h + h, origin.v + v);
        driver::ReleaseMouse(origin.h + h, origin.v + v);
        driver::RunUntilIdle();
    }
    // The window's frame on the screen (GetRect is in the frame's parent's coordinates).
    static Rect OnScreen(const SmartPtr<Window>& shown)
    {
        Rect rect = shown->GetRect();
        POINT corner { rect.left, rect.top };
        ClientToScreen(GetParent(shown->GetFrame()->GetOSWindow()), &corner);
        rect.Offset(corner.x - rect.left, corner.y - rect.top);
        return rect;
    }
    // A swatch in a shown window at (0, 0) of its surface.
    SmartPtr<CPatternSelector> Swatch()
    {
        window = Open("tools");
        window->SetFrame(Rect(360, 200, 560, 350));
        SmartPtr<CPatternSelector> swatch = new CPatternSelector(window.Get());
        window->AddChild(SmartPtr<View>(swatch.Get()));
        window->Show(true);
        driver::RunUntilIdle();
        return swatch;
    }
    Color ShownAt(int32_t h, int32_t v)
    {
        pw::platform::Frame shown = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
        Color color;
        color.SetBytes(rgb.red, rgb.green, rgb.blue, 0);
        return color;
    }

    static Color Rgb(uint8_t red, uint8_t green, uint8_t blue)
    {
        Color color;
        color.SetBytes(red, green, blue, 0);
        return color;
    }

    Told told;
    SmartPtr<uitest::TestWindow> window;
};

} // namespace

// Cell (h, v) is entry v x 32 + h of an 8-bit table; a table of another depth is passed over for
// a fresh 8-bit one, which is kept.
TEST_F(SelectorsTest, ColorCellsIndexTheEightBitTable)
{
    window = Open("colours");
    SmartPtr<ColorView> grid = new ColorView(window.Get(), Rect(0, 0, 32, 8), nullptr, nullptr);
    ColorView& view = *grid.Get();
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    EXPECT_TRUE(view.ColorAt(standard, 0, 0).Equals(standard->GetColor(0)));
    EXPECT_TRUE(view.ColorAt(standard, 31, 7).Equals(standard->GetColor(255)));
    EXPECT_TRUE(view.ColorAt(standard, 5, 2).Equals(standard->GetColor(69)));
    SmartPtr<ColorView> other = new ColorView(window.Get(), Rect(0, 0, 32, 8), nullptr, nullptr);
    ColorView& fresh = *other.Get();
    EXPECT_TRUE(fresh.ColorAt(ColorTable::Setup(4), 31, 7).Equals(standard->GetColor(255)));
    EXPECT_TRUE(fresh.ColorAt(nullptr, 1, 0).Equals(standard->GetColor(1)));
}

// The window's bottom-right corner lies where asked and the whole grid shows inside its border;
// the next press and release pick into the target, the dropper tells its clients and the window
// goes.
TEST_F(SelectorsTest, TheColorSelectorPicksIntoItsTarget)
{
    Color target(0);
    SmartPtr<GridSelector> selector = OpenColorSelector(CToolsDir::GetDropperTool().Get(), &target, Point(400, 300));
    ASSERT_TRUE(SelectorWindow().Valid());
    EXPECT_EQ(OnScreen(SelectorWindow()).BottomRight(), Point(400, 300));
    EXPECT_EQ(SelectorWindow()->GetFrame()->GetContentBounds().Size(), Point(320, 80)) << "the whole grid shows";
    app->GetCurrentTool()->SetInteractor(SmartPtr<Interactor>(selector.Get()));
    selector = nullptr;
    PickAt(315, 75);
    EXPECT_TRUE(target.Equals(ColorTable::Setup(8)->GetColor(255)));
    EXPECT_EQ(told.count, 1);
    EXPECT_FALSE(SelectorWindow().Valid() && SelectorWindow()->IsVisible());
}

// The swatch's three areas, and what a click in each opens: the pattern grid for the strip, the
// colour selector for the foreground on the square and for the background on the ring.
TEST_F(SelectorsTest, SwatchClicksOpenTheSelectorOfTheirArea)
{
    SmartPtr<CPatternSelector> swatch = Swatch();
    EXPECT_EQ(swatch->GetPatternRect(), Rect(3, 3, 71, 18));
    EXPECT_EQ(swatch->GetOuterRect(), Rect(3, 21, 71, 71));
    EXPECT_EQ(swatch->GetInnerRect(), Rect(14, 32, 60, 60));

    struct Click {
        const char* name;
        Point at;
        bool opens;
    };
    const Click clicks[] = {
        { "ring", Point(10, 40), true },
        { "square", Point(30, 40), true },
        { "strip", Point(30, 10), true },
        { "corner", Point(1, 1), false },
    };
    Point origin = window->GetContentOrigin();
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.name);
        driver::Click(origin.h + click.at.h, origin.v + click.at.v);
        driver::RunUntilIdle();
        SmartPtr<Window> popup = SelectorWindow();
        ASSERT_EQ(popup.Valid() && popup->IsVisible(), click.opens);
        if (click.opens) {
            EXPECT_EQ(OnScreen(popup).BottomRight(), Point(origin.h + click.at.h, origin.v + click.at.v));
            PickAt(5, 5);
        }
    }
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    EXPECT_TRUE(PaintSettings::Current().background.Equals(table->GetColor(0))) << "the ring picked cell (0, 0)";
    EXPECT_TRUE(PaintSettings::Current().foreground.Equals(table->GetColor(0))) << "the square picked cell (0, 0)";
    EXPECT_TRUE(PaintSettings::Current().pattern.Equals(PatternView::PatternAt(0, 0)));
    EXPECT_EQ(told.count, 3);
}

// A notice from the dropper draws the new colours at once, before any paint message; a hidden
// swatch draws only its label.
TEST_F(SelectorsTest, TheSwatchRedrawsAtOnceOnADropperNotice)
{
    SmartPtr<CPatternSelector> swatch = Swatch();
    PaintSettings::Current().foreground = Rgb(0xFF, 0, 0);
    PaintSettings::Current().background = Rgb(0, 0, 0xFF);
    CToolsDir::GetDropperTool()->NotifyClients();
    EXPECT_TRUE(ShownAt(37, 46).Equals(Rgb(0xFF, 0, 0)));
    EXPECT_TRUE(ShownAt(8, 46).Equals(Rgb(0, 0, 0xFF)));

    swatch->Show(false);
    PaintSettings::Current().foreground = Rgb(0, 0xFF, 0);
    {
        pw::ui::ViewPort port(swatch->GetDrawingDevice(), swatch->GetBounds());
        Area all(swatch->GetBounds());
        swatch->DrawContent(port, all);
    }
    EXPECT_TRUE(ShownAt(37, 46).Equals(Rgb(0xFF, 0, 0))) << "the square is not drawn while hidden";
}

// Cell (h, v) of the pattern grid shows pattern v x 8 + h; a pick makes exactly that pattern
// current.
TEST_F(SelectorsTest, PatternCellsAreNumberedRowByRow)
{
    SmartPtr<GridSelector> selector = PatternView::Open(CToolsDir::GetDropperTool().Get(), 0, Point(400, 300));
    app->GetCurrentTool()->SetInteractor(SmartPtr<Interactor>(selector.Get()));
    selector = nullptr;
    EXPECT_EQ(OnScreen(SelectorWindow()).BottomRight(), Point(400, 300));
    EXPECT_EQ(SelectorWindow()->GetFrame()->GetContentBounds().Size(), Point(256, 128)) << "the whole grid shows";
    PickAt(7 * 32 + 5, 3 * 32 + 5);
    EXPECT_TRUE(PaintSettings::Current().pattern.Equals(PatternView::PatternAt(7, 3)));
    EXPECT_FALSE(PatternView::PatternAt(7, 3).Equals(PatternView::PatternAt(6, 3)));
    uint8_t rows[8];
    KidResources::GetPattern(rows, 31);
    Pattern thirtyFirst;
    thirtyFirst.Set(rows);
    EXPECT_TRUE(PatternView::PatternAt(7, 3).Equals(thirtyFirst));
    EXPECT_EQ(told.count, 1);
}

// The chart opens on the press on the swatch, whose window keeps the mouse while the button is
// held: dragging on into the chart picks the cell under the pointer at the release. A click
// outside the chart, and Escape, close it with the colour unchanged.
TEST_F(SelectorsTest, TheColorChartPicksUnderThePointerAndClosesUnchanged)
{
    SmartPtr<CPatternSelector> swatch = Swatch();
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    Point origin = window->GetContentOrigin();
    Point square(origin.h + 30, origin.v + 40);
    // Cell (h, v) of the open chart, in the middle of it, on the screen.
    auto cell = [](int32_t h, int32_t v) {
        Point chart = SelectorWindow()->GetContentOrigin();
        return Point(chart.h + h * 10 + 5, chart.v + v * 10 + 5);
    };

    driver::PressMouse(square.h, square.v);
    driver::RunUntilIdle();
    ASSERT_TRUE(SelectorWindow().Valid() && SelectorWindow()->IsVisible());
    Point target = cell(10, 5);
    driver::MoveMouse((square.h + target.h) / 2, (square.v + target.v) / 2);
    driver::MoveMouse(target.h, target.v);
    driver::ReleaseMouse(target.h, target.v);
    driver::RunUntilIdle();
    EXPECT_TRUE(PaintSettings::Current().foreground.Equals(table->GetColor(5 * 32 + 10)));
    EXPECT_FALSE(SelectorWindow().Valid() && SelectorWindow()->IsVisible());
    EXPECT_EQ(told.count, 1);

    struct Closing {
        const char* name;
        std::function<void()> act;
    };
    const Closing closings[] = {
        { "click beside the chart", [&] { driver::Click(origin.h + 150, origin.v + 120); } },
        { "drag that misses the chart", [&] { driver::Drag(origin.h + 150, origin.v + 120, origin.h + 60, origin.v + 100); } },
        { "escape", [] { driver::TypeKey(VK_ESCAPE); } },
    };
    for (const Closing& closing : closings) {
        SCOPED_TRACE(closing.name);
        PaintSettings::Current().foreground = Rgb(0x12, 0x34, 0x56);
        driver::Click(square.h, square.v);
        driver::RunUntilIdle();
        ASSERT_TRUE(SelectorWindow().Valid() && SelectorWindow()->IsVisible());
        closing.act();
        driver::RunUntilIdle();
        EXPECT_FALSE(SelectorWindow().Valid() && SelectorWindow()->IsVisible());
        EXPECT_TRUE(PaintSettings::Current().foreground.Equals(Rgb(0x12, 0x34, 0x56)));
        EXPECT_EQ(told.count, 1);
        EXPECT_FALSE(app->GetCurrentTool()->GetInteractor().Valid());
    }
}
