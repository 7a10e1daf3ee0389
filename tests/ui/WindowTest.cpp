#include "FrameworkFixture.h"

#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "platform/user/menus/MenuTesting.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/MenuItem.h"
#include "ui/WindowFrame.h"
#include "ui/WindowSignals.h"

using namespace uitest;
using pw::platform::testing::ChooseMenuCommand;

namespace {

class WindowTest : public FrameworkTest {
protected:
    App* MakeApp() override
    {
        SmartPtr<MenuBar> bar(new MenuBar);
        SmartPtr<Menu> edit(new Menu(String("Edit")));
        edit->AddItem(String("Undo"), 'Z', new UndoSignal, Window::kUndoCommand);
        bar->AddMenu(edit);
        return new TestApp(bar);
    }

    std::string UndoTitle()
    {
        char text[32];
        app->FindMenuItem(Window::kUndoCommand)->Title().GetCString(text, sizeof text);
        return text;
    }

    // The screen point of a window's drawing-surface point.
    static POINT ScreenPoint(Window& window, int32_t h, int32_t v)
    {
        Point origin = window.GetContentOrigin();
        return POINT { origin.h + h, origin.v + v };
    }
};

// Fills its bounds with one standard colour.
class FillView : public View {
public:
    FillView(View* parent, const Rect& bounds, int colour)
        : View(parent, bounds, kSizeTopLeft, false, true)
        , colour(colour)
    {
    }
    void DrawContent(DisplayPort& port, Area&) override { port.DrawRectangle(GetBounds(), Color(colour), Color(colour), 0); }

    int colour;
};

TEST_F(WindowTest, EachWindowAlternatesUndoAndRedoOfItsOwnStepAndRetitlesItem90)
{
    SmartPtr<TestWindow> first = Open("first");
    first->SetUndoTask(new TestTask("a"));
    SmartPtr<TestWindow> second = Open("second");
    second->SetUndoTask(new TestTask("b"));
    EXPECT_EQ(UndoTitle(), "Undo");

    struct Step {
        const char* name;
        TestWindow* front;
        const char* titleBefore;
        const char* ran;
        const char* titleAfter;
    };
    const Step steps[] = {
        { "second undoes", second.Get(), "Undo", "b Undo", "Redo" },
        { "first's step was never undone", first.Get(), "Undo", "a Undo", "Redo" },
        { "second redoes", second.Get(), "Redo", "b Redo", "Undo" },
        { "first redoes", first.Get(), "Redo", "a Redo", "Undo" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        app->ActivateWindow(step.front);
        EXPECT_EQ(UndoTitle(), step.titleBefore);
        Journal().clear();
        EXPECT_TRUE(ChooseMenuCommand(mainWindow, Window::kUndoCommand));
        EXPECT_EQ(Journal(), (std::vector<std::string> { step.ran }));
        EXPECT_EQ(UndoTitle(), step.titleAfter);
    }

    // A new step starts with Undo; an empty one changes nothing; a forgotten one disables the item.
    app->ActivateWindow(second.Get());
    second->SetUndoTask(new TestTask("c"));
    second->SetUndoTask(SmartPtr<Task>());
    EXPECT_TRUE(second->HasUndoTask());
    EXPECT_EQ(UndoTitle(), "Undo");
    second->ForgetUndo();
    EXPECT_FALSE(ChooseMenuCommand(mainWindow, Window::kUndoCommand));
    EXPECT_TRUE(app->FindMenuItem(Window::kUndoCommand)->GetState() & MenuItem::kDisabled);
}

TEST_F(WindowTest, SetFrameKeepsTheWindowOnTheScreen)
{
    SmartPtr<TestWindow> window = Open("moved");
    Rect screen = WindowFrame::ScreenRect();
    int32_t w = screen.right;
    int32_t h = screen.bottom;
    struct Case {
        const char* name;
        Rect asked;
        Rect placed;
    };
    const Case cases[] = {
        { "inside", Rect(10, 20, 210, 170), Rect(10, 20, 210, 170) },
        { "past the right edge", Rect(w - 50, 20, w + 150, 170), Rect(w - 200, 20, w, 170) },
        { "above and left", Rect(-30, -40, 170, 110), Rect(0, 0, 200, 150) },
        { "larger than the screen", Rect(5, 5, w + 400, h + 300), Rect(0, 0, w, h) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->SetFrame(c.asked);
        Rect got = window->GetRect();
        EXPECT_EQ(got.left, c.placed.left);
        EXPECT_EQ(got.top, c.placed.top);
        EXPECT_EQ(got.right, c.placed.right);
        EXPECT_EQ(got.bottom, c.placed.bottom);
        // The root view always covers the frame's drawing surface.
        Rect surface = window->GetFrame()->GetBounds();
        EXPECT_EQ(window->GetBounds().right, surface.right);
        EXPECT_EQ(window->GetBounds().bottom, surface.bottom);
    }
}

TEST_F(WindowTest, SizeToFitWrapsTheContentWithItsOwnMargins)
{
    SmartPtr<TestWindow> window = Open("fitted");
    SmartPtr<TestView> top(new TestView(window.Get(), Rect(4, 4, 120, 24), "top"));
    SmartPtr<TestView> wide(new TestView(window.Get(), Rect(4, 24, 300, 44), "wide"));
    window->AddChild(top.Get());
    window->AddChild(wide.Get());
    window->SizeToFit(true);
    Rect surface = window->GetBounds();
    EXPECT_EQ(surface.right, 304);
    EXPECT_EQ(surface.bottom, 48);
    Rect kept = wide->GetBounds();
    EXPECT_EQ(kept.right - kept.left, 296);
    EXPECT_EQ(kept.bottom - kept.top, 20);
}

TEST_F(WindowTest, APaintRequestDrawsTheViewTreeOnTheFrame)
{
    SmartPtr<TestWindow> window = Open("painted");
    window->AddChild(new FillView(window.Get(), Rect(10, 10, 60, 40), 7));
    pw::platform::testing::RunUntilIdle();
    pw::platform::Frame client = pw::platform::testing::ReadClientArea(window->GetFrame()->GetOSWindow());
    ASSERT_GE(client.width, 100);
    auto colourAt = [&](int x, int y) {
        pw::platform::PaletteColor c = client.palette[client.At(x, y)];
        return std::vector<int> { c.red, c.green, c.blue };
    };
    EXPECT_EQ(colourAt(10, 10), (std::vector<int> { 255, 0, 0 }));
    EXPECT_EQ(colourAt(59, 39), (std::vector<int> { 255, 0, 0 }));
    EXPECT_EQ(colourAt(60, 39), (std::vector<int> { 255, 255, 255 }));
    EXPECT_EQ(colourAt(5, 5), (std::vector<int> { 255, 255, 255 }));
}

TEST_F(WindowTest, PressesAndKeysReachTheViewsThroughTheToolAndTheFocus)
{
    SmartPtr<TestWindow> window = Open("input");
    SmartPtr<TestView> view(new TestView(window.Get(), Rect(10, 10, 60, 60), "view"));
    view->takesKeys = true;
    window->AddChild(view.Get());
    pw::platform::testing::RunUntilIdle();
    Journal().clear();

    POINT inside = ScreenPoint(*window.Get(), 20, 30);
    pw::platform::testing::Click(inside.x, inside.y);
    pw::platform::testing::RunUntilIdle();
    pw::platform::testing::AdvanceClock(1000);
    pw::platform::testing::DoubleClick(inside.x, inside.y);
    pw::platform::testing::RunUntilIdle();
    // The right and bottom edges belong to the view.
    POINT edge = ScreenPoint(*window.Get(), 60, 60);
    pw::platform::testing::Click(edge.x, edge.y);
    pw::platform::testing::TypeText("k");
    pw::platform::testing::RunUntilIdle();
    EXPECT_EQ(Journal(), (std::vector<std::string> { "view press 20,30 x1", "view press 20,30 x1",
                             "view press 20,30 x2", "view press 60,60 x1", "view key 107" }));
    EXPECT_EQ(GetCapture(), nullptr);
}

// Keys without a character reach the focused view once, as key codes marked as key presses: the
// arrows as 28 to 31; other such keys not at all. A character key comes once, as its character.
TEST_F(WindowTest, ArrowKeysReachTheFocusedViewAsKeyCodes)
{
    SmartPtr<TestWindow> window = Open("keys");
    SmartPtr<TestView> view(new TestView(window.Get(), Rect(10, 10, 60, 60), "view"));
    view->takesKeys = true;
    window->AddChild(view.Get());
    window->SetFocusChild(view.Get());
    pw::platform::testing::RunUntilIdle();
    Journal().clear();
    for (UINT key : std::initializer_list<UINT> { VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_F1, VK_SHIFT, 'K' })
        pw::platform::testing::TypeKey(key);
    pw::platform::testing::PressKey(VK_SHIFT);
    pw::platform::testing::TypeKey(VK_LEFT);
    pw::platform::testing::ReleaseKey(VK_SHIFT);
    pw::platform::testing::RunUntilIdle();
    EXPECT_EQ(Journal(), (std::vector<std::string> { "view key 28 +32", "view key 29 +32", "view key 30 +32",
                             "view key 31 +32", "view key 107", "view key 28 +32" }));
}

TEST_F(WindowTest, TheCloseBoxAsksTheWindowAndClosesItWhenItAgrees)
{
    SmartPtr<TestWindow> stubborn = Open("stubborn", 0, false);
    HWND native = stubborn->GetFrame()->GetOSWindow();
    pw::platform::testing::RunUntilIdle();
    pw::platform::testing::ClickCloseBox(native);
    pw::platform::testing::RunUntilIdle();
    EXPECT_EQ(Journal(), (std::vector<std::string> { "stubborn asked 2" }));
    EXPECT_TRUE(IsWindow(native));
    EXPECT_EQ(Window::FromHandle(native), SmartPtr<Window>(stubborn.Get()));

    stubborn->mayClose = true;
    pw::platform::testing::ClickCloseBox(native);
    pw::platform::testing::RunUntilIdle();
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(app->NumWindows(), 0u);
    EXPECT_FALSE(Window::FromHandle(native).Valid());
    EXPECT_FALSE(stubborn->IsVisible());
}

} // namespace
