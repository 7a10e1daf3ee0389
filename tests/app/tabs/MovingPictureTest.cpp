// A moving picture of the Pictures tab through the real windows, clicked as a child clicks: placed
// on a page it moves when the page plays, keeps moving after the page is saved and opened again,
// and shows in the exported picture; and what the child puts on the page after playing it stays
// on the page in every frame, not only from where the playing stopped.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "engine/CMovieGroup.h"
#include "engine/CSprite.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "export/JpegDecode.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;
namespace fs = std::filesystem;
using pw::foundation::TextOf;


class MovingPictureTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
        fs::remove_all(driver::HostPath("plume/Pictures"));
        driver::MakeHostFolder("plume/Pictures");
        // A moving picture and a still one, as they ship.
        for (const char* name : { "Fish", "Cat" })
            fs::copy_file(fs::path(PW_DATA_DIR) / "Pictures" / (std::string(name) + ".mvi"),
                driver::HostPath(std::string("plume/Pictures/") + name + ".mvi"));
    }
    void TearDown() override
    {
        fs::remove_all(driver::HostPath("plume/Pictures"));
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    CMovieGroup& Group() const { return *Pane()->GetGroup(); }

    // Opens the tab's browser and clicks the entry of that file name, once its previews are made.
    void ClickEntry(int16_t tab, const std::string& name)
    {
        ClickTab(tab);
        auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(pane, nullptr) << "tab " << tab << " shows a browser";
        SmartPtr<CBrowser> browser = pane->GetBrowser();
        driver::RunFor(2000);
        for (uint32_t i = 1; i <= browser->NumEntries(); ++i) {
            SmartPtr<FileReference> entry = browser->GetEntry(i);
            if (entry.Valid() && TextOf(entry->Name()) == name) {
                ClickWindow(window.Get(), browser->CellRect(i).Center());
                return;
            }
        }
        ADD_FAILURE() << "no entry " << name;
    }
    // The picture of that name from the Pictures tab put on the page with its middle at `at`.
    void Place(const std::string& name, Point at)
    {
        ClickSelector(kPicturesSet);
        ClickEntry(kPicturesTab, name + ".mvi");
        Point drop = OnScreen(at);
        driver::Click(drop.h, drop.v);
        driver::RunUntilIdle();
    }
    // The page window's pictures over a second of playing on the play row; how many differ.
    size_t PicturesInASecondOfPlay()
    {
        ClickSelector(kPlaySet);
        EXPECT_TRUE(Pane()->IsPlaying());
        std::set<std::vector<uint8_t>> shown;
        for (int tenth = 0; tenth < 10; ++tenth) {
            driver::RunFor(100);
            shown.insert(driver::ReadClientArea(window->GetFrame()->GetOSWindow()).pixels);
        }
        return shown.size();
    }
    // The sprite's place in each frame of the page where it shows; empty where it does not.
    std::vector<Rect> Places(const char* name)
    {
        std::vector<Rect> places;
        SmartPtr<CSprite> sprite = Group().FindSpriteByName(String(name));
        for (int16_t frame = 0; frame < Group().NumFrames(); ++frame) {
            Rect bounds(0, 0, 0, 0);
            if (sprite.Valid())
                sprite->GetFrameBounds(frame, &bounds, nullptr);
            places.push_back(bounds);
        }
        return places;
    }
    // How many of the places are the first one.
    static size_t Alike(const std::vector<Rect>& places)
    {
        return size_t(std::count(places.begin(), places.end(), places.front()));
    }
    void ChooseMenu(const std::string& title)
    {
        EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand(title)));
        driver::RunUntilIdle();
    }
    // The exported picture's pixels that look like the colour (within 60 of each component).
    static int Like(const jpegtest::DecodedJpeg& picture, int red, int green, int blue)
    {
        int count = 0;
        for (size_t at = 0; at + 2 < picture.rgb.size(); at += 3)
            count += std::abs(picture.rgb[at] - red) < 60 && std::abs(picture.rgb[at + 1] - green) < 60
                && std::abs(picture.rgb[at + 2] - blue) < 60;
        return count;
    }
    static jpegtest::DecodedJpeg Exported(const std::string& page)
    {
        std::ifstream in(driver::HostPath("plume/Projects/Kim/HTML/" + page + ".jpg"), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return jpegtest::Decode(bytes);
    }
};

TEST_F(MovingPictureTest, APlacedMovingPictureMovesWhenPlayedAndAfterTheSavedPageIsOpenedAgain)
{
    Place("Fish", Point(100, 100));
    Place("Cat", Point(250, 200));
    ASSERT_TRUE(Group().FindSpriteByName(String("Fish")).Valid());
    EXPECT_GE(Group().NumFrames(), 20) << "the page takes the fish's frames";
    EXPECT_GE(PicturesInASecondOfPlay(), 3u) << "the fish moves";

    ClickSelector(kPicturesSet);
    driver::ScriptFileDialog("Home");
    ChooseMenu("Save");
    jpegtest::DecodedJpeg exported = Exported("Home");
    ASSERT_TRUE(exported.ok) << exported.error;
    EXPECT_GT(Like(exported, 0x33, 0xcc, 0xff), 200) << "the exported picture shows the fish";
    EXPECT_GT(Like(exported, 0xff, 0x99, 0x33), 200) << "and the cat";

    tallow->CloseWindow(window.Get(), 1);
    tallow->NewDocument();
    window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
    ASSERT_TRUE(window.Valid());
    ClickSelector(kPagesSet);
    ClickEntry(kMyPagesTab, "Home.mvi");
    ASSERT_EQ(Title(), "Kim:Home");
    EXPECT_GE(PicturesInASecondOfPlay(), 3u) << "the fish moves in the page opened again";
    EXPECT_TRUE(driver::AlertLog().empty());
}

// After the page played, the next picture placed, a picture dragged and a stroke painted reach
// every frame of the page at one place: none of them blinks while the page plays or is missing
// from the exported picture, which shows the first frame.
TEST_F(MovingPictureTest, WhatTheChildDoesAfterPlayingStaysInEveryFrame)
{
    Place("Fish", Point(100, 100));
    PicturesInASecondOfPlay();
    ClickSelector(kPicturesSet);
    EXPECT_FALSE(Pane()->IsPlaying());

    Place("Cat", Point(250, 200));
    std::vector<Rect> placed = Places("Cat");
    ASSERT_FALSE(placed.front().IsEmpty()) << "the cat shows in the first frame";
    EXPECT_EQ(Alike(placed), placed.size()) << "and in every frame, in one place";

    DragThrough(placed.front().Center(), { Point(230, 180), Point(200, 150) });
    std::vector<Rect> moved = Places("Cat");
    EXPECT_NE(moved.front(), placed.front()) << "the cat was dragged";
    EXPECT_EQ(Alike(moved), moved.size()) << "in every frame";

    PicturesInASecondOfPlay();
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ASSERT_TRUE(Pane()->IsEditing());
    uint32_t before = Group().NumSprites();
    DragThrough(Point(40, 30), { Point(80, 33), Point(120, 35), Point(160, 38) });
    driver::TypeKey(VK_RETURN);
    driver::RunUntilIdle();
    ASSERT_EQ(Group().NumSprites(), before + 1) << "the stroke is on the page";
    CSprite& stroke = *Group().GetSprite(static_cast<int16_t>(before));
    EXPECT_TRUE(stroke.ShowsInFrames(0, 1));
    EXPECT_EQ(stroke.NumFrames(), Group().NumFrames()) << "the stroke shows in every frame";
}

} // namespace
