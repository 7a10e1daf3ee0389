#include "authoring/dialogs/SpeedDialog.h"

#include "authoring/palettes/CBorderSize.h"
#include "ui/ScrollBar.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;
using pw::foundation::TextOf;

namespace {

class SpeedDialogTest : public AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        page = new PagePane(Open("page").Get(), Rect(0, 0, 40, 40));
    }
    void TearDown() override
    {
        page = nullptr;
        AuthoringTest::TearDown();
    }

    // The dialog as its builder makes it, shown and active: a bar from 1 to 30.
    SmartPtr<SpeedDialog> Build()
    {
        SmartPtr<SpeedDialog> dialog = new SpeedDialog;
        dialog->SetControl(new SpeedControl(page->show, 1, 30));
        dialog->SetFrame(Rect(100, 100, 500, 200));
        SmartPtr<ScrollBar> bar = new ScrollBar(dialog.Get(), 20, 40, 380, 56,
            SmartPtr<Controllable>(dialog->GetControl().Get()), 1);
        dialog->AddChild(SmartPtr<View>(bar.Get()));
        app->AddWindow(SmartPtr<Window>(dialog.Get()), true);
        dialog->Show(true);
        driver::RunUntilIdle();
        return dialog;
    }
    // The value rectangle's pixels on the screen.
    static std::vector<uint8_t> ValuePixels(SpeedDialog& dialog)
    {
        pw::platform::Frame shown = driver::ReadClientArea(dialog.GetFrame()->GetOSWindow());
        std::vector<uint8_t> pixels;
        for (int32_t v = SpeedDialog::kValueRect.top; v < SpeedDialog::kValueRect.bottom; ++v) {
            for (int32_t h = SpeedDialog::kValueRect.left; h < SpeedDialog::kValueRect.right; ++h)
                pixels.push_back(shown.At(h, v));
        }
        return pixels;
    }

    SmartPtr<PagePane> page;
};

} // namespace

// The control answers the bounds and a page of 5; its position is the page's frame rate.
TEST_F(SpeedDialogTest, TheControlEditsThePagesFrameRate)
{
    SmartPtr<SpeedControl> control = new SpeedControl(page->show, 1, 30);
    int32_t first = 0, second = 0;
    control->GetRange(0, &first, &second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 30);
    EXPECT_EQ(control->GetPageSize(0), 5);
    EXPECT_EQ(control->GetPosition(), 15);
    control->SetPosition(24);
    EXPECT_EQ(page->show->GetFrameRate(), 24);
    SmartPtr<SpeedControl> copy = new SpeedControl(*control.Get());
    EXPECT_EQ(copy->GetPosition(), 24) << "a copy edits the same page";
}

// A page click on the bar sets the rate at once and the number follows on the screen; while the
// dialog is not active the number changes without drawing, and shows at the next drawing.
TEST_F(SpeedDialogTest, TheNumberFollowsTheBar)
{
    SmartPtr<SpeedDialog> dialog = Build();
    EXPECT_EQ(TextOf(dialog->GetText()), "15");
    std::vector<uint8_t> fifteen = ValuePixels(*dialog.Get());
    Point origin = dialog->GetContentOrigin();
    driver::Click(origin.h + 340, origin.v + 48);
    driver::RunUntilIdle();
    EXPECT_EQ(page->show->GetFrameRate(), 20);
    EXPECT_EQ(TextOf(dialog->GetText()), "20");
    std::vector<uint8_t> twenty = ValuePixels(*dialog.Get());
    EXPECT_NE(twenty, fifteen);

    dialog->SetActive(false);
    dialog->GetControl()->SetPosition(15);
    EXPECT_EQ(TextOf(dialog->GetText()), "15");
    EXPECT_EQ(ValuePixels(*dialog.Get()), twenty) << "not drawn while inactive";
    dialog->GetFrame()->Invalidate(Area(SpeedDialog::kValueRect));
    dialog->UpdateNow();
    EXPECT_EQ(ValuePixels(*dialog.Get()), fifteen);
}

// The content lies 5 pixels inside, unless the view is 10 pixels or less across; a press only
// warns.
TEST_F(SpeedDialogTest, BorderSizeViewsInsetTheirContent)
{
    SmartPtr<Window> window(Open("movie").Get());
    SmartPtr<CBorderSize> wide = new CBorderSize(window.Get(), 10, 20, 110, 80);
    EXPECT_EQ(wide->GetContentRect(), Rect(15, 25, 105, 75));
    SmartPtr<CBorderSize> narrow = new CBorderSize(window.Get(), 0, 0, 10, 40);
    EXPECT_EQ(narrow->GetContentRect(), Rect(0, 0, 10, 40));
    driver::ScriptMessageBoxes({ IDOK });
    wide->MouseDown(20, 30, BitFlags(), 1, window);
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_NE(driver::AlertLog().back().text.find("Not implemented."), std::string::npos);
}
