#include "ui/NumberView.h"

#include "foundation/String.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace driver = pw::platform::testing;

std::string Shown(NumberView& view)
{
    char chars[64] {};
    GetWindowTextA(view.GetValueField()->GetEditWindow(), chars, sizeof chars);
    return chars;
}

class NumberViews : public controls::WithApplication {
protected:
    void SetUp() override
    {
        controls::WithApplication::SetUp();
        window->AddOwner(&owner);
    }
    void TearDown() override
    {
        window->RemoveOwner(&owner);
        controls::WithApplication::TearDown();
    }

    // Focus on another view of the window, then back when asked.
    void Leave(NumberView& view) { window->SetFocusChild(other); ASSERT_FALSE(view.IsActive()); }
    void Enter(NumberView& view) { window->SetFocusChild(SmartPtr<View>(&view)); ASSERT_TRUE(view.IsActive()); }

    void AddOther()
    {
        other = new views::Probe(window.Get(), "other", Rect(0, 150, 50, 170));
        window->AddChild(other);
    }

    controls::Owner owner;
    SmartPtr<View> other;
};

} // namespace

TEST_F(NumberViews, ShowTheTargetBesideTheLabel)
{
    int32_t speed = 42;
    double scale = 1.5;
    SmartPtr<NumberView> whole = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
    SmartPtr<NumberView> fraction = NumberView::MakeForDouble(window.Get(), "Scale", SmartPtr<Smart>(), &scale);
    EXPECT_EQ(Shown(*whole.Get()), "42");
    EXPECT_EQ(Shown(*fraction.Get()), "1.5");
    EXPECT_FALSE(whole->IsModified());
    Rect row = whole->GetBounds();
    EXPECT_EQ(whole->GetValueField()->GetBounds(), Rect(row.left, row.top, row.left + 64, row.bottom));
    SmartList<View> parts = whole->GetChildren();
    ASSERT_EQ(parts.NumItems(), 2u);
    auto* label = SmartCast<TextView>(parts.Item(1));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->HasEditControl());
    EXPECT_TRUE(*label->GetText().Get() == String("Speed"));
    EXPECT_EQ(label->GetBounds(), Rect(row.left + 64, row.top, row.right, row.bottom));
}

TEST_F(NumberViews, ActivationShowsTheTargetAgain)
{
    int32_t speed = 42;
    AddOther();
    SmartPtr<NumberView> view = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
    Enter(*view.Get());
    driver::TypeText("x");
    driver::RunUntilIdle();
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(Shown(*view.Get()), "x42");
    speed = 9;
    view->SetOwnerActive(false);
    view->SetOwnerActive(true);
    EXPECT_EQ(Shown(*view.Get()), "9");
    EXPECT_FALSE(view->IsModified());
}

TEST_F(NumberViews, LeavingAnEditedViewStoresANumberOnly)
{
    struct Case {
        const char* name;
        const char* typed;
        int32_t expected;
    } cases[] = {
        { "a number", "\b\b-17 ", -17 },
        { "not a number", "\b\bten", 42 },
        { "too large", "\b\b9999999999", 42 },
        { "nothing", "\b\b", 42 },
    };
    AddOther();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t speed = 42;
        owner.changes = 0;
        SmartPtr<NumberView> view = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
        Enter(*view.Get());
        SendMessageA(view->GetValueField()->GetEditWindow(), EM_SETSEL, 2, 2);
        driver::TypeText(c.typed);
        driver::RunUntilIdle();
        Leave(*view.Get());
        EXPECT_EQ(speed, c.expected);
        EXPECT_FALSE(view->IsModified());
        EXPECT_EQ(owner.changes, 1);
        window->RemoveChild(SmartPtr<View>(view.Get()));
    }
    // A view left without an edit stores nothing and reports nothing.
    int32_t speed = 5;
    owner.changes = 0;
    SmartPtr<NumberView> view = NumberView::MakeForLong(window.Get(), "Speed", SmartPtr<Smart>(), &speed);
    Enter(*view.Get());
    Leave(*view.Get());
    EXPECT_EQ(owner.changes, 0);
}

TEST_F(NumberViews, PasteAndClearWarnAndMarkTheViewModified)
{
    double scale = 2;
    SmartPtr<NumberView> view = NumberView::MakeForDouble(window.Get(), "Scale", SmartPtr<Smart>(), &scale);
    driver::ScriptMessageBoxes({ IDOK, IDOK, IDOK });
    SmartPtr<Smart> copied;
    view->Copy(copied);
    EXPECT_FALSE(view->IsModified());
    view->Paste(SmartPtr<Smart>(new String("3")), 0, 0, 0);
    EXPECT_TRUE(view->IsModified());
    view->SetOwnerActive(false);
    view->SetOwnerActive(true);
    view->Clear();
    EXPECT_TRUE(view->IsModified());
    ASSERT_EQ(driver::AlertLog().size(), 3u);
    for (const auto& alert : driver::AlertLog())
        EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u) << alert.text;
    EXPECT_EQ(scale, 2);
}
