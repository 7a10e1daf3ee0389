#include "ui/ClipTask.h"

#include "FrameworkFixture.h"

using namespace uitest;

namespace {

std::string TextOf(const SmartPtr<Smart>& object)
{
    char chars[16] = "-";
    if (auto* text = SmartCast<String>(object.Get()))
        text->GetCString(chars, sizeof chars);
    return chars;
}

class ClipTaskTest : public FrameworkTest {
protected:
    // The view holding the selection "cd" focused in the front window; the clipboard holds "XY".
    TestView& Prepare()
    {
        window = Open("page");
        SmartPtr<View> view(new TestView(window.Get(), Rect(10, 10, 100, 40), "view"));
        window->AddChild(view);
        static_cast<TestView*>(view.Get())->selection = new String("cd");
        app->GetClipboard()->Put(new String("XY"));
        Journal().clear();
        return *static_cast<TestView*>(view.Get());
    }
    // The view's selection and the clipboard's contents.
    std::string State(TestView& view) { return TextOf(view.selection) + " " + TextOf(app->GetClipboard()->Contents()); }

    SmartPtr<TestWindow> window;
};

// Each command runs through the application as the front window's undo step, which the window
// then undoes and redoes in turn: the view and the clipboard after each step, and what the view
// was asked to do (a paste with 1 puts back what the task removed).
TEST_F(ClipTaskTest, UndoAndRedoPutViewAndClipboardBackInEveryMode)
{
    struct Case {
        int32_t mode;
        std::vector<std::string> states; // after Do, Undo, Redo, Undo
        std::vector<std::string> calls;
    } cases[] = {
        { ClipTask::kCut, { "- cd", "cd XY", "- cd", "cd XY" }, { "clear", "paste 1", "clear", "paste 1" } },
        { ClipTask::kCopy, { "cd cd", "cd XY", "cd cd", "cd XY" }, {} },
        { ClipTask::kPaste, { "XY XY", "- XY", "XY XY", "- XY" }, { "paste 0", "clear", "paste 0", "clear" } },
        { ClipTask::kReplace, { "XY XY", "cd XY", "XY XY", "cd XY" },
            { "clear", "paste 0", "clear", "paste 1", "clear", "paste 0", "clear", "paste 1" } },
        { ClipTask::kClear, { "- XY", "cd XY", "- XY", "cd XY" }, { "clear", "paste 1", "clear", "paste 1" } },
        { 7, { "cd XY", "cd XY", "cd XY", "cd XY" }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TestView& view = Prepare();
        std::vector<std::string> states;
        app->RunViewTask(c.mode);
        states.push_back(State(view));
        for (int step = 0; step < 3; ++step) {
            window->Undo();
            states.push_back(State(view));
        }
        EXPECT_EQ(states, c.states);
        std::vector<std::string> calls;
        for (const std::string& entry : Journal())
            calls.push_back(entry.substr(5));
        EXPECT_EQ(calls, c.calls);
        window->Close();
    }
}

// A redone paste puts back what was pasted, whatever the clipboard took in the meantime.
TEST_F(ClipTaskTest, ARedonePastePastesWhatWasPastedBefore)
{
    TestView& view = Prepare();
    app->RunViewTask(ClipTask::kPaste);
    window->Undo();
    app->GetClipboard()->Put(new String("ZZ"));
    window->Undo();
    EXPECT_EQ(State(view), "XY ZZ");
}

} // namespace
