#include "ui/NumberView.h"

#include "foundation/String.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

namespace driver = pw::platform::testing;

std::string Shown(NumberView& view)
{
    char chars[64] {};
    GetWindowTextA(view.GetValueField()->GetEditWindow(), chars, sizeof chars);
    return chars;
}

// Number views beside another view that can take the focus from them.
class NumberViews : public controls::WithApplication {
protected:
    void SetUp() override
    {
        controls::WithApplication::SetUp();
        other = new views::Probe(window.Get(), "other", Rect(0, 150, 50, 170));
        window->AddChild(other);
    }

    void Leave() { window->SetFocusChild(other); }
    void Enter(NumberView& view) { window->SetFocusChild(SmartPtr<View>(&view)); }

    SmartPtr<View> other;
};

} // namespace

TEST_F(NumberViews, ActivationShowsTheTargetAgain)
{
    int32_t speed = 42;
    double scale = 1.5;
    SmartPtr<NumberView> view = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
    SmartPtr<NumberView> fraction = NumberView::MakeForDouble(window.Get(), "Scale", SmartPtr<Smart>(), &scale);
    EXPECT_EQ(Shown(*view.Get()), "42");
    EXPECT_EQ(Shown(*fraction.Get()), "1.5");
    Enter(*view.Get());
    driver::TypeText("x");
    driver::RunUntilIdle();
    EXPECT_TRUE(view->IsModified());
    speed = 9;
    view->SetOwnerActive(false);
    view->SetOwnerActive(true);
    EXPECT_EQ(Shown(*view.Get()), "9");
    EXPECT_FALSE(view->IsModified());
}

// Each builder adds a view of its target to the parent, showing the number and not modified.
TEST_F(NumberViews, EveryBuilderAddsAViewOfItsTarget)
{
    int32_t speed = 42;
    int count = -7;
    double scale = 1.5;
    struct Case {
        const char* name;
        std::function<SmartPtr<NumberView>()> make;
        const char* shown;
    } cases[] = {
        { "long", [&] { return NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed); }, "42" },
        { "integer", [&] { return NumberView::MakeForInteger(window.Get(), "Count", SmartPtr<Smart>(), &count); },
            "-7" },
        { "double", [&] { return NumberView::MakeForDouble(window.Get(), "Scale", SmartPtr<Smart>(), &scale); },
            "1.5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<NumberView> view = c.make();
        EXPECT_EQ(Shown(*view.Get()), c.shown);
        EXPECT_FALSE(view->IsModified());
        EXPECT_TRUE(window->GetChildren().Contains(view.Get()));
    }
    count = 12;
    SmartPtr<NumberView> again = NumberView::MakeForInteger(window.Get(), "Count", SmartPtr<Smart>(), &count);
    Enter(*again.Get());
    SendMessageA(again->GetValueField()->GetEditWindow(), EM_SETSEL, 2, 2);
    driver::TypeText("\b\b30");
    driver::RunUntilIdle();
    Leave();
    EXPECT_EQ(count, 30) << "the integer form stores into its target too";
}

TEST_F(NumberViews, LeavingAnEditedViewStoresANumberOnly)
{
    struct Case {
        const char* name;
        const char* typed;
        int32_t expected;
        int changes;
    } cases[] = {
        { "a number", "\b\b-17 ", -17, 1 },
        { "not a number", "\b\bten", 42, 1 },
        { "too large", "\b\b9999999999", 42, 1 },
        { "no edit", "", 42, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t speed = 42;
        owner.changes = 0;
        SmartPtr<NumberView> view = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
        Enter(*view.Get());
        SendMessageA(view->GetValueField()->GetEditWindow(), EM_SETSEL, 2, 2);
        driver::TypeText(c.typed);
        driver::RunUntilIdle();
        Leave();
        EXPECT_EQ(speed, c.expected);
        EXPECT_FALSE(view->IsModified());
        EXPECT_EQ(owner.changes, c.changes);
        window->RemoveChild(SmartPtr<View>(view.Get()));
    }
}
