#include "graphics/DisplayPort.h"
#include "platform/testing/TestDriver.h"
#include "ui/ViewBuffer.h"
#include "ui/WindowFrame.h"

#include "ui/AppMain.h"
#include "ui/Window.h"
#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;
using ports::Art;
namespace driver = pw::platform::testing;

namespace {

std::string Lines(const std::string& art)
{
    std::string lines = "\n" + art;
    for (char& c : lines)
        c = c == '|' ? '\n' : c;
    return lines;
}

// Paints one pixel straight onto a device, behind the views' back.
void Mark(DisplayDevice& device, int32_t h, int32_t v, const Color& color)
{
    DisplayPort port(device, device.GetBounds(), 0);
    port.DrawRectangle(Rect(h, v, h + 1, v + 1), color, color, 1);
}

} // namespace

// Two nested buffers: the outer view `a` composes `p` and the buffered `b`, which composes `q`
// and `c`; `s` draws straight on the device over `a`.
TEST_F(ViewTest, NestedBuffersComposeInWindowCoordinatesAndFollowTheirViews)
{
    Tree tree(12, 8);
    Probe* a = tree.Add("a", Rect(1, 1, 11, 7));
    a->SetBuffered(true);
    tree.Add("p", Rect(1, 1, 6, 7), View::kSizeTopLeft, true, a)->paint = Color(7);
    Probe* b = tree.Add("b", Rect(6, 1, 11, 7), View::kSizeTopLeft, true, a);
    b->SetBuffered(true);
    tree.Add("q", Rect(7, 2, 10, 6), View::kSizeTopLeft, true, b)->paint = Color(8);
    Probe* c = tree.Add("c", Rect(8, 3, 9, 5), View::kSizeTopLeft, true, b);
    c->paint = Color(9);
    tree.Add("s", Rect(10, 5, 12, 8))->paint = Color(10);
    tree.root->InvalidateView(false);
    tree.root->Update(*tree.device.Get());
    EXPECT_EQ(Lines(Art(*tree.device.Get())), Lines("............|"
                                                     ".rrrrr......|"
                                                     ".rrrrr.ggg..|"
                                                     ".rrrrr.gbg..|"
                                                     ".rrrrr.gbg..|"
                                                     ".rrrrr.gggyy|"
                                                     ".rrrrr....yy|"
                                                     "..........yy"));

    // A change deep inside both buffers reaches the device; what is not pending stays as it is.
    Mark(*tree.device.Get(), 0, 0, Color(12));
    c->paint = Color(7);
    c->InvalidateView(false);
    tree.root->Update(*tree.device.Get());
    EXPECT_EQ(Lines(Art(*tree.device.Get())), Lines("m...........|"
                                                     ".rrrrr......|"
                                                     ".rrrrr.ggg..|"
                                                     ".rrrrr.grg..|"
                                                     ".rrrrr.grg..|"
                                                     ".rrrrr.gggyy|"
                                                     ".rrrrr....yy|"
                                                     "..........yy"));

    // Moving the inner buffered view moves its buffer and its children with it.
    b->SetBounds(5, 1, 10, 7);
    EXPECT_EQ(b->GetBuffer()->GetOrigin(), Point(5, 1));
    tree.root->Update(*tree.device.Get());
    EXPECT_EQ(Lines(Art(*tree.device.Get())), Lines("m...........|"
                                                     ".rrrr.......|"
                                                     ".rrrr.ggg...|"
                                                     ".rrrr.grg...|"
                                                     ".rrrr.grg...|"
                                                     ".rrrr.ggg.yy|"
                                                     ".rrrr.....yy|"
                                                     "..........yy"));
}

TEST_F(ViewTest, AFrameInvertedTwiceIsRestored)
{
    Tree tree(8, 6);
    Probe* box = tree.Add("box", Rect(1, 1, 7, 6));
    box->paint = Color(7);
    tree.root->InvalidateView(false);
    tree.root->Update(*tree.device.Get());
    std::string before = Art(*tree.device.Get());
    box->InvertFrame();
    std::string inverted = Art(*tree.device.Get());
    int changed = 0;
    for (size_t index = 0; index < before.size(); ++index)
        changed += before[index] != inverted[index] ? 1 : 0;
    EXPECT_EQ(changed, 6 * 5 - 2 * 1) << "a ring two pixels wide inside the 6 x 5 bounds";
    box->InvertFrame();
    EXPECT_EQ(Art(*tree.device.Get()), before);
}

namespace {

// The framework's windows on the headless desktop, with the graphics tests' standard palette.
class DesktopDrawingTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        HWND main = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(main, nullptr);
        ShowWindow(main, SW_SHOWMAXIMIZED);
    }

    // A shown window of the framework, its drawing surface `size`.
    static SmartPtr<Window> Open(const char* title, const Point& size)
    {
        SmartPtr<Window> window = new Window(new String(title), 0, false, false, size);
        window->Show(true);
        return window;
    }

    // The colour letter of a window's drawing-surface pixel as the desktop shows it.
    static char At(const pw::platform::Frame& frame, int32_t h, int32_t v)
    {
        uint8_t index = const_cast<pw::platform::Frame&>(frame).At(h, v);
        for (const auto& [name, color] : ports::Legend()) {
            if (ports::IndexOf(color) == index)
                return name;
        }
        return '?';
    }

    static std::string Row(const pw::platform::Frame& frame, int32_t v, int32_t from, int32_t to)
    {
        std::string row;
        for (int32_t h = from; h < to; ++h)
            row += At(frame, h, v);
        return row;
    }
};

} // namespace

TEST_F(DesktopDrawingTest, BufferedViewsShowOnTheDesktopAndKeepDrawingWhenUnbuffered)
{
    SmartPtr<Window> window = Open("page", Point(200, 150));
    SmartPtr<View> panel = new Probe(window.Get(), "panel", Rect(10, 10, 60, 40));
    window->AddChild(panel);
    panel->SetBuffered(true);
    SmartPtr<View> red = new Probe(panel.Get(), "red", Rect(12, 12, 30, 30));
    static_cast<Probe*>(red.Get())->paint = Color(7);
    panel->AddChild(red);
    SmartPtr<View> green = new Probe(panel.Get(), "green", Rect(25, 20, 50, 35));
    static_cast<Probe*>(green.Get())->paint = Color(8);
    panel->AddChild(green);
    SmartPtr<View> blue = new Probe(window.Get(), "blue", Rect(55, 30, 70, 45));
    static_cast<Probe*>(blue.Get())->paint = Color(9);
    window->AddChild(blue);
    window->InvalidateView(false);
    driver::RunUntilIdle();

    HWND hwnd = window->GetFrame()->GetOSWindow();
    pw::platform::Frame shown = driver::ReadClientArea(hwnd);
    ASSERT_GT(shown.width, 70);
    struct Sample {
        int32_t h, v;
        char expected;
    } points[] = {
        { 11, 11, '.' }, { 12, 12, 'r' }, { 24, 29, 'r' }, { 26, 21, 'g' }, { 49, 34, 'g' }, { 50, 35, '.' },
        { 59, 39, 'b' }, { 56, 31, 'b' }, { 69, 44, 'b' }, { 30, 30, 'g' }, { 12, 31, '.' },
    };
    for (const auto& p : points) {
        SCOPED_TRACE(std::to_string(p.h) + "," + std::to_string(p.v));
        EXPECT_EQ(At(shown, p.h, p.v), p.expected);
    }

    // A change inside the buffer alone makes the window repaint.
    static_cast<views::Probe*>(green.Get())->paint = Color(10);
    green->InvalidateView(false);
    driver::RunUntilIdle();
    shown = driver::ReadClientArea(hwnd);
    EXPECT_EQ(Row(shown, 25, 24, 52), "r" + std::string(25, 'y') + "..");

    // Without its buffer the panel and what it held draw on the frame.
    panel->SetBuffered(false);
    EXPECT_EQ(&red->GetDevice(), static_cast<DisplayDevice*>(window->GetFrame().Get()));
    static_cast<views::Probe*>(green.Get())->paint = Color(8);
    green->InvalidateView(false);
    driver::RunUntilIdle();
    shown = driver::ReadClientArea(hwnd);
    EXPECT_EQ(Row(shown, 25, 24, 52), "r" + std::string(25, 'g') + "..");
    EXPECT_EQ(Row(shown, 40, 55, 70), std::string(15, 'b'));
}
