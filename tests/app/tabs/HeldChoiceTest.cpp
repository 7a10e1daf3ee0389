// What the child chooses in a tab to give a picture (a page, a web or mail address, a sound) goes
// where the child chose it, once: onto the selected picture at once, or with none selected onto
// the next picture pressed on the same page. A choice held for a press ends when it is placed,
// when another page is shown and when the page plays; a choice that could not be made holds
// nothing. Driven through the real windows with mouse clicks, on pages whose pictures each lead
// to a page of their own.
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "engine/CHAApp.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "export/LinkHREF.h"
#include "graphics/Sound.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace apptest;
namespace fs = std::filesystem;
using pw::foundation::TextOf;

constexpr const char* kZoo = "https://nationalzoo.si.edu/";
// The pages' size: their pictures lie in the middle, clear of the windows that the tabs open at
// the page's edges. A place on neither picture.
constexpr Point kPageSize(400, 300);
constexpr Point kNothing(100, 100);

class HeldChoiceTest : public PageWindowFixture {
protected:
    void SetUp() override
    {
        // As the program starts: the tools window follows the page pane.
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
        for (const char* folder : { "Pictures", "CoolSites" }) {
            fs::remove_all(driver::HostPath(std::string("plume/") + folder));
            driver::MakeHostFolder(std::string("plume/") + folder);
        }
        fs::copy_file(fs::path(PW_DATA_DIR) / "Pictures" / "Cat.mvi", driver::HostPath("plume/Pictures/Cat.mvi"));
        fs::copy_file(
            fs::path(PW_DATA_DIR) / "CoolSites" / "National Zoo.mvi", driver::HostPath("plume/CoolSites/National Zoo.mvi"));
        // A recording made is a sound of its own, as the microphone gives one.
        pw::graphics::SetRecordingDialogRunner([](App&) { return SmartPtr<Sound>(new Sound); });
        for (const char* name : { "Cats", "Fun" })
            pages[name] = Page(name);
    }
    void TearDown() override
    {
        for (const char* folder : { "Pictures", "CoolSites" })
            fs::remove_all(driver::HostPath(std::string("plume/") + folder));
        pw::graphics::SetRecordingDialogRunner(&pw::ui::RunSoundDialog);
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    // Stores a page of the project named `name` with two pictures of 60 x 40, the second over the
    // first's lower right corner, leading to "Cats" and "Fun".
    SmartPtr<FileReference> StorePage(const std::string& name)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kPageSize.h, kPageSize.v));
        const char* leads[] = { "Cats", "Fun" };
        for (int16_t index = 0; index < 2; ++index) {
            AddRedPicture(*group.Get(), 60, 40);
            CSprite* picture = group->GetSprite(index);
            picture->OffsetPath(int16_t(index * 25), int16_t(index * 25));
            SmartPtr<CLink> link = new CLink;
            link->SetJumpMovie(new CJumpMovie(pages[leads[index]], true));
            picture->SetLink(0, 1, link.Get());
        }
        SmartPtr<CShow> show = new CShow(group.Get());
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(tallow->GetDocumentTypes()->GetFileType(),
            tallow->GetCreator(), *tallow->GetProject().GetFolder().Get(), String(name.c_str()), true);
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
        return file;
    }
    // Shows that page in the window.
    void ShowPage(const std::string& name)
    {
        window->OpenPage(StorePage(name));
        ASSERT_EQ(Title(), "Kim:" + name);
        // The page itself, without a browser over it.
        ClickSelector(kLinksSet);
        Rect first(0, 0, 0, 0);
        Rect second(0, 0, 0, 0);
        Picture(0)->GetFrameBounds(0, &first, nullptr);
        Picture(1)->GetFrameBounds(0, &second, nullptr);
        onFirst = Point(first.left + 8, first.top + 8);
        onSecond = Point(second.right - 8, second.bottom - 8);
    }
    CSprite* Picture(int16_t index) const { return Pane()->GetGroup()->GetSprite(index); }
    // What the picture gives when clicked: the page its link leads to or the link's address, and
    // "sound" when it plays one.
    std::string Gives(int16_t index) const
    {
        std::string gives;
        if (CLink* link = Picture(index)->LinkAtFrame(0)) {
            auto* href = SmartCast<LinkHREF>(link->GetHREF().Get());
            gives = href ? TextOf(href->GetHREF())
                : link->GetJumpMovie().Valid() ? TextOf(link->GetJumpMovie()->GetBaseName())
                                                : "?";
        }
        if (Picture(index)->SoundAtFrame(0))
            gives += gives.empty() ? "sound" : " sound";
        return gives;
    }

    void MailLink(const std::string& address)
    {
        ClickSelector(kPaintSoundSet);
        AnswerNameDialogs(address + "\n");
        ClickTab(kMailLinkTab);
    }
    void Record()
    {
        ClickSelector(kPaintSoundSet);
        ClickTab(kRecordTab);
    }
    void Browse(int16_t set, int16_t tab, const std::string& entry)
    {
        ClickSelector(set);
        ClickTab(tab);
        ClickEntry(entry);
    }
    void ChooseMenu(const std::string& title) { EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand(title))); }

    std::map<std::string, SmartPtr<FileReference>> pages;
    // Where each picture of the page shown lies alone.
    Point onFirst { 0, 0 };
    Point onSecond { 0, 0 };
};

// E-Mail, Record and Cool Sites: with a picture selected the choice goes onto it at once, and the
// picture pressed next is only selected, keeping its own link; with nothing selected the choice
// waits for the next press, which gives it to the picture pressed. A press gives a sound in place
// of the picture's link.
TEST_F(HeldChoiceTest, AChoiceGoesOntoTheSelectedPictureElseOntoThePicturePressedNext)
{
    const struct {
        const char* name;
        std::function<void()> choose;
        std::string gives;
    } cases[] = {
        { "E-Mail", [&] { MailLink("mailto:kim@example.com"); }, "mailto:kim@example.com" },
        { "Record", [&] { Record(); }, "sound" },
        { "Cool Sites", [&] { Browse(kLinksSet, kCoolSitesTab, "National Zoo.mvi"); }, kZoo },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShowPage(std::string("Home") + c.name[0]);
        ClickPage(onFirst);
        c.choose();
        EXPECT_EQ(Gives(0), c.gives) << "the selected picture, at once";
        EXPECT_EQ(Gives(1), "Fun");
        ClickPage(onSecond);
        EXPECT_EQ(Gives(1), "Fun") << "the picture pressed after the choice went on";
        EXPECT_EQ(Selected(), Picture(1)) << "only selected";

        ClickPage(kNothing);
        c.choose();
        EXPECT_EQ(Gives(1), "Fun") << "nothing selected took it";
        ClickPage(onSecond);
        EXPECT_EQ(Gives(1), c.gives) << "the picture pressed next";
        EXPECT_EQ(Gives(0), c.gives);
        EXPECT_EQ(Pane()->GetGroup()->NumSprites(), 2u);
    }
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
}

// A choice held with nothing selected ends when Edit > Paste places it, when another page is
// shown and when the page plays: a picture pressed afterwards keeps its link and no picture is
// placed over it.
TEST_F(HeldChoiceTest, AHeldChoiceEndsWhenPastedWhenThePageChangesOrWhenItPlays)
{
    const struct {
        const char* name;
        std::function<void()> choose;
        std::function<void()> then;
        uint32_t placed;
    } cases[] = {
        { "a page, pasted", [&] { Browse(kLinksSet, kLinkToPageTab, "Cats.mvi"); }, [&] { ChooseMenu("Paste"); }, 1 },
        { "a sound, another page", [&] { Record(); }, [&] { Browse(kPagesSet, kMyPagesTab, "Other.mvi"); }, 0 },
        { "a picture, another page", [&] { Browse(kPicturesSet, kPicturesTab, "Cat.mvi"); },
            [&] { Browse(kPagesSet, kMyPagesTab, "Other.mvi"); }, 0 },
        { "a sound, played", [&] { Record(); },
            [&] {
                ClickSelector(kPlaySet);
                driver::RunFor(300);
                ClickSelector(kPaintSoundSet);
            },
            0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StorePage("Other");
        ShowPage(std::string("Home ") + c.name);
        ClickPage(kNothing);
        c.choose();
        c.then();
        EXPECT_EQ(Pane()->GetGroup()->NumSprites(), 2 + c.placed);
        ClickPage(onSecond);
        EXPECT_EQ(Gives(1), "Fun") << "the picture pressed afterwards";
        EXPECT_EQ(Selected(), Picture(1)) << "only selected";
        EXPECT_EQ(Pane()->GetGroup()->NumSprites(), 2 + c.placed) << "nothing placed over it";
    }
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
}

// A link that cannot be made, from a damaged page in Link Page or a damaged file of Cool Sites,
// leaves the tool as it was while the clipboard still holds the button of a page placed before:
// the picture pressed next keeps its link.
TEST_F(HeldChoiceTest, ALinkThatCannotBeMadeHoldsNothingForTheNextPress)
{
    const struct {
        const char* name;
        std::string file;
        int16_t tab; // of the Links row
        std::vector<int> answers; // keep the damaged file, then any alert of the link
    } cases[] = {
        { "Link Page", "plume/Projects/Kim/Broken.mvi", kLinkToPageTab, { IDCANCEL, IDOK } },
        { "Cool Sites", "plume/CoolSites/Broken.mvi", kCoolSitesTab, { IDCANCEL } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShowPage("Home");
        ClickPage(kNothing);
        Browse(kLinksSet, kLinkToPageTab, "Cats.mvi");
        ClickPage(kNothing);
        ASSERT_EQ(Pane()->GetGroup()->NumSprites(), 3u) << "Cats' button placed";

        StorePage("Whole");
        fs::copy_file(driver::HostPath("plume/Projects/Kim/Whole.mvi"), driver::HostPath(c.file));
        fs::resize_file(driver::HostPath(c.file), fs::file_size(driver::HostPath(c.file)) / 2);
        for (int answer : c.answers)
            driver::ScriptMessageBoxes({ answer });
        size_t alerts = driver::AlertLog().size();
        Browse(kLinksSet, c.tab, "Broken.mvi");
        EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);
        EXPECT_EQ(driver::AlertLog().size(), alerts + c.answers.size());
        ClickPage(onSecond);
        EXPECT_EQ(Gives(1), "Fun") << "the picture pressed next";
        EXPECT_EQ(Pane()->GetGroup()->NumSprites(), 3u);
        fs::remove(driver::HostPath(c.file));
    }
}

} // namespace
