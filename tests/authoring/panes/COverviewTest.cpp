#include "authoring/panes/COverview.h"

#include "authoring/panes/CChoreStrips.h"
#include "engine/CHAApp.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace authoring;
using pw::authoring::OverviewLayout;

// A 640 x 480 page reduced eight times: 80 x 60 pictures on film with holes above and below.
TEST(OverviewLayout, FilmStripGeometry)
{
    OverviewLayout layout;
    int16_t factor = 8;
    layout.Compute(640, 480, factor, 0x0C, 2 + 86 * 4, 10);
    EXPECT_EQ(layout.frameH, 86);
    EXPECT_EQ(layout.frameV, 78);
    EXPECT_EQ(Text(layout.frameRect), "3,9,83,69");
    EXPECT_EQ(Text(layout.Cell(0)), "4,9,84,69");
    EXPECT_EQ(Text(layout.Cell(5)), "90,87,170,147") << "second row, second column";
    EXPECT_EQ(layout.numAcross, 4);
    EXPECT_EQ(layout.numRows, 3);
    EXPECT_EQ(Text(layout.Strip(0)), "0,1,346,77");
    EXPECT_EQ(Text(layout.Strip(2)), "0,157,174,233") << "the last row is as long as its frames";

    struct { int16_t given, kept; } factors[] { { 0, 1 }, { 300, 256 }, { -5, 1 }, { 4, 4 } };
    for (auto& f : factors) {
        int16_t value = f.given;
        layout.Compute(640, 480, value, 0x0C, 400, 10);
        EXPECT_EQ(value, f.kept) << f.given;
    }
    int16_t plain = 8;
    layout.Compute(640, 480, plain, OverviewLayout::kPlainCells, 400, 10);
    EXPECT_EQ(layout.frameV, 68);
    EXPECT_EQ(Text(layout.frameRect), "3,4,83,64");
}

// A click in a cell takes its frame; in the 6-pixel gap before a cell it takes the insertion
// point there, also after the last frame; elsewhere outside the frames it is ignored.
TEST(OverviewLayout, ClicksFindFramesAndGaps)
{
    OverviewLayout layout;
    int16_t factor = 8;
    layout.Compute(640, 480, factor, 0x0C, 2 + 86 * 12, 10);
    struct {
        const char* name;
        int32_t h, v;
        bool ignored, inGap;
        int32_t f, g;
    } cases[] = {
        { "inside frame 3", 300, 40, false, false, 3, 3 },
        { "gap before frame 5", 431, 40, false, true, 5, 5 },
        { "gap after the last frame", 860, 40, false, true, 10, 9 },
        { "past the frames", 950, 40, true, false, 11, 11 },
        { "second row, none there", 100, 100, true, false, 13, 13 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        OverviewLayout::Click click = layout.Hit(c.h, c.v);
        EXPECT_EQ(click.ignored, c.ignored);
        EXPECT_EQ(click.inGap, c.inGap);
        EXPECT_EQ(click.f, c.f);
        EXPECT_EQ(click.g, c.g);
    }
}

namespace {

// An overview in a window of its own over the fixture's page (200 x 150: 25 x 18 pictures).
class Overview : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        optionBits = CHAApp::GetOptions().bits;
        red = AddSprite(Rect(0, 0, 200, 150), 0, 2, 2);
        holder = new UndoWindow;
        overview = new COverview(holder.Get(), Rect(0, 0, 200, 150), false);
        holder->AddChild(overview.Get());
        app->AddWindow(SmartPtr<Window>(holder.Get()), true);
        holder->Show(true);
        overview->SetPane(pane);
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        CHAApp::GetOptions().reduction = 8;
        CHAApp::GetOptions().bits = optionBits;
        overview->SetPane(SmartPtr<CHAPane>());
        holder->RemoveAllChildren();
        overview = nullptr;
        PaneTest::TearDown();
    }
    // Palette indices of a row of the overview's window.
    std::vector<uint8_t> Row(int32_t v, int32_t from, int32_t to)
    {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadClientArea(holder->GetFrame()->GetOSWindow());
        std::vector<uint8_t> row;
        for (int32_t h = from; h < to; ++h)
            row.push_back(shown.At(h, v));
        return row;
    }

    // A row as '.' where it has the colour of its second pixel and '#' elsewhere.
    std::string Marks(int32_t v, int32_t from, int32_t to)
    {
        std::vector<uint8_t> row = Row(v, from, to);
        std::string marks;
        for (uint8_t index : row)
            marks += index == row[1] ? '.' : '#';
        return marks;
    }

    CSprite* red { nullptr };
    uint32_t optionBits { 0 };
    SmartPtr<UndoWindow> holder;
    SmartPtr<COverview> overview;
};

} // namespace

// The paint lays out six 31-pixel cells a row and draws the film with its holes; the strip chore
// then draws the frames' pictures into their cells, and the pane's selection is ringed.
TEST_F(Overview, DrawsFilmThenPicturesFromTheChore)
{
    const OverviewLayout& layout = overview->GetLayout();
    ASSERT_FALSE(overview->IsDirty());
    EXPECT_EQ(layout.numAcross, 6);
    EXPECT_EQ(layout.numRows, 2);
    EXPECT_EQ(Text(layout.Cell(0)), "4,9,29,27");
    std::vector<uint8_t> film = Row(2, 0, 10);
    uint8_t edge = film[0], strip = film[1], hole = film[2];
    EXPECT_NE(strip, hole);
    EXPECT_NE(edge, strip);
    // A hole's 4 x 4 rectangle filled without a pen covers 3 x 3 pixels.
    EXPECT_EQ(film, (std::vector<uint8_t> { edge, strip, hole, hole, hole, strip, strip, strip, strip, strip }))
        << "the lit edge, then a hole";
    EXPECT_EQ(Row(2, 10, 13), (std::vector<uint8_t> { hole, hole, hole })) << "the next hole 8 further on";
    EXPECT_GT(overview->GetStrips().NumQueued(), 0u) << "pictures wait for the chore";
    driver::RunFor(CChoreStrips::kPeriod + 10);
    EXPECT_EQ(overview->GetStrips().NumQueued(), 0u);
    std::vector<uint8_t> pictures = Row(20, 4, 29);
    EXPECT_EQ(pictures, std::vector<uint8_t>(25, pictures[0])) << "frame 0 is the red page";
    EXPECT_NE(pictures[0], strip);
    std::vector<uint8_t> third = Row(20, 66, 91);
    EXPECT_NE(third[0], pictures[0]) << "frame 2 has no red sprite";
}

// Clicking a frame selects it in the pane; a click in the gap before a frame makes an insertion
// point; the pane's mode stays what it was.
TEST_F(Overview, ClicksSelectFramesInThePane)
{
    UseTool(3);
    pane->SetSelectionMode(0);
    struct { const char* name; int32_t h; int16_t first, last; } cases[] = {
        { "frame 3", 110, 3, 3 },
        { "gap before frame 2", 65, 2, 1 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(overview->MouseDown(c.h, 20, BitFlags(0), 1, SmartPtr<Window>(holder.Get())));
        int16_t first = -1, last = -1;
        pane->GetStoredRun(first, last);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(last, c.last);
        EXPECT_EQ(pane->GetSelectionMode(), 0);
    }
}

// Cells at least 32 pixels high carry their number in the corner box, beside the picture, which
// the number leaves alone; lower cells carry none.
TEST_F(Overview, TallCellsAreNumberedBesideTheirPictures)
{
    driver::RunFor(CChoreStrips::kPeriod + 10);
    std::vector<uint8_t> low = Row(12, 4, 29);
    EXPECT_EQ(low, std::vector<uint8_t>(25, low[0])) << "18-pixel cells: no number";
    uint8_t red = low[0];

    CHAApp::GetOptions().reduction = 4;
    overview->SetPane(pane);
    driver::RunUntilIdle();
    driver::RunFor(CChoreStrips::kPeriod + 10);
    ASSERT_EQ(Text(overview->GetLayout().Cell(0)), "4,9,54,46");
    std::vector<uint8_t> label = Row(13, 4, 29);
    EXPECT_NE(std::count(label.begin(), label.end(), red), 25) << "the number's box";
    EXPECT_EQ(Row(13, 30, 54), std::vector<uint8_t>(24, red)) << "the picture beside it";
    EXPECT_EQ(Row(30, 4, 54), std::vector<uint8_t>(50, red)) << "the picture below it";
}

// With the outline option each cell shows, instead of the frame's picture, the bounds of the
// sprites shown in the frame at the cell's scale: the whole-page red sprite only in frames 0 and
// 1, the small one in frames 0 to 4, none in frame 5.
TEST_F(Overview, OutlinesStandForTheFramesSprites)
{
    CHAApp::GetOptions().bits |= OverviewLayout::kSpriteOutlines;
    AddSprite(Rect(40, 30, 120, 90), 0, 5, 3);
    overview->SetPane(pane);
    driver::RunUntilIdle();
    driver::RunFor(CChoreStrips::kPeriod + 10);
    ASSERT_EQ(Text(overview->GetLayout().Cell(0)), "4,9,29,27");
    struct {
        const char* name;
        int32_t v;
        int32_t left;
        const char* marks;
    } rows[] = {
        { "frame 0 across both sprites", 16, 4, "#....#........#.........#" },
        { "frame 2 across the small one", 16, 66, ".....#........#.........." },
        { "frame 2 along its top", 13, 66, ".....##########.........." },
        { "frame 5", 16, 159, "........................." },
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Marks(r.v, r.left, r.left + 25), r.marks);
    }
}
