// The program as its entry starts it: the framework main with the application factory, the
// project named through the real name dialog with typed keys, and how the run ends: a quit from
// the menus returns 0 with the application and its tools window let go; a name dialog cancelled
// (Escape, its close box) or interrupted ends the start silently with 0 and no project.
#include "app/TallowApp.h"

#include "foundation/String.h"
#include "platform/kernel/KernelTesting.h"
#include "ui/AppMain.h"
#include "ui/Dialog.h"

#include "TallowAppFixture.h"
#include "ui/AppMainRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;

// The application fixture's art and folders, without its application: the framework main makes
// its own main window and application.
class ProgramStartTest : public apptest::TallowAppFixture {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        EndRun();
        pw::app::testing::ResetTallowResources();
        PutArt();
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        driver::MakeHostFolder("plume/Projects");
        options = CHAApp::GetOptions();
        CFWDecorator::Get().GetFrame(frame);
        soundOff = false;
    }
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        EndRun();
        CHAApp::GetOptions() = options;
        CFWDecorator::Get().SetFrame(frame);
        pw::foundation::ForgetFolderPreviews();
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        pw::app::testing::ResetTallowResources();
        AuthoringTest::TearDown();
    }

    static uitest::MainOutcome Run(std::vector<std::function<void()>> script)
    {
        return uitest::RunAppMain(pw::platform::ProgramInstance(), &MakeApplication, std::move(script));
    }

    // Ends what a run left: its main window, its application, a quit still pending (a main window
    // posts one as it goes), the current folder.
    static void EndRun()
    {
        if (HWND main = pw::ui::MainWindow())
            DestroyWindow(main);
        pw::ui::testing::ResetFramework();
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        FileReference startup = FileReference::StartupFolder();
        FileReference::SetAsCurrentDirectory(startup);
    }

    // The name dialog waits in front of the program.
    static void ExpectNameDialog()
    {
        App* app = AppGlue::Application().Get();
        ASSERT_NE(app, nullptr);
        auto* dialog = dynamic_cast<Dialog*>(app->GetWindow(app->NumWindows()).Get());
        ASSERT_NE(dialog, nullptr) << "no name dialog";
        EXPECT_FALSE(dialog->IsClosed());
    }

};

TEST_F(ProgramStartTest, TheNamedProjectsFirstPageOpensAndQuittingReturns0)
{
    uitest::MainOutcome outcome = Run({
        [] {
            ExpectNameDialog();
            // The field shows the default name first.
            driver::PressKey(VK_CONTROL);
            driver::TypeKey('A');
            driver::ReleaseKey(VK_CONTROL);
            driver::TypeText("Kids\n");
        },
        [] {
            auto* tallow = dynamic_cast<TallowApp*>(AppGlue::Application().Get());
            ASSERT_NE(tallow, nullptr);
            EXPECT_EQ(pw::foundation::TextOf(FileReference::CurrentFolder().Name()), "Kids");
            EXPECT_TRUE(CTumblerApp::GetTools().Valid());
            driver::PressKey(VK_CONTROL);
            driver::TypeKey('Q');
            driver::ReleaseKey(VK_CONTROL);
        },
    });
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(driver::HostPath("plume/Projects/Kids")));
    EXPECT_TRUE(driver::AlertLog().empty());
    // Nothing of the run outlives its message loop: the application went, its tools window with it.
    EXPECT_FALSE(AppGlue::Application().Valid());
    EXPECT_FALSE(CTumblerApp::GetTools().Valid());
}

TEST_F(ProgramStartTest, ANameDialogCancelledOrInterruptedEndsTheStartWith0)
{
    struct Case {
        const char* name;
        std::function<void()> answer;
    } cases[] = {
        { "Escape", [] { driver::TypeKey(VK_ESCAPE); } },
        { "the close box", [] {
             App* app = AppGlue::Application().Get();
             driver::ClickCloseBox(app->GetWindow(app->NumWindows())->GetFrame()->GetOSWindow());
         } },
        { "a termination request", [] { driver::RequestQuit(); } },
        { "a quit message", [] { PostQuitMessage(3); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uitest::MainOutcome outcome = Run({
            [&] {
                ExpectNameDialog();
                driver::TypeText("Kids");
                c.answer();
            },
        });
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_FALSE(outcome.returned.has_value());
        EXPECT_TRUE(std::filesystem::is_empty(driver::HostPath("plume/Projects"))) << "no project folder";
        EXPECT_TRUE(driver::AlertLog().empty());
        EndRun();
    }
}

} // namespace
