// A child's session through the real windows, with mouse clicks and the screen read back at each
// step: a background chosen from the Backgrounds tab lands on the page, the playing set starts
// the page, back asks to save the changed page and shows the one before, still playing, and
// forward brings the saved page back with its background.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "../TallowAppFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace driver = pw::platform::testing;

// Standard colour 7.
constexpr int kRed = 7;

class PageSessionTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        std::filesystem::remove_all(driver::HostPath("plume/Backgrounds"));
        driver::MakeHostFolder("plume/Backgrounds");
        PutRedPage();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(driver::HostPath("plume/Backgrounds"));
        PageWindowFixture::TearDown();
    }

    // Backgrounds holds one page: a red picture of 100 x 80.
    void PutRedPage()
    {
        FileReference startup = FileReference::StartupFolder();
        SmartPtr<FileReference> folder = FileReference::FileReferenceInFolder(startup, String("Backgrounds"), false);
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
            tallow->GetDocumentTypes()->GetFileType(), tallow->GetCreator(), *folder.Get(), String("Red"), true);
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 100, 80));
        SmartPtr<OffScreen> picture = new OffScreen(100, 80, 8, Color(0), true);
        {
            DisplayPort port(*picture.Get(), picture->GetBounds(), 0);
            port.DrawRectangle(picture->GetBounds(), Color(kRed), Color(kRed), 1);
        }
        group->AddMovieAsSprite(0, group->NumFrames(),
            new CMoviePic(new CResource(SmartPtr<Persistent>(picture->GetBitMap().Get()), true), true));
        SmartPtr<CShow> show = new CShow(group.Get());
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
    }

    // The colour letter at the middle of the page.
    char PageMiddle()
    {
        Point middle = window->GetPagePane()->GetBounds().Center();
        return ShownRow(window->GetFrame()->GetOSWindow(), middle.v, middle.h, middle.h + 1)[0];
    }
};

TEST_F(PageSessionTest, ABackgroundFromItsTabPlaysAndSurvivesBackAndForward)
{
    window->OpenPage(Page("First"));
    window->OpenPage(Page("Second"));
    ASSERT_EQ(Title(), "Kim:Second");
    EXPECT_EQ(PageMiddle(), 'w');

    ClickTab(9);
    auto* browserPane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
    ASSERT_NE(browserPane, nullptr) << "the Backgrounds browser lies over the page";
    SmartPtr<CBrowser> browser = browserPane->GetBrowser();
    ASSERT_EQ(browser->NumEntries(), 1u);
    driver::RunFor(2000);
    ClickWindow(window.Get(), browser->CellRect(1).Center());
    EXPECT_FALSE(window->GetBrowserPane().Valid()) << "a chosen background shows the page again";
    EXPECT_EQ(window->GetTabs()->GetTabPalette(1)->GetSelectedTool(), 8);
    EXPECT_EQ(PageMiddle(), 'r') << "the red background in the middle of the page";
    EXPECT_TRUE(window->IsModified()) << "the import is a change to save";
    EXPECT_FALSE(GetCapture()) << "the page window does not keep the mouse";

    ClickSelector(32);
    EXPECT_EQ(window->GetTabs()->GetCurrentSet(), 4);
    EXPECT_TRUE(window->GetPagePane()->IsPlaying());
    EXPECT_EQ(PageMiddle(), 'r');

    driver::ScriptMessageBoxes({ IDYES });
    ClickTab(24);
    EXPECT_EQ(driver::AlertLog().size(), 1u) << "the changed page asks to be saved";
    EXPECT_EQ(Title(), "Kim:First");
    EXPECT_TRUE(window->GetPagePane()->IsPlaying()) << "the page before plays too";
    EXPECT_EQ(PageMiddle(), 'w');

    ClickTab(25);
    EXPECT_EQ(Title(), "Kim:Second");
    EXPECT_TRUE(window->GetPagePane()->IsPlaying());
    EXPECT_EQ(PageMiddle(), 'r') << "the saved background came back";
    EXPECT_TRUE(std::filesystem::exists(driver::HostPath("plume/Projects/Kim/HTML/Second.htm")))
        << "the save exported the page";
}

} // namespace
