#include "graphics/DisplayPort.h"
#include "platform/testing/TestDriver.h"
#include "ui/AppMain.h"
#include "graphics/Area.h"
#include "ui/ViewBase.h"
#include "ui/ViewBuffer.h"
#include "ui/ViewControl.h"
#include "ui/ViewPort.h"
#include "ui/ViewSignals.h"
#include "ui/WindowFrame.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;
namespace driver = pw::platform::testing;

namespace {

std::string Art(Tree& tree)
{
    tree.root->Update(*tree.device.Get());
    std::string art = "\n" + ports::Art(*tree.device.Get());
    std::replace(art.begin(), art.end(), '|', '\n');
    return art;
}

} // namespace

// Two nested buffers: `a` composes `p` and the buffered `b`, which composes `q` and `c`; `s`
// draws straight on the device over `a`.
TEST_F(ViewTest, NestedBuffersComposeInWindowCoordinatesAndFollowTheirViews)
{
    Tree tree(12, 8);
    Probe* a = tree.Add("a", Rect(1, 1, 11, 7));
    a->SetBuffered(true);
    tree.Add("p", Rect(1, 1, 6, 7), a)->paint = Color(7);
    Probe* b = tree.Add("b", Rect(6, 1, 11, 7), a);
    b->SetBuffered(true);
    tree.Add("q", Rect(7, 2, 10, 6), b)->paint = Color(8);
    Probe* c = tree.Add("c", Rect(8, 3, 9, 5), b);
    c->paint = Color(9);
    tree.Add("s", Rect(10, 5, 12, 8))->paint = Color(10);
    tree.root->InvalidateView(false);
    EXPECT_EQ(Art(tree), "\n............\n.rrrrr......\n.rrrrr.ggg..\n.rrrrr.gbg..\n.rrrrr.gbg..\n.rrrrr.gggyy\n"
                         ".rrrrr....yy\n..........yy");

    // A change deep inside both buffers reaches the device; a pixel nothing marked stays as it is.
    {
        DisplayPort port(*tree.device.Get(), Rect(0, 0, 1, 1), 0);
        port.DrawRectangle(Rect(0, 0, 1, 1), Color(12), Color(12), 1);
    }
    c->paint = Color(7);
    c->InvalidateView(false);
    EXPECT_EQ(Art(tree), "\nm...........\n.rrrrr......\n.rrrrr.ggg..\n.rrrrr.grg..\n.rrrrr.grg..\n.rrrrr.gggyy\n"
                         ".rrrrr....yy\n..........yy");

    // Moved, the inner buffered view takes its buffer and children along.
    b->SetBounds(5, 1, 10, 7);
    EXPECT_EQ(b->GetBuffer()->GetOrigin(), Point(5, 1));
    EXPECT_EQ(Art(tree), "\nm...........\n.rrrr.......\n.rrrr.ggg...\n.rrrr.grg...\n.rrrr.grg...\n.rrrr.ggg.yy\n"
                         ".rrrr.....yy\n..........yy");
}

TEST_F(ViewTest, BufferedViewsShowOnTheDesktopAndKeepDrawingWhenUnbuffered)
{
    HWND main = pw::ui::CreateMainWindow(nullptr);
    ShowWindow(main, SW_SHOWMAXIMIZED);
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(200, 150));
    window->Show(true);
    SmartPtr<View> panel = new Probe(window.Get(), "panel", Rect(10, 10, 60, 40));
    window->AddChild(panel);
    panel->SetBuffered(true);
    Probe* red = new Probe(panel.Get(), "red", Rect(12, 12, 30, 30));
    Probe* green = new Probe(panel.Get(), "green", Rect(25, 20, 50, 35));
    Probe* blue = new Probe(window.Get(), "blue", Rect(55, 30, 70, 45));
    red->paint = Color(7), green->paint = Color(8), blue->paint = Color(9);
    panel->AddChild(red);
    panel->AddChild(green);
    window->AddChild(blue);
    window->InvalidateView(false);

    // One row of the window's surface as the desktop shows it, by colour (white is at two indexes).
    auto row = [&](int32_t v, int32_t from, int32_t to) {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        std::string text;
        for (int32_t h = from; h < to; ++h) {
            const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
            char name = '?';
            for (const auto& [letter, color] : ports::Legend()) {
                if (rgb.red == color.red >> 8 && rgb.green == color.green >> 8 && rgb.blue == color.blue >> 8)
                    name = letter;
            }
            text += name;
        }
        return text;
    };
    EXPECT_EQ(row(25, 9, 60), "..." + std::string(13, 'r') + std::string(25, 'g') + std::string(10, '.'));
    EXPECT_EQ(row(39, 9, 72), std::string(46, '.') + std::string(15, 'b') + "..");

    green->paint = Color(10);
    green->InvalidateView(false);
    EXPECT_EQ(row(25, 24, 52), "r" + std::string(25, 'y') + "..") << "a change inside the buffer alone";

    panel->SetBuffered(false);
    EXPECT_EQ(&red->GetDevice(), static_cast<DisplayDevice*>(window->GetFrame().Get()));
    green->paint = Color(8);
    green->InvalidateView(false);
    EXPECT_EQ(row(25, 24, 52), "r" + std::string(25, 'g') + "..");
}

// A button with an area command brings that area of a buffered view's picture to the screen, and
// no more of it; a view that draws without a picture takes no such command.
TEST_F(ViewTest, AnAreaCommandCopiesThatAreaOfTheViewsPictureToTheScreen)
{
    HWND main = pw::ui::CreateMainWindow(nullptr);
    ShowWindow(main, SW_SHOWMAXIMIZED);
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(200, 150));
    window->Show(true);
    SmartPtr<View> panel = new Probe(window.Get(), "panel", Rect(10, 10, 60, 40));
    window->AddChild(panel);
    SmartPtr<GenericSignal> signal = new ViewAreaSignal(new Area(Rect(20, 20, 30, 30)));
    EXPECT_EQ(signal->GetSignalStatus(nullptr), GenericSignal::disabled);
    EXPECT_EQ(signal->GetSignalStatus(panel.Get()), GenericSignal::disabled);
    EXPECT_EQ(signal->GetSignalStatus(window.Get()), GenericSignal::disabled);
    panel->SetBuffered(true);
    EXPECT_EQ(signal->GetSignalStatus(panel.Get()), GenericSignal::enabled);
    window->AddChild(new ViewControl(window.Get(), 100, 10, 160, 30, String("Show"), signal, panel.Get()));
    window->InvalidateView(false);
    driver::RunUntilIdle();

    // The picture changes without marking anything for redraw.
    {
        pw::ui::ViewPort port(*panel->GetBuffer().Get(), panel->GetBounds());
        port.DrawRectangle(panel->GetBounds(), Color(7), Color(7), 1);
    }
    auto row = [&](int32_t v) {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        std::string text;
        for (int32_t h = 9; h < 61; ++h) {
            const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
            text += rgb.red == 255 && rgb.green == 0 && rgb.blue == 0 ? 'r' : '.';
        }
        return text;
    };
    EXPECT_EQ(row(25), std::string(52, '.'));
    Rect content = window->GetFrame()->GetContentBounds();
    driver::Click(content.left + 130, content.top + 20);
    EXPECT_EQ(row(25), std::string(11, '.') + std::string(10, 'r') + std::string(31, '.'));
    EXPECT_EQ(row(35), std::string(52, '.'));
}

// The view part of text views, controls and edit panes draws on the window's frame, also inside a
// buffered view, whose plain children draw into its buffer; sizing and focus are its arguments.
TEST_F(ViewTest, ViewBasesDrawOnTheFrameEvenInsideABuffer)
{
    HWND main = pw::ui::CreateMainWindow(nullptr);
    ShowWindow(main, SW_SHOWMAXIMIZED);
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(100, 80));
    SmartPtr<View> panel = new Probe(window.Get(), "panel", Rect(10, 10, 60, 40));
    window->AddChild(panel);
    panel->SetBuffered(true);
    SmartPtr<View> plain = new Probe(panel.Get(), "plain", Rect(12, 12, 30, 30));
    struct Case {
        uint8_t sizing;
        bool takesFocus;
    } cases[] = { { View::kSizeStretch, true }, { View::kSizeTopLeft, false } };
    for (const Case& c : cases) {
        SmartPtr<View> based = new ViewBase(panel.Get(), Rect(12, 12, 30, 30), c.sizing, c.takesFocus);
        EXPECT_EQ(&based->GetDevice(), static_cast<DisplayDevice*>(window->GetFrame().Get()));
        EXPECT_EQ(based->GetSizing(), c.sizing);
        EXPECT_EQ(based->TakesFocus(), c.takesFocus);
        EXPECT_EQ(based->GetBounds(), Rect(12, 12, 30, 30));
    }
    EXPECT_EQ(&plain->GetDevice(), static_cast<DisplayDevice*>(panel->GetBuffer().Get()));
}
