#include "graphics/Gradient.h"

#include "graphics/DisplayPort.h"
#include "graphics/Translation.h"

#include "PortFixture.h"
#include "foundation/Failure.h"

#include <gtest/gtest.h>

#include <string>

using namespace ports;
using bitmaps::FormatGrid;
using bitmaps::GridOf;
using bitmaps::ParseGrid;

namespace {

class GradientTest : public bitmaps::WithStandardPalette { };

// A 24-bit buffer shows the gradient's colours exactly (as RRGGBB).
SmartPtr<ColorTable> TrueColor()
{
    return new ColorTable(TypedArray<Color>());
}

std::string Grid(const std::string& rows)
{
    return FormatGrid(ParseGrid(rows), 6);
}

} // namespace

TEST_F(GradientTest, KindsDrawTheirStrips)
{
    const Color red = Color(7);
    const Color blue = Color(9);
    struct Case {
        const char* name;
        int16_t kind;
        Rect rect;
        const char* expected;
    } cases[] = {
        // Framed with no colour, the fill leaves out the last column and row.
        { "first colour", 1, { 1, 0, 4, 3 }, "FFFFFF FF0000 FF0000 FFFFFF | FFFFFF FF0000 FF0000 FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF" },
        { "second colour", 4, { 0, 1, 4, 3 }, "FFFFFF FFFFFF FFFFFF FFFFFF | 0000FF 0000FF 0000FF FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF" },
        { "top to bottom", 2, { 0, 0, 4, 3 }, "FF0000 FF0000 FF0000 FF0000 | AA0055 AA0055 AA0055 AA0055 | 5500AA 5500AA 5500AA 5500AA" },
        { "bottom to top", 3, { 0, 0, 4, 3 }, "5500AA 5500AA 5500AA 5500AA | AA0055 AA0055 AA0055 AA0055 | FF0000 FF0000 FF0000 FF0000" },
        { "left to right", 5, { 0, 0, 4, 3 }, "FF0000 C0003F 80007F 4000BF | FF0000 C0003F 80007F 4000BF | FF0000 C0003F 80007F 4000BF" },
        { "right to left", 6, { 0, 0, 4, 3 }, "4000BF 80007F C0003F FF0000 | 4000BF 80007F C0003F FF0000 | 4000BF 80007F C0003F FF0000" },
        { "one column", 5, { 2, 0, 3, 3 }, "FFFFFF FFFFFF FF0000 FFFFFF | FFFFFF FFFFFF FF0000 FFFFFF | FFFFFF FFFFFF FF0000 FFFFFF" },
        { "no rows", 2, { 0, 1, 4, 1 }, "FFFFFF FFFFFF FFFFFF FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF" },
        { "nothing drawn", 8, { 0, 0, 4, 3 }, "FFFFFF FFFFFF FFFFFF FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF | FFFFFF FFFFFF FFFFFF FFFFFF" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffScreen buffer(4, 3, TrueColor(), Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            Gradient::Draw(port, test.rect, red, blue, test.kind, 8);
        }
        EXPECT_EQ(GridOf(*buffer.GetBitMap().Get()), Grid(test.expected));
    }
}

TEST_F(GradientTest, UnknownKindsFailBeforeDrawing)
{
    for (int16_t kind : { 0, 11, -1 }) {
        SCOPED_TRACE(kind);
        OffScreen buffer(3, 2, 8, Color(0), true);
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        EXPECT_EQ(Failure([&] { Gradient::Draw(port, Rect(0, 0, 3, 2), Color(7), Color(9), kind, 8); }), "No Such Gradient");
        EXPECT_EQ(Art(buffer), "...|...");
    }
}

// A 16-grey device is too shallow for the steps: the gradient goes through an 8-bit buffer, and
// kinds that draw nothing copy nothing.
TEST_F(GradientTest, ShallowDeviceTakesTheOffScreenPass)
{
    OffScreen buffer(3, 5, bitmaps::GreyTable(16), Color(0), false);
    EXPECT_EQ(buffer.GetDepth(), 4);
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        Translation moved(1, 1);
        port.ApplyTransform(moved);
        Gradient::Draw(port, Rect(0, 0, 2, 4), Color(1), Color(0), 2, 8);
        Gradient::Draw(port, Rect(-1, -1, 0, 4), Color(1), Color(0), 9, 8);
    }
    EXPECT_EQ(GridOf(*buffer.GetBitMap().Get()), "0 0 0 | 0 0 0 | 0 4 4 | 0 8 8 | 0 B B");
}

TEST_F(GradientTest, GradientFillPaintsTheConnectedArea)
{
    struct Case {
        const char* name;
        Point offset;
        Point seed;
    } cases[] = {
        { "without a transform", { 0, 0 }, { 1, 1 } },
        { "through the transform", { 2, 1 }, { -1, 0 } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffScreen buffer(6, 4, TrueColor(), Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            port.DrawRectangle(Rect(3, 0, 4, 4), Color(1), Color(1), 1);
            port.DrawRectangle(Rect(0, 2, 3, 3), Color(1), Color(1), 1);
            if (test.offset != Point(0, 0)) {
                Translation moved(test.offset.h, test.offset.v);
                port.ApplyTransform(moved);
            }
            port.GradientFill(Color(7), Color(9), test.seed.h, test.seed.v, 0, 5);
        }
        EXPECT_EQ(GridOf(*buffer.GetBitMap().Get()),
            Grid("FF0000 C0003F 80007F 000000 FFFFFF FFFFFF | FF0000 C0003F 80007F 000000 FFFFFF FFFFFF"
                 " | 000000 000000 000000 000000 FFFFFF FFFFFF | FFFFFF FFFFFF FFFFFF 000000 FFFFFF FFFFFF"));
    }
}
