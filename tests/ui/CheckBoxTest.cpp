#include "ui/CheckBox.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

class CheckBoxes : public WithApplication {
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

TEST_F(CheckBoxes, EachClickFlipsTheValueAndReportsAChange)
{
    SmartPtr<CheckBox> box = Box(0);
    target->taken.clear();
    ClickOn(box->GetControlWindow(), 5, 5);
    EXPECT_TRUE(Ticked(*box.Get()));
    ClickOn(box->GetControlWindow(), 5, 5);
    EXPECT_FALSE(Ticked(*box.Get()));
    EXPECT_EQ(target->taken, (std::vector<int32_t> { 1, 0 }));
    EXPECT_EQ(owner.changes, 2);
}
