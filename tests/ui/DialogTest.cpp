#include "ui/Dialog.h"

#include "foundation/Signal.h"
#include "ui/DialogSignals.h"
#include "ui/EditableField.h"
#include "ui/ViewControl.h"
#include "ui/WindowFrame.h"

#include "PumpFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pump;
using views::Log;
using views::Probe;
namespace driver = pw::platform::testing;

namespace {

// A text field as Tab sees it; selecting all of its text is logged.
class Field : public Probe, public pw::ui::EditableField {
public:
    Field(View* parent, const std::string& name, const Rect& bounds, bool editable)
        : Probe(parent, name, bounds)
        , editable(editable)
    {
    }
    bool HasEditControl() const override { return editable; }
    void SelectAll() override { Note("select all"); }

    bool editable;
};

// A dialog whose waiting a test may switch off.
class TestDialog : public Dialog {
public:
    explicit TestDialog(bool wait = true)
        : Dialog(2)
    {
        SetWaitWhenIdle(wait);
    }
};

int ticks = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ++ticks;
}

// Ends the dialog it is sent to; its status is the test's to set.
class DoneSignal : public Signal<Dialog> {
public:
    DoneSignal()
        : Signal(PW_HERE)
    {
    }

    int32_t status { enabled };

protected:
    int32_t Status(Dialog&) override { return status; }
    void Act(Dialog& dialog) override { dialog.Done(); }
};

class DialogTest : public PumpTest { };

} // namespace

TEST_F(DialogTest, KeysCancelOrEndTheDialogUnlessAChildTakesThem)
{
    struct Case {
        const char* name;
        uint8_t key;
        int child; // 0 none, 1 a focused child taking keys, 2 one that lets them pass
        bool handled, closed, cancelled;
    } cases[] = {
        { "Escape cancels", 27, 1, true, true, true },
        { "Ctrl+C ends even with a child taking keys", 3, 1, true, true, false },
        { "Return ends a dialog without children", 13, 0, true, true, false },
        { "Return a child took", 13, 1, true, false, false },
        { "Return a child let pass", 13, 2, true, true, false },
        { "another key nobody takes", 'a', 0, false, false, false },
        { "another key a child takes", 'a', 1, true, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Dialog> dialog = new TestDialog;
        if (c.child != 0) {
            SmartPtr<View> child = new Probe(dialog.Get(), "child", Rect(0, 0, 10, 10));
            static_cast<Probe*>(child.Get())->takesKeys = c.child == 1;
            dialog->AddChild(child);
        }
        EXPECT_EQ(dialog->KeyDown(c.key, 0), c.handled);
        EXPECT_EQ(dialog->IsClosed(), c.closed);
        EXPECT_EQ(dialog->WasCancelled(), c.cancelled);
    }
}

TEST_F(DialogTest, TabMovesToTheNextTextFieldAndWraps)
{
    struct Case {
        const char* name;
        std::vector<const char*> fields; // "-" a field without an edit control, "p" a plain view
        const char* focusBefore;
        const char* focusAfter;
        std::vector<std::string> log;
    } cases[] = {
        { "from the last to the first", { "a", "b", "c" }, "c", "a", { "a:select all" } },
        { "to the next", { "a", "b", "c" }, "a", "b", { "b:select all" } },
        { "past fields without an edit control", { "a", "-", "c" }, "a", "c", { "c:select all" } },
        { "from a view that is no field", { "a", "p", "c" }, "p", "a", { "a:select all" } },
        { "one field selects itself again", { "a" }, "a", "a", { "a:select all" } },
        { "no fields", { "p" }, "p", "p", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Dialog> dialog = new TestDialog;
        int32_t top = 0;
        SmartPtr<View> focus;
        for (const char* name : c.fields) {
            Rect bounds(0, top, 50, top + 10);
            top += 10;
            SmartPtr<View> view;
            if (std::string(name) == "p")
                view = new Probe(dialog.Get(), name, bounds);
            else
                view = new Field(dialog.Get(), name, bounds, std::string(name) != "-");
            dialog->AddChild(view);
            if (std::string(name) == c.focusBefore)
                focus = view;
        }
        dialog->SetFocusChild(focus);
        Log().clear();
        EXPECT_TRUE(dialog->KeyDown(9, 0));
        EXPECT_EQ(static_cast<Probe*>(dialog->GetFocusChild().Get())->name, c.focusAfter);
        EXPECT_EQ(Log(), c.log);
        EXPECT_FALSE(dialog->IsClosed());
    }
}

// The field that holds the focus when the dialog first becomes active selects all its text, as
// one reached by Tab does, so that typing replaces it; later activations leave the selection be.
TEST_F(DialogTest, TheFirstActivationSelectsAllOfTheFocusedField)
{
    SmartPtr<App> app = AppGlue::Application();
    app->SetActive(true);
    SmartPtr<Dialog> dialog = new TestDialog;
    dialog->SetFrame(Rect(20, 20, 220, 120));
    for (const char* name : { "a", "b" }) {
        SmartPtr<View> field = new Field(dialog.Get(), name, Rect(0, name[0] == 'a' ? 0 : 10, 50, 30), true);
        dialog->AddChild(field);
    }
    Log().clear();
    auto selections = [] {
        std::vector<std::string> seen;
        for (const std::string& entry : Log())
            if (entry.find("select all") != std::string::npos)
                seen.push_back(entry);
        Log().clear();
        return seen;
    };
    app->AddWindow(SmartPtr<Window>(dialog.Get()), true);
    EXPECT_EQ(selections(), std::vector<std::string> { "b:select all" }) << "the last field added has the focus";
    app->SetActive(false);
    app->SetActive(true);
    EXPECT_EQ(selections(), std::vector<std::string> {});
    dialog->Close();
}

TEST_F(DialogTest, PollWaitsForTheNextTimerInsteadOfSpinning)
{
    ticks = 0;
    SmartPtr<Dialog> dialog = new TestDialog;
    dialog->Show(true);
    SmartPtr<Dialog> busy = new TestDialog(false);
    busy->Show(true);
    driver::RunUntilIdle();
    SetTimer(nullptr, 0, 300, Tick);
    uint64_t start = driver::ClockMs();
    EXPECT_TRUE(dialog->Poll());
    EXPECT_EQ(ticks, 1);
    EXPECT_GE(driver::ClockMs() - start, 300u);

    start = driver::ClockMs();
    EXPECT_TRUE(busy->Poll());
    EXPECT_LT(driver::ClockMs() - start, 10u) << "a dialog told not to wait returns at once";
    dialog->Done();
    EXPECT_FALSE(dialog->Poll());
    EXPECT_LT(driver::ClockMs() - start, 10u) << "nor does one that is over";
    EXPECT_EQ(ticks, 1);
}

TEST_F(DialogTest, ACommandButtonSendsItsSignalUnlessItIsDisabledForItsWatcher)
{
    for (int32_t status : { GenericSignal::disabled, GenericSignal::enabled, GenericSignal::marked }) {
        SCOPED_TRACE(status);
        SmartPtr<Dialog> dialog = new TestDialog(false);
        dialog->SetFrame(Rect(20, 20, 220, 120));
        SmartPtr<DoneSignal> signal = new DoneSignal;
        signal->status = status;
        SmartPtr<View> button = new ViewControl(dialog.Get(), 10, 10, 90, 30, String("OK"), signal.Get(), dialog.Get());
        dialog->AddChild(button);
        dialog->Show(true);
        driver::RunUntilIdle();
        Rect content = dialog->GetFrame()->GetContentBounds();
        driver::Click(content.left + 50, content.top + 20);
        for (int poll = 0; poll < 5 && dialog->Poll(); ++poll) { }
        EXPECT_EQ(dialog->IsClosed(), status != GenericSignal::disabled);
        EXPECT_FALSE(dialog->WasCancelled());
    }
}

// OK and Cancel buttons built on the shared dialog commands end any dialog, Done or cancelled;
// no other window takes them.
TEST_F(DialogTest, OkAndCancelButtonsEndTheDialogDoneOrCancelled)
{
    struct Case {
        const char* name;
        SmartPtr<GenericSignal> signal;
        bool cancelled;
    } cases[] = {
        { "OK", new DialogDoneSignal, false },
        { "Cancel", new pw::ui::DialogCancelSignal, true },
    };
    SmartPtr<Window> plain = new Window(new String("plain"), 0, false, false, Point(100, 100));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<Dialog> dialog = new TestDialog(false);
        EXPECT_EQ(test.signal->GetSignalStatus(nullptr), GenericSignal::disabled);
        EXPECT_EQ(test.signal->GetSignalStatus(plain.Get()), GenericSignal::disabled);
        EXPECT_EQ(test.signal->GetSignalStatus(dialog.Get()), GenericSignal::enabled);
        dialog->SetFrame(Rect(20, 20, 220, 120));
        dialog->AddChild(new ViewControl(dialog.Get(), 10, 10, 90, 30, String(test.name), test.signal, dialog.Get()));
        dialog->Show(true);
        driver::RunUntilIdle();
        Rect content = dialog->GetFrame()->GetContentBounds();
        driver::Click(content.left + 50, content.top + 20);
        for (int poll = 0; poll < 5 && dialog->Poll(); ++poll) { }
        EXPECT_TRUE(dialog->IsClosed());
        EXPECT_EQ(dialog->WasCancelled(), test.cancelled);
    }
}

// A quit while a dialog waits for the user (the process asked to end, or a quit message from
// elsewhere) ends the modal run as a cancel. The host window's close box is the application's to
// answer, and a dialog up refuses it: the dialog waits on. A dialog polled inside a long operation
// is not cut short. Any quit stays pending for the program's own loop.
TEST_F(DialogTest, AQuitCancelsADialogWaitingForTheUserAndStaysPending)
{
    struct Case {
        const char* name;
        std::function<void()> quit;
        bool waits;
        bool ends;
        int exitCode;
    } cases[] = {
        { "a termination request", [] { driver::RequestQuit(); }, true, true, 0 },
        { "a quit message", [] { PostQuitMessage(5); }, true, true, 5 },
        { "the host window's close box", [] { driver::RequestClose(); }, true, false, -1 },
        { "a quit message during a long operation", [] { PostQuitMessage(5); }, false, false, 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppGlue::Application() = new RunningApp;
        SmartPtr<Dialog> dialog = new TestDialog(c.waits);
        dialog->SetFrame(Rect(20, 20, 220, 120));
        AppGlue::Application()->AddWindow(dialog.Get(), true);
        driver::RunUntilIdle();
        // A ticking timer: a dialog that waits on has something to wait for.
        UINT_PTR timer = SetTimer(nullptr, 0, 100, Tick);
        c.quit();
        int polls = 0;
        while (polls < 3 && dialog->Poll())
            ++polls;
        KillTimer(nullptr, timer);
        EXPECT_EQ(dialog->IsClosed(), c.ends);
        EXPECT_EQ(dialog->WasCancelled(), c.ends);
        int code = -1;
        EXPECT_EQ(driver::QuitPending(&code), c.exitCode != -1);
        EXPECT_EQ(code, c.exitCode);
        EXPECT_TRUE(AppGlue::IsAppFlagSet()) << "the application was not asked";
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        dialog->Close();
    }
}
