// A child's pictures through the real windows, with the mouse alone and time passing between the
// events as it does under a real mouse (the chores run between them): a picture from the Pictures
// tab placed on a striped page and dragged, strokes painted in the Paint tab and saved by every
// way a page is saved, and a background chosen under a placed picture. The screen is read back at
// each step: the page never goes blank, and it shows through the white of pictures.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/ShowFileType.h"
#include "foundation/File.h"
#include "foundation/ObjectFile.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/WindowFrame.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "export/JpegDecode.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;

// Standard colours: the page's stripes and the picture's middle.
constexpr int kBlue = 9;
constexpr int kYellow = 10;
constexpr int kGreen = 8;
constexpr int kRed = 7;
// The picture of the Pictures tab: green inside a white margin that the page shows through.
constexpr int32_t kPictureSide = 30;
constexpr int32_t kMargin = 5;
// The rows of the page above the kid tools that the paint tabs show below it.
constexpr int32_t kTopRows = 100;

SmartPtr<CMoviePic> Painted(int32_t width, int32_t height, const std::function<void(DisplayPort&)>& paint)
{
    SmartPtr<OffScreen> picture = new OffScreen(width, height, 8, Color(0), true);
    {
        DisplayPort port(*picture.Get(), picture->GetBounds(), 0);
        paint(port);
    }
    return new CMoviePic(new CResource(SmartPtr<Persistent>(picture->GetBitMap().Get()), true), true);
}

class PictureSessionTest : public apptest::PageWindowFixture {
protected:
    // Whether the page gets its striped background before the test.
    bool striped { true };

    void SetUp() override
    {
        // As the program starts: the tools window follows the page pane.
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        for (const char* folder : { "plume/Pictures", "plume/Backgrounds" }) {
            std::filesystem::remove_all(driver::HostPath(folder));
            driver::MakeHostFolder(folder);
        }
        PutPicturePage();
        if (striped)
            StripePage();
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        for (const char* folder : { "plume/Pictures", "plume/Backgrounds" })
            std::filesystem::remove_all(driver::HostPath(folder));
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    // A media page of one picture in a folder of the start-up folder.
    void PutMediaPage(const char* folderName, const char* name, const SmartPtr<CMoviePic>& cel)
    {
        FileReference startup = FileReference::StartupFolder();
        SmartPtr<FileReference> folder = FileReference::FileReferenceInFolder(startup, String(folderName), false);
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
            tallow->GetDocumentTypes()->GetFileType(), tallow->GetCreator(), *folder.Get(), String(name), true);
        Rect bounds(0, 0, 0, 0);
        cel->GetBounds(bounds);
        SmartPtr<CMovieGroup> group = new CMovieGroup(bounds);
        group->AddMovieAsSprite(0, group->NumFrames(), cel.Get());
        SmartPtr<CShow> show = new CShow(group.Get());
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
    }
    // Pictures holds "Cat", a page whose one picture is drawn see-through, as the shipped ones.
    void PutPicturePage()
    {
        SmartPtr<CMoviePic> cel = Painted(kPictureSide, kPictureSide, [](DisplayPort& port) {
            port.DrawRectangle(Rect(kMargin, kMargin, kPictureSide - kMargin, kPictureSide - kMargin), Color(kGreen),
                Color(kGreen), 1);
        });
        cel->ToggleModeBit2(true);
        PutMediaPage("Pictures", "Cat", cel);
    }
    // The open page gets a background of blue and yellow stripes, 4 pixels each, without white.
    void StripePage()
    {
        CMovieGroup* group = Pane()->GetGroup();
        Rect page(0, 0, 0, 0);
        group->GetBounds(page);
        Point size = page.Size();
        SmartPtr<CMoviePic> stripes = Painted(size.h, size.v, [size](DisplayPort& port) {
            for (int32_t v = 0; v < size.v; v += 4) {
                Color stripe(v % 8 ? kYellow : kBlue);
                port.DrawRectangle(Rect(0, v, size.h, v + 4), stripe, stripe, 1);
            }
        });
        // A background: no see-through mode, and marked as the page's background.
        if (stripes->ToggleModeBit0(false))
            stripes->ToggleModeBit0(true);
        int16_t index = group->AddMovieAsSprite(0, group->NumFrames(), stripes.Get());
        if (CSprite* background = group->GetSprite(index); background && !background->ToggleFlag2(false))
            background->ToggleFlag2(true);
        Pane()->InvalidateView(false);
    }

    Rect PageBounds() const
    {
        Rect page(0, 0, 0, 0);
        Pane()->GetGroup()->GetBounds(page);
        return page;
    }
    // The page as it shows, one letter a pixel, row after row (the first `limit` rows).
    std::vector<std::string> Shown(int32_t limit = INT32_MAX)
    {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        Rect pane = Pane()->GetBounds();
        std::vector<std::string> rows;
        for (int32_t v = pane.top; v < pane.bottom && v - pane.top < limit; ++v) {
            std::string row;
            for (int32_t h = pane.left; h < pane.right; ++h) {
                const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
                char name = '?';
                for (const auto& [letter, color] : authoring::Legend()) {
                    if (rgb.red == (color >> 16) && rgb.green == ((color >> 8) & 0xFF) && rgb.blue == (color & 0xFF))
                        name = letter;
                }
                row += name;
            }
            rows.push_back(row);
        }
        return rows;
    }
    char At(const std::vector<std::string>& shown, Point page) const
    {
        return shown.at(size_t(page.v)).at(size_t(page.h));
    }
    // Page points outside `keep` where the two screens differ.
    static int Differences(const std::vector<std::string>& a, const std::vector<std::string>& b,
        const std::vector<Rect>& keep)
    {
        int count = 0;
        for (size_t v = 0; v < a.size(); ++v) {
            for (size_t h = 0; h < a[v].size(); ++h) {
                bool kept = false;
                for (const Rect& r : keep)
                    kept = kept || r.Contains(int32_t(h), int32_t(v));
                count += !kept && a[v][h] != b[v][h];
            }
        }
        return count;
    }
    // The Pictures tab's Cat put on the page with its middle at `at`; answers where it lies.
    Rect PlaceCat(Point at)
    {
        ClickTab(kPicturesTab);
        ClickOnlyEntry();
        Point drop = OnScreen(at);
        driver::Click(drop.h, drop.v);
        driver::RunUntilIdle();
        return SpriteBounds(*Pane()->GetGroup(), "Cat");
    }
    void ChooseMenu(const std::string& title)
    {
        EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand(title)));
        driver::RunUntilIdle();
    }
    // The project's page "Home" as stored and exported.
    static SmartPtr<FileReference> Home() { return new FileReference("c:\\plume\\Projects\\Kim\\Home.mvi"); }
    static jpegtest::DecodedJpeg HomePicture()
    {
        std::ifstream in(driver::HostPath("plume/Projects/Kim/HTML/Home.jpg"), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return jpegtest::Decode(bytes);
    }
    // The stored page's pictures' places in frame 0, back to front, and the page (closed).
    static std::vector<Rect> StoredPictures(const SmartPtr<FileReference>& file)
    {
        std::vector<Rect> places;
        SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), 1));
        SmartPtr<Smart> back = reader->Read();
        auto* stored = SmartCast<CShow>(back.Get());
        if (!stored)
            return places;
        auto* group = SmartCast<CMovieGroup>(stored->GetMovie().Get());
        for (uint32_t i = 0; group && i < group->NumSprites(); ++i) {
            Rect bounds(0, 0, 0, 0);
            group->GetSprite(static_cast<int16_t>(i))->GetFrameBounds(0, &bounds, nullptr);
            places.push_back(bounds);
        }
        stored->Close();
        return places;
    }
    static Rect SpriteBounds(CMovieGroup& group, const char* name)
    {
        Rect bounds(0, 0, 0, 0);
        if (SmartPtr<CSprite> sprite = group.FindSpriteByName(String(name)); sprite.Valid())
            sprite->GetFrameBounds(0, &bounds, nullptr);
        return bounds;
    }
};

TEST_F(PictureSessionTest, APlacedPictureDragsToWhereItIsLetGoAndThePageAroundItStays)
{
    std::vector<std::string> striped = Shown();
    ASSERT_EQ(At(striped, Point(100, 98)), 'b');

    Rect placed = PlaceCat(Point(120, 100));
    ASSERT_EQ(placed.Size(), Point(kPictureSide, kPictureSide)) << "the picture lies on the page";

    std::vector<std::string> before = Shown();
    Point middle = placed.Center();
    EXPECT_EQ(At(before, middle), 'g');
    Point margin(placed.left + kMargin / 2, placed.top + kMargin + 4);
    EXPECT_EQ(At(before, margin), At(striped, margin)) << "the picture's white shows the page beneath";
    EXPECT_EQ(Differences(striped, before, { placed }), 0);

    // Pressed, held and dragged by hand, past a few frames of the chores.
    Point to(middle.h + 90, middle.v + 60);
    DragThrough(middle, { Point(middle.h + 30, middle.v + 20), Point(middle.h + 60, middle.v + 40), to });
    Rect moved = SpriteBounds(*Pane()->GetGroup(), "Cat");
    Rect expected = placed;
    expected.Offset(90, 60);
    EXPECT_EQ(moved, expected) << "the picture is where it was let go";
    std::vector<std::string> after = Shown();
    EXPECT_EQ(At(after, to), 'g');
    EXPECT_EQ(At(after, middle), At(striped, middle)) << "the page shows where the picture was";
    EXPECT_EQ(Differences(before, after, { placed, moved }), 0) << "the page around the picture is as it was";
    EXPECT_FALSE(Pane()->IsEditing()) << "a drag opens no picture editor";

    driver::ScriptFileDialog("Home");
    window->Save(DocWindow::kSave);
    SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*Home().Get(), 1));
    SmartPtr<Smart> back = reader->Read();
    auto* stored = SmartCast<CShow>(back.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(SpriteBounds(*SmartCast<CMovieGroup>(stored->GetMovie().Get()), "Cat"), expected)
        << "the saved page has the picture at its new place";
    stored->Close();
}

// In the Paint tab the page stays on the screen while the child paints, through the white of the
// picture being painted, and a stroke put on the page brings no white box with it.
TEST_F(PictureSessionTest, PaintingShowsThePageUnderThePicture)
{
    std::vector<std::string> striped = Shown(kTopRows);
    ClickSelector(30);
    ClickTab(15);
    ASSERT_TRUE(Pane()->IsEditing()) << "the Paint tab opens the picture editor";
    EXPECT_EQ(Differences(striped, Shown(kTopRows), {}), 0) << "the editor shows the page";

    // A stroke across the top of the page, the button held between the moves.
    Point from(40, 30);
    Point to(200, 40);
    Point at = HoldAndMove(from, { Point(80, 33), Point(120, 35), Point(160, 38), to });
    std::vector<std::string> painting = Shown(kTopRows);
    EXPECT_NE(At(painting, Point(120, 35)), At(striped, Point(120, 35))) << "the stroke shows as it is painted";
    Rect stroke(from.h - 12, from.v - 12, to.h + 12, to.v + 12);
    EXPECT_EQ(Differences(striped, painting, { stroke }), 0) << "the page shows through the picture's white";
    driver::ReleaseMouse(at.h, at.v);
    driver::RunUntilIdle();

    driver::TypeKey(VK_RETURN);
    driver::RunUntilIdle();
    ASSERT_FALSE(Pane()->IsEditing()) << "Return puts the picture on the page";
    CMovieGroup* group = Pane()->GetGroup();
    Rect made(0, 0, 0, 0);
    group->GetSprite(static_cast<int16_t>(group->NumSprites() - 1))->GetFrameBounds(0, &made, nullptr);
    EXPECT_TRUE(stroke.Contains(made.left, made.top) && stroke.Contains(made.right - 1, made.bottom - 1))
        << "the stroke's picture is the stroke alone";
    // The new picture is selected: its four corner handles aside, the page shows as it was painted.
    std::vector<Rect> handles;
    for (Point corner : { made.TopLeft(), Point(made.right - 8, made.top), Point(made.left, made.bottom - 8),
             Point(made.right - 8, made.bottom - 8) })
        handles.push_back(Rect(corner.h, corner.v, corner.h + 8, corner.v + 8));
    EXPECT_EQ(Differences(painting, Shown(kTopRows), handles), 0) << "the stroke lies on the page with no white box";
}

} // namespace

namespace {

// The ways a child saves a page: the keys, the File menu's Save and Save As, the question before
// another page opens (File, Open, then the open dialog cancelled) and before quitting, and Publish
// (which saves first; its introduction is then cancelled). The page is new: it is named "Home".
enum class SaveRoute { kKeys, kSave, kSaveAs, kOpenAnother, kQuit, kPublish };

class PaintSaveTest : public PictureSessionTest, public testing::WithParamInterface<SaveRoute> {
protected:
    void SaveBy(SaveRoute route)
    {
        driver::ScriptFileDialog("Home");
        switch (route) {
        case SaveRoute::kKeys:
            PressControlKey('S', "Save");
            break;
        case SaveRoute::kSave:
            ChooseMenu("Save");
            break;
        case SaveRoute::kSaveAs:
            ChooseMenu("Save As\x85");
            break;
        case SaveRoute::kOpenAnother:
            driver::ScriptMessageBoxes({ IDYES });
            driver::ScriptFileDialogCancel();
            ChooseMenu("Open\x85");
            break;
        case SaveRoute::kQuit:
            driver::ScriptMessageBoxes({ IDYES });
            ChooseMenu("Quit");
            break;
        case SaveRoute::kPublish:
            driver::ScriptMessageBoxes({ IDCANCEL });
            ChooseMenu("Publish\x85");
            break;
        }
        EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);
        EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);
    }
    // Ctrl and the key, through the menu entry's accelerator as the program's message loop
    // translates it.
    void PressControlKey(char key, const std::string& entry)
    {
        ACCEL shortcut { FVIRTKEY | FCONTROL, WORD(key), WORD(MenuCommand(entry)) };
        HACCEL table = CreateAcceleratorTableA(&shortcut, 1);
        driver::PressKey(VK_CONTROL);
        driver::TypeKey(key);
        driver::ReleaseKey(VK_CONTROL);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(mainWindow, table, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DestroyAcceleratorTable(table);
        driver::RunUntilIdle();
    }
    // A stroke painted with the Paint tab's brush from `from` to `to`, the editor left open.
    void PaintStroke(Point from, Point to)
    {
        Point third((2 * from.h + to.h) / 3, (2 * from.v + to.v) / 3);
        Point twoThirds((from.h + 2 * to.h) / 3, (from.v + 2 * to.v) / 3);
        DragThrough(from, { third, twoThirds, to });
        ASSERT_TRUE(Pane()->IsEditing());
    }
    // Whether the exported picture shows the brush's magenta (standard colour 14, in neither
    // stripe) a few pixels above or below the page point.
    static bool StrokeNear(const jpegtest::DecodedJpeg& picture, Point at)
    {
        for (int32_t v = at.v - 3; v <= at.v + 3; ++v) {
            const uint8_t* p = picture.Pixel(JDIMENSION(at.h), JDIMENSION(v));
            if (p[0] > 180 && p[1] < 90 && p[2] > 180)
                return true;
        }
        return false;
    }
};

std::string RouteName(const testing::TestParamInfo<SaveRoute>& info)
{
    static const char* const names[] = { "Keys", "Save", "SaveAs", "OpenAnother", "Quit", "Publish" };
    return names[int(info.param)];
}

} // namespace

// A stroke still being painted, the picture editor open, is in the saved page and in its exported
// picture whichever way the page is saved. The child keeps its place: the page shows as it did,
// the tools window keeps its paint tools and the editor is open again for painting on.
TEST_P(PaintSaveTest, AStrokeStillBeingPaintedIsSaved)
{
    tallow->InstallMenus();
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ASSERT_TRUE(Pane()->IsEditing());
    Point from(40, 30);
    Point to(200, 40);
    PaintStroke(from, to);
    std::vector<std::string> painted = Shown(kTopRows);

    SaveBy(GetParam());
    std::vector<Rect> stored = StoredPictures(Home());
    ASSERT_EQ(stored.size(), 2u) << "the stripes and the stroke";
    Rect stroke(from.h - 12, from.v - 12, to.h + 12, to.v + 12);
    EXPECT_TRUE(stroke.Contains(stored[1].left, stored[1].top) && stroke.Contains(stored[1].right - 1, stored[1].bottom - 1));
    jpegtest::DecodedJpeg exported = HomePicture();
    ASSERT_TRUE(exported.ok) << exported.error;
    ASSERT_EQ(Point(int32_t(exported.width), int32_t(exported.height)), PageBounds().Size());
    EXPECT_TRUE(StrokeNear(exported, Point((from.h + to.h) / 2, (from.v + to.v) / 2))) << "the stroke is exported";
    EXPECT_FALSE(StrokeNear(exported, Point(120, 80)));

    EXPECT_TRUE(Pane()->IsEditing()) << "the child paints on";
    EXPECT_EQ(CTumblerApp::GetTools()->GetMode(), 3) << "with the paint tools";
    EXPECT_EQ(Differences(painted, Shown(kTopRows), {}), 0) << "the page shows as it was painted";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, PaintSaveTest,
    testing::Values(SaveRoute::kKeys, SaveRoute::kSave, SaveRoute::kSaveAs, SaveRoute::kOpenAnother, SaveRoute::kQuit,
        SaveRoute::kPublish),
    RouteName);

// After a save the child paints on: the new stroke makes the page ask to be saved again, and the
// next save keeps both strokes.
TEST_F(PaintSaveTest, PaintingOnAfterASaveIsSavedToo)
{
    tallow->InstallMenus();
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    PaintStroke(Point(40, 30), Point(200, 40));
    SaveBy(SaveRoute::kSave);
    EXPECT_FALSE(window->IsModified());
    PaintStroke(Point(40, 70), Point(200, 80));
    EXPECT_TRUE(window->IsModified()) << "leaving the page asks to save the new stroke";
    ChooseMenu("Save");
    EXPECT_EQ(StoredPictures(Home()).size(), 3u) << "the stripes and both strokes";
    EXPECT_TRUE(StrokeNear(HomePicture(), Point(120, 75)));
}

// Back on the Paint tab after the Page tab, with the stroke painted last selected on the page, the
// child paints anywhere on the page again: the new stroke is saved and exported beside the first.
TEST_F(PaintSaveTest, ThePaintTabVisitedAgainPaintsAnywhereOnThePage)
{
    tallow->InstallMenus();
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    PaintStroke(Point(40, 30), Point(200, 40));
    ClickTab(kPageTab);
    ASSERT_FALSE(Pane()->GetSelectedSprites().IsEmpty()) << "the stroke is selected";
    ClickTab(kPaintTab);
    PaintStroke(Point(40, 90), Point(200, 100));
    SaveBy(SaveRoute::kSave);
    EXPECT_EQ(StoredPictures(Home()).size(), 3u) << "the stripes and both strokes";
    jpegtest::DecodedJpeg exported = HomePicture();
    EXPECT_TRUE(StrokeNear(exported, Point(120, 35)));
    EXPECT_TRUE(StrokeNear(exported, Point(120, 95))) << "the stroke of the second visit";
}

namespace {

class BackgroundSessionTest : public PictureSessionTest {
protected:
    BackgroundSessionTest() { striped = false; }
};

} // namespace

// A background chosen from the Backgrounds tab after a picture was placed lies behind it: the
// picture shows over it on the screen and in the exported picture, its white showing the
// background.
TEST_F(BackgroundSessionTest, ABackgroundChosenAfterAPictureLiesBehindIt)
{
    Point size = PageBounds().Size();
    PutMediaPage("Backgrounds", "Sky", Painted(size.h, size.v, [size](DisplayPort& port) {
        port.DrawRectangle(Rect(0, 0, size.h, size.v), Color(kRed), Color(kRed), 1);
    }));
    Rect placed = PlaceCat(Point(120, 100));
    ASSERT_EQ(placed.Size(), Point(kPictureSide, kPictureSide));
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    ASSERT_TRUE(Pane()->GetGroup()->FindSpriteByName(String("__Background")).Valid());

    Point middle = placed.Center();
    Point margin(placed.left + kMargin / 2, placed.top + kMargin + 4);
    Point corner(10, 10);
    std::vector<std::string> shown = Shown();
    EXPECT_EQ(At(shown, middle), 'g') << "the picture shows over the background";
    EXPECT_EQ(At(shown, margin), 'r') << "its white shows the background";
    EXPECT_EQ(At(shown, corner), 'r');

    driver::ScriptFileDialog("Home");
    window->Save(DocWindow::kSave);
    jpegtest::DecodedJpeg exported = HomePicture();
    ASSERT_TRUE(exported.ok) << exported.error;
    ASSERT_EQ(Point(int32_t(exported.width), int32_t(exported.height)), size);
    auto rgb = [&exported](Point at) {
        const uint8_t* p = exported.Pixel(JDIMENSION(at.h), JDIMENSION(at.v));
        return std::string(p[0] > 160 ? "R" : "-") + (p[1] > 160 ? "G" : "-") + (p[2] > 160 ? "B" : "-");
    };
    EXPECT_EQ(rgb(middle), "-G-") << "the exported picture shows it over the background";
    EXPECT_EQ(rgb(margin), "R--");
    EXPECT_EQ(rgb(corner), "R--");
}
