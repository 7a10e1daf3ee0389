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

// Starts a gesture of `length` events on every press it is asked about.
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
        return new Gesture(length);
    }

    int length;
};

} // namespace

// Events as the glue gives them to the current tool: a move and a press, a move beyond the
// window (200 wide) with the button held, the release there, then a second press.
TEST_F(ViewTest, AToolFeedsAGestureEveryEventUntilItEndsAndOtherwiseTheWindow)
{
    ASSERT_NE(pw::ui::CreateMainWindow(nullptr), nullptr);
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(200, 100));
    window->AddChild(new Probe(window.Get(), "view", Rect(0, 0, 100, 100)));
    window->Show(true);
    struct Case {
        const char* name;
        int length; // 0: a plain tool
        std::vector<std::string> log;
    } cases[] = {
        { "a gesture of three events", 3,
            { "view:move", "make at 10", "gesture 10 down", "gesture 300 down", "gesture 300 up", "view:move",
                "make at 20", "gesture 20 down" } },
        { "a gesture over on the press", 1,
            { "view:move", "make at 10", "gesture 10 down", "view:move", "make at 20", "gesture 20 down" } },
        { "a plain tool", 0, { "view:move", "view:press", "view:move", "view:press" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Log().clear();
        SmartPtr<Tool> tool = c.length ? new GestureTool(c.length) : new Tool;
        EXPECT_EQ(tool->GetToolCursor().Valid(), c.length == 0) << "a plain tool shows the arrow";
        tool->MouseMoved(Point(10, 5), BitFlags(), true, window);
        tool->MouseDown(Point(10, 5), BitFlags(), 1, window);
        tool->MouseMoved(Point(300, 5), BitFlags(), true, window);
        tool->MouseMoved(Point(300, 5), BitFlags(), false, window);
        tool->MouseMoved(Point(20, 5), BitFlags(), true, window);
        tool->MouseDown(Point(20, 5), BitFlags(), 1, window);
        EXPECT_EQ(Log(), c.log);
    }
}
