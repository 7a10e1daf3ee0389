#include "graphics/PortSaver.h"

#include "graphics/DisplayPort.h"
#include "graphics/Translation.h"

#include "PortFixture.h"

#include <gtest/gtest.h>

using namespace ports;

namespace {

class PortSaverTest : public bitmaps::WithStandardPalette { };

} // namespace

TEST_F(PortSaverTest, NestedSaversPutClipAndTransformBack)
{
    OffScreen buffer(10, 3, 8, Color(0), true);
    DisplayPort port(buffer, buffer.GetBounds(), 0);
    Translation start(1, 0);
    port.ApplyTransform(start);
    SmartPtr<Area> clip = port.GetClip();
    SmartPtr<Transform> transform = port.GetTransform();
    {
        PortSaverRect clipped(port, Rect(0, 0, 4, 3));
        EXPECT_EQ(port.GetClip()->ComputeBounds(), Rect(1, 0, 5, 3)) << "narrowed through the transform";
        {
            Translation moved(2, 0);
            PortSaverTransform shifted(port, moved);
            EXPECT_EQ(port.MapPoint(0, 0), Point(3, 0));
            port.DrawRectangle(Rect(0, 0, 6, 1), Color(7), Color(7), 1);
        }
        EXPECT_EQ(port.GetTransform(), transform);
        port.DrawRectangle(Rect(0, 1, 6, 2), Color(9), Color(9), 1);
    }
    EXPECT_EQ(port.GetClip(), clip);
    EXPECT_EQ(port.GetTransform(), transform);
    port.DrawRectangle(Rect(0, 2, 9, 3), Color(8), Color(8), 1);
    EXPECT_EQ(Art(buffer), "...rr.....|.bbbb.....|.ggggggggg");
}

TEST_F(PortSaverTest, StateComesBackWhenAnExceptionPasses)
{
    OffScreen buffer(4, 4, 8, Color(0), true);
    DisplayPort port(buffer, buffer.GetBounds(), 0);
    SmartPtr<Area> clip = port.GetClip();
    try {
        PortSaver saver(port, Area(Rect(1, 1, 2, 2)));
        Translation moved(5, 5);
        PortSaverTransform shifted(port, moved);
        ThrowError("drawing failed", PW_HERE);
    } catch (Exception*) {
    }
    EXPECT_EQ(port.GetClip(), clip);
    EXPECT_FALSE(port.GetTransform().Valid());
    port.DrawRectangle(Rect(0, 0, 4, 4), Color(7), Color(7), 1);
    EXPECT_EQ(Art(buffer), "rrrr|rrrr|rrrr|rrrr");
}
