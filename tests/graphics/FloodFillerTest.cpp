#include "graphics/FloodFiller.h"

#include "foundation/Failure.h"

#include "PortFixture.h"

#include <gtest/gtest.h>

using namespace ports;
using bitmaps::GridOf;
using bitmaps::MakeBitMap;

namespace {

class FloodFillerTest : public bitmaps::WithStandardPalette { };

} // namespace

// The area is 4-connected and of exactly the seed's value: a diagonal neighbour and the same value
// elsewhere stay out.
TEST_F(FloodFillerTest, MaskHoldsTheConnectedAreaOfTheSeedValue)
{
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    struct Case {
        const char* name;
        const char* image;
        Point seed;
        const char* mask;
        Rect bounds;
    } cases[] = {
        { "enclosed",
            "05 05 01 05 05 | 05 01 05 01 05 | 01 05 05 05 01 | 05 01 05 01 05",
            { 2, 2 },
            "1 1 1 1 1 | 1 1 0 1 1 | 1 0 0 0 1 | 1 1 0 1 1",
            { 1, 1, 5, 5 } },
        { "corner run", "03 03 03 | 04 04 03 | 03 04 03", { 0, 0 }, "0 0 0 | 1 1 0 | 1 1 0", { 0, 0, 4, 4 } },
        { "single pixel", "07 07 07 07 07 07 | 07 07 07 07 07 07 | 07 07 07 07 07 09", { 5, 2 }, "1 1 1 1 1 1 | 1 1 1 1 1 1 | 1 1 1 1 1 0", { 5, 2, 7, 4 } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FloodFiller filler(MakeBitMap(table, test.image), test.seed.h, test.seed.v);
        EXPECT_EQ(filler.GetFilledBounds(), test.bounds);
        EXPECT_EQ(GridOf(*filler.GetMask().Get()), test.mask);
    }
}

TEST_F(FloodFillerTest, SinglePixelBoundsReachTwoFurther)
{
    SmartPtr<BitMap> image = new BitMap(10, 10, ColorTable::Setup(8), Color(0), false);
    {
        PixelIterator cursor(*image.Get(), Rect(5, 7, 6, 8), true);
        cursor.SetPixel(3);
    }
    FloodFiller filler(image, 5, 7);
    EXPECT_EQ(filler.GetFilledBounds(), Rect(5, 7, 7, 9));
}

TEST_F(FloodFillerTest, PatternFillsOnlyTheArea)
{
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    SmartPtr<BitMap> image = MakeBitMap(table, "01 02 02 | 02 02 01 | 01 01 02");
    FloodFiller filler(image, 1, 0);
    ASSERT_EQ(filler.GetFilledBounds(), Rect(0, 0, 4, 3));
    SmartPtr<BitMap> pattern = MakeBitMap(table, "10 11 12 13 | 14 15 16 17 | 18 19 1A 1B");
    filler.FillWithPattern(*image.Get(), *pattern.Get());
    EXPECT_EQ(GridOf(*image.Get()), "01 11 12 | 14 15 01 | 01 01 02");

    SmartPtr<BitMap> narrow = MakeBitMap(table, "10 11 12 | 14 15 16 | 18 19 1A");
    SmartPtr<BitMap> untouched = MakeBitMap(table, "01 02 02 | 02 02 01 | 01 01 02");
    EXPECT_EQ(Failure([&] { filler.FillWithPattern(*untouched.Get(), *narrow.Get()); }),
        "bounds.Size() == fillPattern->GetBounds().Size()");
    EXPECT_EQ(GridOf(*untouched.Get()), "01 02 02 | 02 02 01 | 01 01 02");
}
