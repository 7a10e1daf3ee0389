#include "FrameworkFixture.h"

#include "foundation/Failure.h"
#include "foundation/String.h"
#include "ui/ClipTask.h"
#include "ui/WindowFrame.h"

using namespace uitest;

namespace {

class AppTest : public FrameworkTest {
protected:
    // Front window W holding A (focused), which holds B (focused): the focus chain W, A, B.
    void BuildChain()
    {
        w = Open("W");
        a = new TestView(w.Get(), Rect(10, 10, 150, 120), "A");
        w->AddChild(a.Get());
        b = new TestView(a.Get(), Rect(20, 20, 60, 60), "B");
        a->AddChild(b.Get());
    }

    SmartPtr<TestWindow> w;
    SmartPtr<TestView> a;
    SmartPtr<TestView> b;
};

TEST_F(AppTest, CommandGoesToTheDeepestAcceptingViewOfTheFocusChainElseTheApplication)
{
    BuildChain();
    Smart* const W = w.Get();
    Smart* const A = a.Get();
    Smart* const B = b.Get();
    Smart* const App = app;
    constexpr int32_t off = GenericSignal::disabled;
    struct Case {
        const char* name;
        int32_t window, viewA, viewB, application;
        Smart* receiver;
        int32_t status;
    };
    const Case cases[] = {
        { "only the application", off, off, off, 0, App, 0 },
        { "the window over the application", 0, off, off, 0, W, 0 },
        { "a focused view over the window", 0, 0, off, 0, A, 0 },
        { "the deepest of two views", off, 0, 1, 0, B, 1 },
        { "past a refusing view in the middle", 0, off, 0, off, B, 0 },
        { "status 2 counts as taking it", off, 2, off, off, A, 2 },
        { "nobody", off, off, off, off, nullptr, off },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<StatusSignal> signal(new StatusSignal);
        signal->statuses = { { W, c.window }, { A, c.viewA }, { B, c.viewB }, { App, c.application } };
        EXPECT_EQ(app->SignalStatus(signal.Get()), c.status);
        EXPECT_EQ(app->HasReceiver(signal.Get()), c.receiver != nullptr);
        if (c.receiver) {
            app->SendSignal(signal.Get());
            ASSERT_EQ(signal->sent.size(), 1u);
            EXPECT_EQ(signal->sent[0], c.receiver);
        } else {
            EXPECT_EQ(Failure([&] { app->SendSignal(signal.Get()); }), "Nothing to send to");
            EXPECT_TRUE(signal->sent.empty());
        }
    }
    EXPECT_FALSE(app->HasReceiver(nullptr));
}

TEST_F(AppTest, WithoutAFrontWindowOnlyTheApplicationReceives)
{
    SmartPtr<StatusSignal> signal(new StatusSignal);
    signal->statuses[static_cast<Smart*>(app)] = 0;
    app->SendSignal(signal.Get());
    ASSERT_EQ(signal->sent.size(), 1u);
    EXPECT_EQ(signal->sent[0], static_cast<Smart*>(app));
    EXPECT_FALSE(app->FocusView(nullptr).Valid());
}

TEST_F(AppTest, QuitAsksTheNewestWindowFirstAndStopsAtTheFirstRefusal)
{
    Open("oldest");
    SmartPtr<TestWindow> middle = Open("middle", 0, false);
    Open("newest");
    app->Quit(2);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "newest asked 2", "middle asked 2" }));
    EXPECT_TRUE(app->IsRunning());
    EXPECT_TRUE(AppGlue::IsAppFlagSet());
    EXPECT_EQ(app->NumWindows(), 3u);

    Journal().clear();
    middle->mayClose = true;
    app->Quit(2);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "newest asked 2", "middle asked 2", "oldest asked 2" }));
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(AppGlue::IsAppFlagSet());
    // Quitting closes no window: the program's end takes them.
    EXPECT_EQ(app->NumWindows(), 3u);
}

TEST_F(AppTest, ABlockingWindowInFrontBlocksQuitAboutAndTheFocus)
{
    Open("page");
    SmartPtr<TestWindow> dialog = Open("dialog", 2);
    EXPECT_EQ(FrontName(), "dialog");
    EXPECT_TRUE(app->IsBlocked());

    AppGlue::QuitApplication(2);
    AppGlue::AboutCommand();
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(app->IsRunning());

    // A window opened behind the dialog shows but does not take the front.
    SmartPtr<TestWindow> later = Open("later");
    EXPECT_TRUE(later->IsVisible());
    EXPECT_EQ(FrontName(), "dialog");

    // Once the dialog goes, the window behind it is in front and the application is free again.
    dialog->Close();
    EXPECT_FALSE(app->IsBlocked());
    EXPECT_EQ(FrontName(), "later");
    AppGlue::AboutCommand();
    EXPECT_EQ(Journal(), (std::vector<std::string> { "dialog asked 1", "About" }));
}

// The main window's window menu ends with "About\x85": chosen from a menu dropped by a click on
// its box or by Alt with the space bar, it reaches the application's About as menu command 1.
TEST_F(AppTest, TheMainWindowsWindowMenuLeadsToAbout)
{
    namespace driver = pw::platform::testing;
    driver::RunUntilIdle();
    POINT box = driver::SystemBoxPoint(mainWindow);
    ASSERT_GE(box.x, 0);
    struct Case {
        const char* name;
        std::function<void()> open;
    };
    const Case cases[] = {
        { "a click on the box", [&] { driver::Click(box.x, box.y); } },
        { "Alt with the space bar", [] {
             driver::PressKey(VK_MENU);
             driver::TypeKey(VK_SPACE);
             driver::ReleaseKey(VK_MENU);
         } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Journal().clear();
        bool chosen = false;
        // Up from the top wraps to the last item, About.
        driver::SetIdleHandler([&] {
            if (chosen)
                return false;
            chosen = true;
            driver::TypeKey(VK_UP);
            driver::TypeKey(VK_RETURN);
            return true;
        });
        c.open();
        driver::RunUntilIdle();
        driver::SetIdleHandler(nullptr);
        EXPECT_TRUE(chosen);
        EXPECT_EQ(Journal(), (std::vector<std::string> { "About" }));
    }
}

TEST_F(AppTest, FloatingWindowsShowWithoutTakingTheFront)
{
    Open("page");
    SmartPtr<TestWindow> palette = Open("palette", 3);
    EXPECT_TRUE(palette->IsVisible());
    EXPECT_EQ(FrontName(), "page");
    EXPECT_EQ(palette->GetFrame()->GetLayerKind(), WindowFrame::kFloatingLayer);
    // A press on a shown window is not used up by its activation; on a hidden one it is.
    EXPECT_FALSE(app->ActivateWindow(palette.Get()));
    SmartPtr<TestWindow> hidden(new TestWindow("hidden"));
    app->AddWindow(hidden.Get(), false);
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_TRUE(app->ActivateWindow(hidden.Get()));
    EXPECT_EQ(FrontName(), "hidden");
}

TEST_F(AppTest, ClosingTheFrontWindowBringsTheNextOneForward)
{
    SmartPtr<TestWindow> first = Open("first");
    SmartPtr<TestWindow> second = Open("second");
    app->CloseWindow(SmartPtr<Window>(), 2);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "second asked 2", "second asked 1" }));
    EXPECT_EQ(app->NumWindows(), 1u);
    EXPECT_FALSE(second->IsVisible());
    EXPECT_EQ(FrontName(), "first");

    Journal().clear();
    first->mayClose = false;
    app->CloseWindow(first.Get(), 2);
    EXPECT_EQ(app->NumWindows(), 1u);
    EXPECT_EQ(FrontName(), "first");
}

TEST_F(AppTest, ActivationOfTheWholeApplicationReachesEveryWindow)
{
    SmartPtr<TestWindow> first = Open("first");
    SmartPtr<TestWindow> second = Open("second");
    EXPECT_TRUE(second->IsActive());
    AppGlue::SetApplicationActive(false);
    EXPECT_FALSE(app->IsActive());
    EXPECT_FALSE(first->IsActive());
    EXPECT_FALSE(second->IsActive());
    AppGlue::SetApplicationActive(true);
    EXPECT_TRUE(second->IsActive());
    EXPECT_FALSE(first->IsActive());
}

TEST_F(AppTest, ClipboardCommandsRunOnTheFocusedViewAsTheFrontWindowsUndoStep)
{
    // No window: nothing runs, and every clipboard command is refused.
    app->RunViewTask(ClipTask::kCut);
    EXPECT_TRUE(Journal().empty());
    EXPECT_FALSE(app->CanRunViewTask(ClipTask::kCut));
    EXPECT_FALSE(app->CanRunViewTask(ClipTask::kPaste));

    BuildChain();
    b->selection = new String("picked");
    b->clipModes = 1u << ClipTask::kCopy;
    EXPECT_FALSE(app->CanRunViewTask(ClipTask::kCut));
    EXPECT_TRUE(app->CanRunViewTask(ClipTask::kCopy));

    app->RunViewTask(ClipTask::kCut);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "B clear" }));
    EXPECT_TRUE(w->HasUndoTask());
    auto* held = SmartCast<String>(app->GetClipboard()->Contents().Get());
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(*held == String("picked"));
    EXPECT_TRUE(app->CanRunViewTask(ClipTask::kPaste) == false); // B refuses paste

    w->Undo();
    EXPECT_EQ(Journal().back(), "B paste 1");
    EXPECT_FALSE(app->GetClipboard()->Contents().Valid());
}

TEST_F(AppTest, KeysGoToTheFrontWindowThenBackspaceClears)
{
    BuildChain();
    b->takesKeys = true;
    AppGlue::KeyEvent('x', 0);
    b->takesKeys = false;
    AppGlue::KeyEvent('y', 0);
    AppGlue::KeyEvent(8, 0);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "B key 120", "B clear" }));
    EXPECT_TRUE(w->HasUndoTask());

    // With nothing to clear, Backspace is taken but leaves the window's undo step alone.
    w->ForgetUndo();
    b->clipModes = 0;
    AppGlue::KeyEvent(8, 0);
    EXPECT_EQ(Journal().size(), 2u);
    EXPECT_FALSE(w->HasUndoTask());
}

TEST_F(AppTest, TheApplicationLetsGoOfItsWindowsWhenReleased)
{
    SmartPtr<TestWindow> window = Open("kept");
    EXPECT_EQ(window->GetNotifier()->NumOwners(), 1u);
    AppGlue::ExitApplication();
    EXPECT_FALSE(AppGlue::Application().Valid());
    EXPECT_EQ(window->GetNotifier()->NumOwners(), 0u);
    EXPECT_EQ(Window::GetApplication(), nullptr);
    // Every glue entry is quiet without an application.
    AppGlue::QuitApplication(2);
    AppGlue::DoMenuCommand(90, 0);
    AppGlue::KeyEvent(8, 0);
    EXPECT_FALSE(AppGlue::IsAppFlagSet());
    EXPECT_TRUE(Journal().empty());
}

} // namespace
