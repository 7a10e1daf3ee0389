// A child's session through the real windows, with mouse clicks and the screen read back at each
// step: a background chosen from the Backgrounds tab lands on the page, the playing set starts
// the page, back asks to save the changed page and shows the one before, still playing, and
// forward brings the saved page back with its background. A damaged page in My Pages is asked
// about once per browser and kept on every way of saying no. The Pictures tab keeps its previews
// on a full disk.
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
#include "platform/user/menus/MenuTesting.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;

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
        apptest::AddRedPicture(*group.Get(), 100, 80);
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
    ClickOnlyEntry();
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

// A truncated page in the project's folder: My Pages asks once whether to delete it; no (the
// Cancel button, Esc or the box's close box) keeps the file with a blank picture however often the
// browser draws again, and only a new browser asks again; OK deletes it.
TEST_F(PageSessionTest, ADamagedPageInMyPagesIsAskedAboutOncePerBrowser)
{
    const std::string question = "File Broken.mvi is corrupt!\nDo you wish to Delete it now?";
    Page("Home");
    Page("Broken");
    std::filesystem::path broken = driver::HostPath("plume/Projects/Kim/Broken.mvi");
    std::filesystem::resize_file(broken, std::filesystem::file_size(broken) / 2);
    ClickSelector(28);
    pw::platform::testing::ShowDialogs(true);

    // The shown box: the window of its OK button.
    auto box = [] {
        HWND ok = driver::FindWindowByTitle("OK");
        return ok ? GetParent(ok) : nullptr;
    };
    auto click = [](HWND button) {
        RECT r;
        GetWindowRect(button, &r);
        driver::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    const struct {
        const char* name;
        std::function<void(HWND)> answer;
        bool deleted;
    } cases[] = {
        { "Cancel", [&](HWND) { click(driver::FindWindowByTitle("Cancel")); }, false },
        { "Esc", [](HWND) { driver::TypeKey(VK_ESCAPE); }, false },
        { "the close box", [](HWND shown) { driver::ClickCloseBox(shown); }, false },
        { "OK", [&](HWND) { click(driver::FindWindowByTitle("OK")); }, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool answered = false;
        driver::SetIdleHandler([&] {
            HWND shown = box();
            if (answered || !shown)
                return false;
            answered = true;
            c.answer(shown);
            return true;
        });
        size_t before = driver::AlertLog().size();
        ClickTab(4);
        auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(pane, nullptr) << "My Pages shows the project's pages";
        SmartPtr<CBrowser> browser = pane->GetBrowser();
        driver::RunFor(2000);
        // Drawn again, as a scroll or an uncovered window draws it.
        browser->InvalidateView(false);
        driver::RunFor(2000);
        driver::SetIdleHandler(nullptr);
        ASSERT_EQ(driver::AlertLog().size(), before + 1) << "one question";
        EXPECT_EQ(driver::AlertLog().back().text, question);
        EXPECT_EQ(driver::AlertLog().back().answer, c.deleted ? IDOK : IDCANCEL);
        EXPECT_EQ(std::filesystem::exists(broken), !c.deleted);
        EXPECT_EQ(browser->NumEntries(), c.deleted ? 1u : 2u);
        EXPECT_EQ(box(), nullptr) << "no box is left up";
        ClickTab(3);
    }
    pw::platform::testing::ShowDialogs(false);
}

// The Pictures tab's previews on a disk that fills up: the previews of a folder the child leaves
// are not saved (no preview file is left empty, an old one keeps its bytes, no temporary file is
// left), every entry shows its own name and picture throughout, and a preview file that cannot be
// read is made again from the folder.
TEST_F(PageSessionTest, PicturesKeepTheirPreviewsOnAFullDisk)
{
    namespace fs = std::filesystem;
    fs::remove_all(driver::HostPath("plume/Pictures"));
    driver::MakeHostFolder("plume/Pictures");
    auto put = [](const char* name) {
        fs::copy_file(fs::path(PW_DATA_DIR) / "Pictures" / (std::string(name) + ".mvi"),
            driver::HostPath(std::string("plume/Pictures/") + name + ".mvi"));
    };
    for (const char* name : { "Cat", "Fish", "Star" })
        put(name);
    Page("Home");
    // Browses the Pictures tab, then My Pages: leaving Pictures saves its previews.
    auto browse = [&](const std::vector<std::string>& pictures) {
        for (int16_t set : { apptest::kPicturesSet, apptest::kPagesSet }) {
            ClickSelector(set);
            ClickTab(set == apptest::kPagesSet ? apptest::kMyPagesTab : apptest::kPicturesTab);
            driver::RunFor(2000);
            SmartPtr<CBrowser> browser = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get())->GetBrowser();
            std::vector<std::string> names = set == apptest::kPagesSet ? std::vector<std::string> { "Home" } : pictures;
            ASSERT_EQ(browser->NumEntries(), names.size());
            pw::platform::Frame shown = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
            for (uint32_t i = 1; i <= names.size(); ++i) {
                SCOPED_TRACE(names[i - 1]);
                ASSERT_TRUE(browser->GetEntry(i).Valid()) << "the entry lost its file";
                EXPECT_EQ(pw::foundation::TextOf(browser->GetEntry(i)->Name()), names[i - 1] + ".mvi");
                Rect cell = browser->CellRect(i);
                std::set<uint8_t> colours;
                for (int32_t v = cell.top; v < cell.bottom; ++v)
                    for (int32_t h = cell.left; h < cell.right; ++h)
                        colours.insert(shown.At(h, v));
                // Home is an empty page: only the pictures have more than one colour.
                EXPECT_EQ(colours.size() > 2, set == apptest::kPicturesSet) << "the cell shows its picture";
            }
        }
        for (const auto& entry : fs::directory_iterator(driver::HostPath("plume/Pictures")))
            EXPECT_NE(entry.path().extension(), ".tmp") << "a temporary file is left";
    };
    const fs::path previews = driver::HostPath("plume/Pictures/_preview.pre");
    driver::SetDiskSpaceLeft(0);
    browse({ "Cat", "Fish", "Star" });
    EXPECT_FALSE(fs::exists(previews));
    driver::SetDiskSpaceLeft(std::nullopt);
    browse({ "Cat", "Fish", "Star" });
    const std::string saved = driver::ReadHostFile("plume/Pictures/_preview.pre");
    ASSERT_FALSE(saved.empty());

    put("Sun");
    driver::SetDiskSpaceLeft(saved.size());
    browse({ "Cat", "Fish", "Star", "Sun" });
    driver::SetDiskSpaceLeft(std::nullopt);
    EXPECT_EQ(driver::ReadHostFile("plume/Pictures/_preview.pre"), saved);

    fs::resize_file(previews, 0);
    browse({ "Cat", "Fish", "Star", "Sun" });
    EXPECT_GT(fs::file_size(previews), saved.size()) << "made again with the Sun";
    EXPECT_TRUE(driver::AlertLog().empty());
    fs::remove_all(driver::HostPath("plume/Pictures"));
}

} // namespace
