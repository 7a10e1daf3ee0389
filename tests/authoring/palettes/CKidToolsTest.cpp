#include "authoring/palettes/CKidTools.h"

#include "authoring/palettes/CDropperOptionWindow.h"
#include "authoring/palettes/CFramedPalette.h"
#include "authoring/palettes/COptionView.h"
#include "authoring/palettes/COptionWindow.h"
#include "authoring/palettes/CProxyPalette.h"
#include "authoring/palettes/CSwitchPalette.h"
#include "authoring/palettes/OptionViewHost.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CLineTool.h"
#include "authoring/tools/CTextTool.h"
#include "ui/WindowFrame.h"

#include "authoring/PaintFixture.h"

#include <gtest/gtest.h>

using namespace authoring;
using pw::authoring::PaintSettings;

namespace {

// The authoring application as the tools window sees it: it shows the option windows it is
// handed.
class KidApp : public uitest::TestApp, public pw::authoring::OptionViewHost {
public:
    void ShowOptionView(const SmartPtr<Window>& view) override
    {
        if (shown.Valid())
            shown->Show(false);
        shown = view;
        handed.push_back(view);
        if (shown.Valid()) {
            AddWindow(shown, false);
            shown->Show(true);
        }
    }

    SmartPtr<Window> shown;
    std::vector<SmartPtr<Window>> handed;
};

class CKidToolsTest : public PaintTest {
protected:
    // The window's frame on the screen, where the tools window's content bounds are known too.
    static Rect OnScreen(const Window& window)
    {
        RECT outer {};
        GetWindowRect(window.GetFrame()->GetOSWindow(), &outer);
        return Rect(outer.left, outer.top, outer.right, outer.bottom);
    }

    App* MakeApp() override { return new KidApp; }
    KidApp& Host() { return *static_cast<KidApp*>(static_cast<App*>(app)); }

    void SetUp() override
    {
        PaintTest::SetUp();
        // The pictures of the paint palette (grid 202) and the selection tool's options (304).
        PutPicture(30, Plain('w', 50, 75));
        PutPicture(31, Plain('y', 50, 75));
        PutPicture(2040, Plain('w', 70, 70));
        // The buttons of the text tool's option rows.
        for (int16_t picture : { 2020, 2021, 2022 })
            PutPicture(picture, Plain('w', 20, 70));
        // The animation palette's (grid 201).
        PutPicture(20, Plain('w', 210, 25));
        PutPicture(21, Plain('y', 210, 25));
        tools = new CKidTools(withAnimation, withAnimation, true);
        app->AddWindow(SmartPtr<Window>(tools.Get()), false);
        // As the paint tabs show it: with the brush, the paint palette's default tool.
        tools->SetCurrentToolNumber(102);
        tools->ToggleShown(true);
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        Host().shown = nullptr;
        Host().handed.clear();
        tools = nullptr;
        PaintTest::TearDown();
    }

    // A click at a point of the tools window's surface.
    void ClickTools(int32_t h, int32_t v)
    {
        Point origin = tools->GetContentOrigin();
        driver::Click(origin.h + h, origin.v + v);
        driver::RunUntilIdle();
    }
    void ClickCell(const SmartPtr<CToolPalette>& palette, int16_t cell)
    {
        Rect r = palette->GetCellRect(cell);
        ClickTools(r.left + 5, r.top + 5);
    }

    SmartPtr<CKidTools> tools;
    // Built as the application builds it (alternate mode off, no animation palette) unless set.
    bool withAnimation { false };
};

// Built with alternate mode and the animation palette as well.
class FullKidToolsTest : public CKidToolsTest {
protected:
    FullKidToolsTest() { withAnimation = true; }
};

} // namespace

// The animation palette is absent as the application builds the window: the first copy of a
// number wins, the dropper has no cell, the text tool is cell 14; cells name their tools.
TEST_F(CKidToolsTest, CellsAndToolNumbersMapBothWays)
{
    const std::pair<int32_t, int16_t> cells[] = { { 3, 1 }, { 15, 2 }, { 18, 3 }, { 103, 8 }, { 102, 9 },
        { 113, 10 }, { 106, 11 }, { 109, 12 }, { 111, 13 }, { 4, 14 }, { 110, 0 }, { 104, 0 } };
    for (auto [number, cell] : cells) {
        SCOPED_TRACE(number);
        EXPECT_EQ(tools->IndexOfToolNumber(number), cell);
        if (cell >= 1 && cell <= 13) {
            auto* tool = SmartCast<CTool>(tools->ToolAt(cell).Get());
            ASSERT_NE(tool, nullptr);
            EXPECT_EQ(tool->GetNumber(), number);
        }
    }
    // Cell 14 is the one text tool the tools window keeps for the run.
    EXPECT_EQ(tools->ToolAt(14).Get(), CToolsDir::GetTextTool().Get());
    EXPECT_EQ(tools->ToolAt(14), tools->ToolAt(14));
    EXPECT_FALSE(tools->ToolAt(0).Valid());
    EXPECT_FALSE(tools->ToolAt(15).Valid());
    EXPECT_FALSE(tools->GetCommandButton().Valid());
    EXPECT_EQ(tools->GetCurrentToolNumber(), 102) << "with the paint palette shown the brush is the default";
}

// Choosing each paint tool in turn through its cell replaces the option area: the option palette
// of the tool's grid (drawn by the tool, or plain for the selection tool) with the cell of the
// current option selected, the swatch only for the tools that paint in colour; an animation tool
// keeps the area as it was and hands the application no option window.
TEST_F(CKidToolsTest, TheOptionAreaFollowsTheCurrentTool)
{
    struct Step {
        int16_t cell;
        bool proxy;
        int16_t options;
        bool swatch;
    };
    const Step steps[] = {
        { 9, true, 24, true },
        { 12, true, 24, false },
        { 8, true, 10, true },
        { 10, true, 18, true },
        { 11, true, 6, true },
        { 13, false, 4, false },
        { 1, false, 4, false },
    };
    SmartPtr<CToolPalette> paint = CToolsDir::GetPaintPalette();
    ASSERT_TRUE(paint.Valid());
    const Rect first = tools->GetRect();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.cell);
        if (step.cell >= 8)
            ClickCell(paint, step.cell);
        else
            tools->CellChosen(step.cell);
        EXPECT_EQ(tools->GetCurrent(), tools->ToolAt(step.cell));
        EXPECT_EQ(app->GetCurrentTool(), tools->ToolAt(step.cell)) << "the application is told";
        SmartPtr<CToolPalette> options = tools->GetOptionPalette();
        ASSERT_TRUE(options.Valid());
        EXPECT_EQ(SmartCast<CProxyPalette>(options.Get()) != nullptr, step.proxy);
        EXPECT_EQ(options->GetFirst(), 15);
        EXPECT_EQ(options->GetCount(), step.options);
        EXPECT_EQ(tools->GetPatternSelector().Valid(), step.swatch);
        if (step.cell >= 8) {
            int16_t option = SmartCast<CTool>(tools->ToolAt(step.cell).Get())->GetOption(0);
            EXPECT_EQ(options->GetSelectedTool(), 14 + option);
        }
        EXPECT_FALSE(Host().handed.back().Valid());
        Point content = tools->GetChildren().Item(1)->GetBounds().Size();
        EXPECT_EQ(tools->GetFrame()->GetContentBounds().Size(), content) << "the window fits its row";
        EXPECT_EQ(tools->GetRect(), first) << "and keeps its frame";
    }
}

// One frame holds every tool mode's content: through the modes and paint tools the window keeps
// its place and size, with what it shows inside, while the paint palette shows in mode 3 alone.
// Writing shows none of its palettes: there the window is exactly as large as the text options
// laid over it, and no empty part of it shows beside them.
TEST_F(CKidToolsTest, ModesAndToolsKeepTheWindowsFrame)
{
    SmartPtr<CToolPalette> paint = CToolsDir::GetPaintPalette();
    const Rect frame = tools->GetRect();
    auto check = [&](const std::string& step) {
        SCOPED_TRACE(step);
        if (tools->GetMode() == 2) {
            Rect content = tools->GetFrame()->GetContentBounds();
            ASSERT_TRUE(Host().shown.Valid());
            EXPECT_EQ(OnScreen(*Host().shown.Get()), Rect(content.left, content.top - 1, content.right, content.bottom));
            EXPECT_EQ(tools->GetRect().TopLeft(), frame.TopLeft());
            return;
        }
        EXPECT_EQ(tools->GetRect(), frame);
        Point size = tools->GetFrame()->GetContentBounds().Size();
        Rect inside(0, 0, size.h, size.v);
        View* tiles = tools->GetChildren().Item(1);
        EXPECT_EQ(tiles->GetBounds(), inside) << "the row fills the window";
        for (uint32_t i = 1; i <= tiles->GetChildren().NumItems(); ++i) {
            View* shown = tiles->GetChildren().Item(i);
            if (!shown->IsHidden()) {
                EXPECT_EQ(inside.Union(shown->GetBounds()), inside) << "child " << i;
            }
        }
    };
    for (int32_t mode : { 3, 2, 0, 3, 2, 3 }) {
        tools->SetMode(mode);
        driver::RunUntilIdle();
        EXPECT_EQ(paint->IsHidden(), mode != 3);
        check("mode " + std::to_string(mode));
        if (mode != 3)
            continue;
        for (int16_t cell = 8; cell <= 13; ++cell) {
            ClickCell(paint, cell);
            check("mode 3, tool cell " + std::to_string(cell));
        }
    }
    // Wider than every layout it held: the grid of the widest option area beside the paint palette.
    EXPECT_GE(frame.Size().h, paint->GetBounds().Size().h + KidResources::MakeButtonGrid(305)->columns * KidResources::MakeButtonGrid(305)->cellWidth);
}

// Option cells set the current tool's option and select the cell; a cell past the tool's
// options does nothing. Closing the window leaves it open and shown.
TEST_F(CKidToolsTest, OptionCellsSetTheCurrentToolsOption)
{
    ClickCell(CToolsDir::GetPaintPalette(), 11);
    SmartPtr<CToolPalette> options = tools->GetOptionPalette();
    ClickCell(options, 15 + 3);
    EXPECT_EQ(tools->GetCurrentTool()->GetOption(0), 4);
    EXPECT_EQ(CShapeTool::PenWidth(), 8);
    EXPECT_EQ(options->GetSelectedTool(), 18);
    tools->CellChosen(15 + 6);
    tools->CellChosen(15 + 40);
    EXPECT_EQ(tools->GetCurrentTool()->GetOption(0), 4);
    EXPECT_EQ(options->GetSelectedTool(), 18);

    // An animation tool has no option cells, though the line's are still shown.
    tools->CellChosen(1);
    tools->CellChosen(15);
    EXPECT_EQ(CShapeTool::PenWidth(), 8);

    tools->Close();
    driver::RunUntilIdle();
    EXPECT_TRUE(tools->IsVisible());
    EXPECT_TRUE(tools->ToggleShown(false));
}

// The palettes that go leave no client behind: the dropper tells its clients after the option
// area was replaced and the window destroyed (a stale client would be a use after free), and the
// switch palette tells its clients -666 as it goes.
TEST_F(CKidToolsTest, PalettesThatGoAreNoLongerClients)
{
    ClickCell(CToolsDir::GetPaintPalette(), 9);
    ClickCell(CToolsDir::GetPaintPalette(), 12);
    CToolsDir::GetDropperTool()->NotifyClients();
    Recorder recorder;
    CToolsDir::GetPaintPalette()->AddClient(&recorder);
    app->RemoveWindow(SmartPtr<Window>(tools.Get()));
    tools->Close();
    tools = nullptr;
    EXPECT_FALSE(CToolsDir::GetPaintPalette().Valid());
    EXPECT_EQ(recorder.chosen, std::vector<int16_t> { CSwitchPalette::kGone });
    CToolsDir::GetDropperTool()->NotifyClients();
}

// Swapping twice comes back; the first swap goes to the alternative cell given at construction.
TEST_F(CKidToolsTest, TheSwitchPaletteSwapsBetweenTwoCells)
{
    SmartPtr<CSwitchPalette> palette = new CSwitchPalette(tools.Get(), KidResources::MakeButtonGrid(202), 8, 12);
    Recorder recorder;
    palette->AddClient(&recorder);
    EXPECT_EQ(palette->GetSelectedTool(), 8);
    palette->SwapSelection();
    palette->SelectTool(recorder.chosen.back());
    palette->SwapSelection();
    EXPECT_EQ(recorder.chosen, (std::vector<int16_t> { 12, 8 }));
    palette->RemoveClient(&recorder);
}

// Tab in the picture pane makes the switch palette tell its clients the cell it remembers: first
// the alternative (the dropper's, which has no cell here), then the tool that was current.
TEST_F(CKidToolsTest, TabInThePicturePaneSwapsPaintTools)
{
    ClickCell(CToolsDir::GetPaintPalette(), 11);
    Recorder recorder;
    CToolsDir::GetPaintPalette()->AddClient(&recorder);
    EXPECT_TRUE(pane->KeyDown('\t', 0));
    EXPECT_TRUE(pane->KeyDown('\t', 0));
    EXPECT_EQ(recorder.chosen, (std::vector<int16_t> { 0, 11 }));
    EXPECT_EQ(tools->GetCurrentToolNumber(), 106);
    CToolsDir::GetPaintPalette()->RemoveClient(&recorder);
}

// A proxy palette selects the cell of the tool's option, none for option 0; each cell shows what
// the tool paints for that option.
TEST_F(CKidToolsTest, ProxyPalettesShowEachOptionDrawnByTheirTool)
{
    SmartPtr<CLineTool> line = new CLineTool;
    line->SetOption(0, 3);
    SmartPtr<CProxyPalette> palette = new CProxyPalette(tools.Get(), line.Get(), KidResources::MakeButtonGrid(308), 15, 0);
    EXPECT_EQ(palette->GetSelectedTool(), 17);
    SmartPtr<CDropperTool> dropper = new CDropperTool;
    SmartPtr<CProxyPalette> colours = new CProxyPalette(tools.Get(), dropper.Get(), KidResources::MakeButtonGrid(302), 1, 0);
    EXPECT_EQ(colours->GetSelectedTool(), 0);
    // The dropper's cells show their colours without choosing them.
    OffScreen swatches(colours->GetBounds().right, colours->GetBounds().bottom, 8, Color(0), true);
    {
        DisplayPort port(swatches, swatches.GetBounds(), 0);
        Area all(swatches.GetBounds());
        colours->DrawContent(port, all);
    }
    SmartPtr<BitMap> bits = swatches.GetBitMap();
    EXPECT_TRUE(bits->GetColorOfValue(bits->GetPixelValue(2 * 35 + 17, 17)).Equals(ColorTable::Setup(8)->GetColor(2)));
    EXPECT_EQ(dropper->GetOption(0), 0);
    EXPECT_TRUE(PaintSettings::Current().foreground.Equals(Color(1)));

    OffScreen cells(palette->GetBounds().right, palette->GetBounds().bottom, 8, Color(0), true);
    {
        DisplayPort port(cells, cells.GetBounds(), 0);
        Area all(cells.GetBounds());
        palette->DrawContent(port, all);
    }
    Grid drawn = Rows(*cells.GetBitMap().Get(), cells.GetBounds());
    // The middle rows of cells 1 (1 pixel wide) and 6 (16 pixels wide).
    EXPECT_EQ(drawn[17].substr(0, 35), std::string(7, '.') + std::string(22, '#') + std::string(5, '.') + "#");
    EXPECT_EQ(drawn[16][7], '.');
    EXPECT_EQ(drawn[44].substr(74, 16), std::string(16, '#'));
    EXPECT_EQ(drawn[44][100], '.');
    EXPECT_EQ(line->GetOption(0), 3);
}

// The dropper's option window lies with its top-left corner on the placement's; a cell within the
// colours sets the dropper's option and selects the cell, others do nothing.
TEST_F(CKidToolsTest, TheDroppersOptionWindowChoosesColours)
{
    SmartPtr<CDropperTool> dropper = CToolsDir::GetDropperTool();
    SmartPtr<CDropperOptionWindow> window
        = new CDropperOptionWindow(dropper.Get(), KidResources::MakeButtonGrid(302), Rect(200, 99, 300, 200));
    EXPECT_EQ(window->GetRect().TopLeft(), Point(200, 99));
    for (int16_t ignored : { 0, 33 })
        window->CellChosen(ignored);
    EXPECT_EQ(dropper->GetOption(0), 0);
    window->CellChosen(3);
    EXPECT_EQ(dropper->GetOption(0), 3);
    EXPECT_EQ(window->GetOptionPalette()->GetSelectedTool(), 3);

    // One tool's options alone, in the window's framed row.
    SmartPtr<CLineTool> line = new CLineTool;
    SmartPtr<COneOption> one = new COneOption(line.Get(), KidResources::MakeButtonGrid(308), Rect(200, 99, 300, 200));
    EXPECT_EQ(one->GetChildren().Item(1)->GetChildren().NumItems(), 1u);
    one->CellChosen(5);
    EXPECT_EQ(CShapeTool::PenWidth(), 12);
    EXPECT_EQ(one->GetOptionPalette()->GetSelectedTool(), 5);
    one->CellChosen(7);
    EXPECT_EQ(CShapeTool::PenWidth(), 12);
}

// The dropper made current in the shown tools window hands the application its option window,
// over the tools window's content moved up a pixel.
TEST_F(CKidToolsTest, TheDropperGetsAnOptionWindowOfItsOwn)
{
    tools->SetCurrentTool(SmartPtr<Tool>(CToolsDir::GetDropperTool().Get()));
    tools->SelectIndex(0);
    auto* window = SmartCast<CDropperOptionWindow>(Host().shown.Get());
    ASSERT_NE(window, nullptr);
    Rect content = tools->GetFrame()->GetContentBounds();
    EXPECT_EQ(OnScreen(*window).TopLeft(), Point(content.left, content.top - 1));
}

// Writing (mode 2) makes the shared text tool current, for the panes too, and hands the application
// the text option window over the tools window's content. While it shows it follows the tools
// window; a paint tool takes it away, and writing again brings the same window back over the tools
// window, the paint tools' options gone from it.
TEST_F(CKidToolsTest, WritingMakesTheTextToolCurrentWithItsOptionWindow)
{
    // High enough on the screen for the option window to fit below the tools window's top.
    auto place = [this](int32_t h, int32_t v) {
        tools->SetFrame(Rect(h, v, h + tools->GetRect().Size().h, v + tools->GetRect().Size().v));
    };
    place(300, 20);
    tools->SetMode(2);
    EXPECT_EQ(tools->GetCurrentToolNumber(), CTextTool::kNumber);
    EXPECT_EQ(app->GetCurrentTool().Get(), CToolsDir::GetTextTool().Get());
    auto* options = SmartCast<COptionView>(Host().shown.Get());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetTool().Get(), CToolsDir::GetTextTool().Get());
    Rect content = tools->GetFrame()->GetContentBounds();
    EXPECT_EQ(OnScreen(*options).TopLeft(), Point(content.left, content.top - 1));
    // Moved, the tools take the option window along; chosen again, it stays where it is.
    place(200, 30);
    content = tools->GetFrame()->GetContentBounds();
    EXPECT_EQ(OnScreen(*options).TopLeft(), Point(content.left, content.top - 1));
    tools->SelectIndex(14);
    EXPECT_EQ(Host().shown.Get(), options);
    EXPECT_EQ(OnScreen(*options).TopLeft(), Point(content.left, content.top - 1));

    tools->SetMode(3);
    EXPECT_EQ(tools->GetCurrentToolNumber(), 102);
    EXPECT_FALSE(Host().shown.Valid()) << "the brush has its options in the tools window";
    EXPECT_TRUE(tools->GetOptionPalette().Valid());
    place(40, 60);
    tools->SetMode(2);
    ASSERT_EQ(Host().shown.Get(), options) << "one option window serves every time";
    EXPECT_FALSE(tools->GetOptionPalette().Valid()) << "the brush's options went with the paint tools";
    EXPECT_FALSE(tools->GetPatternSelector().Valid());
    content = tools->GetFrame()->GetContentBounds();
    EXPECT_EQ(OnScreen(*options).TopLeft(), Point(content.left, content.top - 1));
}

// A child's session through the real windows: the line tool, its widest line, a colour from the
// selector opened on the swatch, and a line dragged over the picture shows in that colour.
TEST_F(CKidToolsTest, AChildDrawsALineInAChosenColour)
{
    tools->SetFrame(Rect(300, 150, 300 + tools->GetRect().Size().h, 150 + tools->GetRect().Size().v));
    driver::RunUntilIdle();
    ClickCell(CToolsDir::GetPaintPalette(), 11);
    ClickCell(tools->GetOptionPalette(), 15 + 1);
    EXPECT_EQ(CShapeTool::PenWidth(), 2);
    Rect square = tools->GetPatternSelector()->GetInnerRect();
    ClickTools(square.left + 5, square.top + 5);
    HWND selector = driver::FindWindowByTitle("Selector Window");
    ASSERT_NE(selector, nullptr);
    Point origin = Window::FromHandle(selector)->GetContentOrigin();
    // Column 12, row 0: a colour of the standard palette that is neither black nor white.
    driver::Click(origin.h + 125, origin.v + 5);
    driver::RunUntilIdle();
    Color chosen = ColorTable::Setup(8)->GetColor(12);
    EXPECT_TRUE(PaintSettings::Current().foreground.Equals(chosen));

    Stroke({ Point(2, 8), Point(8, 8), Point(13, 8) });
    Grid shown = Shown(Rect(0, 7, 16, 10));
    char letter = Letter(chosen);
    EXPECT_EQ(shown[1].substr(2, 11), std::string(11, letter)) << shown[1];
    EXPECT_EQ(Picture(Rect(0, 7, 16, 10)), shown) << "the screen shows the picture";
}

// The animation palette lies in a command button, 3 pixels in and 15 down; the button frames it
// and shows in the animation modes only, and presses on the palette choose its tools. Alternate
// mode reaches the first three animation tools only.
TEST_F(FullKidToolsTest, TheAnimationPaletteSitsInAButtonShownInTheAnimationModes)
{
    SmartPtr<CCommandButton> button = tools->GetCommandButton();
    ASSERT_TRUE(button.Valid());
    SmartPtr<CToolPalette> palette = tools->PaletteOfTool(18);
    ASSERT_TRUE(palette.Valid());
    EXPECT_TRUE(button->GetChildren().Contains(palette.Get()));
    Rect frame = button->GetBounds();
    Rect inside = palette->GetBounds();
    EXPECT_EQ(inside.Size(), Point(210, 25));
    EXPECT_EQ(inside.TopLeft(), Point(frame.left + 3, frame.top + 15));
    EXPECT_EQ(frame.Size(), Point(210 + 6, 25 + 18));
    for (int16_t cell = 1; cell <= 7; ++cell)
        EXPECT_EQ(SmartCast<CTool>(tools->ToolAt(cell).Get())->InAltMode(), cell <= 3) << cell;

    ClickCell(palette, 3);
    EXPECT_EQ(tools->GetCurrent(), tools->ToolAt(3));
    EXPECT_EQ(palette->GetSelectedTool(), 3);

    struct Step {
        int32_t mode;
        bool buttonShown;
        int32_t currentNumber;
    } steps[] = { { 3, false, 102 }, { 1, true, 18 }, { 0, false, 3 }, { 4, true, 18 } };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.mode);
        tools->SetMode(step.mode);
        EXPECT_EQ(button->IsHidden(), !step.buttonShown);
        EXPECT_EQ(CToolsDir::GetPaintPalette()->IsHidden(), step.mode != 3);
        EXPECT_EQ(tools->GetCurrentToolNumber(), step.currentNumber);
        Point content = tools->GetChildren().Item(1)->GetBounds().Size();
        EXPECT_EQ(tools->GetFrame()->GetContentBounds().Size(), content) << "the window fits its row";
    }
}
