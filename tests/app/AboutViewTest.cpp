// The About box: the picture alone, centred, closed by a click anywhere on it; no picture, no box.
#include "app/AboutView.h"

#include "app/TallowResources.h"
#include "ui/Dialog.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

namespace {

namespace driver = pw::platform::testing;

class AboutViewTest : public authoring::AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        pw::app::testing::ResetTallowResources();
    }
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        pw::app::testing::ResetTallowResources();
        AuthoringTest::TearDown();
    }
};

TEST_F(AboutViewTest, TheAboutBoxIsThePictureAndAClickAnywhereOnItClosesIt)
{
    PutPicture(pw::app::kAboutPicture, authoring::Plain('w', 60, 40));
    const struct {
        const char* name;
        int h, v;
    } cases[] = { { "the middle", 30, 20 }, { "the top-left pixel", 0, 0 }, { "the bottom-right pixel", 59, 39 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Dialog> shown;
        Rect content(0, 0, 0, 0);
        driver::SetIdleHandler([&] {
            auto* dialog = dynamic_cast<Dialog*>(app->GetWindow(app->NumWindows()).Get());
            if (shown.Valid() || !dialog)
                return false;
            shown = dialog;
            Point origin = dialog->GetContentOrigin();
            Rect bounds = dialog->GetBounds();
            content = Rect(origin.h, origin.v, origin.h + bounds.right - bounds.left, origin.v + bounds.bottom - bounds.top);
            driver::Click(content.left + c.h, content.top + c.v);
            return true;
        });
        pw::app::ShowAboutPicture();
        ASSERT_TRUE(shown.Valid());
        EXPECT_EQ(content.right - content.left, 60);
        EXPECT_EQ(content.bottom - content.top, 40);
        EXPECT_TRUE(shown->IsClosed());
        EXPECT_FALSE(shown->WasCancelled());
    }
}

TEST_F(AboutViewTest, WithoutThePictureNothingShowsAndOutsideADialogAClickIsNotTaken)
{
    uint32_t before = app->NumWindows();
    pw::app::ShowAboutPicture();
    EXPECT_EQ(app->NumWindows(), before);

    SmartPtr<Window> plain(new Window(new String("plain"), 0, false, false, Point(200, 150)));
    SmartPtr<AboutView> view(new AboutView(plain.Get(), Rect(0, 0, 10, 10), SmartPtr<Image>()));
    EXPECT_FALSE(view->MouseDown(1, 1, BitFlags(), 1, plain));
}

} // namespace
