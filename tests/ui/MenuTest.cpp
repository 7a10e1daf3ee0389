#include "FrameworkFixture.h"

#include "platform/user/menus/MenuTesting.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/MenuItem.h"

using namespace uitest;
using pw::platform::testing::ChooseMenuCommand;

namespace {

constexpr uint32_t kMark = 200;
constexpr uint32_t kAlso = 201;
constexpr uint32_t kOther = 202;

// An Edit menu whose first two items share one command signal, and a File menu with another.
class MenuTest : public FrameworkTest {
protected:
    App* MakeApp() override
    {
        shared = new StatusSignal;
        other = new StatusSignal;
        SmartPtr<MenuBar> bar(new MenuBar);
        SmartPtr<Menu> edit(new Menu(String("Edit")));
        edit->AddItem(String("Mark"), 'M', shared.Get(), kMark);
        edit->AddItem(String("Also"), 0, shared.Get(), kAlso);
        bar->AddMenu(edit);
        SmartPtr<Menu> file(new Menu(String("File")));
        file->AddSeparator();
        file->AddItem(String("Other"), 'O', other.Get(), kOther);
        bar->AddMenu(file);
        return new TestApp(bar);
    }

    void SetStatus(StatusSignal& signal, int32_t status) { signal.statuses[static_cast<Smart*>(app)] = status; }
    uint32_t StateOf(uint32_t command) { return app->FindMenuItem(command)->GetState(); }

    SmartPtr<StatusSignal> shared;
    SmartPtr<StatusSignal> other;
};

TEST_F(MenuTest, ItemStatesFollowTheReceiversStatusBeforeTheMenuOpens)
{
    constexpr uint32_t off = MenuItem::kDisabled;
    constexpr uint32_t check = MenuItem::kMarked;
    struct Case {
        const char* name;
        int32_t status;
        uint32_t state;
        bool chosen;
    };
    // Run in order: each case starts from the state the one before left.
    const Case cases[] = {
        { "disabled", 3, off, false },
        { "enabled", 0, 0, true },
        { "marked", 1, check, true },
        { "a later status other than 1 removes the mark", 0, 0, true },
        { "marked again", 1, check, true },
        { "status 2 clears both bits", 2, 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetStatus(*shared.Get(), c.status);
        size_t sentBefore = shared->sent.size();
        EXPECT_EQ(ChooseMenuCommand(mainWindow, kMark), c.chosen);
        EXPECT_EQ(StateOf(kMark), c.state);
        // The same signal in a second item is enabled and marked alike.
        EXPECT_EQ(StateOf(kAlso), c.state);
        EXPECT_EQ(shared->sent.size(), sentBefore + (c.chosen ? 1 : 0));
    }
    EXPECT_EQ(pw::platform::testing::AlertLog().size(), 0u);
}

TEST_F(MenuTest, AnItemTheFocusedViewRefusesFallsBackToTheApplication)
{
    SmartPtr<TestWindow> window = Open("page");
    SmartPtr<TestView> view(new TestView(window.Get(), Rect(0, 0, 50, 50), "view"));
    window->AddChild(view.Get());
    shared->statuses[static_cast<Smart*>(view.Get())] = 3;
    SetStatus(*shared.Get(), 0);
    EXPECT_TRUE(ChooseMenuCommand(mainWindow, kMark));
    ASSERT_EQ(shared->sent.size(), 1u);
    EXPECT_EQ(shared->sent[0], static_cast<Smart*>(app));

    shared->statuses[static_cast<Smart*>(view.Get())] = 0;
    EXPECT_TRUE(ChooseMenuCommand(mainWindow, kMark));
    ASSERT_EQ(shared->sent.size(), 2u);
    EXPECT_EQ(shared->sent[1], static_cast<Smart*>(view.Get()));
}

TEST_F(MenuTest, AcceleratorsOfDisabledItemsAndUnknownCommandNumbersAreDropped)
{
    SetStatus(*other.Get(), 3);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kOther, 1), 0);
    EXPECT_TRUE(other->sent.empty());
    SetStatus(*other.Get(), 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kOther, 1), 0);
    EXPECT_EQ(other->sent.size(), 1u);

    // No item carries these numbers: nothing happens, nothing is reported.
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(4321, 0), 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(4322, 1), 0);
    AppGlue::DoMenuCommand(4323, 0);
    EXPECT_EQ(pw::platform::testing::AlertLog().size(), 0u);

    // Command 1 is the About command, refused while a blocking window is in front.
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    Open("dialog", 1);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    EXPECT_EQ(Journal(), (std::vector<std::string> { "About" }));
}

TEST_F(MenuTest, AChosenCommandThatFailsIsReported)
{
    // Chosen with no receiver at all: the failure shows instead of vanishing.
    SmartPtr<Menu> menu(new Menu(String("Late")));
    SmartPtr<StatusSignal> nobody(new StatusSignal);
    uint32_t command = menu->AddItem(String("Gone"), 0, nobody.Get());
    app->GetMenuBar()->AddMenu(menu);
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    ASSERT_EQ(pw::platform::testing::AlertLog().size(), 1u);
    EXPECT_NE(pw::platform::testing::AlertLog()[0].text.find("Nothing to send to"), std::string::npos);
    EXPECT_TRUE(nobody->sent.empty());
}

TEST_F(MenuTest, ShortcutsBecomeControlAccelerators)
{
    const std::vector<ACCEL>& keys = pw::ui::ProgramRecord().accelerators;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(keys[0].key, 'M');
    EXPECT_EQ(keys[0].cmd, kMark);
    EXPECT_EQ(keys[1].key, 'O');
    EXPECT_EQ(keys[1].cmd, kOther);
}

} // namespace
