#include "ui/View.h"

#include "foundation/GenericSignal.h"
#include "platform/testing/TestDriver.h"
#include "ui/Task.h"
#include "ui/ViewNotifier.h"

#include "ViewFixture.h"

#include <gtest/gtest.h>

using namespace views;
namespace driver = pw::platform::testing;

namespace {

std::string Text(const Rect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom) + ")";
}

std::string Pressed(View& root, int32_t h, int32_t v)
{
    Log().clear();
    bool handled = root.MouseDown(h, v, BitFlags(), 1, SmartPtr<Window>());
    std::string who = Log().empty() ? "none" : Log().back();
    return handled ? who : "unhandled";
}

} // namespace

TEST_F(ViewTest, PressesGoToTheTopmostShownViewWithRightAndBottomEdgesInside)
{
    Tree tree(200, 200);
    tree.Add("a", Rect(10, 10, 50, 50));
    tree.Add("b", Rect(50, 50, 90, 90));
    Probe* hidden = tree.Add("hidden", Rect(0, 0, 100, 100));
    hidden->Show(false);
    Probe* outer = tree.Add("outer", Rect(100, 100, 150, 150));
    tree.Add("inner", Rect(110, 110, 120, 120), View::kSizeTopLeft, true, outer);
    struct Case {
        int32_t h, v;
        const char* receiver;
    } cases[] = {
        { 50, 50, "b:press" }, // shared corner: the later child
        { 50, 30, "a:press" }, // a's right edge
        { 30, 50, "a:press" }, // a's bottom edge
        { 90, 90, "b:press" },
        { 91, 50, "unhandled" },
        { 9, 9, "unhandled" }, // only the hidden child covers it
        { 115, 115, "inner:press" },
        { 120, 120, "inner:press" },
        { 121, 120, "outer:press" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + "," + std::to_string(c.v));
        EXPECT_EQ(Pressed(*tree.root.Get(), c.h, c.v), c.receiver);
    }
    Log().clear();
    EXPECT_TRUE(tree.root->MouseMove(30, 30, BitFlags()));
    EXPECT_EQ(Log(), std::vector<std::string> { "a:move" });
}

TEST_F(ViewTest, FocusAndActivationFollowPressesAndAdditions)
{
    Tree tree(200, 200);
    tree.root->SetOwnerActive(true);
    Probe* x = tree.Add("x", Rect(0, 0, 40, 40));
    EXPECT_TRUE(x->IsFocused() && x->IsActive());
    Probe* y = tree.Add("y", Rect(50, 0, 90, 40));
    EXPECT_EQ(Log(), (std::vector<std::string> { "x:on", "x:off", "y:on" })) << "a second child takes the focus";
    Probe* z = tree.Add("z", Rect(100, 0, 140, 40), View::kSizeTopLeft, false);
    EXPECT_TRUE(z->IsActive() && !z->IsFocused()) << "a view without focus is active with its parent";
    struct Step {
        int32_t h;
        std::vector<std::string> log;
        const char* focus;
    } steps[] = {
        { 120, { "z:press" }, "y" }, // no focus taken
        { 20, { "y:off", "x:on", "x:press" }, "x" },
        { 20, { "x:press" }, "x" },
        { 70, { "x:off", "y:on", "y:press" }, "y" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.h);
        Log().clear();
        tree.root->MouseDown(step.h, 20, BitFlags(), 1, SmartPtr<Window>());
        EXPECT_EQ(Log(), step.log);
        EXPECT_EQ(static_cast<Probe*>(tree.root->GetFocusChild().Get())->name, step.focus);
        ExpectConsistent(*tree.root.Get());
    }
    Log().clear();
    tree.root->KeyDown('k', 0);
    tree.root->Idle();
    EXPECT_EQ(Log(), (std::vector<std::string> { "y:key 107", "y:idle" }));
    tree.root->SetOwnerActive(false);
    EXPECT_FALSE(x->IsActive() || y->IsActive() || z->IsActive());
    ExpectConsistent(*tree.root.Get());
}

TEST_F(ViewTest, HidingClearsTheSubtreeWithoutMarkingAndShowingMarksTheBounds)
{
    Tree tree(200, 200);
    tree.root->SetOwnerActive(true);
    Probe* panel = tree.Add("panel", Rect(20, 20, 80, 80));
    Probe* field = tree.Add("field", Rect(30, 30, 40, 40), View::kSizeTopLeft, true, panel);
    tree.device->Validate();
    Log().clear();
    panel->Show(false);
    EXPECT_FALSE(panel->IsVisible() || field->IsVisible() || panel->IsActive() || field->IsActive());
    EXPECT_FALSE(tree.device->HasInvalidArea());
    EXPECT_EQ(Log(), (std::vector<std::string> { "field:off", "panel:off" })) << "children go first";
    ExpectConsistent(*tree.root.Get());
    Log().clear();
    panel->Show(true);
    EXPECT_TRUE(panel->IsActive() && field->IsActive());
    EXPECT_EQ(Log(), (std::vector<std::string> { "panel:on", "field:on" }));
    EXPECT_EQ(Text(tree.device->InvalidArea()->ComputeBounds()), Text(Rect(20, 20, 80, 80)));
    tree.device->Validate();
    Log().clear();
    panel->Show(true);
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(tree.device->HasInvalidArea()) << "showing a shown view does nothing";
    ExpectConsistent(*tree.root.Get());
}

TEST_F(ViewTest, RemovedChildrenLoseTheirBitsAndRegainThemWhenAddedAgain)
{
    Tree tree(200, 200);
    tree.root->SetOwnerActive(true);
    Probe* child = tree.Add("child", Rect(0, 0, 10, 10));
    SmartPtr<View> keep(child);
    tree.root->RemoveChild(keep);
    EXPECT_EQ(child->GetState(), View::kTakesFocus);
    Tree other(50, 50);
    other.root->RemoveChild(keep); // not its child: nothing changes
    tree.root->AddChild(keep);
    EXPECT_TRUE(child->IsFocused() && child->IsActive() && child->IsVisible());
    tree.root->RemoveAllChildren();
    EXPECT_EQ(child->GetState(), View::kTakesFocus);
    EXPECT_EQ(tree.root->GetChildren().NumItems(), 0u);
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
        Probe* parent = tree.Add("parent", Rect(100, 100, 200, 200), View::kSizeStretch);
        Probe* child = tree.Add("child", Rect(110, 110, 140, 140), c.sizing, true, parent);
        Probe* grandchild = tree.Add("grandchild", Rect(110, 110, 140, 140), View::kSizeStretch, true, child);
        parent->AdjustBounds(-10, -20, 30, 40);
        EXPECT_EQ(Text(parent->GetBounds()), Text(Rect(90, 80, 230, 240)));
        EXPECT_EQ(Text(child->GetBounds()), Text(c.expected));
        EXPECT_EQ(Text(grandchild->GetBounds()), Text(c.expected)) << "a stretching child follows all four";
    }
}

TEST_F(ViewTest, AZeroAdjustmentNeitherRedrawsNorVisitsChildren)
{
    Tree tree(100, 100);
    Probe* parent = tree.Add("parent", Rect(10, 10, 50, 50));
    Probe* child = tree.Add("child", Rect(20, 20, 30, 30), View::kSizeStretch, true, parent);
    child->logBounds = true;
    tree.device->Validate();
    parent->AdjustBounds(0, 0, 0, 0);
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(tree.device->HasInvalidArea());
    parent->SetBounds(10, 10, 60, 60);
    EXPECT_EQ(Log(), std::vector<std::string> { "child:adjust" });
    EXPECT_EQ(Text(tree.device->InvalidArea()->ComputeBounds()), Text(Rect(10, 10, 60, 60)))
        << "the old and the new rectangle";
}

TEST_F(ViewTest, StackedViewsTakeTheNextRowCountedFromTheSurfaceTop)
{
    Tree tree(300, 400);
    Probe* container = tree.Add("container", Rect(10, 300, 200, 390));
    tree.Add("first", Rect(0, 0, 1, 1), View::kSizeTopLeft, true, container);
    tree.Add("second", Rect(0, 0, 1, 1), View::kSizeTopLeft, true, container);
    EXPECT_EQ(Text(container->NextStackRect()), Text(Rect(14, 44, 196, 60)));
    SmartPtr<View> stacked = new View(container, false);
    EXPECT_EQ(Text(stacked->GetBounds()), Text(Rect(14, 44, 196, 60)));
    EXPECT_EQ(stacked->GetSizing(), View::kSizeTopRow);
}

TEST_F(ViewTest, SizeLimitsComeFromTheChildrenAndOwnLimits)
{
    struct Case {
        const char* name;
        Rect own;
        Rect limits;
        Rect fitted;
        bool toMaximum;
    } cases[] = {
        // A top-left child at (10,10,60,40) bounds how small fitting to content may go.
        { "content", Rect(0, 0, 0, 0), Rect(0, 0, 60, 40), Rect(0, 0, 60, 40), true },
        { "own minimum", Rect(80, 50, 0, 0), Rect(80, 50, 80, 50), Rect(0, 0, 80, 50), true },
        { "own maximum", Rect(0, 0, 300, 250), Rect(0, 0, 300, 250), Rect(0, 0, 300, 250), true },
        { "into the limits", Rect(250, 220, 260, 230), Rect(250, 220, 260, 230), Rect(0, 0, 250, 220), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree(400, 400);
        Probe* box = tree.Add("box", Rect(0, 0, 200, 200), View::kSizeStretch);
        box->ownLimits = c.own;
        tree.Add("content", Rect(10, 10, 60, 40), View::kSizeTopLeft, true, box);
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
    Probe* second = tree.Add("second", Rect(20, 0, 30, 10)); // takes the focus: first is inactive
    first->SetIdle(1, 100);
    second->SetIdle(1, 100);
    Log().clear();
    driver::RunFor(350);
    EXPECT_EQ(Log(), (std::vector<std::string> { "second:idle", "second:idle", "second:idle" }));
    first->SetIdle(2, 100);
    second->SetIdle(0, 0);
    Log().clear();
    driver::RunFor(250);
    EXPECT_EQ(Log(), (std::vector<std::string> { "first:idle", "first:idle" }));
    first->SetIdle(0, 0);
    Log().clear();
    driver::RunFor(250);
    EXPECT_TRUE(Log().empty());
}

namespace {

class Owner : public WindowOwner {
public:
    Owner(std::string name, ViewNotifier* leaveOnClose = nullptr)
        : name(std::move(name))
        , leaveOnClose(leaveOnClose)
    {
    }

    void WindowChanged(void*) override { Log().push_back(name + ":changed"); }
    void TaskDone(const SmartPtr<Task>& task) override { Log().push_back(name + (task.Valid() ? ":task" : ":none")); }
    void WindowOpened(const SmartPtr<Window>&) override { Log().push_back(name + ":opened"); }
    void WindowClosed(const SmartPtr<Window>&) override
    {
        Log().push_back(name + ":closed");
        if (leaveOnClose)
            leaveOnClose->RemoveOwner(this);
    }
    void WindowCommand(const SmartPtr<GenericSignal>&) override { Log().push_back(name + ":command"); }

    std::string name;
    ViewNotifier* leaveOnClose;
};

class Noop : public Task, public SmartImplementation {
    PW_CLASS_INFO(Noop)

public:
    void Do() override { }
    void Undo() override { }
    void Redo() override { }
};

PW_DEFINE_CLASS(Noop, nullptr, nullptr, Task, SmartImplementation)

} // namespace

TEST_F(ViewTest, ReportsReachEveryOwnerInOrderAndClosingOwnersMayLeave)
{
    Tree tree(100, 100);
    Owner first("first", tree.notifier.Get());
    Owner second("second", tree.notifier.Get());
    tree.notifier->AddOwner(&first);
    tree.notifier->AddOwner(&second);
    Probe* view = tree.Add("view", Rect(0, 0, 10, 10));
    view->InvalidateView(true);
    view->NotifyTask(new Noop);
    view->NotifyWindowOpened(SmartPtr<Window>());
    tree.notifier->WindowClosed(SmartPtr<Window>());
    EXPECT_EQ(Log(), (std::vector<std::string> { "first:changed", "second:changed", "first:task", "second:task",
                         "first:opened", "second:opened", "first:closed", "second:closed" }));
    EXPECT_EQ(tree.notifier->NumOwners(), 0u);
}
