// The application class: the project named once at the first new page (through the real name
// dialog), a page window for every new page, the pages' folder, and clipboard commands refused
// while the front page plays.
#include "app/TallowApp.h"

#include "app/TallowResources.h"
#include "authoring/panes/CHAPane.h"
#include "engine/CPanePlay.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "export/TallowScribe.h"
#include "foundation/Clipboard.h"
#include "foundation/String.h"
#include "foundation/UserCancelException.h"
#include "ui/Dialog.h"
#include "ui/DocWindow.h"
#include "ui/Window.h"

#include "TallowAppFixture.h"
#include "platform/kernel/KernelTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;

class TallowAppTest : public apptest::TallowAppFixture { };

TEST_F(TallowAppTest, TheFirstNewPageNamesTheProjectAndLaterOnesOnlyOpenPages)
{
    AnswerNameDialogs("Kim\n");
    tallow->NewDocument();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(std::filesystem::is_directory(driver::HostPath("plume/Projects/Kim")));
    EXPECT_EQ(TextOf(FileReference::CurrentFolder().Name()), "Kim");
    EXPECT_EQ(tallow->NumWindows(), 2u) << "the tab-set window and the page";

    tallow->NewDocument();
    EXPECT_EQ(dialogs, 1) << "the second new page asks nothing";
    EXPECT_EQ(tallow->NumWindows(), 3u);
    EXPECT_EQ(TextOf(*tallow->GetProject().GetName().Get()), "Project");
    EXPECT_EQ(TextOf(tallow->GetProject().GetFolder()->Name()), "Kim");
}

TEST_F(TallowAppTest, CancellingTheNameEndsSilentlyWithoutAPage)
{
    AnswerNameDialogs("");
    SmartPtr<Exception> caught;
    try {
        tallow->NewDocument();
    } catch (Exception* exception) {
        caught = exception;
    }
    EXPECT_NE(dynamic_cast<UserCancelException*>(caught.Get()), nullptr);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(tallow->NumWindows(), 1u) << "only the tab-set window";
    EXPECT_TRUE(driver::AlertLog().empty());
}

// Pages live in "Projects"; page windows are placed by the decorator, not fitted to the page.
TEST_F(TallowAppTest, PagesAreNamedInTheProjectsFolderAndWindowsAreNotFittedToThem)
{
    EXPECT_EQ(TextOf(*tallow->DocumentFolderName().Get()), "Projects");
    EXPECT_FALSE(tallow->ApplicationQuery());
    driver::MakeHostFile("plume/Projects/Page.mvi", "page");
    String name("Page");
    EXPECT_TRUE(tallow->LinkedFileName(name));
    EXPECT_EQ(TextOf(name), "Page1");
}

TEST_F(TallowAppTest, ClipboardCommandsWaitWhileTheFrontPagePlays)
{
    AnswerNameDialogs("Kim\n");
    tallow->NewDocument();
    ASSERT_EQ(tallow->NumWindows(), 2u);
    SmartPtr<Smart> clip(new String("clip"));
    tallow->GetClipboard()->Put(clip.Get());
    SmartPtr<CPanePlay> pane;
    for (SmartPtr<View> view(tallow->GetWindow(2).Get()); view.Valid() && !pane.Valid(); view = view->GetFocusChild())
        pane = SmartCast<CPanePlay>(view.Get());
    ASSERT_TRUE(pane.Valid()) << "the page pane is the page window's focused view";
    bool stopped = tallow->CanRunViewTask(2);
    pane->GetPlayer().Start();
    ASSERT_TRUE(pane->IsPlaying());
    for (int32_t mode : { 0, 1, 2, 4 }) {
        SCOPED_TRACE(mode);
        EXPECT_FALSE(tallow->CanRunViewTask(mode));
    }
    pane->GetPlayer().Stop();
    EXPECT_EQ(tallow->CanRunViewTask(2), stopped);
    EXPECT_TRUE(stopped) << "paste into a stopped page";
}

// Every stored page is exported beside it: the home page made through the application's scribes
// writes its HTML, and saving the page window writes it again; the page window's own file gets no
// second writing scribe.
TEST_F(TallowAppTest, StoredPagesAreExportedAndTheFrontPageIsNotWrittenTwice)
{
    AnswerNameDialogs("Kim\n");
    tallow->NewDocument();
    ASSERT_EQ(tallow->NumWindows(), 2u);
    SmartPtr<FileReference> folder = tallow->GetProject().GetFolder();
    tallow->GetPageScribes().CreateHomePage(*folder.Get());
    const std::filesystem::path html = driver::HostPath("plume/Projects/Kim/HTML/index.htm");
    ASSERT_TRUE(std::filesystem::exists(html));

    SmartPtr<FileReference> home = tallow->GetPageScribes().HomePageReference(*folder.Get(), false);
    EXPECT_NE(SmartCast<TallowScribe>(tallow->OpenScribe(home, 3).Get()), nullptr);
    tallow->OpenDocument(home, false, false);
    auto* window = SmartCast<DocWindow>(tallow->FindWindowForView().Get());
    ASSERT_NE(window, nullptr);
    ASSERT_NE(SmartCast<TallowScribe>(window->GetScribe().Get()), nullptr);
    EXPECT_FALSE(tallow->OpenScribe(home, 3).Valid()) << "no second writer for the front page";
    EXPECT_TRUE(tallow->OpenScribe(home, 1).Valid());

    std::filesystem::remove(html);
    window->Save(DocWindow::kSave);
    EXPECT_TRUE(std::filesystem::exists(html)) << "a save exports the page again";
}

} // namespace
