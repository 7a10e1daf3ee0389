#include "ui/View.h"

#include "platform/testing/TestDriver.h"
#include "ui/Task.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;
namespace driver = pw::platform::testing;

namespace {

std::string Text(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom);
}

std::string Pressed(View& root, int32_t h, int32_t v)
{
    Log().clear();
    bool handled = root.MouseDown(h, v, BitFlags(), 1, SmartPtr<Window>());
    return handled ? Log().back() : "none";
}

} // namespace

TEST_F(ViewTest, PressesGoToTheTopmostShownViewWithRightAndBottomEdgesInside)
{
    Tree tree(200, 200);
    tree.Add("a", Rect(10, 10, 50, 50));
    tree.Add("b", Rect(50, 50, 90, 90));
    tree.Add("hidden", Rect(0, 0, 100, 100))->Show(false);
    tree.Add("inner", Rect(110, 110, 120, 120), tree.Add("outer", Rect(100, 100, 150, 150)));
    struct Case {
        int32_t h, v;
        const char* receiver;
    } cases[] = {
        { 50, 50, "b:press" }, // the shared corner: the later child
        { 50, 30, "a:press" }, // a's right edge
        { 30, 50, "a:press" }, // a's bottom edge
        { 91, 50, "none" },
        { 9, 9, "none" }, // only the hidden child lies there
        { 120, 120, "inner:press" },
        { 121, 120, "outer:press" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + "," + std::to_string(c.v));
        EXPECT_EQ(Pressed(*tree.root.Get(), c.h, c.v), c.receiver);
    }
}

TEST_F(ViewTest, FocusAndActivationMoveWithPressesAndAdditions)
{
    Tree tree(200, 200);
    tree.root->SetOwnerActive(true);
    Probe* x = tree.Add("x", Rect(0, 0, 40, 40));
    tree.Add("y", Rect(50, 0, 90, 40));
    EXPECT_EQ(Log(), (std::vector<std::string> { "x:on", "x:off", "y:on" })) << "the newest child takes the focus";
    tree.Add("z", Rect(100, 0, 140, 40), nullptr, View::kSizeTopLeft, false);
    struct Step {
        int32_t h;
        std::vector<std::string> log;
    } steps[] = {
        { 120, { "z:press" } }, // takes no focus: y keeps it
        { 20, { "y:off", "x:on", "x:press" } },
        { 20, { "x:press" } },
        { 70, { "x:off", "y:on", "y:press" } },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.h);
        Log().clear();
        tree.root->MouseDown(step.h, 20, BitFlags(), 1, SmartPtr<Window>());
        EXPECT_EQ(Log(), step.log);
        ExpectConsistent(*tree.root.Get());
    }
    Log().clear();
    tree.root->KeyDown('k', 0);
    tree.root->Idle();
    EXPECT_EQ(Log(), (std::vector<std::string> { "y:key 107", "y:idle" }));

    // Hidden, a subtree goes inactive children first and marks nothing; shown again, it marks its
    // bounds. Removed, a child loses every bit but its own.
    tree.root->MouseDown(20, 20, BitFlags(), 1, SmartPtr<Window>());
    Probe* field = tree.Add("field", Rect(5, 5, 10, 10), x);
    tree.device->Validate();
    Log().clear();
    x->Show(false);
    EXPECT_FALSE(tree.device->HasInvalidArea());
    x->Show(true);
    EXPECT_EQ(Log(), (std::vector<std::string> { "field:off", "x:off", "x:on", "field:on" }));
    EXPECT_EQ(Text(tree.device->InvalidArea()->ComputeBounds()), Text(Rect(0, 0, 40, 40)));
    ExpectConsistent(*tree.root.Get());
    SmartPtr<View> removed(field);
    x->RemoveChild(removed);
    EXPECT_EQ(removed->GetState(), View::kTakesFocus);
}

TEST_F(ViewTest, ChildrenFollowTheEdgesOfTheirSizingMasks)
{
    struct Case {
        uint8_t sizing;
        Rect expected;
    } cases[] = {
        { View::kSizeTopLeft, Rect(100, 90, 130, 120) },
        { View::kSizeBottomRight, Rect(140, 150, 170, 180) },
        { View::kSizeStretch, Rect(100, 90, 170, 180) },
        { View::kSizeTopBottomRight, Rect(140, 90, 170, 180) },
        { View::kSizeLeftBottomRight, Rect(100, 150, 170, 180) },
        { View::kSizeTopRow, Rect(100, 90, 170, 120) },
        { View::kSizeLeftColumn, Rect(100, 90, 130, 180) },
        { 0, Rect(110, 110, 140, 140) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.sizing));
        Tree tree(300, 300);
        Probe* parent = tree.Add("parent", Rect(100, 100, 200, 200), nullptr, View::kSizeStretch);
        Probe* child = tree.Add("child", Rect(110, 110, 140, 140), parent, c.sizing);
        Probe* grandchild = tree.Add("grandchild", Rect(110, 110, 140, 140), child, View::kSizeStretch);
        tree.device->Validate();
        parent->AdjustBounds(0, 0, 0, 0);
        EXPECT_FALSE(tree.device->HasInvalidArea()) << "no change, no redraw";
        parent->AdjustBounds(-10, -20, 30, 40);
        EXPECT_EQ(Text(child->GetBounds()), Text(c.expected));
        EXPECT_EQ(Text(grandchild->GetBounds()), Text(c.expected));
        EXPECT_EQ(Text(tree.device->InvalidArea()->ComputeBounds()), Text(Rect(90, 80, 230, 240)));
    }
}

TEST_F(ViewTest, SizeLimitsComeFromTheChildrenAndOwnLimits)
{
    struct Case {
        const char* name;
        Rect own;
        Rect limits;
        bool toMaximum;
        Rect fitted;
    } cases[] = {
        { "fitted to a top-left child at (10,10,60,40)", Rect(0, 0, 0, 0), Rect(0, 0, 60, 40), true, Rect(0, 0, 60, 40) },
        { "own minimum", Rect(80, 50, 0, 0), Rect(80, 50, 80, 50), true, Rect(0, 0, 80, 50) },
        { "own maximum", Rect(0, 0, 300, 250), Rect(0, 0, 300, 250), true, Rect(0, 0, 300, 250) },
        { "brought into the limits", Rect(250, 220, 260, 230), Rect(250, 220, 260, 230), false, Rect(0, 0, 250, 220) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree(400, 400);
        Probe* box = tree.Add("box", Rect(0, 0, 200, 200), nullptr, View::kSizeStretch);
        box->ownLimits = c.own;
        tree.Add("content", Rect(10, 10, 60, 40), box);
        EXPECT_EQ(Text(box->GetSizeLimits()), Text(c.limits));
        box->FitSize(c.toMaximum);
        EXPECT_EQ(Text(box->GetBounds()), Text(c.fitted));
    }
}

TEST_F(ViewTest, IdleTicksReachAnInactiveViewOnlyInModeTwo)
{
    Tree tree(100, 100);
    tree.root->SetOwnerActive(true);
    Probe* first = tree.Add("first", Rect(0, 0, 10, 10));
    Probe* second = tree.Add("second", Rect(20, 0, 30, 10)); // takes the focus from the first
    first->SetIdle(1, 100);
    second->SetIdle(1, 100);
    Log().clear();
    driver::RunFor(250);
    first->SetIdle(2, 100);
    second->SetIdle(0, 0);
    driver::RunFor(150);
    EXPECT_EQ(Log(), (std::vector<std::string> { "second:idle", "second:idle", "first:idle" }));
}

namespace {

class Owner : public WindowOwner {
public:
    Owner(const char* name, ViewNotifier& notifier)
        : name(name)
        , notifier(notifier)
    {
    }
    void WindowChanged(void*) override { Log().push_back(name + ":changed"); }
    void TaskDone(const SmartPtr<Task>&) override { Log().push_back(name + ":task"); }
    void WindowOpened(const SmartPtr<Window>&) override { }
    // Owners commonly leave a closing window's notifier as they are told.
    void WindowClosed(const SmartPtr<Window>&) override
    {
        Log().push_back(name + ":closed");
        notifier.RemoveOwner(this);
    }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { }

    std::string name;
    ViewNotifier& notifier;
};

} // namespace

TEST_F(ViewTest, ReportsReachEveryOwnerInOrderAndClosingOwnersMayLeave)
{
    Tree tree(100, 100);
    Owner first("first", *tree.notifier.Get()), second("second", *tree.notifier.Get());
    tree.notifier->AddOwner(&first);
    tree.notifier->AddOwner(&second);
    Probe* view = tree.Add("view", Rect(0, 0, 10, 10));
    view->InvalidateView(true);
    view->NotifyTask(SmartPtr<Task>());
    tree.notifier->WindowClosed(SmartPtr<Window>());
    EXPECT_EQ(Log(), (std::vector<std::string> { "first:changed", "second:changed", "first:task", "second:task",
                         "first:closed", "second:closed" }));
    EXPECT_EQ(tree.notifier->NumOwners(), 0u);
}
