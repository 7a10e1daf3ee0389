// The page window: titles from the page file, the size it opens at, the browsing history with
// back, forward and home, a playing page kept playing across a page change, and a refused save
// question that leaves everything as it was.
#include "app/TallowWindow.h"

#include "app/tabs/TallowTabs.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "foundation/String.h"
#include "ui/WindowFrame.h"

#include "TallowAppFixture.h"
#include "platform/comdlg/ComdlgTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;

using TallowWindowTest = apptest::PageWindowFixture;

std::vector<std::string> History(const TallowWindow& window)
{
    std::vector<std::string> names;
    for (const SmartPtr<FileReference>& file : window.GetHistory())
        names.push_back(TextOf(file->Name()));
    return names;
}

// Whether the title drawn in the window's caption ends in dots: the pixels of the title nearest
// the close box are at most 3 rows high.
bool CaptionEndsInDots(HWND hwnd)
{
    driver::RunUntilIdle();
    POINT box = driver::CloseBoxPoint(hwnd);
    RECT outer {};
    GetWindowRect(hwnd, &outer);
    pw::platform::Frame screen = driver::ReadDesktop();
    // The close box is 15 pixels wide; the column just left of it is the caption's own colour.
    int32_t boxLeft = box.x - 7;
    uint8_t band = screen.At(boxLeft - 1, box.y);
    int32_t right = 0;
    for (int32_t h = outer.left; h < boxLeft; ++h)
        for (int32_t v = box.y - 7; v <= box.y + 7; ++v)
            if (screen.At(h, v) != band)
                right = h;
    EXPECT_LT(right, boxLeft - 2) << "the title keeps clear of the close box";
    int32_t top = box.y + 7;
    int32_t bottom = box.y - 7;
    for (int32_t h = right - 7; h <= right; ++h)
        for (int32_t v = box.y - 7; v <= box.y + 7; ++v)
            if (screen.At(h, v) != band) {
                top = std::min(top, v);
                bottom = std::max(bottom, v);
            }
    return bottom - top < 3;
}

TEST_F(TallowWindowTest, TitlesNameTheFolderAndThePageWithoutExtensions)
{
    EXPECT_EQ(Title(), "Untitled Page") << "a new page has no file";
    // Saved under a name the child gives, the page shows it; a copy saved elsewhere does not.
    driver::ScriptFileDialog("Home");
    window->Save(DocWindow::kSave);
    EXPECT_EQ(Title(), "Kim:Home");
    driver::ScriptFileDialog("Copy");
    window->Save(DocWindow::kSaveCopy);
    EXPECT_EQ(Title(), "Kim:Home");
    window->OpenPage(Page("index"));
    EXPECT_EQ(Title(), "Kim:index");
    window->OpenPage(Page("My.Page"));
    EXPECT_EQ(Title(), "Kim:My.Page") << "only the extension goes";
    HWND hwnd = window->GetFrame()->GetOSWindow();
    EXPECT_FALSE(CaptionEndsInDots(hwnd)) << "a title that fits shows whole";

    // A title too long for the caption ends in dots before the close box.
    const std::string name = "Our beach page with a very very long name that goes on and on and on";
    window->OpenPage(Page(name));
    EXPECT_EQ(Title(), "Kim:" + name);
    EXPECT_TRUE(CaptionEndsInDots(hwnd));
}

TEST_F(TallowWindowTest, OpensAtTheDefaultPageSizeBelowItsTabs)
{
    int32_t tabsHeight = window->GetTabs()->GetBounds().Size().v;
    EXPECT_EQ(tabsHeight, 50) << "the strip is as tall as its tab pictures";
    EXPECT_EQ(window->GetFrame()->GetContentBounds().Size(), Point(477, 337 + tabsHeight));
    EXPECT_EQ(window->GetTabs()->GetBounds().TopLeft(), Point(0, 0));
    Rect document = window->GetDocumentView()->GetBounds();
    EXPECT_EQ(document, Rect(0, tabsHeight, 477, 337 + tabsHeight));
    ASSERT_NE(window->GetPagePane(), nullptr);
    EXPECT_EQ(window->GetPagePane()->GetBounds(), document) << "the page fills the view";
}

// Each step opens a page by name, makes a new page ('+'), goes back ('<') or forward ('>'); then
// the page shown.
TEST_F(TallowWindowTest, BackAndForwardWalkTheHistoryAndANewPageDropsTheForwardOnes)
{
    struct Step {
        const char* action;
        const char* shown;
    };
    const Step steps[] = {
        { "A", "A" },
        { "B", "B" },
        { "C", "C" },
        { "<", "B" },
        { ">", "C" },
        { ">", "C" }, // the last page: nothing
        { "<", "B" },
        { "D", "D" }, // C leaves the history
        { "<", "B" },
        { ">", "D" },
        { "<", "B" },
        { "<", "A" },
        { "<", "A" }, // the first page: nothing
        { "D", "D" }, // already recorded: not appended again
        { "<", "B" }, // the entry before D
        { "+", "Untitled Page" },
        { "<", "B" }, // the page left for the new one
        { "+", "Untitled Page" },
        { ">", "Untitled Page" }, // nothing after a new page
        { "<", "B" },
        { ">", "D" },
    };
    std::map<std::string, SmartPtr<FileReference>> pages;
    for (const char* name : { "A", "B", "C", "D" })
        pages[name] = Page(name);
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("step ") + step.action + " shows " + step.shown);
        if (step.action[0] == '<')
            window->Navigate(TallowWindow::kBack);
        else if (step.action[0] == '>')
            window->Navigate(TallowWindow::kForward);
        else if (step.action[0] == '+')
            tallow->NewDocument();
        else
            window->OpenPage(new FileReference(*pages[step.action].Get()));
        std::string shown = step.shown;
        EXPECT_EQ(Title(), shown == "Untitled Page" ? shown : "Kim:" + shown);
    }
    EXPECT_EQ(History(*window.Get()), (std::vector<std::string> { "A.mvi", "B.mvi", "D.mvi" }));
}

TEST_F(TallowWindowTest, HomeMakesTheProjectsIndexOnceAndShowsIt)
{
    std::filesystem::path index = driver::HostPath("plume/Projects/Kim/index.mvi");
    window->Navigate(TallowWindow::kHome);
    EXPECT_EQ(Title(), "Kim:index");
    ASSERT_TRUE(std::filesystem::exists(index));
    EXPECT_TRUE(std::filesystem::exists(driver::HostPath("plume/Projects/Kim/HTML/index.htm")))
        << "the new home page is exported";
    auto written = std::filesystem::last_write_time(index);
    auto size = std::filesystem::file_size(index);

    window->OpenPage(Page("Other"));
    window->Navigate(TallowWindow::kHome);
    EXPECT_EQ(Title(), "Kim:index");
    EXPECT_EQ(std::filesystem::last_write_time(index), written) << "an existing home page is left alone";
    EXPECT_EQ(std::filesystem::file_size(index), size);
}

TEST_F(TallowWindowTest, APlayingPageLeavesTheNextPagePlaying)
{
    window->OpenPage(Page("A"));
    CHAPane* first = window->GetPagePane();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->IsPlaying());
    first->DoCommand(TallowWindow::kPlayCommand, 0);
    ASSERT_TRUE(first->IsPlaying());
    window->OpenPage(Page("B"));
    CHAPane* second = window->GetPagePane();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_TRUE(second->IsPlaying());

    second->GetPlayer()->Stop();
    window->Navigate(TallowWindow::kBack);
    ASSERT_NE(window->GetPagePane(), nullptr);
    EXPECT_FALSE(window->GetPagePane()->IsPlaying()) << "a stopped page leaves the next one stopped";
}

// Back and forward open pages as the Open command does: through the same page model as a page
// opened from the menu; a history file whose root has become another kind of object shows the
// corrupt-file message and leaves the page shown and the history as they were.
TEST_F(TallowWindowTest, HistoryOpensPagesAsTheOpenCommandDoes)
{
    auto shown = [&] { return SmartCast<CShow>(window->GetData()->Get()); };
    SmartPtr<FileReference> a = Page("A");
    SmartPtr<FileReference> b = Page("B");
    tallow->OpenDocument(new FileReference(*a.Get()), false, false);
    ASSERT_EQ(Title(), "Kim:A");
    int16_t fromMenu = shown()->GetFrameRate();
    window->OpenPage(new FileReference(*b.Get()));
    window->Navigate(TallowWindow::kBack);
    ASSERT_EQ(Title(), "Kim:A");
    EXPECT_EQ(shown()->GetFrameRate(), fromMenu);
    window->Navigate(TallowWindow::kForward);
    EXPECT_EQ(shown()->GetFrameRate(), fromMenu);

    SmartPtr<CMovieGroup> movie = new CMovieGroup(Rect(0, 0, 40, 30));
    tallow->App::OpenScribe(a, 3)->Write(movie.Get());
    CShow* before = shown();
    driver::ScriptMessageBoxes({ IDOK });
    window->Navigate(TallowWindow::kBack);
    EXPECT_EQ(Title(), "Kim:B");
    EXPECT_EQ(shown(), before);
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text.rfind("This file is corrupt or in an obsolete format.", 0), 0u)
        << driver::AlertLog()[0].text;
    EXPECT_EQ(History(*window.Get()), (std::vector<std::string> { "A.mvi", "B.mvi" }));
}

TEST_F(TallowWindowTest, ACancelledSaveQuestionOrAnUnknownNumberChangesNothing)
{
    window->OpenPage(Page("A"));
    window->OpenPage(Page("B"));
    window->WindowChanged(nullptr);
    ASSERT_TRUE(window->IsModified());
    driver::ScriptMessageBoxes({ IDCANCEL });
    window->Navigate(TallowWindow::kBack);
    EXPECT_EQ(Title(), "Kim:B");
    EXPECT_TRUE(window->IsModified());
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_NE(driver::AlertLog()[0].text.find("Kim:B"), std::string::npos) << driver::AlertLog()[0].text;

    driver::ScriptMessageBoxes({ IDOK });
    window->Navigate(3);
    EXPECT_EQ(Title(), "Kim:B");
    ASSERT_EQ(driver::AlertLog().size(), 2u);
    EXPECT_NE(driver::AlertLog()[1].text.find("Not implemented."), std::string::npos) << driver::AlertLog()[1].text;
}

// Back and Forward with no page to go to ask nothing, even about a changed page, and change nothing.
TEST_F(TallowWindowTest, BackAndForwardWithNowhereToGoAskNothing)
{
    window->OpenPage(Page("A"));
    window->WindowChanged(nullptr);
    ASSERT_TRUE(window->IsModified());
    window->Navigate(TallowWindow::kBack);
    window->Navigate(TallowWindow::kForward);
    EXPECT_EQ(Title(), "Kim:A");
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(driver::AlertLog().empty());
}

} // namespace
