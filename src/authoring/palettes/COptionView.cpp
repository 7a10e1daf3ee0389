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
    int16_t columns;
    int16_t cellWidth;
};

// Each row's button picture (kid set), option grid, first cell number and its own cut of the
// grid: two rows of cells 38 high, one cell for each option of the kind and every row of cells
// 270 pixels wide, so the rows line up and every sample has room (ten sizes in ten steps). The row's index is its option
// kind.
constexpr Row kRows[3] = {
    { 2020, 309, 1, 2, 135 },
    { 2021, 310, 10, 3, 90 },
    { 2022, 306, 20, 5, 54 },
};

std::unique_ptr<ButtonGrid> RowGrid(const Row& row)
{
    std::unique_ptr<ButtonGrid> grid = KidResources::MakeButtonGrid(row.grid);
    grid->rows = 2;
    grid->columns = row.columns;
    grid->cellWidth = row.cellWidth;
    grid->cellHeight = 38;
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
{
    // Each row's button and palette side by side, the rows and the swatch below one another: a
    // window that fits the screen beside the page.
    tiles = new CTilePane(this, true, false, 0);
    AddChild(SmartPtr<View>(tiles.Get()));
    for (int kind = 0; kind < 3; ++kind) {
        const Row& row = kRows[kind];
        SmartPtr<CTilePane> line = new CTilePane(tiles.Get(), false, false, 0);
        tiles->AddChild(SmartPtr<View>(line.Get()));
        SmartPtr<CCommandButton> button = new CCommandButton(line.Get(), Rect(0, 0, 0, 0), nullptr,
            KidResources::LookupImage(row.picture), nullptr);
        line->AddChild(SmartPtr<View>(button.Get()));
        rows[kind] = new CProxyPalette(line.Get(), tool, RowGrid(row), row.firstCell,
            static_cast<int16_t>(kind));
        rows[kind]->AddClient(this);
        line->AddChild(SmartPtr<View>(rows[kind].Get()));
        line->Layout(0, 0);
    }
    tiles->AddChild(new CPatternSelector(tiles.Get()));
    FitAt(*tiles.Get(), placement);
    dropper->ToggleClient(this, false);
}

COptionView::~COptionView()
{
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
    CToolsDir::GetTextTool()->SetColor(pw::authoring::PaintSettings::Current().foreground);
    for (const SmartPtr<CProxyPalette>& row : rows)
        row->InvalidateView(false);
}
