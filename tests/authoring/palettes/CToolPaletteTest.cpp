#include "authoring/palettes/CToolPalette.h"

#include "authoring/palettes/CFramedPalette.h"
#include "foundation/Failure.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class DoubleClickPalette : public CToolPalette {
public:
    using CToolPalette::CToolPalette;
    void DoubleClick(int16_t index) override { doubleClicked.push_back(index); }
    std::vector<int16_t> doubleClicked;
};

std::unique_ptr<ButtonGrid> Grid(int16_t rows, int16_t columns, int16_t width, int16_t height)
{
    auto grid = std::make_unique<ButtonGrid>();
    grid->rows = rows;
    grid->columns = columns;
    grid->cellWidth = width;
    grid->cellHeight = height;
    return grid;
}

class CToolPaletteTest : public AuthoringTest {
protected:
    // A palette in a shown window, its top-left corner at (h, v).
    template <typename Palette = CToolPalette, typename... Args>
    SmartPtr<Palette> Place(int32_t h, int32_t v, Args&&... args)
    {
        window = Open("palettes");
        window->Show(true);
        SmartPtr<Palette> palette = new Palette(window.Get(), std::forward<Args>(args)...);
        Rect bounds = palette->GetBounds();
        palette->SetBounds(h, v, h + bounds.right, v + bounds.bottom);
        window->AddChild(SmartPtr<View>(palette.Get()));
        driver::RunUntilIdle();
        return palette;
    }
    std::string Row(int32_t v, int32_t from, int32_t to)
    {
        return ShownRow(window->GetFrame()->GetOSWindow(), v, from, to);
    }

    SmartPtr<uitest::TestWindow> window;
};

} // namespace

// Cells of 20 x 30 in 2 rows and 3 columns from number 8, the palette at (10, 5): the hit test
// gives the first pixel row and column of a cell to the cell above or to the left, the
// rectangles are exclusive on the right and bottom, and numbers outside the cells have none.
TEST_F(CToolPaletteTest, CellGeometryAndTheHitTestsMinusOneRule)
{
    SmartPtr<CToolPalette> palette = Place(10, 5, Grid(2, 3, 20, 30), 8);
    EXPECT_EQ(palette->GetBounds(), Rect(10, 5, 70, 65));
    struct Hit {
        int32_t h, v;
        int16_t cell;
    } hits[] = {
        { 10, 5, 8 }, { 30, 6, 8 }, { 31, 6, 9 }, { 69, 6, 10 }, { 70, 6, 10 }, { 71, 6, 0 },
        { 11, 35, 8 }, { 11, 36, 11 }, { 69, 64, 13 }, { 69, 65, 13 }, { 69, 66, 0 }, { 5, 20, 8 },
    };
    for (const Hit& hit : hits) {
        SCOPED_TRACE(std::to_string(hit.h) + "," + std::to_string(hit.v));
        EXPECT_EQ(palette->CellAt(Point(hit.h, hit.v)), hit.cell);
    }
    struct Cell {
        int16_t index;
        Rect rect;
    } cells[] = {
        { 8, Rect(10, 5, 30, 35) }, { 10, Rect(50, 5, 70, 35) }, { 11, Rect(10, 35, 30, 65) },
        { 13, Rect(50, 35, 70, 65) }, { 7, Rect(0, 0, 0, 0) }, { 14, Rect(0, 0, 0, 0) }, { 0, Rect(0, 0, 0, 0) },
    };
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.index);
        EXPECT_EQ(palette->GetCellRect(cell.index), cell.rect);
    }
}

// Clicks tell the clients (in the order they were added) of another enabled cell; the selected
// cell only with notify-on-reselect (then even "no cell" when none is selected); a double click on
// the selected cell is DoubleClick; the palette itself never moves its selection on a click.
TEST_F(CToolPaletteTest, ClicksNotifyClientsUnderTheRules)
{
    SmartPtr<DoubleClickPalette> palette = Place<DoubleClickPalette>(0, 0, Grid(1, 4, 10, 10), 1);
    Recorder first, second;
    palette->AddClient(&first);
    palette->AddClient(&second);
    palette->EnableCell(3, false);
    SmartPtr<Window> w(window.Get());
    struct Click {
        const char* name;
        int32_t h;
        uint8_t clicks;
        bool reselect;
        int16_t selected;
        std::vector<int16_t> told;
        std::vector<int16_t> doubled;
    } clicks[] = {
        { "another cell", 15, 1, false, 1, { 2 }, {} },
        { "the selected cell", 5, 1, false, 1, {}, {} },
        { "the selected cell, reselect on", 5, 1, true, 1, { 1 }, {} },
        { "double click on the selected cell", 5, 2, false, 1, {}, { 1 } },
        { "double click on another cell", 15, 2, false, 1, { 2 }, {} },
        { "a disabled cell", 25, 1, false, 1, {}, {} },
        { "outside", 45, 1, false, 1, {}, {} },
        { "outside, none selected, reselect on", 45, 1, true, 0, { 0 }, {} },
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.name);
        first.chosen.clear();
        second.chosen.clear();
        palette->doubleClicked.clear();
        palette->SetNotifyOnReselect(c.reselect);
        palette->SelectTool(c.selected);
        EXPECT_TRUE(palette->MouseDown(c.h, 5, BitFlags(), c.clicks, w));
        EXPECT_EQ(first.chosen, c.told);
        EXPECT_EQ(second.chosen, c.told);
        EXPECT_EQ(palette->doubleClicked, c.doubled);
        EXPECT_EQ(palette->GetSelectedTool(), c.selected);
    }
    palette->RemoveClient(&first);
    palette->RemoveClient(&first);
    palette->SetNotifyOnReselect(false);
    first.chosen.clear();
    palette->MouseDown(15, 5, BitFlags(), 1, w);
    EXPECT_TRUE(first.chosen.empty());
}

// Enabling and highlighting change only what they should and say whether they did; selecting a
// number of another palette's range selects nothing; a number outside the cells cannot be enabled.
TEST_F(CToolPaletteTest, CellStatesAndSelectionChanges)
{
    SmartPtr<CToolPalette> palette = Place(0, 0, Grid(1, 3, 10, 10), 8);
    EXPECT_EQ(palette->GetSelectedTool(), 8);
    EXPECT_FALSE(palette->EnableCell(9, true)) << "already enabled";
    EXPECT_TRUE(palette->EnableCell(9, false));
    EXPECT_FALSE(palette->EnableCell(9, false));
    palette->HighlightCell(9, true);
    EXPECT_EQ(palette->GetCellState(9), CToolPalette::kDisabled) << "a disabled cell is not highlighted";
    palette->HighlightCell(10, true);
    EXPECT_EQ(palette->GetCellState(10), CToolPalette::kHighlighted);
    EXPECT_FALSE(palette->EnableCell(10, true)) << "enabling a highlighted cell changes nothing";
    EXPECT_TRUE(palette->EnableCell(10, false));
    EXPECT_TRUE(palette->EnableCell(-1, true));
    for (int16_t n : { 8, 9, 10 })
        EXPECT_EQ(palette->GetCellState(n), CToolPalette::kNormal) << n;
    EXPECT_EQ(Failure([&] { palette->EnableCell(11, true); }), "Range error");
    palette->SelectTool(3);
    EXPECT_EQ(palette->GetSelectedTool(), 0);
    EXPECT_EQ(Failure([&] { CToolPalette(window.Get(), nullptr, 1); }), "Missing (NULL) value.");
}

// Without pictures: black separators on the last pixel row and column of every cell, the selected
// cell inverted (its separators too); moving the selection redraws both cells.
TEST_F(CToolPaletteTest, WithoutPicturesSeparatorsShowAndTheSelectionIsInverted)
{
    SmartPtr<CToolPalette> palette = Place(0, 0, Grid(2, 2, 5, 4), 1);
    EXPECT_EQ(Row(0, 0, 11), "kkkkwwwwwkw");
    EXPECT_EQ(Row(3, 0, 11), "wwwwwkkkkkw");
    EXPECT_EQ(Row(4, 0, 11), "wwwwkwwwwkw");
    EXPECT_EQ(Row(7, 0, 11), "kkkkkkkkkkw");
    palette->SelectTool(4);
    EXPECT_EQ(Row(0, 0, 11), "wwwwkwwwwkw");
    EXPECT_EQ(Row(4, 0, 11), "wwwwkkkkkww");
    EXPECT_EQ(Row(7, 0, 11), "kkkkkwwwwww");
}

// With pictures: the normal picture everywhere, the selected cell from the selected picture, a
// disabled cell from the disabled picture, a highlighted cell from its own picture (its selected
// picture when it is the selected cell); cell-number entries outside 1 .. count are left out.
TEST_F(CToolPaletteTest, PicturesGiveEachCellItsLook)
{
    PutPicture(1, Plain('r', 12, 4));
    PutPicture(2, Plain('g', 12, 4));
    PutPicture(3, Plain('b', 12, 4));
    PutPicture(4, Plain('y', 4, 4));
    PutPicture(5, Plain('k', 4, 4));
    std::unique_ptr<ButtonGrid> grid = Grid(1, 3, 4, 4);
    grid->normalPicture = KidResources::LookupImage(1);
    grid->selectedPicture = KidResources::LookupImage(2);
    grid->disabledPicture = KidResources::LookupImage(3);
    grid->cellNumbers = { 0, 2, -1, 3, 4 };
    for (int i = 0; i < 5; ++i) {
        grid->cellPictures.push_back(SmartPtr<Smart>(KidResources::LookupImage(4).Get()));
        grid->selectedCellPictures.push_back(SmartPtr<Smart>(KidResources::LookupImage(5).Get()));
    }
    grid->cellPictures[3] = SmartPtr<Smart>(new String("not a picture"));
    SmartPtr<CToolPalette> palette = Place(0, 0, std::move(grid), 1);
    EXPECT_EQ(Row(1, 0, 12), "ggggrrrrrrrr");
    palette->EnableCell(3, false);
    palette->HighlightCell(2, true);
    EXPECT_EQ(Row(1, 0, 12), "ggggyyyybbbb");
    palette->SelectTool(2);
    EXPECT_EQ(Row(1, 0, 12), "rrrrkkkkbbbb");
    palette->EnableCell(3, true);
    palette->HighlightCell(3, true);
    EXPECT_EQ(Row(1, 0, 12), "rrrrkkkkrrrr") << "cell 3's entry was not a picture";
}

// The framed palette marks its selected cell with a one-pixel inverted frame inside the
// separators; selecting another cell takes it off the old cell.
TEST_F(CToolPaletteTest, TheFramedPaletteFramesItsSelectedCell)
{
    SmartPtr<CFramedPalette> palette = Place<CFramedPalette>(0, 0, Grid(1, 2, 5, 5), 15);
    EXPECT_EQ(Row(0, 0, 10), "kkkkkwwwwk");
    EXPECT_EQ(Row(1, 0, 10), "kwwkkwwwwk");
    EXPECT_EQ(Row(3, 0, 10), "kkkkkwwwwk");
    palette->SelectTool(16);
    EXPECT_EQ(Row(1, 0, 10), "wwwwkkwwkk");
    EXPECT_EQ(Row(0, 0, 10), "wwwwkkkkkk");
}
