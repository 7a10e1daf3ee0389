#include "AppMainRun.h"
#include "FrameworkFixture.h"

#include "foundation/UserCancelException.h"
#include "platform/kernel/KernelTesting.h"
#include "ui/Menu.h"
#include "ui/MenuItem.h"
#include "ui/SampleApp.h"
#include "ui/SampleView.h"

#include <optional>

using namespace uitest;
namespace driver = pw::platform::testing;

namespace {

using Outcome = MainOutcome;

// Runs the framework main with the application NextApp makes. Each time the loop has nothing left
// to do, the next step of the script runs (queueing input, checking what shows); a loop that goes
// idle after the last step fails the test.
class AppMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal().clear();
        InstallPalette();
    }
    void TearDown() override
    {
        NextApp() = nullptr;
        pw::foundation::SetAlertsEnabled(false);
    }

    Outcome Run(std::vector<std::function<void()>> script)
    {
        return RunAppMain(nullptr, &MakeConfiguredApp, std::move(script));
    }

    static App* TheApp() { return AppGlue::Application().Get(); }

    static std::vector<std::string> AlertTexts()
    {
        std::vector<std::string> texts;
        for (const auto& record : driver::AlertLog())
            texts.push_back(record.text);
        return texts;
    }
};

TEST_F(AppMainTest, NoApplicationFromTheFactoryEndsWith666)
{
    NextApp() = [] { return static_cast<App*>(nullptr); };
    Outcome outcome = Run({});
    EXPECT_EQ(outcome.exitCode, 666u);
    EXPECT_FALSE(outcome.returned.has_value());
    EXPECT_TRUE(driver::AlertLog().empty());
    EXPECT_EQ(driver::LastExitCode(), 666u);
}

TEST_F(AppMainTest, AFailedFirstDocumentIsShownThenEndsWith0)
{
    driver::ScriptMessageBoxes({ IDOK });
    NextApp() = [] {
        auto* made = new TestApp;
        made->onNewDocument = [](TestApp&) { ThrowError("No first page", PW_HERE); };
        return static_cast<App*>(made);
    };
    Outcome outcome = Run({});
    EXPECT_EQ(outcome.exitCode, 0u);
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_NE(AlertTexts()[0].find("No first page"), std::string::npos);
}

TEST_F(AppMainTest, ACancelledStartEndsWith0Silently)
{
    NextApp() = [] {
        auto* made = new TestApp;
        made->onNewDocument = [](TestApp&) { ThrowPointer(new UserCancelException); };
        return static_cast<App*>(made);
    };
    Outcome outcome = Run({});
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(driver::AlertLog().empty());
}

TEST_F(AppMainTest, AMissingStandardPaletteIsShownAndNoApplicationIsMade)
{
    ASSERT_TRUE(driver::SetStartupFolder("c:\\empty"));
    pw::foundation::ForgetStartupFolder();
    driver::ScriptMessageBoxes({ IDOK });
    NextApp() = [] { return static_cast<App*>(new TestApp); };
    Outcome outcome = Run({});
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_FALSE(AppGlue::Application().Valid());
}

TEST_F(AppMainTest, AFailingFactoryIsShownAndTheLoopEnds)
{
    driver::ScriptMessageBoxes({ IDOK });
    NextApp() = []() -> App* { ThrowError("No application today", PW_HERE); };
    Outcome outcome = Run({});
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_NE(AlertTexts()[0].find("No application today"), std::string::npos);
}

TEST_F(AppMainTest, ClosingTheMainWindowEndsTheProgramOnlyWhenTheApplicationAgrees)
{
    SmartPtr<TestWindow> page;
    NextApp() = [&] {
        auto* made = new TestApp;
        made->onNewDocument = [&](TestApp& self) {
            page = new TestWindow("page", 0, false);
            self.AddWindow(page.Get(), true);
        };
        return static_cast<App*>(made);
    };
    HWND mainWindow = nullptr;
    Outcome outcome = Run({
        [&] {
            mainWindow = pw::ui::MainWindow();
            driver::RequestClose();
        },
        [&] {
            // Refused (as a Cancel to the save question would): the program and its page stay.
            EXPECT_TRUE(IsWindow(mainWindow));
            EXPECT_TRUE(AppGlue::IsAppFlagSet());
            EXPECT_TRUE(page->IsVisible());
            page->mayClose = true;
            driver::RequestClose();
        },
    });
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    EXPECT_EQ(Journal(), (std::vector<std::string> { "NewDocument", "page asked 2", "page asked 2" }));
    // The application is let go when the loop ends, and with it its hold on the windows.
    EXPECT_FALSE(AppGlue::Application().Valid());
    EXPECT_EQ(page->GetNotifier()->NumOwners(), 0u);
}

TEST_F(AppMainTest, TheSampleApplicationStartsTypesCutsUndoesAndQuits)
{
    NextApp() = &pw::ui::SampleApp::Make;
    pw::ui::SampleView* view = nullptr;
    auto text = [&] {
        char chars[64];
        view->GetText().GetCString(chars, sizeof chars);
        return std::string(chars);
    };
    auto undoTitle = [] {
        char chars[16];
        TheApp()->FindMenuItem(Window::kUndoCommand)->Title().GetCString(chars, sizeof chars);
        return std::string(chars);
    };
    auto control = [](UINT key) {
        driver::PressKey(VK_CONTROL);
        driver::TypeKey(key);
        driver::ReleaseKey(VK_CONTROL);
    };
    Outcome outcome = Run({
        [&] {
            HWND mainWindow = pw::ui::MainWindow();
            char title[64];
            GetWindowTextA(mainWindow, title, sizeof title);
            EXPECT_STREQ(title, "Plumewright");
            SmartPtr<Window> page = Window::FromHandle(driver::FindWindowByTitle("Page 1"));
            ASSERT_TRUE(page.Valid());
            view = SmartCast<pw::ui::SampleView>(page->GetChildren().Item(1));
            ASSERT_NE(view, nullptr);
            view->Clear();
            driver::TypeText("ab");
            control('X');
        },
        [&] {
            EXPECT_EQ(text(), "");
            control('Z');
        },
        [&] {
            EXPECT_EQ(text(), "ab");
            EXPECT_EQ(undoTitle(), "Redo");
            control('N');
        },
        [&] {
            EXPECT_NE(driver::FindWindowByTitle("Page 2"), nullptr);
            EXPECT_EQ(TheApp()->NumWindows(), 2u);
            // The new page is in front, and its undo item speaks for it.
            EXPECT_EQ(undoTitle(), "Undo");
            control('Q');
        },
    });
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    EXPECT_TRUE(driver::AlertLog().empty());
}

// A person types on the sample page: Backspace takes back one character, and a Backspace with
// nothing left neither clears anything nor replaces the undo step. With the page closed, the
// Edit menu's clipboard items are off.
TEST_F(AppMainTest, TheSamplePageTakesBackOneCharacterAndTheEditMenuFollowsTheWindows)
{
    NextApp() = &pw::ui::SampleApp::Make;
    pw::ui::SampleView* view = nullptr;
    HWND page = nullptr;
    auto text = [&] {
        char chars[64];
        view->GetText().GetCString(chars, sizeof chars);
        return std::string(chars);
    };
    auto control = [](UINT key) {
        driver::PressKey(VK_CONTROL);
        driver::TypeKey(key);
        driver::ReleaseKey(VK_CONTROL);
    };
    // Whether each clipboard item is on, after the states are brought up to date.
    auto clipboardItems = [] {
        AppGlue::UpdateMenuStates();
        std::vector<bool> on;
        for (const char* title : { "Cut", "Copy", "Paste", "Delete" }) {
            for (uint32_t command = Menu::kFirstCommand; command < Menu::kFirstCommand + 20; ++command) {
                SmartPtr<MenuItem> item = TheApp()->FindMenuItem(command);
                String itemTitle;
                uint8_t key = 0;
                if (item.Valid() && (item->GetTitle(itemTitle, key), itemTitle == String(title)))
                    on.push_back((item->GetState() & MenuItem::kDisabled) == 0);
            }
        }
        return on;
    };
    Outcome outcome = Run({
        [&] {
            page = driver::FindWindowByTitle("Page 1");
            SmartPtr<Window> window = Window::FromHandle(page);
            ASSERT_TRUE(window.Valid());
            view = SmartCast<pw::ui::SampleView>(window->GetChildren().Item(1));
            ASSERT_NE(view, nullptr);
            view->Clear();
            driver::TypeText("abc\b");
        },
        [&] {
            EXPECT_EQ(text(), "ab");
            control('X');
        },
        [&] {
            EXPECT_EQ(text(), "");
            driver::TypeText("\b\b");
        },
        [&] {
            control('Z');
        },
        [&] {
            EXPECT_EQ(text(), "ab") << "the cut is still the step that undo takes back";
            // Undoing the cut gave the clipboard back its emptiness: only paste is off.
            EXPECT_EQ(clipboardItems(), (std::vector<bool> { true, true, false, true }));
            driver::ClickCloseBox(page);
        },
        [&] {
            EXPECT_EQ(TheApp()->NumWindows(), 0u);
            EXPECT_EQ(clipboardItems(), (std::vector<bool> { false, false, false, false }));
            control('Q');
        },
    });
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_TRUE(driver::AlertLog().empty());
}

} // namespace
