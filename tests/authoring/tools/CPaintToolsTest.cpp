#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CEraserTool.h"
#include "foundation/Resources.h"
#include "graphics/ColorPaint.h"
#include "ui/Cursor.h"

#include "authoring/PaintFixture.h"

#include <gtest/gtest.h>

using namespace authoring;
using pw::authoring::PaintSettings;

namespace {

std::vector<std::string>& Told()
{
    static std::vector<std::string> told;
    return told;
}

class Client : public pw::authoring::PaintClient {
public:
    explicit Client(std::string name)
        : name(std::move(name))
    {
    }
    void PaintChanged(CDropperTool*) override { Told().push_back(name); }
    std::string name;
};

class CPaintToolsTest : public PaintTest {
protected:
    // What the tool draws for an option in a w x h cell.
    static Grid Cell(CTool& tool, int16_t option, int32_t w, int32_t h)
    {
        OffScreen cell(w, h, 8, Color(0), true);
        {
            DisplayPort port(cell, cell.GetBounds(), 0);
            tool.ApplyWithOption(port, cell.GetBounds(), 0, option);
        }
        return Rows(*cell.GetBitMap().Get(), cell.GetBounds());
    }
};

} // namespace

// A chosen option tells the pattern selectors, then the other views, once; choosing it again
// tells no one. A client toggled twice is gone. Without an animation application the foreground
// colour stays as it was.
TEST_F(CPaintToolsTest, TheDropperTellsSelectorClientsFirstAndIgnoresARepeat)
{
    Told().clear();
    SmartPtr<CDropperTool> dropper = new CDropperTool;
    Client view("view"), selector("selector"), gone("gone");
    dropper->ToggleClient(&view, false);
    dropper->ToggleClient(&selector, true);
    dropper->ToggleClient(&gone, false);
    dropper->ToggleClient(&gone, false);
    dropper->SetOption(0, 3);
    dropper->SetOption(0, 3);
    EXPECT_EQ(Told(), (std::vector<std::string> { "selector", "view" }));
    EXPECT_EQ(dropper->GetOption(0), 3);
    EXPECT_TRUE(PaintSettings::Current().foreground.Equals(Color(1)));
}

// The patterned fill lays the current pattern's set bits in the background colour and the clear
// ones in the foreground colour, as the pattern pictures are read.
TEST_F(CPaintToolsTest, ThePatternedFillPaintsTheCurrentPatternInBothColours)
{
    PaintSettings::Current().foreground = Color(7);
    PaintSettings::Current().background = Color(9);
    PaintSettings::Current().pattern = Pattern(3);
    OffScreen cell(4, 2, 8, Color(0), true);
    {
        DisplayPort port(cell, cell.GetBounds(), 0);
        SmartPtr<Paint> fill = CDropperTool().MakeFill(true);
        SmartPtr<Paint> solid = CDropperTool().MakeFill(false);
        ColorPaint frameless { Color(Color::kNoColor) };
        port.DrawRectangle(Rect(0, 0, 5, 3), *fill.Get(), frameless, 1);
        port.DrawRectangle(Rect(0, 1, 1, 2), *solid.Get(), *solid.Get(), 1);
    }
    Grid rows = Rows(*cell.GetBitMap().Get(), cell.GetBounds());
    EXPECT_TRUE(rows == (Grid { "brbr", "rbrb" }) || rows == (Grid { "rbrb", "brbr" })) << rows[0] << "|" << rows[1];
    EXPECT_EQ(rows[1][0], 'r') << "the plain fill is the foreground colour";
}

// Brush options: 0 is brush 1, values above 24 (negative ones taken unsigned) brush 24; brushes 1
// to 20 show cursors 300 to 319 and 21 to 24 all show 319. The brush's shape is its cursor's
// black around the hot spot, stamped centred in an option cell.
TEST_F(CPaintToolsTest, TheBrushOptionChoosesTheCursorAndTheShape)
{
    // Cursors told apart by their hot spots.
    PutArt(300, "hotspot 3 0\n####\n");
    PutArt(318, "hotspot 4 0\n#####\n");
    PutArt(319, "hotspot 5 0\n######\n");
    SmartPtr<CBrushTool> brush = new CBrushTool(new CDropperTool);
    EXPECT_EQ(brush->GetOption(0), 6);
    struct Case {
        int16_t value;
        int16_t brush;
        int32_t hotSpot;
    } cases[] = { { 0, 1, 3 }, { 7, 7, 2 }, { 19, 19, 4 }, { 20, 20, 5 }, { 22, 22, 5 }, { 30, 24, 5 }, { -1, 24, 5 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        brush->SetOption(0, c.value);
        EXPECT_EQ(brush->GetOption(0), c.brush);
        Point hotSpot(0, 0);
        brush->GetToolCursor()->GetImage(hotSpot);
        EXPECT_EQ(hotSpot.h, c.hotSpot);
    }
    brush->SetOption(0, 7);
    EXPECT_EQ(brush->GetPenBounds(), Rect(-1, -1, 2, 2));
    EXPECT_EQ(Cell(*brush.Get(), 7, 7, 5), (Grid { ".......", "..###..", "..###..", "..###..", "......." }));
    EXPECT_EQ(brush->GetOption(0), 7);
}

// Eraser sizes: 0 and 21 are ignored; the cell for size 9 is a black bar 8 wide and 4 high,
// centred.
TEST_F(CPaintToolsTest, TheEraserSizeOptionIgnoresValuesOutOfRange)
{
    SmartPtr<CEraserTool> eraser = new CEraserTool;
    EXPECT_EQ(eraser->GetSize(), Point(12, 12));
    for (int16_t value : { 0, 21 })
        eraser->SetOption(0, value);
    EXPECT_EQ(eraser->GetOption(0), 3);
    eraser->SetOption(0, 20);
    EXPECT_EQ(eraser->GetSize(), Point(4, 32));
    EXPECT_EQ(Cell(*eraser.Get(), 9, 12, 6),
        (Grid { "............", "..########..", "..########..", "..########..", "..########..", "............" }));
}
