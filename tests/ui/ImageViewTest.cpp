#include "ui/ImageView.h"

#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;

namespace {

// An image that fills its own rectangle, wherever that lies, in one colour.
class Swatch : public Image, public SmartImplementation {
    PW_CLASS_INFO(Swatch)
    PW_COPY_SLOTS

public:
    explicit Swatch(const Rect& bounds)
        : bounds(bounds)
    {
    }
    void Draw(DisplayPort& port, int) override { port.DrawRectangle(bounds, Color(7), Color(7), 1); }
    Rect GetBounds() override { return bounds; }
    SmartPtr<ColorTable> GetColorTable() override { return ColorTable::Setup(8); }

private:
    Rect bounds;
};

PW_DEFINE_CLASS(Swatch, nullptr, nullptr, Image, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Swatch)

} // namespace

TEST_F(ViewTest, ImagesDrawAtTheViewsCornerCutAtItsBounds)
{
    struct Case {
        const char* name;
        Rect image;
        const char* art;
    } cases[] = {
        { "the image's own corner at the view's", Rect(5, 5, 9, 8), "........|..rrrr..|..rrrr..|..rrrr..|........|........" },
        { "larger than the view", Rect(-4, -4, 20, 20), "........|..rrrrr.|..rrrrr.|..rrrrr.|..rrrrr.|........" },
        { "none", Rect(0, 0, 0, 0), "........|........|........|........|........|........" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree(8, 6);
        SmartPtr<Image> image = c.image.IsEmpty() ? nullptr : new Swatch(c.image);
        SmartPtr<ImageView> view = new ImageView(tree.root.Get(), Rect(2, 1, 7, 5), image);
        tree.root->AddChild(view.Get());
        EXPECT_EQ(tree.Redrawn(), c.art);
        view->SetImage(nullptr);
        EXPECT_TRUE(!image.Valid() || image->ReferenceCount() == 1) << "the old image is let go at once";
    }
}
