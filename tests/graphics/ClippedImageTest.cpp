#include "graphics/ClippedImage.h"

#include "graphics/DisplayPort.h"
#include "graphics/Translation.h"

#include "PortFixture.h"

#include <gtest/gtest.h>

using namespace ports;

namespace {

class ClippedImageTest : public bitmaps::WithStandardPalette { };

// A 6 by 4 picture in red and blue, wider than every clip below.
SmartPtr<BitMap> Picture()
{
    SmartPtr<BitMap> picture = new BitMap(6, 4, ColorTable::Setup(8), Color(0), false);
    PaintArt(*picture.Get(), "rrrbbb|rrrbbb|bbbrrr|bbbrrr");
    return picture;
}

SmartPtr<Area> TwoSquares()
{
    SmartPtr<Area> clip = new Area(Rect(1, 0, 3, 2));
    clip->Merge(Area(Rect(4, 2, 6, 4)));
    return clip;
}

// Draws the image, cast through its Image interface, into a white 7 by 5 buffer through a port
// moved by `offset`.
std::string Drawn(Smart* object, Point offset)
{
    Image* image = SmartCast<Image>(object);
    EXPECT_NE(image, nullptr);
    OffScreen buffer(7, 5, 8, Color(0), true);
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        Translation moved(offset.h, offset.v);
        port.ApplyTransform(moved);
        image->Draw(port, 0);
    }
    return Art(buffer);
}

} // namespace

TEST_F(ClippedImageTest, DrawsOnlyThroughItsClipAndAnswersTheClipsBounds)
{
    struct Case {
        const char* name;
        SmartPtr<Area> clip;
        Point offset;
        const char* expected;
        Rect bounds;
    } cases[] = {
        { "two squares", TwoSquares(), Point(0, 0), ".rr....|.rr....|....rr.|....rr.|.......", Rect(1, 0, 6, 4) },
        { "moved with the port", TwoSquares(), Point(1, 1), ".......|..rr...|..rr...|.....rr|.....rr",
            Rect(1, 0, 6, 4) },
        { "clip beyond the picture", new Area(Rect(5, 3, 9, 9)), Point(0, 0), ".......|.......|.......|.....r.|.......",
            Rect(5, 3, 9, 9) },
        { "empty clip", new Area, Point(0, 0), ".......|.......|.......|.......|.......", Rect(0, 0, 0, 0) },
        { "no clip", SmartPtr<Area>(), Point(0, 0), ".......|.......|.......|.......|.......", Rect(0, 0, 0, 0) },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<ClippedImage> clipped = new ClippedImage(Picture().Get(), test.clip);
        EXPECT_EQ(Drawn(clipped.Get(), test.offset), test.expected);
        EXPECT_EQ(clipped->GetBounds(), test.bounds);
        EXPECT_EQ(clipped->GetColorTable(), ColorTable::Setup(8));
    }
}

TEST_F(ClippedImageTest, ItsAreaIsACopyOfTheClipThatOutlivesIt)
{
    SmartPtr<Area> clip = TwoSquares();
    SmartPtr<ClippedImage> clipped = new ClippedImage(Picture().Get(), clip);
    SmartPtr<Area> area = clipped->GetArea();
    ASSERT_TRUE(area.Valid());
    EXPECT_NE(area.Get(), clip.Get());
    clipped = nullptr;
    clip->SetRect(Rect(0, 0, 1, 1));
    clip = nullptr;
    EXPECT_EQ(area->ComputeBounds(), Rect(1, 0, 6, 4));
    EXPECT_EQ(area->RectList().NumItems(), 2u);

    EXPECT_FALSE(ClippedImage(Picture().Get(), SmartPtr<Area>()).GetArea().Valid());
}
