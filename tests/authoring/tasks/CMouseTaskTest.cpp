#include "authoring/tasks/CMouseTask.h"

#include "authoring/tools/CTaskTool.h"
#include "foundation/Failure.h"
#include "ui/AppSignals.h"
#include "ui/WindowFrame.h"
#include "ui/WindowOwner.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

std::string At(Point p)
{
    return std::to_string(p.h) + "," + std::to_string(p.v);
}

// Logs its steps; Track snaps the point to a multiple of 10 across; End posts the task.
class LogTask : public CMouseTask {
public:
    explicit LogTask(const SmartPtr<View>& view)
        : CMouseTask(1, view)
    {
    }
    void Begin(Point& start, BitFlags modifiers) override
    {
        Log().push_back("begin " + At(start) + (modifiers.IsSet(0) ? " shift" : ""));
    }
    void Track(Point& current, Point previous, Point, BitFlags) override
    {
        current.h = current.h / 10 * 10;
        Log().push_back("track " + At(current) + " after " + At(previous));
    }
    void End(Point& current, Point previous, Point start, BitFlags) override
    {
        Log().push_back("end " + At(current) + " after " + At(previous) + " from " + At(start));
        GetView()->NotifyTask(SmartPtr<Task>(this));
    }
    void Do() override { Log().push_back("do"); }
    void Undo() override { Log().push_back("undo"); }
    void Redo() override { Log().push_back("redo"); }
};

// A pane that starts a task for every press, as the editing panes do: the task goes into a task
// tool that becomes current, and the press goes to the task tool.
class TaskPane : public View {
public:
    TaskPane(View* parent, const Rect& bounds)
        : View(parent, bounds, kSizeTopLeft, true, false)
    {
    }
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override
    {
        App* app = Window::GetApplication();
        SmartPtr<CMouseTask> task = new LogTask(SmartPtr<View>(this));
        SmartPtr<Tool> taskTool = new CTaskTool(task, app->GetCurrentTool());
        NotifyCommand(new pw::ui::SetToolSignal(taskTool));
        taskTool->MouseDown(Point(h, v), modifiers, clicks, window);
        return true;
    }
    bool MouseMove(int32_t h, int32_t v, BitFlags) override
    {
        Log().push_back("pane move " + At(Point(h, v)));
        return true;
    }
};

// A window that keeps finished tasks as its undo step, as page windows do.
class PageWindow : public Window, public WindowOwner {
public:
    PageWindow()
        : Window(new String("page"), 0, false, false, Point(200, 150))
    {
        AddOwner(this);
    }
    ~PageWindow() override { RemoveOwner(this); }
    void WindowChanged(void*) override { }
    void TaskDone(const SmartPtr<Task>& task) override { SetUndoTask(task); }
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }
};

class CMouseTaskTest : public AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        Log().clear();
        page = new PageWindow;
        page->AddChild(new TaskPane(page.Get(), Rect(0, 0, 200, 150)));
        app->AddWindow(SmartPtr<Window>(page.Get()), true);
        page->Show(true);
        driver::RunUntilIdle();
        before = new Tool;
        app->SetCurrentTool(before);
    }

    POINT Screen(int32_t h, int32_t v)
    {
        Point origin = page->GetContentOrigin();
        return POINT { origin.h + h, origin.v + v };
    }
    void Press(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::PressMouse(p.x, p.y); driver::RunUntilIdle(); }
    void Move(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::MoveMouse(p.x, p.y); driver::RunUntilIdle(); }
    void Release(int32_t h, int32_t v) { POINT p = Screen(h, v); driver::ReleaseMouse(p.x, p.y); driver::RunUntilIdle(); }

    SmartPtr<PageWindow> page;
    SmartPtr<Tool> before;
};

} // namespace

// A drag through the real window: the move the press brings reaches the tool current before the
// task; the press begins the task, each move tracks it with the previous (adjusted) point, the
// release ends it; during the drag the task tool (number 0) is current, afterwards the tool from
// before the press again, and the task is the window's undo step, undone and redone in turn.
TEST_F(CMouseTaskTest, ADragBeginsTracksAndEndsATaskThatBecomesTheUndoStep)
{
    Press(10, 10);
    EXPECT_EQ(SmartCast<CTool>(app->GetCurrentTool().Get())->GetNumber(), 0);
    Move(27, 12);
    Move(43, 14);
    Release(51, 15);
    EXPECT_EQ(Log(),
        (std::vector<std::string> { "pane move 10,10", "begin 10,10", "track 20,12 after 10,10", "track 40,14 after 20,12",
            "end 51,15 after 40,14 from 10,10" }));
    EXPECT_EQ(app->GetCurrentTool(), before);
    ASSERT_TRUE(page->HasUndoTask());

    Log().clear();
    page->Undo();
    page->Undo();
    page->Undo();
    EXPECT_EQ(Log(), (std::vector<std::string> { "undo", "redo", "undo" }));
}

// A click without motion begins and ends with no track; a release with no press seen ends nothing,
// and neither does a second release after the task is over.
TEST_F(CMouseTaskTest, AClickBeginsAndEndsAndAReleaseWithoutAPressDoesNothing)
{
    Release(5, 5);
    EXPECT_EQ(Log(), (std::vector<std::string> { "pane move 5,5" }));
    Log().clear();
    Press(30, 20);
    Release(30, 20);
    Release(30, 20);
    EXPECT_EQ(Log(), (std::vector<std::string> { "pane move 30,20", "begin 30,20", "end 30,20 after 30,20 from 30,20",
                         "pane move 30,20" }));
    EXPECT_EQ(app->GetCurrentTool(), before);

    SmartPtr<LogTask> direct = new LogTask(page->GetChildren().Item(1));
    Log().clear();
    EXPECT_FALSE(direct->HandleMouse(Point(1, 1), BitFlags(), false, SmartPtr<Window>(page.Get())));
    EXPECT_TRUE(Log().empty());
}

// A task tool made without a task ignores the press and gives the current-tool place back at
// the next move; one is never asked for an interactor.
TEST_F(CMouseTaskTest, ATaskToolWithoutATaskIgnoresThePress)
{
    SmartPtr<CTaskTool> empty = new CTaskTool(nullptr, before);
    app->SetCurrentTool(SmartPtr<Tool>(empty.Get()));
    SmartPtr<Window> window(page.Get());
    EXPECT_TRUE(empty->MouseDown(Point(3, 3), BitFlags(), 1, window));
    EXPECT_TRUE(Log().empty());
    empty->MouseMoved(Point(4, 4), BitFlags(), false, window);
    EXPECT_EQ(app->GetCurrentTool(), before);
    EXPECT_EQ(Failure([&] { empty->MakeInteractor(Point(), BitFlags(), window); }), "false");
}
