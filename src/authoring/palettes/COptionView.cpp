#include "authoring/palettes/COptionView.h"

#include "authoring/palettes/ButtonGrid.h"
#include "authoring/palettes/CCommandButton.h"
#include "authoring/palettes/CTilePane.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/resources/KidResources.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/tools/CTextTool.h"
#include "authoring/tools/PaintSettings.h"

namespace {

struct Row {
    int16_t picture;
    int16_t grid;
    int16_t firstCell;
    // The row's cells: one for each option of its kind.
    int16_t rows;
    int16_t columns;
};

// The cells are as high as their grids' and narrower: the strip then fits the screen right of the
// tab-set column, which it would otherwise cover, and leaves the page's middle free to write on.
constexpr int16_t kCellWidth = 27;

// Each row's button picture (kid set), option grid and first cell number; the row's index is its
// option kind. The styles take two rows of three cells of their grid.
constexpr Row kRows[3] = {
    { 2020, 309, 1, 2, 2 },
    { 2021, 310, 10, 2, 3 },
    { 2022, 306, 20, 2, 5 },
};

std::unique_ptr<ButtonGrid> RowGrid(const Row& row)
{
    std::unique_ptr<ButtonGrid> grid = KidResources::MakeButtonGrid(row.grid);
    grid->rows = row.rows;
    grid->columns = row.columns;
    grid->cellWidth = kCellWidth;
    return grid;
}

int KindOf(int16_t cell)
{
    return cell < kRows[1].firstCell ? 0 : cell < kRows[2].firstCell ? 1 : 2;
}

} // namespace

COptionView::COptionView(const SmartPtr<CTool>& tool, const Rect& placement)
    : COptionWindow(tool)
    , dropper(CToolsDir::GetDropperTool())
    , textTool(CToolsDir::GetTextTool())
{
    // One framed row, as every option window lays itself out: each kind's button and cells, then
    // the swatch of the current colours. A low strip, so that the page above it stays free to
    // write on.
    tiles = new CTilePane(this, false, true, 0);
    AddChild(SmartPtr<View>(tiles.Get()));
    for (int kind = 0; kind < 3; ++kind) {
        const Row& row = kRows[kind];
        SmartPtr<CCommandButton> button = new CCommandButton(tiles.Get(), Rect(0, 0, 0, 0), nullptr,
            KidResources::LookupImage(row.picture), nullptr);
        tiles->AddChild(SmartPtr<View>(button.Get()));
        rows[kind] = new CProxyPalette(tiles.Get(), tool, RowGrid(row), row.firstCell, static_cast<int16_t>(kind));
        rows[kind]->AddClient(this);
        tiles->AddChild(SmartPtr<View>(rows[kind].Get()));
    }
    tiles->AddChild(new CPatternSelector(tiles.Get()));
    FitAt(*tiles.Get(), placement);
    // The swatch and the samples show the foreground colour: the text written next takes it, also
    // when it was chosen while this window was closed (or is the one a run starts with).
    textTool->SetColor(pw::authoring::PaintSettings::Current().foreground);
    textTool->ToggleClient(this);
    dropper->ToggleClient(this, false);
}

COptionView::~COptionView()
{
    textTool->ToggleClient(this);
    dropper->ToggleClient(this, false);
    for (const SmartPtr<CProxyPalette>& row : rows)
        row->RemoveClient(this);
}

void COptionView::CellChosen(int16_t index)
{
    // A row's grid may have more cells than its kind has options: those choose nothing.
    int kind = KindOf(index);
    if (index - kRows[kind].firstCell + 1 <= GetTool()->CountOptions(static_cast<int16_t>(kind)))
        CPaletteDir::CellChosen(index);
}

void COptionView::ChooseOption(int16_t index)
{
    int kind = KindOf(index);
    for (int k = 0; k < 3; ++k) {
        if (k == kind)
            rows[k]->SelectTool(index);
        else
            rows[k]->InvalidateView(false);
    }
    GetTool()->SetOption(static_cast<int16_t>(kind), static_cast<int16_t>(index - kRows[kind].firstCell + 1));
}

void COptionView::PaintChanged(CDropperTool*)
{
    textTool->SetColor(pw::authoring::PaintSettings::Current().foreground);
    for (const SmartPtr<CProxyPalette>& row : rows)
        row->InvalidateView(false);
}
