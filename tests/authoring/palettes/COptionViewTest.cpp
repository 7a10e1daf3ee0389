#include "authoring/palettes/COptionView.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/MovieEditors.h"
#include "authoring/tools/CTextTool.h"
#include "authoring/tools/PaintSettings.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// A tool that records the options it is given.
class RecordingTool : public CTool {
public:
    RecordingTool()
        : CTool(4, nullptr, false, nullptr)
    {
    }
    void SetOption(int16_t kind, int16_t value) override { set.push_back(std::to_string(kind) + ":" + std::to_string(value)); }
    int16_t GetOption(int16_t) override { return 0; }
    // As many fonts, styles and sizes as the text tool has.
    int16_t CountOptions(int16_t kind) override { return kind == 0 ? 4 : kind == 1 ? 6 : 10; }
    std::vector<std::string> set;
};

class OptionView : public AuthoringTest { };

} // namespace

// A cell selects in its own row and becomes an option of that row's kind, counted from 1 in the row;
// the cells a row's grid has beyond its kind's options choose nothing.
TEST_F(OptionView, CellsBecomeOptionsOfTheirRowsKind)
{
    for (int16_t picture : { 2020, 2021, 2022 })
        PutPicture(picture, "rr|rr");
    SmartPtr<RecordingTool> tool = new RecordingTool;
    SmartPtr<COptionView> view = new COptionView(tool.Get(), Rect(30, 40, 100, 100));
    struct Case {
        int16_t cell;
        int row;
        const char* option;
    } cases[] = { { 1, 0, "0:1" }, { 4, 0, "0:4" }, { 10, 1, "1:1" }, { 15, 1, "1:6" }, { 20, 2, "2:1" }, { 29, 2, "2:10" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        tool->set.clear();
        view->CellChosen(c.cell);
        EXPECT_EQ(tool->set, std::vector<std::string> { c.option });
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(view->GetRow(row)->GetSelectedTool() == c.cell, row == c.row) << row;
    }
    for (int16_t cell : { 5, 16, 19 }) {
        SCOPED_TRACE(cell);
        tool->set.clear();
        view->CellChosen(cell);
        EXPECT_TRUE(tool->set.empty());
        EXPECT_EQ(view->GetRow(2)->GetSelectedTool(), 29) << "the last chosen cell stays selected";
    }
    Rect frame = view->GetRect();
    EXPECT_EQ(Point(frame.left, frame.top), Point(30, 40));
    // A cell for every option and no blank ones; fonts, styles and sizes side by side in one low
    // strip.
    for (int16_t kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        Rect row = view->GetRow(kind)->GetBounds();
        EXPECT_EQ(view->GetRow(kind)->GetCount(), CTextTool().CountOptions(kind));
        EXPECT_EQ(row.bottom - row.top, 70) << "two rows of cells";
        if (kind > 0) {
            EXPECT_GT(row.left, view->GetRow(kind - 1)->GetBounds().right);
        }
    }
    EXPECT_LT(frame.bottom - frame.top, 100);
}

// While the view lives it stands in the client lists of the shared text tool and of its three
// palettes; closed, it stands in none of them, so nothing reaches a view that is gone.
TEST_F(OptionView, TheViewIsTheTextToolsClientWhileItLives)
{
    for (int16_t picture : { 2020, 2021, 2022 })
        PutPicture(picture, "rr|rr");
    SmartPtr<CTextTool> tool = CToolsDir::GetTextTool();
    SmartPtr<COptionView> view = new COptionView(tool.Get(), Rect(30, 40, 100, 100));
    const void* client = view.Get();
    EXPECT_TRUE(tool->HasClient(client));
    std::vector<SmartPtr<CProxyPalette>> rows { view->GetRow(0), view->GetRow(1), view->GetRow(2) };
    view->Close();
    view = nullptr;
    EXPECT_FALSE(tool->HasClient(client));
    for (const SmartPtr<CProxyPalette>& row : rows) {
        // A palette whose clients still held the view would hand it this choice.
        row->NotifyClients(row->GetFirst());
    }
    // The text tool answers the record of the tools: it has none of its own.
    EXPECT_EQ(tool->GetClassInfo(), &CTool::classInfo);
}

// While the option view is open a paint change gives the shared text tool the new foreground
// colour, so that a new text is written in it; once the view is closed the tool keeps its colour.
TEST_F(OptionView, APaintChangeRecoloursTheTextToolWhileTheViewIsOpen)
{
    for (int16_t picture : { 2020, 2021, 2022 })
        PutPicture(picture, "rr|rr");
    SmartPtr<CTextTool> tool = CToolsDir::GetTextTool();
    SmartPtr<COptionView> view = new COptionView(tool.Get(), Rect(30, 40, 100, 100));
    auto paint = [](int32_t colour) {
        pw::authoring::PaintSettings::Current().foreground = Color(colour);
        CToolsDir::GetDropperTool()->NotifyClients();
    };
    paint(9);
    EXPECT_TRUE(tool->GetTextStyle()->GetColor().Equals(Color(9)));
    EXPECT_TRUE(pw::authoring::NewTextStyle(*tool.Get())->GetColor().Equals(Color(9)));

    view->Close();
    view = nullptr;
    paint(5);
    EXPECT_TRUE(tool->GetTextStyle()->GetColor().Equals(Color(9)));
}
