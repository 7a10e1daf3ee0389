#include "authoring/tools/CTextTool.h"

#include "graphics/OffScreen.h"
#include "graphics/DisplayPort.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace authoring;

namespace {

class TextTool : public AuthoringTest { };

std::vector<uint8_t> Cell(CTextTool& tool, int16_t kind, int16_t value)
{
    SmartPtr<OffScreen> cell = new OffScreen(40, 30, 8, Color(0), true);
    {
        DisplayPort port(*cell.Get(), cell->GetBounds(), 0);
        tool.ApplyWithOption(port, cell->GetBounds(), kind, value);
    }
    std::vector<uint8_t> pixels;
    for (int32_t v = 0; v < 30; ++v)
        for (int32_t h = 0; h < 40; ++h)
            pixels.push_back(static_cast<uint8_t>(cell->GetBitMap()->GetPixelValue(h, v)));
    return pixels;
}

} // namespace

// Each option sets one field of the style from its table; values out of range change nothing.
TEST_F(TextTool, OptionsSetTheStyleFromTheirTables)
{
    struct Case {
        const char* name;
        int16_t kind, value;
        const char* face;
        int16_t size;
        uint8_t flags;
    };
    const Case cases[] = {
        { "size 10 is 72 points", 2, 10, "Arial", 72, 1 },
        { "size 11 is out of range", 2, 11, "Arial", 12, 1 },
        { "style 5 is italic and underlined", 1, 5, "Arial", 12, 6 },
        { "font 2 is Courier New", 0, 2, "Courier New", 12, 1 },
        { "font 4 is Arial", 0, 4, "Arial", 12, 1 },
        { "font 1 is Fixedsys", 0, 1, "Fixedsys", 12, 1 },
        { "kind 3 is none", 3, 1, "Arial", 12, 1 },
        { "value 0 is none", 0, 0, "Arial", 12, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CTextTool> tool = new CTextTool;
        tool->SetOption(c.kind, c.value);
        const TextStyle& style = *tool->GetTextStyle().Get();
        EXPECT_STREQ(style.GetFaceName(), c.face);
        EXPECT_EQ(style.GetPointSize(), c.size);
        EXPECT_EQ(style.GetStyleFlags(), c.flags);
    }
}

// The option cells show "abc" in the option's look without changing the tool's style: fonts 2
// and 3 look alike, other options differ, and a value out of range draws nothing.
TEST_F(TextTool, OptionCellsShowTheirLookAndLeaveTheStyle)
{
    SmartPtr<CTextTool> tool = new CTextTool;
    std::vector<uint8_t> blank(40 * 30, static_cast<uint8_t>(Cell(*tool.Get(), 0, 9).front()));
    EXPECT_EQ(Cell(*tool.Get(), 0, 9), blank);
    EXPECT_EQ(Cell(*tool.Get(), 0, 2), Cell(*tool.Get(), 0, 3));
    EXPECT_NE(Cell(*tool.Get(), 0, 1), Cell(*tool.Get(), 0, 4));
    EXPECT_NE(Cell(*tool.Get(), 0, 2), blank);
    EXPECT_NE(Cell(*tool.Get(), 2, 1), Cell(*tool.Get(), 2, 3));
    EXPECT_EQ(tool->GetTextStyle()->GetPointSize(), 12);
    EXPECT_STREQ(tool->GetTextStyle()->GetFaceName(), "Arial");
}

// Every option cell shows its sample whole: ink inside the cell and nowhere else, in cells as
// small as the option window's, whatever size the style has; the ten sizes grow from cell to cell.
TEST_F(TextTool, OptionSamplesFitTheirCellsAndDiffer)
{
    const Rect cell(20, 15, 70, 49);
    struct Ink {
        Rect box { 0, 0, 0, 0 };
        std::vector<uint8_t> pixels;
        bool empty { true };
    };
    auto inkOf = [&](CTextTool& tool, int16_t kind, int16_t value) {
        SmartPtr<OffScreen> buffer = new OffScreen(90, 64, 8, Color(0), true);
        {
            DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
            tool.ApplyWithOption(port, cell, kind, value);
        }
        Ink ink;
        uint32_t white = buffer->GetBitMap()->GetPixelValue(0, 0);
        for (int32_t v = 0; v < 64; ++v) {
            for (int32_t h = 0; h < 90; ++h) {
                uint32_t pixel = buffer->GetBitMap()->GetPixelValue(h, v);
                ink.pixels.push_back(static_cast<uint8_t>(pixel));
                if (pixel == white)
                    continue;
                ink.box = ink.empty ? Rect(h, v, h + 1, v + 1)
                                    : Rect(std::min(ink.box.left, h), std::min(ink.box.top, v),
                                          std::max(ink.box.right, h + 1), std::max(ink.box.bottom, v + 1));
                ink.empty = false;
            }
        }
        return ink;
    };
    for (int16_t styleSize : { int16_t(12), int16_t(72) }) {
        SmartPtr<CTextTool> tool = new CTextTool;
        tool->SetOption(2, styleSize == 72 ? 10 : 3);
        for (int16_t kind = 0; kind < 3; ++kind) {
            for (int16_t value = 1; value <= tool->CountOptions(kind); ++value) {
                SCOPED_TRACE(testing::Message() << "style size " << styleSize << ", kind " << kind << ", option " << value);
                Ink ink = inkOf(*tool.Get(), kind, value);
                ASSERT_FALSE(ink.empty);
                EXPECT_TRUE(ink.box.left >= cell.left && ink.box.top >= cell.top && ink.box.right <= cell.right
                    && ink.box.bottom <= cell.bottom);
            }
        }
        EXPECT_EQ(tool->GetTextStyle()->GetPointSize(), styleSize);
    }
    SmartPtr<CTextTool> tool = new CTextTool;
    for (int16_t value = 2; value <= tool->CountOptions(2); ++value) {
        SCOPED_TRACE(testing::Message() << "size option " << value);
        Ink smaller = inkOf(*tool.Get(), 2, static_cast<int16_t>(value - 1));
        Ink larger = inkOf(*tool.Get(), 2, value);
        EXPECT_NE(smaller.pixels, larger.pixels);
        EXPECT_GE(larger.box.right - larger.box.left, smaller.box.right - smaller.box.left);
    }
}
