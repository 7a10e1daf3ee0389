#include "ui/AppSignals.h"

#include "FrameworkFixture.h"

#include "foundation/Failure.h"

#include "platform/user/menus/MenuTesting.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/Tool.h"

using namespace uitest;
using pw::platform::testing::ChooseMenuCommand;

namespace {

constexpr uint32_t kPencil = 400;
constexpr uint32_t kBrush = 401;

// A "Tools" menu whose two items each choose their tool.
class AppSignalsTest : public FrameworkTest {
protected:
    App* MakeApp() override
    {
        pencil = new Tool;
        brush = new Tool;
        SmartPtr<MenuBar> bar(new MenuBar);
        SmartPtr<Menu> tools(new Menu(String("Tools")));
        tools->AddItem(String("Pencil"), 0, new pw::ui::SetToolSignal(pencil), kPencil);
        tools->AddItem(String("Brush"), 0, new pw::ui::SetToolSignal(brush), kBrush);
        bar->AddMenu(tools);
        return new TestApp(bar);
    }

    SmartPtr<Tool> pencil;
    SmartPtr<Tool> brush;
};

} // namespace

TEST_F(AppSignalsTest, AToolItemMakesItsToolCurrentWhateverWindowIsInFront)
{
    EXPECT_TRUE(ChooseMenuCommand(mainWindow, kBrush));
    EXPECT_EQ(app->GetCurrentTool(), brush);
    SmartPtr<TestWindow> window = Open("page");
    SmartPtr<TestView> view(new TestView(window.Get(), Rect(0, 0, 50, 50), "view"));
    window->AddChild(view.Get());
    EXPECT_TRUE(ChooseMenuCommand(mainWindow, kPencil));
    EXPECT_EQ(app->GetCurrentTool(), pencil);
}

TEST_F(AppSignalsTest, TheToolSignalTakesOnlyTheApplicationAndKeepsItsTool)
{
    SmartPtr<Tool> tool(new Tool);
    SmartPtr<pw::ui::SetToolSignal> signal(new pw::ui::SetToolSignal(tool));
    SmartPtr<TestWindow> window = Open("page");
    struct Case {
        const char* name;
        Smart* watcher;
        int32_t status;
    } cases[] = {
        { "no watcher", nullptr, GenericSignal::disabled },
        { "a window", window.Get(), GenericSignal::disabled },
        { "the application", static_cast<Smart*>(app), GenericSignal::enabled },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(signal->GetSignalStatus(test.watcher), test.status);
    }
    EXPECT_EQ(Failure([&] { signal->Send(window.Get()); }), "GetSignalStatus(watcher) != disabled");

    Tool* kept = tool.Get();
    tool = nullptr;
    EXPECT_EQ(kept->ReferenceCount(), 1u);
    app->SendSignal(signal.Get());
    EXPECT_EQ(app->GetCurrentTool().Get(), kept);
}
