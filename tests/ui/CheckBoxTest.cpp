#include "ui/CheckBox.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

class CheckBoxes : public OnScreen {
protected:
    SmartPtr<CheckBox> Box(int32_t value)
    {
        target = new Target;
        target->values[7] = value;
        return CheckBox::Create(window.Get(), "Loop", SmartPtr<Controllable>(target.Get()), 7);
    }

    static bool Ticked(CheckBox& box)
    {
        return SendMessageA(box.GetControlWindow(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    SmartPtr<Target> target;
};

} // namespace

TEST_F(CheckBoxes, ShowTheTargetsValueInTheNextStackRow)
{
    for (int32_t value : { 0, 1 }) {
        SCOPED_TRACE(value);
        SmartPtr<CheckBox> box = Box(value);
        EXPECT_EQ(Ticked(*box.Get()), value == 1);
        char title[16] {};
        GetWindowTextA(box->GetControlWindow(), title, sizeof title);
        EXPECT_STREQ(title, "Loop");
    }
    SmartList<View> rows = window->GetChildren();
    ASSERT_EQ(rows.NumItems(), 2u);
    int32_t right = window->GetBounds().right - 4;
    EXPECT_EQ(rows.Item(1)->GetBounds(), Rect(4, 4, right, 20));
    EXPECT_EQ(rows.Item(2)->GetBounds(), Rect(4, 24, right, 40));
}

TEST_F(CheckBoxes, EachClickFlipsTheValueAndReportsAChange)
{
    SmartPtr<CheckBox> box = Box(0);
    target->taken.clear();
    ClickAt(box->GetControlWindow(), 5, 5);
    EXPECT_TRUE(Ticked(*box.Get()));
    ClickAt(box->GetControlWindow(), 5, 5);
    EXPECT_FALSE(Ticked(*box.Get()));
    EXPECT_EQ(target->taken, (std::vector<int32_t> { 1, 0 }));
    EXPECT_EQ(owner.changes, 2);
}

TEST_F(CheckBoxes, ActivationAsksTheTargetAgain)
{
    SmartPtr<CheckBox> box = Box(0);
    target->values[7] = 1;
    int asked = target->questions;
    box->SetOwnerActive(false);
    box->SetOwnerActive(true);
    EXPECT_GT(target->questions, asked);
    EXPECT_TRUE(Ticked(*box.Get()));
}
