#include "ui/ObjectView.h"

#include "foundation/EditableList.h"
#include "foundation/ListData.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "ui/DocWindow.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

namespace driver = pw::platform::testing;

using pw::foundation::TextOf;

// A reference that holds any object and takes changes when told to.
class Slot : public ObjectReference {
public:
    Smart* Get() override { return object.Get(); }
    bool IsValid() override { return object.Valid(); }
    bool Commit() override { return true; }
    void Set(const SmartPtr<Smart>& newObject) override
    {
        object = newObject;
        ++sets;
    }
    bool Accepts(const SmartPtr<Smart>&) override { return accepts; }

    SmartPtr<Smart> object;
    bool accepts { true };
    int sets { 0 };
};

class ObjectViews : public controls::WithApplication {
protected:

    SmartPtr<ObjectView> Over(const SmartPtr<Slot>& slot, const char* caption = "Page")
    {
        SmartPtr<ObjectView> view = new ObjectView(window.Get(), caption, SmartPtr<ObjectReference>(slot.Get()), nullptr);
        window->AddChild(SmartPtr<View>(view.Get()));
        return view;
    }

    pw::platform::Frame Shown()
    {
        window->GetFrame()->Invalidate(Area(window->GetBounds()));
        window->UpdateNow();
        return driver::ReadClientArea(window->GetFrame()->GetOSWindow());
    }

    void DoubleClickOn(View& view)
    {
        POINT point { view.GetBounds().left + 5, view.GetBounds().top + 5 };
        ClientToScreen(window->GetFrame()->GetOSWindow(), &point);
        driver::DoubleClick(point.x, point.y);
        driver::RunUntilIdle();
    }

};

} // namespace

TEST_F(ObjectViews, TheLabelIsTheCaptionAndTheObjectsName)
{
    struct Case {
        const char* name;
        const char* caption;
        SmartPtr<Smart> object;
        const char* label;
    } cases[] = {
        { "caption and editable", "Link", SmartPtr<Smart>(new String("Home")), "Link: Home" },
        { "no caption", nullptr, SmartPtr<Smart>(new String("Home")), "Home" },
        { "no object", "Link", SmartPtr<Smart>(), "Link: " },
        { "an object that is no editable", "When", SmartPtr<Smart>(new Time(1, 1, 2000)), "When: " },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<ObjectView> view = ObjectView::MakeForObject(window.Get(), c.caption, c.object);
        EXPECT_EQ(TextOf(view->GetLabel()), c.label);
        // Composed once: a later change of the name does not show.
        if (auto* text = SmartCast<String>(c.object.Get()))
            text->SetChars("Away");
        EXPECT_EQ(TextOf(view->GetLabel()), c.label);
    }
    SmartList<View> rows = window->GetChildren();
    EXPECT_EQ(rows.Item(2)->GetBounds().top, 24);
}

// The checkerboard whitens every other pixel of what the box shows, its label among them.
TEST_F(ObjectViews, AnEmptyViewIsGreyedOut)
{
    SmartPtr<Slot> empty = new Slot;
    SmartPtr<Slot> full = new Slot;
    full->object = new Time(1, 1, 2000);
    SmartPtr<ObjectView> blank = Over(empty, "WWWW");
    SmartPtr<ObjectView> shown = Over(full, "WWWW");
    ASSERT_EQ(TextOf(blank->GetLabel()), TextOf(shown->GetLabel()));
    pw::platform::Frame frame = Shown();
    auto dark = [&](const Rect& r) {
        int count = 0;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                count += frame.At(x, y) != frame.At(r.right - 3, r.bottom - 3) ? 1 : 0;
        return count;
    };
    int plain = dark(shown->GetBounds());
    int greyed = dark(blank->GetBounds());
    EXPECT_GT(plain, 20);
    EXPECT_GT(greyed, 0);
    EXPECT_LT(greyed, plain * 3 / 4);
}

TEST_F(ObjectViews, ADoubleClickOpensTheObjectASingleOneFocuses)
{
    SmartPtr<ObjectView> first = ObjectView::MakeForObject(window.Get(), "Text", SmartPtr<Smart>(new String("Hello")));
    SmartPtr<ObjectView> second = ObjectView::MakeForObject(window.Get(), "Empty", SmartPtr<Smart>());
    uint32_t windows = app->NumWindows();
    POINT point { second->GetBounds().left + 5, second->GetBounds().top + 5 };
    ClientToScreen(window->GetFrame()->GetOSWindow(), &point);
    driver::Click(point.x, point.y);
    driver::RunUntilIdle();
    EXPECT_TRUE(second->IsFocused());
    EXPECT_EQ(app->NumWindows(), windows);

    DoubleClickOn(*second.Get());
    EXPECT_EQ(app->NumWindows(), windows);
    DoubleClickOn(*first.Get());
    ASSERT_EQ(app->NumWindows(), windows + 1);
    auto* document = SmartCast<DocWindow>(app->FrontWindow().Get());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetData(), first->GetReference());
    // Document windows hold the application as their format picker until they close.
    document->Close();
}

TEST_F(ObjectViews, ADoubleClickOnAnEmptyViewOffersItsClasses)
{
    SmartPtr<Slot> slot = new Slot;
    SmartPtr<ObjectView> view = Over(slot);
    driver::ScriptMessageBoxes({ IDOK });
    DoubleClickOn(*view.Get());
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text.rfind("There are no pre-defined choices.", 0), 0u) << driver::AlertLog()[0].text;
    EXPECT_EQ(slot->sets, 0);

    // Offered one class, the new object is made at once and opened.
    const ClassInfo* strings[] = { &String::classInfo, nullptr };
    SmartPtr<ObjectView> typed = new ObjectView(window.Get(), "New", SmartPtr<ObjectReference>(slot.Get()), strings);
    window->AddChild(SmartPtr<View>(typed.Get()));
    uint32_t windows = app->NumWindows();
    DoubleClickOn(*typed.Get());
    EXPECT_EQ(slot->sets, 1);
    EXPECT_NE(SmartCast<String>(slot->Get()), nullptr);
    ASSERT_EQ(app->NumWindows(), windows + 1);
    app->FrontWindow()->Close();
}

TEST_F(ObjectViews, PasteAndClearChangeOnlyAReferenceThatTakesChanges)
{
    struct Case {
        const char* name;
        bool accepts;
        SmartPtr<Smart> pasted;
        int sets;
    } cases[] = {
        { "an editable", true, SmartPtr<Smart>(new String("new")), 2 },
        { "not an editable", true, SmartPtr<Smart>(new Time(1, 1, 2000)), 1 },
        { "a reference that takes nothing", false, SmartPtr<Smart>(new String("new")), 0 },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Slot> slot = new Slot;
        slot->object = new String("old");
        slot->accepts = c.accepts;
        SmartPtr<ObjectView> view = Over(slot);
        owner.changes = 0;
        view->Paste(c.pasted, 0, 0, 0);
        view->Clear();
        EXPECT_EQ(slot->sets, c.sets);
        EXPECT_EQ(owner.changes, c.sets);
    }
    // Over an object held directly, or through an owner that cannot answer for an empty object.
    SmartPtr<String> held = new String("held");
    SmartPtr<ObjectView> simple = ObjectView::MakeForObject(window.Get(), "A", SmartPtr<Smart>(held.Get()));
    SmartPtr<ObjectView> direct = ObjectView::MakeForOwner(window.Get(), "B", held.Get());
    for (ObjectView* view : { simple.Get(), direct.Get() }) {
        view->Clear();
        view->Paste(SmartPtr<Smart>(new String("new")), 0, 0, 0);
        EXPECT_EQ(TextOf(*SmartCast<String>(view->GetReference()->Get())), "held");
    }
    EXPECT_FALSE(CurrentException().Valid());
}
