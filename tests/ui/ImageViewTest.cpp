#include "ui/ImageView.h"

#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;
using ports::Art;

namespace {

// An image that fills its own rectangle, wherever that lies, in one colour.
class Swatch : public Image, public SmartImplementation {
    PW_CLASS_INFO(Swatch)
    PW_COPY_SLOTS

public:
    Swatch(const Rect& bounds, const Color& color)
        : bounds(bounds)
        , color(color)
    {
    }

    void Draw(DisplayPort& port, int) override { port.DrawRectangle(bounds, color, color, 1); }
    Rect GetBounds() override { return bounds; }
    SmartPtr<ColorTable> GetColorTable() override { return ColorTable::Setup(8); }

private:
    Rect bounds;
    Color color;
};

PW_DEFINE_CLASS(Swatch, nullptr, nullptr, Image, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Swatch)

std::string Redrawn(Tree& tree)
{
    tree.root->InvalidateView(false);
    tree.root->Update(*tree.device.Get());
    return Art(*tree.device.Get());
}

} // namespace

TEST_F(ViewTest, ImagesDrawAtTheViewsCornerCutAtItsBounds)
{
    struct Case {
        const char* name;
        Rect image;
        const char* art;
    } cases[] = {
        { "the image's own corner at the view's", Rect(5, 5, 9, 8),
            "..........|...rrrr...|...rrrr...|...rrrr...|..........|..........|.........." },
        { "larger than the view", Rect(-4, -4, 20, 20),
            "..........|...rrrrr..|...rrrrr..|...rrrrr..|...rrrrr..|..........|.........." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree(10, 7);
        SmartPtr<View> view = new ImageView(tree.root.Get(), Rect(3, 1, 8, 5), new Swatch(c.image, Color(7)));
        tree.root->AddChild(view);
        EXPECT_EQ(Redrawn(tree), c.art);
    }
}

TEST_F(ViewTest, AnImageViewWithoutImageDrawsNothingAndLetsTheOldOneGo)
{
    Tree tree(10, 7);
    SmartPtr<Image> image = new Swatch(Rect(0, 0, 2, 2), Color(8));
    SmartPtr<ImageView> view = new ImageView(tree.root.Get(), Rect(1, 1, 5, 5), image);
    tree.root->AddChild(view.Get());
    EXPECT_EQ(Redrawn(tree).substr(0, 22), "..........|.gg.......|");
    view->SetImage(nullptr);
    EXPECT_EQ(image->ReferenceCount(), 1u);
    EXPECT_EQ(Redrawn(tree), "..........|..........|..........|..........|..........|..........|..........");
}
