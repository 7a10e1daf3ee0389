#include "graphics/StdImageChannel.h"

#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>

using namespace bitmaps;

namespace {

class StdImageChannelTest : public WithStandardPalette { };

} // namespace

TEST_F(StdImageChannelTest, DrawsTheImageWhereItIsVisibleAndWaitedFor)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<BitMap> image = MakeBitMap(standard, "BE BE BE BE | BE BE BE BE | BE BE BE BE");
    SmartPtr<OffScreen> buffer = new OffScreen(5, 3, standard, Color(0), true);
    {
        StdImageChannel channel(SmartPtr<Image>(image.Get()), SmartPtr<DisplayDevice>(buffer.Get()));
        EXPECT_EQ(image->NumChannels(), 1u);

        // The image asks for nothing itself, so the caller's area stays whole.
        Area visible(Rect(0, 0, 2, 3));
        channel.Changed(*buffer.Get(), visible);
        EXPECT_EQ(visible.ComputeBounds(), Rect(0, 0, 2, 3));

        // A change of the image is waited for and the device learns of it.
        channel.ImageChanged(Area(), Area(Rect(0, 2, 1, 3)));
        EXPECT_TRUE(buffer->HasInvalidArea());
        {
            DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
            Area asked(Rect(1, 0, 4, 1));
            channel.Render(port, asked);
        }
        // The buffer starts white (standard colour 0, cube entry E1).
        EXPECT_EQ(GridOf(*buffer->GetBitMap().Get()), "E1 BE E1 E1 E1 | E1 E1 E1 E1 E1 | BE E1 E1 E1 E1");
    }
    EXPECT_EQ(image->NumChannels(), 0u);
}
