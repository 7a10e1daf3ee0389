#include "ui/Tool.h"

#include "ui/AppMain.h"
#include "ui/Cursor.h"
#include "ui/Window.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;

namespace {

// A gesture that logs what it is given and ends after `length` events.
class Gesture : public Interactor {
public:
    explicit Gesture(int length)
        : length(length)
    {
    }

    bool HandleMouse(Point point, BitFlags, bool buttonDown, const SmartPtr<Window>&) override
    {
        Log().push_back("gesture " + std::to_string(point.h) + (buttonDown ? " down" : " up"));
        return --length > 0;
    }

    int length;
};

// A tool that starts a gesture of `length` events on every press it is asked about.
class GestureTool : public Tool {
public:
    explicit GestureTool(int length)
        : Tool(SmartPtr<Cursor>())
        , length(length)
    {
    }

    SmartPtr<Interactor> MakeInteractor(Point point, BitFlags, const SmartPtr<Window>&) override
    {
        Log().push_back("make at " + std::to_string(point.h));
        return length > 0 ? new Gesture(length) : nullptr;
    }

    int length;
};

class ToolTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ASSERT_NE(pw::ui::CreateMainWindow(nullptr), nullptr);
        window = new Window(new String("page"), 0, false, false, Point(200, 100));
        SmartPtr<View> probe = new Probe(window.Get(), "view", Rect(0, 0, 100, 100));
        window->AddChild(probe);
        window->Show(true);
    }

    // Presses, moves and releases the way the glue gives them to the current tool.
    void Press(Tool& tool, int32_t h)
    {
        tool.MouseMoved(Point(h, 5), BitFlags(), true, window);
        tool.MouseDown(Point(h, 5), BitFlags(), 1, window);
    }

    SmartPtr<Window> window;
};

} // namespace

TEST_F(ToolTest, APlainToolShowsItsCursorAndLeavesTheMouseToTheWindow)
{
    SmartPtr<Tool> tool = new Tool;
    ASSERT_TRUE(tool->GetToolCursor().Valid());
    Press(*tool.Get(), 10);
    tool->MouseMoved(Point(150, 5), BitFlags(), false, window);
    EXPECT_EQ(Log(), (std::vector<std::string> { "view:move", "view:press" }));
}

TEST_F(ToolTest, AGestureTakesThePressAndEveryLaterEventUntilItEnds)
{
    struct Case {
        const char* name;
        int length;
        std::vector<std::string> log;
    } cases[] = {
        { "three events: the press, a move beyond the window, the release", 3,
            { "view:move", "make at 10", "gesture 10 down", "gesture 300 down", "gesture 300 up", "view:move",
                "make at 20", "gesture 20 down" } },
        { "over on the press itself", 1,
            { "view:move", "make at 10", "gesture 10 down", "view:move", "make at 20", "gesture 20 down" } },
        { "no gesture made", 0,
            { "view:move", "make at 10", "view:press", "view:move", "make at 20", "view:press" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Log().clear();
        SmartPtr<GestureTool> tool = new GestureTool(c.length);
        Press(*tool.Get(), 10);
        tool->MouseMoved(Point(300, 5), BitFlags(), true, window);
        tool->MouseMoved(Point(300, 5), BitFlags(), false, window);
        Press(*tool.Get(), 20);
        EXPECT_EQ(Log(), c.log);
    }
}
