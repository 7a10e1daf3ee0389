#include "graphics/DisplayChannel.h"

#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bitmaps;

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

std::string Box(const Rect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + ","
        + std::to_string(rect.bottom);
}

// A channel that writes what it is asked to do into the log, with the clip its content sees.
class Probe : public DisplayChannel, public SmartImplementation {
    PW_CLASS_INFO(Probe)
    PW_COPY_SLOTS

public:
    Probe(const char* name, DisplayDevice* device, const Rect& bounds)
        : DisplayChannel(device)
        , name(name)
        , bounds(bounds)
    {
    }

    void Changed(DisplayDevice& device, Area& area) override
    {
        Log().push_back(name + " changed");
        DisplayChannel::Changed(device, area);
    }
    void Invalidate(Area& area) override { Log().push_back(name + " invalidate " + Box(area.ComputeBounds())); }
    void DrawContent(DisplayPort& port, Area& area) override
    {
        Log().push_back(name + " draw " + Box(area.ComputeBounds()) + " clip " + Box(port.GetClip()->ComputeBounds()));
    }
    const ListHandle& GetChildren() override { return children; }
    Rect GetBounds() override { return bounds; }

    ListHandle children { &ImageChannel::classInfo };

private:
    std::string name;
    Rect bounds;
};

PW_DEFINE_CLASS(Probe, nullptr, nullptr, DisplayChannel, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Probe)

// A root on the first buffer with two children: "a" on the same buffer (with a child "c"), "b"
// on the second buffer.
class DisplayChannelTest : public WithStandardPalette {
protected:
    void SetUp() override
    {
        WithStandardPalette::SetUp();
        first = new OffScreen(10, 10, 8, Color(0), true);
        second = new OffScreen(10, 10, 8, Color(0), true);
        root = new Probe("root", first.Get(), Rect(0, 0, 8, 8));
        a = new Probe("a", first.Get(), Rect(2, 2, 6, 6));
        b = new Probe("b", second.Get(), Rect(0, 0, 4, 4));
        c = new Probe("c", first.Get(), Rect(4, 4, 10, 10));
        root->children.Append(a.Get());
        root->children.Append(b.Get());
        a->children.Append(c.Get());
        Log().clear();
    }

    SmartPtr<OffScreen> first, second;
    SmartPtr<Probe> root, a, b, c;
};

} // namespace

TEST_F(DisplayChannelTest, ChangesReachTheChildrenLastFirstBeforeTheChannelItself)
{
    Area area(Rect(1, 1, 3, 3));
    root->Changed(*first.Get(), area);
    std::vector<std::string> expected = { "root changed", "b changed", "a changed", "c changed",
        "c invalidate 1,1,3,3", "a invalidate 1,1,3,3", "root invalidate 1,1,3,3" };
    EXPECT_EQ(Log(), expected);
}

TEST_F(DisplayChannelTest, RenderDrawsOwnContentFirstOnlyOnItsDeviceWithinItsBounds)
{
    struct Case {
        const char* name;
        OffScreen* device;
        std::vector<std::string> expected;
    } cases[] = {
        { "first buffer", first.Get(),
            { "root draw 0,0,10,10 clip 0,0,8,8", "a draw 0,0,10,10 clip 2,2,6,6", "c draw 0,0,10,10 clip 4,4,6,6" } },
        { "second buffer", second.Get(), { "b draw 0,0,10,10 clip 0,0,4,4" } },
    };
    for (Case& test : cases) {
        SCOPED_TRACE(test.name);
        Log().clear();
        DisplayPort port(*test.device, test.device->GetBounds(), 0);
        SmartPtr<Area> clipBefore = port.GetClip();
        Area area(Rect(0, 0, 10, 10));
        root->Render(port, area);
        EXPECT_EQ(Log(), test.expected);
        EXPECT_EQ(port.GetClip(), clipBefore);
    }
}

TEST_F(DisplayChannelTest, UpdateRendersWhatTheDeviceWaitsFor)
{
    root->Update(*first.Get());
    EXPECT_TRUE(Log().empty());

    first->Invalidate(Area(Rect(6, 6, 9, 9)));
    root->Update(*first.Get());
    std::vector<std::string> expected = { "root changed", "b changed", "a changed", "c changed",
        "c invalidate 0,0,8,8", "a invalidate 0,0,8,8", "root invalidate 0,0,8,8", "root draw 6,6,8,8 clip 6,6,8,8",
        "a draw 6,6,8,8 clip 0,0,0,0", "c draw 6,6,8,8 clip 0,0,0,0" };
    EXPECT_EQ(Log(), expected);
    EXPECT_FALSE(first->HasInvalidArea());
}
