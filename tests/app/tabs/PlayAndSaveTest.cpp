// A child's pages played and saved through the real windows, with mouse clicks on the tab-set
// selector, the tabs, the browsers and the page: a shipped sample moves when the play row is
// chosen, a page plays at the rate stored with it and keeps that rate when saved, a picture linked
// to another page opens that page when clicked while playing and back returns, a page picked in
// Link Page goes onto one picture only, a page with such a link opens and saves again after a
// restart without asking for the linked page, a page edited through the Edit menu asks to be saved
// when closed, the child's pages are saved into the project, each offered a name no page there has
// yet and leaving no temporary file beside it, and a read-only page opens, plays and is saved
// elsewhere.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CSprite.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;
namespace fs = std::filesystem;
using pw::foundation::TextOf;


std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

class PlayAndSaveTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
        fs::remove_all(driver::HostPath("plume/Samples"));
        driver::MakeHostFolder("plume/Samples");
    }
    void TearDown() override
    {
        fs::remove_all(driver::HostPath("plume/Samples"));
        PageWindowFixture::TearDown();
    }

    // A page of the project with `frames` frames at `rate` frames a second; `boxes` red pictures of
    // 60 x 40 show in every frame, one over the other, each moved by `step` from the one before.
    SmartPtr<FileReference> StorePage(
        const std::string& name, int16_t frames, int16_t rate, int boxes, Point step = Point(0, 0))
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 120, 90));
        if (frames > 1)
            group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
        for (int box = 0; box < boxes; ++box) {
            apptest::AddRedPicture(*group.Get(), 60, 40);
            group->GetSprite(static_cast<int16_t>(box))
                ->OffsetPath(static_cast<int16_t>(box * step.h), static_cast<int16_t>(box * step.v));
        }
        SmartPtr<CShow> show = new CShow(group.Get());
        show->SetFrameRate(rate);
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(tallow->GetDocumentTypes()->GetFileType(),
            tallow->GetCreator(), *tallow->GetProject().GetFolder().Get(), String(name.c_str()), true);
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
        return file;
    }
    // The shipped sample page, put into the start-up folder's "Samples".
    static void PutSample(const std::string& name)
    {
        fs::copy_file(
            fs::path(PW_DATA_DIR) / "Samples" / (name + ".mvi"), driver::HostPath("plume/Samples/" + name + ".mvi"));
    }
    // The page file as stored now: the show it holds (closed by the caller), or none.
    SmartPtr<CShow> Stored(const SmartPtr<FileReference>& file)
    {
        SmartPtr<Smart> read = tallow->App::OpenScribe(file, 1)->Read();
        return SmartCast<CShow>(read.Get());
    }

    // Opens the tab's browser and clicks the entry of that file name (any case); `listed` runs
    // once the browser shows its entries.
    void ClickEntry(int16_t tab, const std::string& name, const std::function<void()>& listed = {})
    {
        ClickTab(tab);
        auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(pane, nullptr) << "tab " << tab << " shows a browser";
        SmartPtr<CBrowser> browser = pane->GetBrowser();
        driver::RunFor(2000);
        if (listed)
            listed();
        for (uint32_t i = 1; i <= browser->NumEntries(); ++i) {
            SmartPtr<FileReference> entry = browser->GetEntry(i);
            if (entry.Valid() && Lower(TextOf(entry->Name())) == Lower(name)) {
                ClickWindow(window.Get(), browser->CellRect(i).Center());
                return;
            }
        }
        ADD_FAILURE() << "no entry " << name;
    }
    CMovieGroup& Group() { return *SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get()); }
    // Where the page's picture lies in its first frame.
    Rect PicturePlace(int16_t index)
    {
        Rect bounds(0, 0, 0, 0);
        Group().GetSprite(index)->GetFrameBounds(0, &bounds, nullptr);
        return bounds;
    }
    // The middle of the page's first picture in its first frame.
    Point PictureMiddle() { return PicturePlace(0).Center(); }
    // The name of the page the picture leads to in its first frame; empty for none.
    std::string LinkedPage(int16_t index)
    {
        CLink* link = Group().GetSprite(index)->LinkAtFrame(0);
        if (!link || !link->GetJumpMovie().Valid())
            return std::string();
        return TextOf(link->GetJumpMovie()->GetBaseName());
    }
    CPlayer& Player() { return *window->GetPagePane()->GetShow().GetPlayer(); }
    void ChooseMenu(const std::string& title)
    {
        EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand(title)));
    }
    // The path the last file dialog handed back, in lower case.
    static std::string LastChosen()
    {
        return driver::FileDialogLog().empty() ? std::string() : Lower(driver::FileDialogLog().back().chosen);
    }
    std::string InProject(const std::string& name) const
    {
        return Lower(std::string(tallow->GetProject().GetFolder()->Path()) + "\\" + name);
    }
};

TEST_F(PlayAndSaveTest, ASampleOpenedFromItsTabMovesOnThePlayRow)
{
    PutSample("Balloon Ride");
    ClickSelector(kPagesSet);
    ClickEntry(kSamplesTab, "Balloon Ride.mvi");
    ASSERT_EQ(SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get())->NumFrames(), 60)
        << "the sample shows in the page window";
    ClickSelector(kPlaySet);
    ASSERT_TRUE(window->GetPagePane()->IsPlaying());
    std::set<std::vector<uint8_t>> shown;
    for (int tenth = 0; tenth < 10; ++tenth) {
        driver::RunFor(100);
        shown.insert(driver::ReadClientArea(window->GetFrame()->GetOSWindow()).pixels);
    }
    EXPECT_GE(shown.size(), 3u) << "different pictures within a second of play";
    EXPECT_TRUE(driver::AlertLog().empty());
}

// Each page, opened from My Pages, plays on the play row for a second and is then saved: it moves
// on at its own rate (the default one when it was stored at 0; the first step waits for the
// playback's first tick, a quarter second in) and its file keeps the rate it had.
TEST_F(PlayAndSaveTest, APagePlaysAtItsStoredRateAndKeepsItWhenSaved)
{
    const struct {
        const char* name;
        int16_t stored;
        int frames; // moved on in a second
    } cases[] = { { "Still", 0, 15 }, { "Slow", 5, 5 }, { "Brisk", 20, 20 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<FileReference> file = StorePage(c.name, 60, c.stored, 1);
        ClickSelector(kPagesSet);
        ClickEntry(kMyPagesTab, std::string(c.name) + ".mvi");
        ASSERT_EQ(Title(), std::string("Kim:") + c.name);
        ClickSelector(kPlaySet);
        int16_t before = Player().GetFrame();
        driver::RunFor(1000);
        int moved = Player().GetFrame() - before;
        EXPECT_LE(moved, c.frames);
        EXPECT_GE(moved, c.frames * 3 / 5);
        ClickSelector(kPagesSet);
        EXPECT_FALSE(window->GetPagePane()->IsPlaying());
        ChooseMenu("Save");
        SmartPtr<CShow> stored = Stored(file);
        ASSERT_TRUE(stored.Valid());
        EXPECT_EQ(stored->GetFrameRate(), c.stored) << "the rate in the file";
        stored->Close();
    }
    EXPECT_TRUE(driver::AlertLog().empty());
}

// The picture takes a link to Second from the links set's page browser; played and clicked, it
// opens Second in the page window (after the changed Home is saved), which goes on playing, and
// back shows Home again.
TEST_F(PlayAndSaveTest, APictureLinkedToAPageOpensItWhilePlayingAndBackReturns)
{
    StorePage("Second", 1, 15, 0);
    window->OpenPage(StorePage("Home", 1, 15, 1));
    ClickSelector(kLinksSet);
    ClickEntry(kLinkToPageTab, "Second.mvi");
    ClickPage(PictureMiddle());
    auto* group = SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get());
    CLink* link = group->GetSprite(0)->LinkAtFrame(0);
    ASSERT_NE(link, nullptr) << "the picture took the link";
    ASSERT_TRUE(link->GetJumpMovie().Valid());

    ClickSelector(kPlaySet);
    ASSERT_TRUE(window->GetPagePane()->IsPlaying());
    driver::ScriptMessageBoxes({ IDYES });
    ClickPage(PictureMiddle());
    driver::RunFor(300);
    EXPECT_EQ(Title(), "Kim:Second");
    EXPECT_TRUE(window->GetPagePane()->IsPlaying()) << "the linked page plays too";
    ASSERT_EQ(driver::AlertLog().size(), 1u) << "only the save question for the changed Home";
    EXPECT_NE(driver::AlertLog()[0].text.find("Kim:Home"), std::string::npos) << driver::AlertLog()[0].text;

    ClickTab(kBackTab);
    EXPECT_EQ(Title(), "Kim:Home");
    EXPECT_EQ(driver::AlertLog().size(), 1u);
}

// The child clicks the picture, then picks a page in Link Page: the picture leads to that page at
// once, in play and in the saved export, and a later pick replaces the earlier one.
TEST_F(PlayAndSaveTest, APagePickedForTheClickedPictureIsItsLinkAtOnce)
{
    StorePage("Second", 1, 15, false);
    StorePage("Third", 1, 15, false);
    window->OpenPage(StorePage("Home", 1, 15, true));
    for (const std::string target : { "Second", "Third" }) {
        SCOPED_TRACE(target);
        ClickSelector(kLinksSet);
        ClickPage(PictureMiddle());
        ClickEntry(kLinkToPageTab, target + ".mvi");
        ChooseMenu("Save");
        std::string exported = driver::ReadHostFile("plume/Projects/Kim/HTML/Home.htm");
        EXPECT_NE(exported.find("HREF=\"" + target + ".htm\""), std::string::npos) << exported;
        ClickSelector(kPlaySet);
        ClickPage(PictureMiddle());
        driver::RunFor(300);
        EXPECT_EQ(Title(), "Kim:" + target);
        ClickTab(kBackTab);
        ASSERT_EQ(Title(), "Kim:Home");
    }
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
}

// A page picked in Link Page goes onto one picture only. With nothing selected it waits for the
// next press: the picture pressed takes it. With a picture selected that picture takes it at once,
// and the picture pressed next is only selected, keeping its own link. A New Page whose name the
// child cancels gives nothing: the picture pressed next keeps its link too.
TEST_F(PlayAndSaveTest, APagePickedInLinkPageGoesOntoOnePictureOnly)
{
    StorePage("Second", 1, 15, 0);
    StorePage("Third", 1, 15, 0);
    // Two pictures, the second over the first's lower right corner; each pressed where it lies alone.
    window->OpenPage(StorePage("Home", 1, 15, 2, Point(25, 25)));
    const Point first(PicturePlace(0).left + 8, PicturePlace(0).top + 8);
    const Point second(PicturePlace(1).right - 8, PicturePlace(1).bottom - 8);
    const Point nothing(PicturePlace(0).left / 2, second.v);
    ClickSelector(kLinksSet);

    ClickPage(nothing);
    ClickEntry(kLinkToPageTab, "Third.mvi");
    EXPECT_EQ(LinkedPage(1), "") << "nothing selected took the link";
    ClickPage(second);
    EXPECT_EQ(LinkedPage(1), "Third") << "the picture pressed next";
    EXPECT_EQ(LinkedPage(0), "");

    ClickPage(first);
    ClickEntry(kLinkToPageTab, "Second.mvi");
    EXPECT_EQ(LinkedPage(0), "Second") << "the selected picture, at once";
    ClickPage(second);
    EXPECT_EQ(LinkedPage(1), "Third") << "the picture pressed after a selected one took the link";
    ASSERT_EQ(window->GetPagePane()->GetSelectedSprites().NumItems(), 1u);
    EXPECT_EQ(window->GetPagePane()->GetSelectedSprites().Item(1), Group().GetSprite(1)) << "only selected";

    ClickPage(nothing);
    ClickTab(kLinkToPageTab);
    driver::RunFor(2000);
    auto* browserPane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
    ASSERT_NE(browserPane, nullptr);
    driver::ScriptFileDialogCancel();
    ClickWindow(window.Get(), browserPane->GetBrowser()->CellRect(1).Center());
    ClickPage(second);
    EXPECT_EQ(LinkedPage(1), "Third") << "the picture pressed after New Page was cancelled";
    EXPECT_EQ(LinkedPage(0), "Second");
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
}

// Second is deleted while Home, whose picture links to it, is shown. Every way to Second then
// asks the child to find it, with no program error, and a cancel leaves Home where it was (playing
// when it played): the link clicked while Home plays, Back, My Pages listing Second from before,
// and the link after a restart (Home saves again without asking, its export still linking to
// Second). Found as Third at last, Third opens and plays.
TEST_F(PlayAndSaveTest, AWayToADeletedPageAsksForItAndThePageStaysAsItWas)
{
    SmartPtr<FileReference> second = StorePage("Second", 1, 15, 0);
    SmartPtr<FileReference> third = StorePage("Third", 1, 15, 0);
    SmartPtr<FileReference> home = StorePage("Home", 1, 15, 1);
    window->OpenPage(second);
    window->OpenPage(home);
    ClickSelector(kLinksSet);
    ClickEntry(kLinkToPageTab, "Second.mvi");
    ClickPage(PictureMiddle());
    ChooseMenu("Save");
    const std::string question = "The file I'm reading refers to the file or folder called \"Second\", which I "
                                 "can't find.  Could you locate it ?";
    auto playAndClick = [&] {
        ClickSelector(kPlaySet);
        ASSERT_TRUE(window->GetPagePane()->IsPlaying());
        ClickPage(PictureMiddle());
        driver::RunFor(300);
    };
    const struct {
        const char* name;
        bool plays;
        std::function<void()> go;
    } cases[] = {
        { "the link clicked while playing", true, playAndClick },
        { "Back", true,
            [&] {
                ClickSelector(kPlaySet);
                ClickTab(kBackTab);
            } },
        { "My Pages listing it from before", false,
            [&] {
                ClickEntry(kMyPagesTab, "Second.mvi",
                    [] { fs::remove(driver::HostPath("plume/Projects/Kim/Second.mvi")); });
            } },
        { "the link after a restart", true,
            [&] {
                tallow->CloseWindow(window.Get(), 1);
                tallow->NewDocument();
                window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
                ASSERT_TRUE(window.Valid());
                window->OpenPage(home);
                fs::remove(driver::HostPath("plume/Projects/Kim/HTML/Home.htm"));
                const size_t asked = driver::AlertLog().size();
                ChooseMenu("Save");
                EXPECT_EQ(driver::AlertLog().size(), asked) << "saved without asking";
                EXPECT_NE(driver::ReadHostFile("plume/Projects/Kim/HTML/Home.htm").find("Second.htm"), std::string::npos);
                playAndClick();
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!fs::exists(driver::HostPath("plume/Projects/Kim/Second.mvi")))
            StorePage("Second", 1, 15, 0);
        ClickSelector(kPagesSet);
        ASSERT_EQ(Title(), "Kim:Home");
        if (std::string(c.name) != "My Pages listing it from before") {
            ASSERT_TRUE(fs::remove(driver::HostPath("plume/Projects/Kim/Second.mvi")));
        }
        const size_t before = driver::AlertLog().size();
        driver::ScriptMessageBoxes({ IDCANCEL });
        c.go();
        ASSERT_EQ(driver::AlertLog().size(), before + 1) << driver::AlertLog().back().text;
        EXPECT_EQ(Lower(driver::AlertLog().back().text), Lower(question));
        EXPECT_EQ(Title(), "Kim:Home");
        EXPECT_EQ(window->GetPagePane()->IsPlaying(), c.plays);
    }

    driver::ScriptMessageBoxes({ IDOK });
    driver::ScriptFileDialog(third->Path());
    playAndClick();
    EXPECT_EQ(Title(), "Kim:Third");
    EXPECT_TRUE(window->GetPagePane()->IsPlaying());
}

// A web link is not followed inside the program: a picture carrying one, clicked while the page
// plays, says where it leads in a message box, and the page plays on where it is.
TEST_F(PlayAndSaveTest, AWebLinkClickedWhilePlayingIsToldInAMessageBox)
{
    window->OpenPage(StorePage("Home", 1, 15, 1));
    auto* group = SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get());
    SmartPtr<CLink> link = new CLink;
    link->SetHREF(pw::engine::GetWebLinkServices().makeLink(String("http://example.org/kids.htm")));
    ASSERT_EQ(link->GetKind(), CLink::kWebLink);
    group->GetSprite(0)->SetLink(0, 1, link.Get());

    ClickSelector(kPlaySet);
    ASSERT_TRUE(window->GetPagePane()->IsPlaying());
    driver::ScriptMessageBoxes({ IDOK });
    ClickPage(PictureMiddle());
    driver::RunFor(300);
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, std::string("This is a Link to:") + "       " + "http://example.org/kids.htm");
    EXPECT_EQ(Title(), "Kim:Home") << "no other page opened";
    EXPECT_TRUE(window->GetPagePane()->IsPlaying());
}

// A picture on a page of several frames had a web link on all of them; the child selects it and
// types another address into the link dialog. Played and clicked on a later frame it names the new
// address, and the saved page holds only that one.
TEST_F(PlayAndSaveTest, AChangedWebLinkIsTheOneThePicturePlaysAndKeeps)
{
    SmartPtr<FileReference> home = StorePage("Home", 10, 15, true);
    window->OpenPage(home);
    auto* group = SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get());
    SmartPtr<CLink> old = new CLink;
    old->SetHREF(pw::engine::GetWebLinkServices().makeLink(String("http://old.example/")));
    group->GetSprite(0)->SetLink(0, 10, old.Get());
    ClickPage(PictureMiddle());
    driver::SetIdleHandler([&] {
        auto* dialog = dynamic_cast<Dialog*>(tallow->GetWindow(tallow->NumWindows()).Get());
        if (!dialog || dialog->IsClosed() || answered.Get() == dialog)
            return false;
        answered = dialog;
        driver::PressKey(VK_CONTROL);
        driver::TypeKey('A');
        driver::ReleaseKey(VK_CONTROL);
        driver::TypeText("http://example.com/x\n");
        return true;
    });
    ChooseMenu("URL\x85");
    driver::SetIdleHandler(nullptr);

    ClickSelector(kPlaySet);
    driver::RunFor(300);
    ASSERT_GT(Player().GetFrame(), 0) << "played on from the first frame";
    driver::ScriptMessageBoxes({ IDOK });
    ClickPage(PictureMiddle());
    driver::RunFor(300);
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, std::string("This is a Link to:") + "       " + "http://example.com/x");

    ClickSelector(kPagesSet);
    ChooseMenu("Save");
    SmartPtr<CShow> stored = Stored(home);
    ASSERT_TRUE(stored.Valid());
    CSprite* picture = SmartCast<CMovieGroup>(stored->GetMovie().Get())->GetSprite(0);
    for (int16_t frame = 0; frame < 10; ++frame) {
        CLink* link = picture->LinkAtFrame(frame);
        ASSERT_NE(link, nullptr) << "frame " << frame;
        EXPECT_EQ(TextOf(pw::engine::GetWebLinkServices().linkText(*link->GetHREF().Get())), "http://example.com/x")
            << "frame " << frame;
    }
    stored->Close();
}

// Looked at and left alone, a page opens another without asking to be saved: the home page made
// by Home, the e-mail link typed and handed to the link tool with OK, the window dragged, the sets
// changed. The link clicked onto the page's picture changes the page, and then leaving it asks.
TEST_F(PlayAndSaveTest, OnlyAPageTheChildChangedAsksToBeSavedWhenLeft)
{
    StorePage("Other", 1, 15, 0);
    auto mailLinkWithOk = [&] {
        ClickSelector(kPaintSoundSet);
        driver::SetIdleHandler([&] {
            auto* dialog = dynamic_cast<Dialog*>(tallow->GetWindow(tallow->NumWindows()).Get());
            if (!dialog || dialog->IsClosed() || answered.Get() == dialog)
                return false;
            answered = dialog;
            driver::TypeKey(VK_RETURN);
            return true;
        });
        ClickTab(kMailLinkTab);
        driver::SetIdleHandler(nullptr);
    };
    ClickSelector(kPlaySet);
    ClickTab(kHomeTab);
    ASSERT_EQ(Title(), "Kim:index");
    mailLinkWithOk();
    HWND hwnd = window->GetFrame()->GetOSWindow();
    POINT caption = driver::CaptionPoint(hwnd);
    driver::Drag(caption.x, caption.y, caption.x + 30, caption.y + 20);
    driver::RunUntilIdle();
    ClickSelector(kPagesSet);
    ClickEntry(kMyPagesTab, "Other.mvi");
    EXPECT_EQ(Title(), "Kim:Other");
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;

    window->OpenPage(StorePage("Home", 1, 15, 1));
    mailLinkWithOk();
    ClickPage(PictureMiddle());
    auto* group = SmartCast<CMovieGroup>(window->GetPagePane()->GetShow().GetMovie().Get());
    CLink* link = group->GetSprite(0)->LinkAtFrame(0);
    ASSERT_NE(link, nullptr) << "the picture took the link";
    EXPECT_EQ(link->GetKind(), CLink::kWebLink);
    driver::ScriptMessageBoxes({ IDNO });
    ClickSelector(kPagesSet);
    ClickEntry(kMyPagesTab, "Other.mvi");
    EXPECT_EQ(Title(), "Kim:Other");
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_NE(driver::AlertLog()[0].text.find("Kim:Home"), std::string::npos) << driver::AlertLog()[0].text;
}

// Each edit of the Edit menu and the Delete key changes the page: closing it then asks to save,
// and the saved file keeps the edit (a Delete undone after a save puts the picture back in it, and
// so does a move undone). A copy leaves the page as it was, and closing it asks nothing.
TEST_F(PlayAndSaveTest, AnEditOfTheEditMenuAsksToBeSavedOnClosingAndTheSaveKeepsIt)
{
    const struct {
        const char* name;
        std::function<void()> edit;
        bool asks;
        int stored; // pictures when opened
        uint32_t pictures; // in the file after closing
    } cases[] = {
        { "the Delete key",
            [] {
                driver::TypeKey(VK_DELETE);
                driver::RunUntilIdle();
            },
            true, 1, 0 },
        { "Delete", [&] { ChooseMenu("Delete"); }, true, 1, 0 },
        { "Cut", [&] { ChooseMenu("Cut"); }, true, 1, 0 },
        { "Paste",
            [&] {
                ChooseMenu("Copy");
                ChooseMenu("Paste");
            },
            true, 1, 2 },
        { "Send Backwards", [&] { ChooseMenu("Send Backwards"); }, true, 2, 2 },
        { "Bring Forwards",
            [&] {
                ChooseMenu("Send Backwards");
                ChooseMenu("Save");
                ChooseMenu("Bring Forwards");
            },
            true, 2, 2 },
        { "Undo of a saved Delete",
            [&] {
                ChooseMenu("Delete");
                ChooseMenu("Save");
                EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, Window::kUndoCommand));
            },
            true, 1, 1 },
        { "Undo of a saved move",
            [&] {
                Point middle = PictureMiddle();
                DragThrough(middle, { Point(middle.h + 10, middle.v), Point(middle.h + 20, middle.v + 5) });
                ChooseMenu("Save");
                EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, Window::kUndoCommand));
            },
            true, 1, 1 },
        { "Copy", [&] { ChooseMenu("Copy"); }, false, 1, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<FileReference> file = StorePage("Home", 1, 15, c.stored);
        window->OpenPage(file);
        ClickPage(PictureMiddle());
        c.edit();
        const size_t before = driver::AlertLog().size();
        if (c.asks)
            driver::ScriptMessageBoxes({ IDYES });
        ChooseMenu("Close");
        ASSERT_EQ(driver::AlertLog().size(), before + (c.asks ? 1 : 0)) << "the save question";
        if (c.asks) {
            EXPECT_NE(driver::AlertLog().back().text.find("Kim:Home"), std::string::npos);
        }
        SmartPtr<CShow> stored = Stored(file);
        ASSERT_TRUE(stored.Valid());
        EXPECT_EQ(SmartCast<CMovieGroup>(stored->GetMovie().Get())->NumSprites(), c.pictures);
        stored->Close();
        tallow->NewDocument();
        window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
        ASSERT_TRUE(window.Valid());
    }
}

// Home links to Second and is saved; after a restart Home is opened through File, Open (with the
// start-up folder current) and through My Pages (with the project's, as the name dialog leaves it)
// and saved, and saved as a new name: the link is found beside Home every time, nothing is asked,
// and each save exports the link.
TEST_F(PlayAndSaveTest, APageLinkedToAnotherSavesAgainAfterARestart)
{
    SmartPtr<FileReference> second = StorePage("Second", 1, 15, 0);
    SmartPtr<FileReference> home = StorePage("Home", 1, 15, 1);
    window->OpenPage(home);
    ClickSelector(kLinksSet);
    ClickEntry(kLinkToPageTab, "Second.mvi");
    ClickPage(PictureMiddle());
    ChooseMenu("Save");
    ASSERT_TRUE(driver::AlertLog().empty());

    const fs::path homeExport = driver::HostPath("plume/Projects/Kim/HTML/Home.htm");
    for (const char* how : { "File, Open", "My Pages", "Save As" }) {
        SCOPED_TRACE(how);
        tallow->CloseWindow(window.Get(), 1);
        FileReference startup = FileReference::StartupFolder();
        FileReference& current = std::string(how) == "File, Open" ? startup : *tallow->GetProject().GetFolder().Get();
        FileReference::SetAsCurrentDirectory(current);
        tallow->NewDocument();
        window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
        ASSERT_TRUE(window.Valid());
        if (std::string(how) == "My Pages") {
            ClickSelector(kPagesSet);
            ClickEntry(kMyPagesTab, "Home.mvi");
        } else {
            driver::ScriptFileDialog(home->Path());
            ChooseMenu("Open\x85");
        }
        ASSERT_EQ(Title(), "Kim:Home");
        fs::remove(homeExport);
        if (std::string(how) == "Save As") {
            driver::ScriptFileDialog("Home2");
            ChooseMenu("Save As\x85");
            EXPECT_EQ(Title(), "Kim:Home2");
        } else {
            ChooseMenu("Save");
        }
        EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
        std::string saved = std::string(how) == "Save As" ? "Home2" : "Home";
        std::string exported = driver::ReadHostFile("plume/Projects/Kim/HTML/" + saved + ".htm");
        EXPECT_NE(exported.find("Second.htm"), std::string::npos) << "the export links to Second";
    }
}

// Any name the save dialog takes is saved as a page: one with another extension gets the page's
// after it. Each page is listed by My Pages and opens again from there.
TEST_F(PlayAndSaveTest, APageSavedUnderAnyNameIsAPageMyPagesListsAndOpens)
{
    const struct {
        const char* typed;
        const char* file; // in the project's folder
        const char* title;
    } cases[] = {
        { "a.b.c", "a.b.c.mvi", "Kim:a.b.c" },
        { "notes.txt", "notes.txt.mvi", "Kim:notes.txt" },
        { "Shout.MVI", "Shout.MVI", "Kim:Shout" },
        { "plain", "plain.mvi", "Kim:plain" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        window->OpenPage(StorePage("Home", 1, 15, 1));
        driver::ScriptFileDialog(c.typed);
        ChooseMenu("Save As\x85");
        EXPECT_EQ(Title(), c.title);
        EXPECT_TRUE(fs::is_regular_file(driver::HostPath(std::string("plume/Projects/Kim/") + c.file)));
        window->OpenPage(StorePage("Other", 1, 15, 0));
        ClickSelector(kPagesSet);
        ClickEntry(kMyPagesTab, c.file);
        EXPECT_EQ(Title(), c.title) << "opened again from My Pages";
    }
    EXPECT_FALSE(fs::exists(driver::HostPath("plume/Projects/Kim/a.b.c")));
    EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;

    // The dialog saw "a.b.c", not the page it makes: replacing that page is asked here. No chooses
    // again, Yes replaces.
    driver::ScriptFileDialog("a.b.c");
    driver::ScriptMessageBoxes({ IDNO });
    driver::ScriptFileDialog("a.b.d");
    ChooseMenu("Save As\x85");
    EXPECT_EQ(Title(), "Kim:a.b.d");
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(Lower(driver::AlertLog()[0].text), InProject("a.b.c.mvi") + " already exists.\ndo you want to replace it?");
    EXPECT_EQ(driver::FileDialogLog().back().request.initialFile, "a.b.c") << "asked again with the name typed";
    driver::ScriptFileDialog("a.b.c");
    driver::ScriptMessageBoxes({ IDYES });
    ChooseMenu("Save As\x85");
    EXPECT_EQ(Title(), "Kim:a.b.c");
}

// A page aimed into an export folder (the project's "HTML", which Publish sends, or one inside it)
// is refused with a message and the dialog asks again, in the project's folder: nothing is left
// in the export folder.
TEST_F(PlayAndSaveTest, APageIsNeverSavedIntoTheFolderPublishSends)
{
    window->OpenPage(StorePage("Home", 1, 15, 1));
    ChooseMenu("Save");
    driver::MakeHostFolder("plume/Projects/Kim/HTML/HTML");
    for (const char* aimed : { "HTML\\Mine", "HTML\\HTML\\Mine", "html\\Mine.mvi" }) {
        SCOPED_TRACE(aimed);
        const size_t alerts = driver::AlertLog().size();
        const size_t dialogs = driver::FileDialogLog().size();
        driver::ScriptFileDialog(aimed);
        driver::ScriptMessageBoxes({ IDOK });
        driver::ScriptFileDialogCancel();
        ChooseMenu("Save As\x85");
        ASSERT_EQ(driver::AlertLog().size(), alerts + 1);
        EXPECT_EQ(driver::AlertLog().back().text,
            "Pages can't be saved in the \"HTML\" folder: it holds the web pages that Publish sends. Please save "
            "your page in your project's folder.");
        ASSERT_EQ(driver::FileDialogLog().size(), dialogs + 2);
        EXPECT_EQ(Lower(driver::FileDialogLog().back().request.StartFolder()), InProject("").substr(0, InProject("").size() - 1))
            << "the project's folder is current again";
        EXPECT_EQ(Title(), "Kim:Home");
    }
    driver::ScriptFileDialog("HTML\\Mine");
    driver::ScriptMessageBoxes({ IDOK });
    driver::ScriptFileDialog("Mine");
    ChooseMenu("Save As\x85");
    EXPECT_EQ(Title(), "Kim:Mine");
    EXPECT_TRUE(fs::exists(driver::HostPath("plume/Projects/Kim/Mine.mvi")));
    for (const auto& entry : fs::recursive_directory_iterator(driver::HostPath("plume/Projects/Kim/HTML")))
        EXPECT_NE(Lower(entry.path().extension().string()), ".mvi") << entry.path();
    EXPECT_FALSE(fs::exists(driver::HostPath("plume/Projects/Kim/HTML/HTML/Mine.htm")));
}

// On a page never saved, Link Page's "New Page", its proposed name accepted, makes a further page,
// never the home page: no blank "index" page is made, and the child's own page, saved next under
// the name proposed to it, is the project's home page.
TEST_F(PlayAndSaveTest, ANewPageFromLinkPageLeavesTheHomePageToTheChildsPage)
{
    ClickSelector(kLinksSet);
    ClickTab(kLinkToPageTab);
    auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
    ASSERT_NE(pane, nullptr);
    SmartPtr<CBrowser> browser = pane->GetBrowser();
    driver::RunFor(2000);
    ASSERT_GE(browser->NumEntries(), 1u);
    ASSERT_FALSE(browser->GetEntry(1).Valid()) << "the first entry is New Page";
    driver::ScriptFileDialogAccept();
    ClickWindow(window.Get(), browser->CellRect(1).Center());
    ASSERT_EQ(driver::FileDialogLog().size(), 1u);
    const std::string proposed = driver::FileDialogLog().back().request.initialFile;
    EXPECT_NE(Lower(proposed), "index");
    EXPECT_TRUE(fs::exists(driver::HostPath("plume/Projects/Kim/" + proposed + ".mvi"))) << proposed;
    EXPECT_FALSE(fs::exists(driver::HostPath("plume/Projects/Kim/index.mvi")));

    driver::ScriptFileDialogAccept();
    ChooseMenu("Save");
    ASSERT_EQ(driver::FileDialogLog().size(), 2u);
    EXPECT_EQ(LastChosen(), InProject("index.mvi"));
    EXPECT_EQ(Title(), "Kim:index");
}

// A read-only page (a parent's read-only copy of the project, or one page made read-only) opens
// from File, Open and from My Pages and plays; saving it tells the child it cannot be saved there,
// as often as the child picks it again, and the page is saved where the child then chooses. Its
// file and folder stay as they were.
TEST_F(PlayAndSaveTest, AReadOnlyPageOpensAndPlaysAndIsSavedElsewhere)
{
    const fs::path copy = driver::HostPath("plume/Projects/Copy");
    fs::create_directories(copy);
    StorePage("Cat", 60, 15, 1);
    fs::copy_file(driver::HostPath("plume/Projects/Kim/Cat.mvi"), copy / "Cat.mvi");
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(copy / "Cat.mvi", readOnly);
    fs::permissions(copy, readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
    // The folder is writable again at the end, whatever fails, so that it can be removed.
    struct Unlock {
        fs::path folder;
        ~Unlock()
        {
            std::error_code ignored;
            fs::permissions(folder, fs::perms::owner_all, ignored);
        }
    } unlock { copy };
    fs::permissions(driver::HostPath("plume/Projects/Kim/Cat.mvi"), readOnly);
    const std::string bytes = driver::ReadHostFile("plume/Projects/Copy/Cat.mvi");
    const struct {
        const char* how;
        const char* page;
        const char* title;
    } cases[] = { { "File, Open", "c:\\plume\\Projects\\Copy\\Cat.mvi", "Copy:Cat" },
        { "My Pages", "c:\\plume\\Projects\\Kim\\Cat.mvi", "Kim:Cat" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        if (std::string(c.how) == "My Pages") {
            ClickSelector(kPagesSet);
            ClickEntry(kMyPagesTab, "Cat.mvi");
        } else {
            driver::ScriptFileDialog(c.page);
            ChooseMenu("Open\x85");
        }
        ASSERT_EQ(Title(), c.title);
        ClickSelector(kPlaySet);
        int16_t before = Player().GetFrame();
        driver::RunFor(1000);
        EXPECT_GE(Player().GetFrame() - before, 9) << "the page plays";
        ClickSelector(kPagesSet);

        const size_t alerts = driver::AlertLog().size();
        driver::ScriptMessageBoxes({ IDOK, IDOK });
        driver::ScriptFileDialog(c.page);
        driver::ScriptFileDialog(std::string("c:\\plume\\Projects\\Kim\\Saved ") + c.title[0]);
        ChooseMenu("Save");
        ASSERT_EQ(driver::AlertLog().size(), alerts + 2);
        for (size_t i = alerts; i < alerts + 2; ++i)
            EXPECT_EQ(driver::AlertLog()[i].text, "\"" + std::string(c.title)
                    + "\" can't be saved there: that file or folder can only be read, not changed. Please choose "
                      "another place to save it.");
        EXPECT_EQ(Title(), std::string("Kim:Saved ") + c.title[0]);
        EXPECT_FALSE(window->IsModified());
        SmartPtr<CShow> saved = Stored(new FileReference(InProject(std::string("saved ") + c.title[0] + ".mvi").c_str()));
        ASSERT_TRUE(saved.Valid());
        EXPECT_EQ(saved->GetMovie()->NumFrames(), 60);
        saved->Close();
    }
    EXPECT_EQ(driver::ReadHostFile("plume/Projects/Copy/Cat.mvi"), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(copy), {}), 1) << "nothing was written beside the copy";
}

// A save the full disk refuses leaves no temporary file beside the page, and the next save removes
// the one a save stopped half way (the program was ended) left there an hour ago.
TEST_F(PlayAndSaveTest, SavesLeaveNoTemporaryFileInTheProject)
{
    window->OpenPage(StorePage("Home", 1, 15, 1));
    auto temporaryFiles = [] {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(driver::HostPath("plume/Projects/Kim")))
            count += entry.path().extension() == ".tmp";
        return count;
    };
    driver::SetDiskSpaceLeft(100);
    driver::ScriptMessageBoxes({ IDOK });
    ChooseMenu("Save");
    driver::SetDiskSpaceLeft(std::nullopt);
    ASSERT_EQ(driver::AlertLog().size(), 1u) << "the full disk is told";
    EXPECT_EQ(temporaryFiles(), 0u);
    std::string page = driver::ReadHostFile("plume/Projects/Kim/Home.mvi");
    driver::MakeHostFile("plume/Projects/Kim/obj00A7.tmp", page.substr(0, page.size() / 2));
    driver::SetHostWrittenAgo("plume/Projects/Kim/obj00A7.tmp", 3600);
    ChooseMenu("Save");
    EXPECT_EQ(temporaryFiles(), 0u);
    EXPECT_EQ(driver::AlertLog().size(), 1u);
}

// A changed sample asks to be saved when the child starts a new page: the save dialog offers
// "index" in the project's folder, where the page and its export go; the next new page saved is
// offered a name of its own.
TEST_F(PlayAndSaveTest, TheChildsPagesAreSavedInTheProjectUnderNamesOfTheirOwn)
{
    PutSample("Balloon Ride");
    ClickSelector(kPagesSet);
    ClickEntry(kSamplesTab, "Balloon Ride.mvi");
    window->WindowChanged(nullptr);
    driver::ScriptMessageBoxes({ IDYES });
    driver::ScriptFileDialog("index");
    ClickTab(kNewPageTab);
    ASSERT_EQ(driver::FileDialogLog().size(), 1u);
    EXPECT_EQ(driver::FileDialogLog().back().request.initialFile, "index");
    EXPECT_EQ(LastChosen(), InProject("index.mvi"));
    EXPECT_TRUE(fs::exists(driver::HostPath("plume/Projects/Kim/index.mvi")));
    EXPECT_TRUE(fs::exists(driver::HostPath("plume/Projects/Kim/HTML/index.htm")));
    EXPECT_FALSE(fs::exists(driver::HostPath("plume/Samples/index.mvi")));
    EXPECT_FALSE(fs::exists(driver::HostPath("plume/Samples/HTML")));
    EXPECT_EQ(Title(), "Untitled Page") << "the new page";

    window->WindowChanged(nullptr);
    driver::ScriptFileDialog("index1");
    ChooseMenu("Save");
    ASSERT_EQ(driver::FileDialogLog().size(), 2u);
    EXPECT_EQ(driver::FileDialogLog().back().request.initialFile, "index1") << "not the first page's name";
    EXPECT_EQ(LastChosen(), InProject("index1.mvi"));
    EXPECT_EQ(Title(), "Kim:index1");
}

} // namespace
