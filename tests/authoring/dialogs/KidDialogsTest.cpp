#include "authoring/dialogs/KidDialogs.h"

#include "authoring/dialogs/SpeedDialog.h"
#include "foundation/FourCharCode.h"
#include "ui/ScrollBar.h"
#include "ui/ViewControl.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using pw::foundation::FourCharCode;

TEST(KidDialogs, QuestionsAnswerAtOnceWithoutChangingTheProposal)
{
    for (const char* title : { "Insert Frames", "Stretch Motion", "Create Circular Motion" }) {
        int16_t value = 7;
        EXPECT_TRUE(KidDialogs::AskNumber(String(title), &value)) << title;
        EXPECT_EQ(value, 7) << title;
    }
    bool on[7] { true, false, true, false, true, false, true };
    int16_t samples = 33;
    EXPECT_FALSE(KidDialogs::AskInterpolation(&on[0], &on[1], &on[2], &on[3], &on[4], &on[5], &on[6], &samples));
    EXPECT_EQ(samples, 33);
    EXPECT_TRUE(on[0] && !on[1] && on[6]);
    for (const char* kind : { "text", "picture", "object" })
        EXPECT_FALSE(KidDialogs::AskResourceKind(String(kind))) << kind;
}

TEST(KidDialogs, ASpriteIsMadeAsAPicture)
{
    const struct { char given[5]; char expected[5]; } cases[] {
        { "SPRT", "PICT" }, { "PICT", "PICT" }, { "TEXT", "TEXT" }, { "sprt", "sprt" } };
    for (auto& c : cases) {
        uint32_t code = FourCharCode(c.given);
        EXPECT_TRUE(KidDialogs::AskObjectKind(&code));
        EXPECT_EQ(code, FourCharCode(c.expected)) << c.given;
    }
}

namespace {

class SpeedDialogBuilder : public authoring::AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        page = new authoring::PagePane(Open("page").Get(), Rect(0, 0, 40, 40));
    }
    void TearDown() override
    {
        page = nullptr;
        AuthoringTest::TearDown();
    }
    SmartPtr<authoring::PagePane> page;
};

} // namespace

// The speed dialog comes up with its bar and "OK" inside its frame; the bar sets the page's rate
// and "OK", clicked on the screen, closes the dialog.
TEST_F(SpeedDialogBuilder, TheSpeedDialogSetsTheRateAndClosesOnOK)
{
    uint32_t windows = app->NumWindows();
    EXPECT_TRUE(KidDialogs::MakeDialog(page->show, 1, 60));
    ASSERT_EQ(app->NumWindows(), windows + 1);
    auto* dialog = dynamic_cast<SpeedDialog*>(app->GetWindow(app->NumWindows()).Get());
    ASSERT_NE(dialog, nullptr);
    authoring::driver::RunUntilIdle();
    ScrollBar* bar = nullptr;
    ViewControl* ok = nullptr;
    for (uint32_t i = 1; i <= dialog->GetChildren().NumItems(); ++i) {
        View* child = dialog->GetChildren().Item(i);
        bar = bar ? bar : dynamic_cast<ScrollBar*>(child);
        ok = ok ? ok : dynamic_cast<ViewControl*>(child);
    }
    ASSERT_TRUE(bar && ok);
    Rect inside = dialog->GetBounds();
    EXPECT_EQ(inside.Union(bar->GetBounds()), inside);
    EXPECT_EQ(inside.Union(ok->GetBounds()), inside);
    dialog->GetControl()->TakeValue(24);
    EXPECT_EQ(page->show->GetFrameRate(), 24);

    Point origin = dialog->GetContentOrigin();
    Rect button = ok->GetBounds();
    int32_t h = origin.h + (button.left + button.right) / 2;
    int32_t v = origin.v + (button.top + button.bottom) / 2;
    authoring::driver::PressMouse(h, v);
    authoring::driver::ReleaseMouse(h, v);
    authoring::driver::RunUntilIdle();
    EXPECT_EQ(app->NumWindows(), windows);
}
