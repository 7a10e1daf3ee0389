#include "ui/TextViewSignals.h"

#include "FrameworkFixture.h"

#include "foundation/Failure.h"
#include "graphics/TextStyle.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuTesting.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/MenuItem.h"
#include "ui/StyledText.h"
#include "ui/TextView.h"

#include <map>
#include <string>

using namespace uitest;
using pw::platform::testing::ChooseMenuCommand;

namespace {

// The application's menu bar holds the text menu; a page window holds one styled text view.
class TextViewSignalsTest : public FrameworkTest {
protected:
    App* MakeApp() override
    {
        textMenu = TextView::BuildTextMenu();
        SmartPtr<MenuBar> bar(new MenuBar);
        bar->AddMenu(textMenu);
        return new TestApp(bar);
    }

    void SetUp() override
    {
        FrameworkTest::SetUp();
        for (const auto& item : pw::platform::MenuTable::Find(textMenu->GetOSMenu())->items)
            if (item.kind == pw::platform::MenuItem::Kind::Command)
                commands[item.title] = item.command;
        page = Open("page");
        style = new TextStyle(1, 12, TextStyle::kItalic, Color(1), Color(Color::kNoColor));
        view = new TextView(page.Get(), 10, 10, 150, 40, new StyledText(String("Hello"), style), View::kSizeTopLeft,
            true, false, false, false);
        page->AddChild(view.Get());
    }

    // The items that show a check mark, in menu order, as the native menu shows them after the
    // menu opened.
    std::string Marked()
    {
        ChooseMenuCommand(mainWindow, 0);
        std::string marked;
        for (const auto& item : pw::platform::MenuTable::Find(textMenu->GetOSMenu())->items) {
            if (item.IsChecked())
                marked += (marked.empty() ? "" : ",") + item.title;
        }
        return marked;
    }

    bool Choose(const char* title) { return ChooseMenuCommand(mainWindow, commands.at(title)); }

    SmartPtr<Menu> textMenu;
    std::map<std::string, uint32_t> commands;
    SmartPtr<TestWindow> page;
    SmartPtr<TextStyle> style;
    SmartPtr<TextView> view;
};

} // namespace

TEST_F(TextViewSignalsTest, TheTextMenuMarksTheFocusedViewsStyleAndChangesIt)
{
    ASSERT_EQ(commands.size(), 13u);
    EXPECT_EQ(Marked(), "Arial,12,Italic");
    struct Step {
        const char* chosen;
        const char* marked;
    } steps[] = {
        { "Bold", "Arial,12,Bold,Italic" },
        { "Courier New", "Courier New,12,Bold,Italic" },
        { "18", "Courier New,18,Bold,Italic" },
        { "Italic", "Courier New,18,Bold" },
        { "Plain", "Courier New,18,Plain" },
        { "Underline", "Courier New,18,Underline" },
        { "Fixedsys", "Fixedsys,18,Underline" },
        { "9", "Fixedsys,9,Underline" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.chosen);
        EXPECT_TRUE(Choose(step.chosen));
        EXPECT_EQ(Marked(), step.marked);
        // The view's own style object changed, and the text it shows shares it.
        EXPECT_EQ(view->GetStyle(), style);
        EXPECT_EQ(SmartCast<StyledText>(view->GetText().Get())->GetStyle(), style);
    }
    EXPECT_EQ(style->GetPointSize(), 9);
    EXPECT_EQ(style->GetStyleFlags(), TextStyle::kUnderline);
    EXPECT_STREQ(style->GetFaceName(), "Fixedsys");
}

TEST_F(TextViewSignalsTest, WithoutATextViewInFrontTheTextMenuIsDisabled)
{
    page->RemoveChild(view.Get());
    EXPECT_EQ(Marked(), "");
    EXPECT_FALSE(Choose("Bold"));
    EXPECT_EQ(style->GetStyleFlags(), TextStyle::kItalic);

    SmartPtr<GenericSignal> bold(new pw::ui::StyleSignal(String("Bold")));
    EXPECT_EQ(bold->GetSignalStatus(nullptr), GenericSignal::disabled);
    EXPECT_EQ(bold->GetSignalStatus(page.Get()), GenericSignal::disabled);
    EXPECT_EQ(bold->GetSignalStatus(view.Get()), GenericSignal::enabled);
    EXPECT_EQ(Failure([&] { bold->Send(page.Get()); }), "GetSignalStatus(watcher) != disabled");
}
