#include "authoring/palettes/CTilePane.h"

#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

struct Child {
    int32_t width;
    int32_t height;
    uint8_t sizing { View::kSizeTopLeft };
    bool hidden { false };
};

struct LayoutCase {
    const char* name;
    bool vertical;
    bool framed;
    int16_t spacing;
    std::vector<Child> children;
    // The top-left corners of the children after the layout, and the answer.
    std::vector<Point> corners;
    Point size;
    // The size the pane holds (HoldSize); none when empty.
    Point held { 0, 0 };
};

class CTilePaneTest : public AuthoringTest {
protected:
    SmartPtr<CTilePane> Pane(bool vertical, bool framed, int16_t spacing, const std::vector<Child>& children)
    {
        window = Open("tiles");
        SmartPtr<CTilePane> pane = new CTilePane(window.Get(), vertical, framed, spacing);
        window->AddChild(SmartPtr<View>(pane.Get()));
        for (const Child& child : children) {
            SmartPtr<View> view = new View(pane.Get(), Rect(100, 100, 100 + child.width, 100 + child.height),
                child.sizing, false, false);
            pane->AddChild(view);
            if (child.hidden)
                view->Show(false);
        }
        return pane;
    }

    SmartPtr<uitest::TestWindow> window;
};

} // namespace

TEST_F(CTilePaneTest, LaysChildrenOutInRowsAndColumns)
{
    const uint8_t acrossRow = View::kFollowTop | View::kFollowBottom;
    const LayoutCase cases[] = {
        { "framed row", false, true, 0, { { 30, 20 }, { 40, 10 } }, { { 0, 0 }, { 31, 5 } }, { 71, 20 } },
        { "plain row", false, false, 0, { { 30, 20 }, { 40, 10 } }, { { 0, 0 }, { 30, 5 } }, { 69, 20 } },
        { "framed column", true, true, 0, { { 30, 20 }, { 40, 10 } }, { { 5, 0 }, { 0, 21 } }, { 40, 31 } },
        { "spacing between placed children only", false, false, 4,
            { { 10, 10 }, { 10, 10, View::kSizeTopLeft, true }, { 10, 10 } }, { { 0, 0 }, { 100, 100 }, { 14, 0 } },
            { 23, 10 } },
        { "a child stretched across the row does not raise it", false, false, 0,
            { { 10, 6 }, { 10, 30, acrossRow } }, { { 0, 0 }, { 10, -12 } }, { 19, 6 } },
        { "only hidden children", false, true, 0, { { 10, 10, View::kSizeTopLeft, true } }, { { 100, 100 } }, { 0, 0 } },
        { "no children", true, true, 0, {}, {}, { 0, 0 } },
        { "a held size: the row at the start, centred across", false, true, 0, { { 30, 20 }, { 40, 10 } },
            { { 0, 10 }, { 31, 15 } }, { 100, 40 }, { 100, 40 } },
        { "a held size smaller than the row", false, true, 0, { { 30, 20 }, { 40, 10 } }, { { 0, 0 }, { 31, 5 } },
            { 71, 20 }, { 10, 5 } },
        { "a held size with only hidden children", false, true, 0, { { 10, 10, View::kSizeTopLeft, true } },
            { { 100, 100 } }, { 50, 30 }, { 50, 30 } },
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CTilePane> pane = Pane(c.vertical, c.framed, c.spacing, c.children);
        pane->HoldSize(c.held);
        Rect before = pane->GetBounds();
        Point size = pane->Layout(0, 0);
        EXPECT_EQ(size.h, c.size.h);
        EXPECT_EQ(size.v, c.size.v);
        SmartList<View> children = pane->GetChildren();
        for (size_t i = 0; i < c.corners.size(); ++i) {
            Rect bounds = children.Item(static_cast<uint32_t>(i + 1))->GetBounds();
            EXPECT_EQ(bounds.left, c.corners[i].h) << "child " << i + 1;
            EXPECT_EQ(bounds.top, c.corners[i].v) << "child " << i + 1;
            EXPECT_EQ(bounds.Size().h, c.children[i].width) << "child " << i + 1 << " keeps its size";
        }
        if (size.h == 0)
            EXPECT_EQ(pane->GetBounds(), before);
        else
            EXPECT_EQ(pane->GetBounds(), Rect(0, 0, size.h, size.v));
    }
}

// A pane laid out away from its first place moves there; children that follow the pane's right
// and bottom edges keep the places the layout gave them.
TEST_F(CTilePaneTest, TheLayoutMovesThePaneAndLeavesItsChildrenPlaced)
{
    SmartPtr<CTilePane> pane = Pane(false, true, 0, { { 30, 20, View::kSizeTopRow }, { 40, 10 } });
    Point size = pane->Layout(7, 3);
    EXPECT_EQ(pane->GetBounds(), Rect(7, 3, 7 + size.h, 3 + size.v));
    SmartList<View> children = pane->GetChildren();
    EXPECT_EQ(children.Item(1)->GetBounds(), Rect(7, 3, 37, 23));
    EXPECT_EQ(children.Item(2)->GetBounds(), Rect(38, 8, 78, 18));
}

// Framed: a black ring just outside every shown child on a grey ground; nothing is drawn over the
// children's own rectangles, nor outside the pane.
TEST_F(CTilePaneTest, DrawsFramesAroundChildrenOnGrey)
{
    SmartPtr<CTilePane> pane = Pane(false, true, 0, { { 3, 1 }, { 2, 5 } });
    pane->Layout(1, 1);
    ASSERT_EQ(pane->GetBounds(), Rect(1, 1, 7, 6));
    OffScreen screen(9, 7, 8, Color(0), true);
    {
        DisplayPort port(screen, screen.GetBounds(), 0);
        Area all(screen.GetBounds());
        pane->DrawContent(port, all);
    }
    const char* expected[] = {
        ".........",
        ".ggg#....",
        ".####....",
        "....#....",
        ".####....",
        ".ggg#....",
        ".........",
    };
    SmartPtr<BitMap> bits = screen.GetBitMap();
    for (int32_t v = 0; v < 7; ++v) {
        std::string row;
        for (int32_t h = 0; h < 9; ++h) {
            Color color = bits->GetColorOfValue(bits->GetPixelValue(h, v));
            row += color.Equals(Color(0)) ? '.' : color.Equals(Color(1)) ? '#' : color.Equals(Color(4)) ? 'g' : '?';
        }
        EXPECT_EQ(row, expected[v]) << "row " << v;
    }
}
