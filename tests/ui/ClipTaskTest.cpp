#include "ui/ClipTask.h"

#include "FrameworkFixture.h"

#include <string>
#include <vector>

using namespace uitest;

namespace {

// A line of text with a selection [start, end). Copy gives the selected text; clear removes it;
// paste inserts the pasted text at the selection's start and selects it (the old selection's text
// stays after it, as a picture pane keeps its objects when one is pasted).
class LineView : public View {
public:
    LineView(View* parent, const Rect& bounds)
        : View(parent, bounds, kSizeTopLeft, true, true)
    {
    }

    void Copy(SmartPtr<Smart>& copied) override
    {
        copied = start == end ? nullptr : new String(text.substr(start, end - start).c_str());
    }
    void Paste(const SmartPtr<Smart>& object, int32_t undoingCut, int32_t, int32_t) override
    {
        sources.push_back(undoingCut);
        auto* pasted = SmartCast<String>(object.Get());
        if (!pasted)
            return;
        char chars[64];
        pasted->GetCString(chars, sizeof chars);
        text.insert(start, chars);
        end = start + std::string(chars).size();
    }
    void Clear() override
    {
        text.erase(start, end - start);
        end = start;
    }

    // "text [selection]".
    std::string Shown() const { return text + " [" + text.substr(start, end - start) + "]"; }

    std::string text { "abcdef" };
    size_t start { 2 };
    size_t end { 4 };
    std::vector<int32_t> sources;
};

std::string ClipText(Clipboard& clipboard)
{
    auto* text = SmartCast<String>(clipboard.Contents().Get());
    if (!text)
        return "(empty)";
    char chars[64];
    text->GetCString(chars, sizeof chars);
    return chars;
}

class ClipTaskTest : public FrameworkTest {
protected:
    // The view focused in a front window, the clipboard holding "XY".
    LineView& Prepare()
    {
        window = Open("page");
        SmartPtr<View> view(new LineView(window.Get(), Rect(10, 10, 100, 40)));
        window->AddChild(view);
        app->GetClipboard()->Put(new String("XY"));
        return *static_cast<LineView*>(view.Get());
    }

    SmartPtr<TestWindow> window;
};

// Each command runs through the application as the front window's undo step; the window then
// alternates Undo and Redo. After every step: the view, and what the clipboard holds.
TEST_F(ClipTaskTest, UndoAndRedoPutViewAndClipboardBackInEveryMode)
{
    struct Case {
        const char* name;
        int32_t mode;
        // After Do, Undo, Redo, Undo, Redo.
        std::vector<std::string> states;
        std::vector<int32_t> pasteSources;
    } cases[] = {
        { "cut", ClipTask::kCut,
            { "abef [] cd", "abcdef [cd] XY", "abef [] cd", "abcdef [cd] XY", "abef [] cd" }, { 1, 1 } },
        { "copy", ClipTask::kCopy,
            { "abcdef [cd] cd", "abcdef [cd] XY", "abcdef [cd] cd", "abcdef [cd] XY", "abcdef [cd] cd" }, {} },
        { "paste", ClipTask::kPaste,
            { "abXYcdef [XY] XY", "abcdef [] XY", "abXYcdef [XY] XY", "abcdef [] XY", "abXYcdef [XY] XY" },
            { 0, 0, 0 } },
        { "replace", ClipTask::kReplace,
            { "abXYef [XY] XY", "abcdef [cd] XY", "abXYef [XY] XY", "abcdef [cd] XY", "abXYef [XY] XY" },
            { 0, 1, 0, 1, 0 } },
        { "clear", ClipTask::kClear,
            { "abef [] XY", "abcdef [cd] XY", "abef [] XY", "abcdef [cd] XY", "abef [] XY" }, { 1, 1 } },
        { "no such mode", 7,
            { "abcdef [cd] XY", "abcdef [cd] XY", "abcdef [cd] XY", "abcdef [cd] XY", "abcdef [cd] XY" }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineView& view = Prepare();
        std::vector<std::string> states;
        app->RunViewTask(c.mode);
        ASSERT_TRUE(window->HasUndoTask());
        states.push_back(view.Shown() + " " + ClipText(*app->GetClipboard().Get()));
        for (int step = 0; step < 4; ++step) {
            window->Undo();
            states.push_back(view.Shown() + " " + ClipText(*app->GetClipboard().Get()));
        }
        EXPECT_EQ(states, c.states);
        EXPECT_EQ(view.sources, c.pasteSources);
        window->Close();
    }
}

// A redone paste puts back what was pasted, whatever the clipboard took in the meantime.
TEST_F(ClipTaskTest, ARedonePastePastesWhatWasPastedBefore)
{
    LineView& view = Prepare();
    app->RunViewTask(ClipTask::kPaste);
    window->Undo();
    app->GetClipboard()->Put(new String("ZZ"));
    window->Undo();
    EXPECT_EQ(view.Shown(), "abXYcdef [XY]");
    EXPECT_EQ(ClipText(*app->GetClipboard().Get()), "ZZ");
}

} // namespace
