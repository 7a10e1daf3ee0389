// The application class: the project named once at the first new page (through the real name
// dialog), one page window that every new or opened page goes into, the pages' folder, and
// clipboard commands refused while the front page plays.
#include "app/TallowApp.h"

#include "app/TallowResources.h"
#include "app/TallowWindow.h"
#include "authoring/panes/CHAPane.h"
#include "engine/CPanePlay.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "export/TallowScribe.h"
#include "foundation/Clipboard.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/String.h"
#include "foundation/UserCancelException.h"
#include "ui/Dialog.h"
#include "ui/DocWindow.h"
#include "ui/Window.h"

#include "TallowAppFixture.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/kernel/KernelTestSupport.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

    SmartPtr<Window> first = tallow->FindWindowForView();
    tallow->NewDocument();
    EXPECT_EQ(dialogs, 1) << "the second new page asks nothing";
    EXPECT_EQ(tallow->NumWindows(), 2u) << "the new page goes into the page window";
    EXPECT_EQ(tallow->FindWindowForView().Get(), first.Get());
    EXPECT_EQ(TextOf(*tallow->GetProject().GetName().Get()), "Project");
    EXPECT_EQ(TextOf(tallow->GetProject().GetFolder()->Name()), "Kim");
}

// Typed names reach the checks whole: an accented letter gets the message about odd characters
// (not dropped on the way, which made "Zo\xE9" a project "Zo"), 300 letters the one about length.
TEST_F(TallowAppTest, AccentedAndOverlongNamesAreRefusedAndAskedAgain)
{
    AnswerNameDialogs({ "Zo\xE9\n", std::string(300, 'a') + "\n", "Kim\n" });
    driver::ScriptMessageBoxes({ IDOK, IDOK });
    tallow->NewDocument();
    EXPECT_EQ(dialogs, 3);
    std::vector<std::string> alerts;
    for (const auto& alert : driver::AlertLog())
        alerts.push_back(alert.text);
    EXPECT_EQ(alerts, (std::vector<std::string> { TextOf(TallowResources::GetString(61)), "Too Many Characters in Name!" }));
    EXPECT_EQ(TextOf(tallow->GetProject().GetFolder()->Name()), "Kim");
    EXPECT_FALSE(std::filesystem::exists(driver::HostPath("plume/Projects/Zo")));
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

// A page window holds the document's show, playing at its own rate, or at the default one when
// it was stored at rate 0; what it stores stays its own. What is no show gives none.
TEST_F(TallowAppTest, ThePageModelPlaysAtItsOwnRateAndStoresIt)
{
    const struct {
        int16_t own;
        int16_t plays;
    } cases[] = { { 12, 12 }, { 1, 1 }, { 0, 15 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.own);
        SmartPtr<CShow> show = tallow->MakeModel();
        show->SetFrameRate(c.own);
        EXPECT_EQ(tallow->MakePageModel(show.Get()).Get(), show.Get());
        EXPECT_EQ(show->GetFrameRate(), c.plays);
        SmartPtr<MemoryStream> stored = new MemoryStream;
        SmartPtr<ObjectFile>(new ObjectFile(tallow->GetDocumentTypes(), stored.Get()))->Write(show.Get());
        SmartPtr<Smart> read = SmartPtr<ObjectFile>(new ObjectFile(tallow->GetDocumentTypes(), stored.Get()))->Read();
        auto* back = SmartCast<CShow>(read.Get());
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetFrameRate(), c.own) << "the rate stored";
        back->Close();
        show->Close();
    }
    EXPECT_FALSE(tallow->MakePageModel(new String("no page")).Valid());
    EXPECT_FALSE(tallow->MakePageModel(SmartPtr<Smart>()).Valid());
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
    // Another view of the page window holding the focus (a browser over the page) changes nothing.
    auto* window = dynamic_cast<TallowWindow*>(tallow->GetWindow(2).Get());
    ASSERT_NE(window, nullptr);
    SmartPtr<View> focused = window->GetFocusChild();
    SmartPtr<View> browser = new View(window, Rect(0, 0, 50, 50), View::kSizeTopLeft, true, false);
    window->SetBrowserPane(browser);
    window->SetFocusChild(browser);
    ASSERT_EQ(window->GetFocusChild().Get(), browser.Get());
    EXPECT_FALSE(tallow->CanRunViewTask(1));
    window->SetBrowserPane(nullptr);
    window->SetFocusChild(focused);
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

// Page B in the page window, then page A opened through File, Open (the menu) or as the browser
// opens a page (OpenDocument): A goes into the same window after B's one save question.
class OnePageWindowTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
    }

    // A fresh page window showing page B, changed or not; the old window closed without asking.
    void ShowPageB(bool modified)
    {
        tallow->CloseWindow(window.Get(), 1);
        tallow->NewDocument();
        window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
        ASSERT_TRUE(window.Valid());
        window->OpenPage(Page("B"));
        if (modified)
            window->WindowChanged(nullptr);
        std::filesystem::remove(driver::HostPath("plume/Projects/Kim/HTML/B.htm"));
    }
    std::vector<std::string> History() const
    {
        std::vector<std::string> names;
        for (const SmartPtr<FileReference>& file : window->GetHistory())
            names.push_back(TextOf(file->Name()));
        return names;
    }
};

TEST_F(OnePageWindowTest, APageOpensInTheFrontPageWindowAfterItsSaveQuestion)
{
    struct Case {
        const char* name;
        bool menu; // File, Open; else the browser's open
        bool modified; // B was changed
        int answer; // to "Save "Kim:B" before closing?"; 0 when it must not be asked
        bool chosen; // the file dialog was shown
        const char* title;
        std::vector<std::string> history;
    };
    const std::vector<std::string> none;
    const std::vector<std::string> leftB { "B.mvi" };
    const Case cases[] = {
        { "unchanged, menu: no question", true, false, 0, true, "Kim:A", leftB },
        { "changed, menu, Cancel: no file asked for", true, true, IDCANCEL, false, "Kim:B", none },
        { "changed, menu, No: asked once, not saved", true, true, IDNO, true, "Kim:A", leftB },
        { "changed, menu, Yes: saved and exported", true, true, IDYES, true, "Kim:A", leftB },
        { "unchanged, browser: no question", false, false, 0, false, "Kim:A", leftB },
        { "changed, browser, Cancel", false, true, IDCANCEL, false, "Kim:B", none },
        { "changed, browser, No", false, true, IDNO, false, "Kim:A", leftB },
    };
    SmartPtr<FileReference> pageA = Page("A");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowPageB(c.modified);
        size_t alerts = driver::AlertLog().size();
        size_t fileDialogs = driver::FileDialogLog().size();
        if (c.answer)
            driver::ScriptMessageBoxes({ c.answer });
        if (c.menu) {
            if (c.chosen)
                driver::ScriptFileDialog("A.mvi");
            EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand("Open\x85")));
        } else {
            tallow->OpenDocument(new FileReference(*pageA.Get()), false, false);
        }
        EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);
        EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);
        ASSERT_EQ(driver::AlertLog().size(), alerts + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_NE(driver::AlertLog().back().text.find("Save  \"Kim:B\"  before closing?"), std::string::npos)
                << driver::AlertLog().back().text;
        }
        EXPECT_EQ(driver::FileDialogLog().size(), fileDialogs + (c.chosen ? 1 : 0));
        EXPECT_EQ(tallow->NumWindows(), 2u) << "the tab-set window and the one page window";
        EXPECT_EQ(tallow->FindWindowForView().Get(), window.Get());
        EXPECT_EQ(Title(), c.title);
        EXPECT_EQ(History(), c.history);
        EXPECT_EQ(window->IsModified(), c.answer == IDCANCEL) << "a cancel keeps B's change";
        EXPECT_EQ(std::filesystem::exists(driver::HostPath("plume/Projects/Kim/HTML/B.htm")), c.answer == IDYES);
    }
}

// With no page window in front a page opens in a new one; the next page goes into it.
TEST_F(OnePageWindowTest, WithoutAPageWindowInFrontANewOneIsMade)
{
    SmartPtr<Window> closed = window.Get();
    tallow->CloseWindow(closed, 2);
    ASSERT_EQ(tallow->NumWindows(), 1u);
    tallow->OpenDocument(Page("A"), false, false);
    ASSERT_EQ(tallow->NumWindows(), 2u);
    window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
    ASSERT_TRUE(window.Valid());
    EXPECT_NE(window.Get(), closed.Get());
    EXPECT_EQ(Title(), "Kim:A");
    tallow->NewDocument();
    EXPECT_EQ(tallow->NumWindows(), 2u);
    EXPECT_EQ(tallow->FindWindowForView().Get(), window.Get());
    EXPECT_EQ(Title(), "Untitled Page");
    EXPECT_EQ(History(), (std::vector<std::string> { "A.mvi" }));
}

} // namespace
