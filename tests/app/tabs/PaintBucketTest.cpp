// The bucket and File ▸ Import on a page made of the shipped art, through the real windows: the
// Hills background from the Backgrounds tab and the Cat from the Pictures tab. The page is read
// back as the window shows it and as its exported picture shows it.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/palettes/CKidTools.h"
#include "authoring/palettes/COptionView.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CMovieGroup.h"
#include "graphics/ColorTable.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "export/JpegDecode.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;
namespace fs = std::filesystem;
using pw::foundation::TextOf;

// The bucket's tool number, which names its cell in the kid tools window.
constexpr int32_t kBucket = 103;
// The rows of the page above the kid tools, which the Paint tab shows below it.
constexpr int32_t kTopRows = 100;
// How far the exported picture's compression may move a colour (per channel): much less than
// orange lies from white.
constexpr int kJpegBlur = 60;

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

// The Cat's fur, a cloud, the sun.
constexpr Rgb kOrange { 255, 153, 51 };
constexpr Rgb kWhite { 255, 255, 255 };
constexpr Rgb kSunYellow { 255, 204, 0 };

bool Near(Rgb a, Rgb b, int by)
{
    return std::abs(a.red - b.red) <= by && std::abs(a.green - b.green) <= by && std::abs(a.blue - b.blue) <= by;
}

// The sky's blues, and nothing else of the page.
bool Bluish(Rgb c)
{
    return c.blue == 255 && c.red < 255 && c.green >= 153;
}

// A picture of the page, pixel by pixel, from `origin` (a page point) on.
struct Shot {
    int32_t width { 0 };
    std::vector<Rgb> pixels;
    Point origin { 0, 0 };
    Rgb At(Point p) const { return pixels.at(size_t((p.v - origin.v) * width + p.h - origin.h)); }
    Point Size() const { return Point(width, width > 0 ? int32_t(pixels.size()) / width : 0); }
};

class PaintBucketTest : public apptest::PageWindowFixture {
protected:
    static constexpr const char* kFolders[] = { "Backgrounds", "Pictures", "CoolSites" };

    void SetUp() override
    {
        // As the program starts: the tools window follows the page pane.
        pw::authoring::InstallApplicationHooks();
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
        for (const char* folder : kFolders) {
            fs::remove_all(driver::HostPath(std::string("plume/") + folder));
            driver::MakeHostFolder(std::string("plume/") + folder);
        }
        fs::copy_file(fs::path(PW_DATA_DIR) / "Backgrounds" / "Hills.mvi", driver::HostPath("plume/Backgrounds/Hills.mvi"));
        fs::copy_file(fs::path(PW_DATA_DIR) / "Pictures" / "Cat.mvi", driver::HostPath("plume/Pictures/Cat.mvi"));
        fs::copy_file(
            fs::path(PW_DATA_DIR) / "CoolSites" / "National Zoo.mvi", driver::HostPath("plume/CoolSites/National Zoo.mvi"));
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        for (const char* folder : kFolders)
            fs::remove_all(driver::HostPath(std::string("plume/") + folder));
        PageWindowFixture::TearDown();
        CHAApp::SetHooks(CHAApp::Hooks());
        pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
    }

    Point PageSize() const
    {
        Rect page(0, 0, 0, 0);
        Pane()->GetGroup()->GetBounds(page);
        return page.Size();
    }
    // The Cat put on the page with its middle at `at`; answers where it lies.
    Rect PlaceCat(Point at)
    {
        ClickTab(kPicturesTab);
        ClickOnlyEntry();
        ClickPage(at);
        Rect bounds(0, 0, 0, 0);
        if (SmartPtr<CSprite> cat = Pane()->GetGroup()->FindSpriteByName(String("Cat")); cat.Valid())
            cat->GetFrameBounds(0, &bounds, nullptr);
        return bounds;
    }
    // Hills from the Backgrounds tab and the Cat placed on its sky at `at`: where the Cat lies, and
    // the points of its fur as the page shows them (none when either is missing).
    std::vector<Point> HillsWithTheCat(Point at, Rect& cat)
    {
        ClickTab(kBackgroundsTab);
        ClickOnlyEntry();
        cat = PlaceCat(at);
        EXPECT_EQ(cat.Size(), Point(96, 96)) << "the Cat lies on the page";
        return AllRound(Shown(), cat, kOrange);
    }
    // The page's picture of that name, or none.
    CSprite* Named(const char* name) const { return Pane()->GetGroup()->FindSpriteByName(String(name)).Get(); }
    static Rect At(CSprite* sprite)
    {
        Rect bounds(0, 0, 0, 0);
        if (sprite)
            sprite->GetFrameBounds(0, &bounds, nullptr);
        return bounds;
    }
    // Pressed at `from`, moved to `to` and let go there, as a hand does it (page points).
    void DragPage(Point from, Point to)
    {
        Rect pane = Pane()->GetBounds();
        Point origin = window->GetContentOrigin();
        origin = Point(origin.h + pane.left, origin.v + pane.top);
        driver::MoveMouse(origin.h + from.h, origin.v + from.v);
        driver::RunUntilIdle();
        driver::PressMouse(origin.h + from.h, origin.v + from.v);
        driver::RunUntilIdle();
        driver::MoveMouse(origin.h + to.h, origin.v + to.v);
        driver::RunUntilIdle();
        driver::ReleaseMouse(origin.h + to.h, origin.v + to.v);
        driver::RunUntilIdle();
    }
    void ChooseBucket()
    {
        SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
        int16_t cell = tools->IndexOfToolNumber(kBucket);
        ClickWindow(SmartPtr<Window>(tools.Get()), tools->PaletteOfTool(kBucket)->GetCellRect(cell).Center());
        ASSERT_EQ(tools->GetCurrentToolNumber(), kBucket);
    }
    void ChooseMenu(const std::string& title)
    {
        EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, MenuCommand(title)));
        driver::RunUntilIdle();
    }
    // The page as the window shows it.
    Shot Shown()
    {
        driver::RunUntilIdle();
        pw::platform::Frame frame = driver::ReadClientArea(window->GetFrame()->GetOSWindow());
        Rect pane = Pane()->GetBounds();
        Point size = PageSize();
        Shot shot { size.h, {}, Point(0, 0) };
        for (int32_t v = 0; v < size.v; ++v) {
            for (int32_t h = 0; h < size.h; ++h) {
                const pw::platform::PaletteColor& c = frame.palette[frame.At(pane.left + h, pane.top + v)];
                shot.pixels.push_back(Rgb { c.red, c.green, c.blue });
            }
        }
        return shot;
    }
    // The page saved as "Home" and its exported picture, as a browser shows it: the part of the
    // page that its pictures cover.
    Shot Exported()
    {
        Rect page(0, 0, 0, 0);
        Pane()->GetGroup()->GetBounds(page);
        Rect covered(0, 0, 0, 0);
        Pane()->GetGroup()->GetFrameBounds(covered, 0);
        covered = covered.Intersect(page);
        driver::ScriptFileDialog("Home");
        ChooseMenu("Save");
        std::ifstream in(driver::HostPath("plume/Projects/Kim/HTML/Home.jpg"), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        jpegtest::DecodedJpeg picture = jpegtest::Decode(bytes);
        EXPECT_TRUE(picture.ok) << picture.error;
        EXPECT_EQ(Point(int32_t(picture.width), int32_t(picture.height)), covered.Size());
        Shot shot { int32_t(picture.width), {}, covered.TopLeft() };
        for (JDIMENSION v = 0; picture.ok && v < picture.height; ++v) {
            for (JDIMENSION h = 0; h < picture.width; ++h) {
                const uint8_t* p = picture.Pixel(h, v);
                shot.pixels.push_back(Rgb { p[0], p[1], p[2] });
            }
        }
        return shot;
    }
    // A point of the first rows whose 5 x 5 neighbourhood is all of the colour, or (-1, -1).
    static Point Somewhere(const Shot& shot, int32_t rows, Rgb color)
    {
        std::vector<Point> found = AllRound(shot, Rect(0, 0, shot.Size().h, rows), color);
        return found.empty() ? Point(-1, -1) : found[found.size() / 2];
    }
    // The points of the rectangle whose 5 x 5 neighbourhood is all of the colour (so that the
    // exported picture's blur leaves them of that colour too).
    static std::vector<Point> AllRound(const Shot& shot, const Rect& within, Rgb color)
    {
        std::vector<Point> found;
        for (int32_t v = within.top + 2; v < within.bottom - 2; ++v) {
            for (int32_t h = within.left + 2; h < within.right - 2; ++h) {
                bool all = true;
                for (int32_t dv = -2; dv <= 2 && all; ++dv)
                    for (int32_t dh = -2; dh <= 2 && all; ++dh)
                        all = shot.At(Point(h + dh, v + dv)) == color;
                if (all)
                    found.push_back(Point(h, v));
            }
        }
        return found;
    }
};

} // namespace

// Hills, the Cat placed on its sky, then the Paint tab's bucket on the sky: the sky takes the
// bucket's colour, while the Cat, the hills, the clouds and the sun keep theirs, on the screen
// while painting (above the kid tools), on the page once the Page tab is chosen (which shows it
// exactly as it showed while painting) and in the exported picture.
TEST_F(PaintBucketTest, ABucketOnTheSkyFillsOnlyTheSky)
{
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    Rect cat = PlaceCat(Point(120, 150));
    ASSERT_EQ(cat.Size(), Point(96, 96)) << "the Cat lies on the page";
    Shot before = Shown();
    std::vector<Point> fur = AllRound(before, cat, kOrange);
    ASSERT_GT(fur.size(), 100u);
    Point size = PageSize();
    Point sky(size.h / 2, 6);
    Point low(6, size.v / 2);
    Point hills(size.h / 2, size.v - 10);
    Point cloud = Somewhere(before, kTopRows, kWhite);
    Point sun = Somewhere(before, kTopRows, kSunYellow);
    ASSERT_TRUE(Bluish(before.At(sky)) && Bluish(before.At(low))) << "the sky is blue";
    ASSERT_GE(cloud.h, 0) << "a cloud shows";
    ASSERT_GE(sun.h, 0) << "the sun shows";

    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ASSERT_TRUE(Pane()->IsEditing());
    ChooseBucket();
    const Color& paint = pw::authoring::PaintSettings::Current().foreground;
    Rgb filled { paint.red >> 8, paint.green >> 8, paint.blue >> 8 };
    ASSERT_FALSE(Bluish(filled));
    ClickPage(sky);
    Shot painting = Shown();
    EXPECT_EQ(painting.At(sky), filled) << "the sky is filled";
    EXPECT_EQ(painting.At(cloud), kWhite) << "the cloud is not";
    EXPECT_EQ(painting.At(sun), kSunYellow) << "nor the sun";

    ClickTab(kPageTab);
    ASSERT_FALSE(Pane()->IsEditing());
    Shot page = Shown();
    EXPECT_EQ(page.At(low), filled) << "the sky is filled down to the hills";
    for (Point kept : { cloud, sun, hills }) {
        SCOPED_TRACE("at " + std::to_string(kept.h) + "," + std::to_string(kept.v));
        EXPECT_EQ(page.At(kept), before.At(kept));
    }
    int furKept = 0;
    for (Point p : fur)
        furKept += page.At(p) == kOrange;
    EXPECT_EQ(furKept, int(fur.size())) << "the Cat shows over the filled sky";
    int hillsChanged = 0;
    for (int32_t v = size.v - 30; v < size.v; ++v) {
        for (int32_t h = 0; h < size.h; ++h)
            hillsChanged += page.At(Point(h, v)) != before.At(Point(h, v));
    }
    EXPECT_EQ(hillsChanged, 0) << "the hills keep their colour";
    // The new picture is selected: its corner handles aside, the page shows as it was painted.
    Rect made(0, 0, 0, 0);
    if (SmartList<CSprite> selected = Pane()->GetSelectedSprites(); !selected.IsEmpty())
        selected.Item(1)->GetFrameBounds(0, &made, nullptr);
    int differing = 0;
    for (int32_t v = 0; v < kTopRows; ++v) {
        for (int32_t h = 0; h < size.h; ++h) {
            bool handle = made.Contains(h, v) && (h < made.left + 8 || h >= made.right - 8)
                && (v < made.top + 8 || v >= made.bottom - 8);
            differing += !handle && page.At(Point(h, v)) != painting.At(Point(h, v));
        }
    }
    EXPECT_EQ(differing, 0) << "the page shows as it did while painting";

    Shot exported = Exported();
    EXPECT_TRUE(Near(exported.At(sky), filled, kJpegBlur)) << "the exported sky";
    EXPECT_TRUE(Near(exported.At(cloud), kWhite, kJpegBlur)) << "the exported cloud";
    EXPECT_TRUE(Near(exported.At(hills), before.At(hills), kJpegBlur)) << "the exported hills";
    int furExported = 0;
    for (Point p : fur)
        furExported += Near(exported.At(p), kOrange, kJpegBlur);
    EXPECT_EQ(furExported, int(fur.size())) << "the exported Cat";
}

// The bucket's sky lies in front of the Cat and stays selected on the Page tab, yet the Cat shows
// through its white, and what the child presses is what the child sees: a drag from the Cat moves
// the Cat (its fur shows at the new place) and leaves the sky as it was, a click on the sky takes
// the sky, and a click on the Cat with the Links tab's link tool (a page picked with only the hills
// pressed before, so that no picture took it at once) reaches the Cat.
TEST_F(PaintBucketTest, TheCatSeenThroughAFilledSkyIsTheOneMovedAndLinked)
{
    Page("Second");
    Rect cat(0, 0, 0, 0);
    std::vector<Point> fur = HillsWithTheCat(Point(120, 150), cat);
    ASSERT_GT(fur.size(), 100u);
    Point sky(PageSize().h / 2, 6);
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ChooseBucket();
    ClickPage(sky);
    ClickTab(kPageTab);
    CSprite* filled = Selected();
    ASSERT_NE(filled, nullptr) << "the sky's picture is selected";
    ASSERT_NE(filled, Named("Cat"));
    const Rect skyPlace = At(filled);
    const Rgb skyColor = Shown().At(sky);

    const Point by(150, -20);
    DragPage(fur[fur.size() / 2], Point(fur[fur.size() / 2].h + by.h, fur[fur.size() / 2].v + by.v));
    Rect moved = cat;
    moved.Offset(by.h, by.v);
    EXPECT_EQ(At(Named("Cat")), moved) << "the Cat moved";
    EXPECT_EQ(At(filled), skyPlace) << "the sky stayed";
    EXPECT_EQ(Selected(), Named("Cat"));
    Shot page = Shown();
    int furMoved = 0;
    for (Point p : fur)
        furMoved += page.At(Point(p.h + by.h, p.v + by.v)) == kOrange;
    EXPECT_EQ(furMoved, int(fur.size())) << "the Cat shows at its new place";
    EXPECT_EQ(page.At(sky), skyColor) << "the sky keeps its fill";

    ClickPage(sky);
    EXPECT_EQ(Selected(), filled) << "a click on the sky takes the sky";
    EXPECT_EQ(At(filled), skyPlace);

    ClickPage(Point(PageSize().h / 2, PageSize().v - 6));
    ClickSelector(kLinksSet);
    ClickTab(kLinkToPageTab);
    ClickEntry("Second.mvi");
    ClickPage(moved.Center());
    EXPECT_NE(Named("Cat")->LinkAtFrame(0), nullptr) << "the Cat took the link";
    EXPECT_EQ(filled->LinkAtFrame(0), nullptr) << "the sky did not";
    EXPECT_EQ(Selected(), Named("Cat")) << "the click reached the Cat, not the sky in front of it";
}

// The sky of Hills filled around the Cat lies behind the Cat, over the page's background: the Cat
// taken away leaves the sky filled where it stood, and the fill never hides a picture wherever it
// goes on the page.
TEST_F(PaintBucketTest, AFillOfTheSkyLiesBehindThePicturesAndLeavesNoHoleWhereTheyStood)
{
    Rect cat(0, 0, 0, 0);
    std::vector<Point> fur = HillsWithTheCat(Point(120, 150), cat);
    ASSERT_GT(fur.size(), 100u);

    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ChooseBucket();
    const Color& paint = pw::authoring::PaintSettings::Current().foreground;
    Rgb filled { paint.red >> 8, paint.green >> 8, paint.blue >> 8 };
    Point sky(PageSize().h / 2, 6);
    ClickPage(sky);
    ClickTab(kPageTab);
    ASSERT_FALSE(Pane()->IsEditing());
    CMovieGroup* group = Pane()->GetGroup();
    SmartList<CSprite> selected = Pane()->GetSelectedSprites();
    ASSERT_FALSE(selected.IsEmpty());
    EXPECT_EQ(group->IndexOf(selected.Item(1)), 1) << "the fill lies just over the background";
    EXPECT_GT(group->IndexOf(Named("Cat")), 1) << "the Cat stays in front of it";
    // The paint dragged on the Page tab stays under the Cat.
    DragThrough(sky, { Point(sky.h + 10, sky.v + 5), Point(sky.h + 20, sky.v + 10) });
    EXPECT_EQ(group->IndexOf(selected.Item(1)), 1) << "the paint dragged stays under the pictures";

    ClickPage(cat.Center());
    ASSERT_EQ(Selected(), Named("Cat"));
    driver::TypeKey(VK_DELETE);
    driver::RunUntilIdle();
    ASSERT_EQ(Named("Cat"), nullptr);
    Shot page = Shown();
    int filledWhereTheCatStood = 0;
    for (Point p : fur)
        filledWhereTheCatStood += page.At(p) == filled;
    EXPECT_EQ(filledWhereTheCatStood, int(fur.size())) << "the sky is filled where the Cat stood";
}

// White picked from the colour chart paints white: the bucket in the chart's white on the sky of
// Hills covers the sky in the palest grey, where white, which a painted picture leaves see-through,
// would show the sky again.
TEST_F(PaintBucketTest, WhiteFromTheChartPaintsOverTheSky)
{
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ChooseBucket();
    auto* tools = dynamic_cast<CKidTools*>(CTumblerApp::GetTools().Get());
    ASSERT_TRUE(tools && tools->GetPatternSelector().Valid());
    ClickWindow(SmartPtr<Window>(tools), tools->GetPatternSelector()->GetInnerRect().Center());
    HWND chart = driver::FindWindowByTitle("Selector Window");
    ASSERT_NE(chart, nullptr) << "the chart opened";
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    int32_t white = 0;
    while (white < 256 && !table->GetColor(uint32_t(white)).Equals(Color(0)))
        ++white;
    ASSERT_LT(white, 256);
    ClickWindow(Window::FromHandle(chart), Point(5 + 10 * (white % 32), 5 + 10 * (white / 32)));

    Point sky(PageSize().h / 2, 6);
    ClickPage(sky);
    ClickTab(kPageTab);
    Rgb shown = Shown().At(sky);
    EXPECT_TRUE(shown.red >= 235 && shown.green >= 235 && shown.blue >= 235 && !(shown == kWhite))
        << "the sky shows the solid white nearest the palest grey, not the sky through white";
}

// The Cat placed, then File ▸ Import of the Hills background page: the page gets the hills
// behind the Cat, which still shows whole, on the screen and in the exported picture.
TEST_F(PaintBucketTest, ABackgroundPageImportedLiesBehindThePlacedPictures)
{
    Rect cat = PlaceCat(Point(120, 150));
    ASSERT_EQ(cat.Size(), Point(96, 96));
    Shot before = Shown();
    std::vector<Point> fur = AllRound(before, cat, kOrange);
    ASSERT_GT(fur.size(), 100u);

    driver::ScriptFileDialog("c:\\plume\\Backgrounds\\Hills.mvi");
    ChooseMenu("Import\x85");
    Shot after = Shown();
    EXPECT_TRUE(Bluish(after.At(Point(PageSize().h / 2, 6)))) << "the hills page came in";
    int furKept = 0;
    for (Point p : fur)
        furKept += after.At(p) == kOrange;
    EXPECT_EQ(furKept, int(fur.size())) << "the Cat shows over it";

    Shot exported = Exported();
    int furExported = 0;
    for (Point p : fur)
        furExported += Near(exported.At(p), kOrange, kJpegBlur);
    EXPECT_EQ(furExported, int(fur.size())) << "the exported Cat";
}

// File ▸ Import lists the sound files beside the pages, as the recording dialog's message tells a
// child whose sound card fails; a WAVE file chosen there goes on the page as a sound.
TEST_F(PaintBucketTest, ASoundFileIsOfferedByImportAndGoesOnThePage)
{
    fs::copy_file(fs::path(PW_DATA_DIR) / "Sounds" / "Boing.wav", driver::HostPath("plume/Pictures/Boing.wav"));
    fs::copy_file(fs::path(PW_DATA_DIR) / "Data" / "401.bmp", DataFolder() / "401.bmp"); // a sound on the page
    uint32_t before = Pane()->GetGroup()->NumSprites();
    driver::ScriptFileDialog("c:\\plume\\Pictures\\Boing.wav");
    ChooseMenu("Import\x85");
    ASSERT_FALSE(driver::FileDialogLog().empty());
    std::vector<std::string> offered;
    for (const auto& filter : driver::FileDialogLog().back().request.filters)
        offered.push_back(filter.patterns);
    EXPECT_EQ(offered, (std::vector<std::string> { "*.mvi", "*.wav", "*.IFF" }));
    ASSERT_EQ(Pane()->GetGroup()->NumSprites(), before + 1) << "the sound came in";
    CSprite* sound = Pane()->GetGroup()->GetSprite(int16_t(before));
    EXPECT_EQ(TextOf(*sound->GetName().Get()), "Boing");
    EXPECT_NE(sound->SoundAtFrame(0), nullptr);
}

// A web link from the Cool Sites tab, clicked with no picture selected, then a click on the page
// (its background, higher than the page, put in its middle): the page's background takes no link;
// the button goes on the page where the child clicked, wholly on the part of the page shown also
// beside its edges; Edit > Paste puts one more wholly there, where the link's own page has it. A
// click on the Cat gives the Cat the link, and the mark that shows it goes away whole.
TEST_F(PaintBucketTest, AWebLinkGoesOnThePageWhereClickedOrOnThePictureClicked)
{
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    Rect cat = PlaceCat(Point(120, 150));
    ASSERT_EQ(cat.Size(), Point(96, 96));
    CSprite* background = Named("__Background");
    ASSERT_NE(background, nullptr);
    Rect page(0, 0, 0, 0);
    Pane()->GetGroup()->GetBounds(page);
    EXPECT_EQ(At(background).Center(), page.Center()) << "the background, higher than the page, stays centred on it";
    const Rect room = page.Intersect(Rect(0, 0, Pane()->GetBounds().Size().h, Pane()->GetBounds().Size().v));
    ClickSelector(kLinksSet);

    // The button put last, as the page keeps it: the group's front picture.
    auto newest = [&] { return Pane()->GetGroup()->GetSprite(int16_t(Pane()->GetGroup()->NumSprites() - 1)); };
    auto expectOnThePage = [&](CSprite* button) {
        ASSERT_NE(button, nullptr);
        EXPECT_NE(button->LinkAtFrame(0), nullptr) << "the button links";
        Rect at = At(button);
        EXPECT_EQ(at.Intersect(room), at) << "wholly on the page shown";
    };
    struct Place {
        const char* name;
        Point click;
        Point expectedCentre;
    } const places[] = {
        { "in the sky", Point(250, 60), Point(250, 60) },
        { "by the top-left corner", Point(3, 3), Point(-1, -1) },
        { "by the bottom-right corner", Point(room.right - 2, room.bottom - 2), Point(-1, -1) },
    };
    // A click on the sky with the default tool leaves only the background selected: the next link
    // chosen waits for a press.
    auto selectNothing = [&] {
        ClickPage(Point(room.right - 150, room.top + 150));
        ASSERT_EQ(Selected(), background);
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        uint32_t before = Pane()->GetGroup()->NumSprites();
        selectNothing();
        ClickTab(kCoolSitesTab);
        ClickEntry("National Zoo.mvi");
        ClickPage(place.click);
        ASSERT_EQ(Pane()->GetGroup()->NumSprites(), before + 1) << "a button went on the page";
        expectOnThePage(newest());
        if (place.expectedCentre.h >= 0) {
            EXPECT_EQ(At(newest()).Center(), place.expectedCentre) << "where the child clicked";
        }
    }
    EXPECT_EQ(background->LinkAtFrame(0), nullptr) << "the background took no link";

    {
        SCOPED_TRACE("pasted");
        uint32_t before = Pane()->GetGroup()->NumSprites();
        selectNothing();
        ClickTab(kCoolSitesTab);
        ClickEntry("National Zoo.mvi");
        ChooseMenu("Paste");
        ASSERT_EQ(Pane()->GetGroup()->NumSprites(), before + 1);
        expectOnThePage(newest());
        EXPECT_EQ(At(newest()).TopLeft(), Point(0, 0)) << "where the link's own page has it, not where it was put last";
    }

    uint32_t buttons = Pane()->GetGroup()->NumSprites();
    selectNothing();
    ClickTab(kCoolSitesTab);
    ClickEntry("National Zoo.mvi");
    ClickPage(cat.Center());
    EXPECT_EQ(Pane()->GetGroup()->NumSprites(), buttons) << "no button for a click on a picture";
    EXPECT_NE(Named("Cat")->LinkAtFrame(0), nullptr) << "the Cat took the link";
    // Once more, on the Cat selected by the Tab key while the tool holds the link: only the mark's
    // own redraw can take it away.
    selectNothing();
    ClickTab(kCoolSitesTab);
    ClickEntry("National Zoo.mvi");
    for (int key = 0; key < 8 && Selected() != Named("Cat"); ++key) {
        driver::TypeKey(VK_TAB);
        driver::RunUntilIdle();
    }
    ASSERT_EQ(Selected(), Named("Cat"));
    Shot before = Shown();
    ClickPage(cat.Center());
    Shot after = Shown();
    int marked = 0;
    for (int32_t v = cat.top - 14; v < cat.bottom + 14; ++v) {
        for (int32_t h = cat.left - 14; h < cat.right + 14; ++h)
            marked += !cat.Contains(h, v) && room.Contains(h, v) && after.At(Point(h, v)) != before.At(Point(h, v));
    }
    EXPECT_EQ(marked, 0) << "nothing of the mark stays round the Cat";
}

// The colour chart a press on a swatch opens shows whole on the screen and in front of every
// window, wherever the swatch is: on the kid tools where the Paint tab puts them, dragged up under
// the page window's tabs, to the top and to the left of the screen, and on the Write tab's text
// options. Every cell shows its colour there, all of it.
TEST_F(PaintBucketTest, TheColourChartShowsWholeInFrontWhereverItsSwatchIs)
{
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    ClickSelector(kPaintSoundSet);
    auto* tools = dynamic_cast<CKidTools*>(CTumblerApp::GetTools().Get());
    ASSERT_NE(tools, nullptr);
    HWND toolsWindow = tools->GetFrame()->GetOSWindow();
    HWND main = GetParent(toolsWindow);
    RECT client {};
    GetClientRect(main, &client);
    POINT origin { 0, 0 };
    ClientToScreen(main, &origin);
    const Rect screen(origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
    const Rect tabs = window->GetTabs()->GetBounds();
    SmartPtr<ColorTable> table = ColorTable::Setup(8);

    // The kid tools dragged so that their caption's point lands at `to` (screen), or left alone.
    auto dragTools = [&](Point to) {
        POINT caption = driver::CaptionPoint(toolsWindow);
        driver::Drag(caption.x, caption.y, to.h, to.v);
        driver::RunUntilIdle();
    };
    struct Place {
        const char* name;
        int16_t tab;
        std::function<void()> move;
    } const places[] = {
        { "the kid tools as the Paint tab puts them", kPaintTab, [] {} },
        { "the kid tools under the page's tabs", kPaintTab,
            [&] {
                Point below = window->GetContentOrigin();
                dragTools(Point(below.h + 300, below.v + tabs.bottom + 4));
            } },
        { "the kid tools at the top of the screen", kPaintTab, [&] { dragTools(Point(screen.left + 300, screen.top)); } },
        { "the kid tools at the left of the screen", kPaintTab, [&] { dragTools(Point(screen.left, screen.top + 200)); } },
        { "the text options", kWriteTab, [] {} },
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        ClickTab(place.tab);
        place.move();
        SmartPtr<Window> holder;
        CPatternSelector* swatch = nullptr;
        if (place.tab == kPaintTab) {
            holder = SmartPtr<Window>(tools);
            swatch = tools->GetPatternSelector().Get();
        } else if (auto* options = SmartCast<COptionView>(tallow->GetCurrentFloater().Get())) {
            holder = SmartPtr<Window>(options);
            const SmartList<View>& strip = options->GetChildren().Item(1)->GetChildren();
            for (uint32_t i = 1; i <= strip.NumItems(); ++i) {
                if (auto* found = dynamic_cast<CPatternSelector*>(strip.Item(i)))
                    swatch = found;
            }
        }
        ASSERT_NE(swatch, nullptr) << "the swatch shows";
        Point square = swatch->GetInnerRect().Center();
        ClickWindow(holder, square);
        HWND chart = driver::FindWindowByTitle("Selector Window");
        ASSERT_TRUE(chart && IsWindowVisible(chart)) << "the chart opened";
        Rect grid = Window::FromHandle(chart)->GetFrame()->GetContentBounds();
        EXPECT_EQ(grid.Size(), Point(320, 80));
        EXPECT_EQ(grid.Intersect(screen), grid) << "on the screen";
        pw::platform::Frame shown = driver::ReadDesktop();
        // Each cell's fill, which leaves its last row and column to the grid's lines; the first
        // cell shows the grid's highlight instead.
        int wrong = 0;
        for (int32_t index = 1; index < 256; ++index) {
            const Color& colour = table->GetColor(uint32_t(index));
            int32_t left = grid.left + 10 * (index % 32);
            int32_t top = grid.top + 10 * (index / 32);
            for (Point corner : { Point(left, top), Point(left + 8, top), Point(left, top + 8), Point(left + 8, top + 8) }) {
                const pw::platform::PaletteColor& at = shown.palette[shown.At(corner.h, corner.v)];
                wrong += at.red != colour.red >> 8 || at.green != colour.green >> 8 || at.blue != colour.blue >> 8;
            }
        }
        EXPECT_EQ(wrong, 0) << "every cell shows its colour whole";
        driver::TypeKey(VK_ESCAPE);
        driver::RunUntilIdle();
        ClickTab(kPageTab);
    }
}

namespace {

// The picture Link Page put on the page: the one with a link that no tab named.
CSprite* LinkPicture(CMovieGroup& group)
{
    for (uint32_t i = 0; i < group.NumSprites(); ++i) {
        CSprite* sprite = group.GetSprite(int16_t(i));
        if (sprite->LinkAtFrame(0) && TextOf(*sprite->GetName().Get()).empty())
            return sprite;
    }
    return nullptr;
}

int32_t PixelCount(const Rect& rect)
{
    return rect.Size().h * rect.Size().v;
}

} // namespace

// A picture Link Page puts on the sky of Hills is a picture, not paint: the bucket's fill of the
// sky goes behind it and it shows whole over the fill; dragged away it shows whole at its new
// place, still in front, and the sky is filled where it stood, no piece of the old sky left.
TEST_F(PaintBucketTest, ALinkPagePictureStaysInFrontOfAFillAndLeavesNoHole)
{
    Page("Second");
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    Shot hills = Shown();
    ClickSelector(kLinksSet);
    ClickTab(kLinkToPageTab);
    ClickEntry("Second.mvi");
    Point size = PageSize();
    ClickPage(Point(size.h / 4, size.v / 2 - 3));
    CMovieGroup& group = *Pane()->GetGroup();
    CSprite* button = LinkPicture(group);
    ASSERT_NE(button, nullptr) << "the picture came onto the page";
    const Rect place = At(button);
    Shot before = Shown();
    int sky = 0;
    for (int32_t v = place.top; v < place.bottom; ++v)
        for (int32_t h = place.left; h < place.right; ++h)
            sky += Bluish(hills.At(Point(h, v)));
    ASSERT_EQ(sky, PixelCount(place)) << "the picture lies on plain sky";

    ClickSelector(kPaintSoundSet);
    ClickTab(kPaintTab);
    ChooseBucket();
    ClickPage(Point(size.h * 3 / 4, 6));
    ClickTab(kPageTab);
    CSprite* fill = Selected();
    ASSERT_TRUE(fill && fill != button) << "the fill is selected";
    EXPECT_LT(group.IndexOf(fill), group.IndexOf(button)) << "the fill lies behind the picture";
    const Rgb filled = Shown().At(Point(size.h * 3 / 4, 6));

    const Point by(place.Size().h + 20, 10);
    DragPage(place.Center(), Point(place.Center().h + by.h, place.Center().v + by.v));
    Rect moved = place;
    moved.Offset(by.h, by.v);
    ASSERT_EQ(At(button), moved) << "the picture moved";
    EXPECT_LT(group.IndexOf(fill), group.IndexOf(button)) << "and stays in front of the fill";
    Shot after = Shown();
    int shownWhole = 0;
    int filledWhereItStood = 0;
    for (int32_t v = place.top; v < place.bottom; ++v) {
        for (int32_t h = place.left; h < place.right; ++h) {
            // The selected picture's corner handles aside.
            bool handle = (h < place.left + 8 || h >= place.right - 8) && (v < place.top + 8 || v >= place.bottom - 8);
            shownWhole += handle || after.At(Point(h + by.h, v + by.v)) == before.At(Point(h, v));
            filledWhereItStood += after.At(Point(h, v)) == filled;
        }
    }
    EXPECT_EQ(shownWhole, PixelCount(place)) << "the picture shows whole";
    EXPECT_EQ(filledWhereItStood, PixelCount(place)) << "no hole of the old sky";
}

// Edit ▸ Send Backwards puts the Cat behind the Link Page picture it was placed over, and a drag
// of the Cat leaves it there: where the two meet, the picture shows, as it did before the Cat came.
TEST_F(PaintBucketTest, APictureSentBackwardsStaysBehindWhenDragged)
{
    Page("Second");
    ClickTab(kBackgroundsTab);
    ClickOnlyEntry();
    ClickSelector(kLinksSet);
    ClickTab(kLinkToPageTab);
    ClickEntry("Second.mvi");
    ClickPage(Point(100, 120));
    CMovieGroup& group = *Pane()->GetGroup();
    CSprite* button = LinkPicture(group);
    ASSERT_NE(button, nullptr);
    const Rect place = At(button);
    Shot before = Shown();

    ClickSelector(kPicturesSet);
    Rect cat = PlaceCat(Point(place.right + 20, place.Center().v));
    ASSERT_TRUE(cat.Intersects(place)) << "the Cat covers part of the picture";
    ASSERT_GT(group.IndexOf(Named("Cat")), group.IndexOf(button));
    ClickPage(Point(cat.right - 20, cat.Center().v));
    ASSERT_EQ(Selected(), Named("Cat"));
    ChooseMenu("Send Backwards");
    ASSERT_LT(group.IndexOf(Named("Cat")), group.IndexOf(button)) << "the Cat went behind";

    DragPage(Point(cat.right - 20, cat.Center().v), Point(cat.right - 26, cat.Center().v + 4));
    cat.Offset(-6, 4);
    ASSERT_EQ(At(Named("Cat")), cat) << "the Cat moved";
    EXPECT_LT(group.IndexOf(Named("Cat")), group.IndexOf(button)) << "and stayed behind";
    Shot after = Shown();
    Rect meet = cat.Intersect(place);
    int pictureShown = 0;
    for (int32_t v = meet.top; v < meet.bottom; ++v)
        for (int32_t h = meet.left; h < meet.right; ++h)
            pictureShown += after.At(Point(h, v)) == before.At(Point(h, v));
    EXPECT_EQ(pictureShown, PixelCount(meet)) << "the picture shows over the Cat";
}
