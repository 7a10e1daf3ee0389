// A child's pictures through the real windows, with the mouse alone and time passing between the
// events as it does under a real mouse (the chores run between them): a picture from the Pictures
// tab placed on a striped page and dragged, and strokes painted in the Paint tab. The screen is
// read back at each step: the page never goes blank, and it shows through the white of pictures.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CHAPane.h"
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

#include "../TallowAppFixture.h"
#include "platform/comdlg/ComdlgTesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;

// Standard colours: the page's stripes and the picture's middle.
constexpr int kBlue = 9;
constexpr int kYellow = 10;
constexpr int kGreen = 8;
// The picture of the Pictures tab: green inside a white margin that the page shows through.
constexpr int32_t kPictureSide = 30;
constexpr int32_t kMargin = 5;
// Time between two events of a hand-held mouse.
constexpr uint64_t kEventGap = 40;
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
    void SetUp() override
    {
        // As the program starts: the tools window follows the page pane.
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        std::filesystem::remove_all(driver::HostPath("plume/Pictures"));
        driver::MakeHostFolder("plume/Pictures");
        PutPicturePage();
        StripePage();
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(driver::HostPath("plume/Pictures"));
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    // Pictures holds "Cat", a page whose one picture is drawn see-through, as the shipped ones.
    void PutPicturePage()
    {
        FileReference startup = FileReference::StartupFolder();
        SmartPtr<FileReference> folder = FileReference::FileReferenceInFolder(startup, String("Pictures"), false);
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
            tallow->GetDocumentTypes()->GetFileType(), tallow->GetCreator(), *folder.Get(), String("Cat"), true);
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kPictureSide, kPictureSide));
        SmartPtr<CMoviePic> cel = Painted(kPictureSide, kPictureSide, [](DisplayPort& port) {
            port.DrawRectangle(Rect(kMargin, kMargin, kPictureSide - kMargin, kPictureSide - kMargin), Color(kGreen),
                Color(kGreen), 1);
        });
        cel->ToggleModeBit2(true);
        group->AddMovieAsSprite(0, group->NumFrames(), cel.Get());
        SmartPtr<CShow> show = new CShow(group.Get());
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
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
        // A background: no see-through mode.
        if (stripes->ToggleModeBit0(false))
            stripes->ToggleModeBit0(true);
        group->AddMovieAsSprite(0, group->NumFrames(), stripes.Get());
        Pane()->InvalidateView(false);
    }

    CHAPane* Pane() const { return window->GetPagePane(); }
    // A page point in the window's surface (the driver's coordinates).
    Point OnScreen(Point page) const
    {
        Point origin = window->GetContentOrigin();
        Rect pane = Pane()->GetBounds();
        return Point(origin.h + pane.left + page.h, origin.v + pane.top + page.v);
    }
    // A press and moves to each page point in turn, `kEventGap` ms apart, the button held; answers
    // where the mouse is (the driver's coordinates).
    Point HoldAndMove(Point from, std::initializer_list<Point> through)
    {
        Point at = OnScreen(from);
        driver::MoveMouse(at.h, at.v);
        driver::RunFor(kEventGap);
        driver::PressMouse(at.h, at.v);
        for (Point p : through) {
            driver::RunFor(kEventGap);
            at = OnScreen(p);
            driver::MoveMouse(at.h, at.v);
        }
        driver::RunFor(kEventGap);
        return at;
    }
    void DragThrough(Point from, std::initializer_list<Point> through)
    {
        Point at = HoldAndMove(from, through);
        driver::ReleaseMouse(at.h, at.v);
        driver::RunUntilIdle();
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

    ClickTab(11);
    auto* browserPane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
    ASSERT_NE(browserPane, nullptr) << "the Pictures browser lies over the page";
    SmartPtr<CBrowser> browser = browserPane->GetBrowser();
    ASSERT_EQ(browser->NumEntries(), 1u);
    driver::RunFor(2000);
    ClickWindow(window.Get(), browser->CellRect(1).Center());
    ASSERT_FALSE(window->GetBrowserPane().Valid()) << "the chosen picture shows the page again";
    Point drop = OnScreen(Point(120, 100));
    driver::Click(drop.h, drop.v);
    driver::RunUntilIdle();
    Rect placed = SpriteBounds(*Pane()->GetGroup(), "Cat");
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
    SmartPtr<FileReference> file = new FileReference("c:\\plume\\Projects\\Kim\\Home.mvi");
    SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), 1));
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
