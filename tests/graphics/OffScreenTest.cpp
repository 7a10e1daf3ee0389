#include "graphics/OffScreen.h"

#include "graphics/ColorPaint.h"
#include "graphics/DisplayPort.h"

#include "PortFixture.h"

#include <gtest/gtest.h>

using namespace ports;

namespace {

class OffScreenTest : public bitmaps::WithStandardPalette { };

} // namespace

TEST_F(OffScreenTest, NestedPortsTakeTheContextOnce)
{
    OffScreen buffer(4, 3, 8, Color(0), true);
    SmartPtr<BitMap> bitmap = buffer.GetBitMap();
    int16_t locks = bitmap->LockCount();
    {
        DisplayPort outer(buffer, buffer.GetBounds(), 0);
        HDC dc = buffer.GetHDC();
        {
            DisplayPort inner(buffer, buffer.GetBounds(), 1);
            EXPECT_EQ(inner.GetHDC(), dc);
            EXPECT_EQ(bitmap->LockCount(), locks + 1);
        }
        EXPECT_EQ(buffer.GetHDC(), dc);
    }
    EXPECT_FALSE(buffer.IsDrawing());
    EXPECT_EQ(buffer.OSContext(), nullptr);
    buffer.EndDraw();
    EXPECT_EQ(bitmap->LockCount(), locks) << "an end without a begin is ignored";
}

TEST_F(OffScreenTest, BuffersEraseToTheirBackground)
{
    EXPECT_EQ(Art(*OffScreen(3, 2, 8, Color(7), true).GetBitMap().Get()), "rrr|rrr");
    EXPECT_EQ(Art(*OffScreen(3, 2, 8, Color(7), false).GetBitMap().Get()), "###|###") << "new pixels are 0";

    // Like another device: white, whatever that device's background, which becomes the key.
    OffScreen other(2, 2, ColorTable::Setup(8), Color(9), true);
    for (bool keyed : { true, false }) {
        SCOPED_TRACE(keyed);
        OffScreen like(other, Rect(5, 5, 8, 7), keyed, true);
        EXPECT_EQ(Art(like), "...|...");
        EXPECT_EQ(like.GetColorTable(), other.GetColorTable());
        EXPECT_EQ(like.GetBitMap()->UsesChromaKey(), keyed);
        EXPECT_EQ(like.GetBitMap()->GetChromaKey(), keyed ? IndexOf(Color(9)) : 0u);
    }
}

// A buffer of no pixels cannot hold a Windows bitmap; it keeps one pixel instead of failing.
TEST_F(OffScreenTest, EmptyBufferKeepsOnePixel)
{
    OffScreen empty(0, 0, 8, Color(9), true);
    EXPECT_EQ(Art(empty), "b");
    EXPECT_EQ(OffScreen(0, 5, 8, Color(9), true).GetBounds(), Rect(0, 0, 1, 5));
    OffScreen shrunk(3, 3, 8, Color(9), true);
    shrunk.Resize(0, 0, -3, -5, true);
    EXPECT_EQ(shrunk.GetBounds(), Rect(0, 0, 1, 1));
}

TEST_F(OffScreenTest, ResizeKeepsPixelsAtTheirCoordinates)
{
    struct Case {
        const char* name;
        int32_t left, top, right, bottom;
        bool keep;
        const char* expected;
    } cases[] = {
        { "grown right and down", 0, 0, 2, 1, true, "rg..|#b..|...." },
        { "grown on the left", -2, 0, 0, 0, true, "rg..|#b.." },
        { "shrunk", 0, 0, -1, 0, true, "r|#" },
        { "grown without keeping", 0, 0, 1, 0, false, "...|..." },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OffScreen buffer(2, 2, 8, Color(0), true);
        PaintArt(*buffer.GetBitMap().Get(), "rg|#b");
        buffer.Resize(test.left, test.top, test.right, test.bottom, test.keep);
        EXPECT_EQ(Art(buffer), test.expected);
    }

    OffScreen drawing(2, 2, 8, Color(0), true);
    DisplayPort port(drawing, drawing.GetBounds(), 0);
    drawing.Resize(0, 0, 5, 5, true);
    EXPECT_EQ(drawing.GetBounds(), Rect(0, 0, 2, 2)) << "ignored while drawing";
}

TEST_F(OffScreenTest, ImageIsRenderedScaledToFit)
{
    SmartPtr<BitMap> image = new BitMap(2, 1, ColorTable::Setup(8), Color(0), false);
    PaintArt(*image.Get(), "rb");
    OffScreen buffer(*image.Get(), 4, 4, Color(10), true);
    EXPECT_EQ(Art(buffer), "yyyy|rrbb|rrbb|yyyy");
}

TEST_F(OffScreenTest, PendingAreaCollectsUntilAPortTakesIt)
{
    OffScreen buffer(6, 4, 8, Color(0), true);
    EXPECT_FALSE(buffer.HasInvalidArea());
    buffer.Invalidate(Area(Rect(0, 0, 2, 2)));
    buffer.Invalidate(Area(Rect(3, 1, 5, 3)));
    HRGN region = CreateRectRgn(0, 0, 6, 4);
    buffer.Invalidate(Area(region));
    EXPECT_TRUE(buffer.HasInvalidArea());
    EXPECT_EQ(buffer.InvalidArea()->ComputeBounds(), Rect(0, 0, 5, 3)) << "a region-mode area adds nothing";

    PaintArt(*buffer.GetBitMap().Get(), "######|######|######|######");
    Area taken;
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        port.TakeInvalidArea(Area(Rect(1, 0, 6, 4)), taken);
    }
    EXPECT_EQ(taken.ComputeBounds(), Rect(0, 0, 5, 3));
    EXPECT_EQ(Art(buffer), "#.####|#.#..#|###..#|######") << "the part within is erased";
    EXPECT_FALSE(buffer.HasInvalidArea());
    EXPECT_TRUE(buffer.InvalidArea()->IsEmpty());
}
