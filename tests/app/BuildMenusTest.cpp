// The application's menu bar: the table byte for byte, the bar built from it as the menus hold it,
// and which entries are enabled (E), disabled (-) or marked (M) in the situations a child meets.
#include "app/BuildMenus.h"
#include "app/MenuTable.h"

#include "authoring/panes/CHAPane.h"
#include "engine/CHAApp.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CPanePlay.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "foundation/Scribe.h"
#include "foundation/String.h"
#include "ui/Dialog.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/MenuItem.h"
#include "ui/Window.h"

#include "ui/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;

// The animation application with the program's menus.
class MenuApp : public CHAApp {
public:
    MenuApp()
        : CHAApp(pw::app::BuildMenus(), FileCreatorType("Test", 0x54657374))
    {
    }
    void NewDocument() override { }
};

// One line per menu: its title, then each row as "title^key" ("---" a separator, "..." the text
// view's own entries); the ellipsis byte shows as "~".
std::vector<std::string> TableLines()
{
    std::vector<std::string> lines;
    std::string menu;
    for (const pw::app::MenuEntry& entry : pw::app::MenuTable()) {
        if (entry.menu != menu) {
            menu = entry.menu;
            lines.push_back(menu + ":");
        }
        std::string row = entry.command == pw::app::MenuCommand::kSeparator ? "---"
            : entry.command == pw::app::MenuCommand::kTextEntries          ? "..."
                                                                           : entry.title;
        for (char& c : row)
            c = c == '\x85' ? '~' : c;
        if (entry.key)
            row += std::string("^") + char(entry.key);
        lines.back() += " " + row;
    }
    return lines;
}

TEST(MenuTable, FileEditLinkToAndTextMenusInOrder)
{
    EXPECT_EQ(TableLines(), (std::vector<std::string> {
        "File: New Page^N Open~^O Import~^M Close^W --- Save^S Save As~ --- Publish~^P --- Quit^Q",
        "Edit: Cut^X Copy^C Paste^V Delete --- Bring Forwards^] Send Backwards^[ --- Undo^Z --- Sound On^1",
        "LinkTo: URL~^L E-Mail~^E",
        "Text: ... --- Pick Color~",
    }));
}

class BuildMenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InstallPalette();
        Alert::EnableAlerts();
        HWND main = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(main, nullptr);
        ShowWindow(main, SW_SHOWMAXIMIZED);
        uitest::NextApp() = [] { return static_cast<App*>(new MenuApp); };
        ASSERT_TRUE(AppGlue::InitApplication(&uitest::MakeConfiguredApp, &pw::ui::ProgramRecord()));
        app = AppGlue::Application().Get();
    }
    void TearDown() override
    {
        uitest::NextApp() = nullptr;
        pw::foundation::SetAlertsEnabled(false);
    }

    // The File, Edit and LinkTo items and the text menu's last one, each as its title's first
    // letters and E, - or M as the menus show them now.
    std::string States()
    {
        app->EnableMenus(nullptr);
        SmartPtr<MenuBar> bar = app->GetMenuBar();
        std::string seen;
        for (uint32_t index = 0; index < bar->NumMenus(); ++index) {
            Menu* menu = bar->GetMenu(index + 1);
            uint32_t first = TextOf(menu->GetTitle()) == "Text" ? menu->NumItems() : 1;
            for (uint32_t item = first; item <= menu->NumItems(); ++item) {
                uint32_t state = menu->GetItem(item)->GetState();
                seen += (state & MenuItem::kDisabled) ? '-' : (state & MenuItem::kMarked) ? 'M' : 'E';
            }
            seen += ' ';
        }
        return seen;
    }

    App* app { nullptr };
};

// The bar holds every entry of the table with its shortcut, "Undo" under the command that windows
// retitle, and the text view's faces, sizes and styles ahead of "Pick Color".
TEST_F(BuildMenusTest, TheBarHoldsTheTableWithTheTextViewsEntries)
{
    SmartPtr<MenuBar> bar = app->GetMenuBar();
    ASSERT_EQ(bar->NumMenus(), 4u);
    std::vector<std::string> titles;
    std::string keys;
    for (uint32_t index = 1; index <= 3; ++index) {
        Menu* menu = bar->GetMenu(index);
        titles.push_back(TextOf(menu->GetTitle()));
        for (uint32_t item = 1; item <= menu->NumItems(); ++item) {
            String title;
            uint8_t key = 0;
            menu->GetItem(item)->GetTitle(title, key);
            keys += key ? char(key) : '.';
        }
        keys += ' ';
    }
    EXPECT_EQ(titles, (std::vector<std::string> { "File", "Edit", "LinkTo" }));
    EXPECT_EQ(keys, "NOMWS.PQ XCV.][Z1 LE ");
    Menu* text = bar->GetMenu(4);
    EXPECT_EQ(TextOf(text->GetTitle()), "Text");
    EXPECT_GT(text->NumItems(), 1u);
    EXPECT_EQ(TextOf(text->GetItem(text->NumItems())->Title()), "Pick Color\x85");
    ASSERT_TRUE(app->FindMenuItem(Window::kUndoCommand).Valid());
    EXPECT_EQ(TextOf(app->FindMenuItem(Window::kUndoCommand)->Title()), "Undo");
}

// Columns: File (New Page, Open, Import, Close, Save, Save As, Publish, Quit), Edit (Cut, Copy,
// Paste, Delete, Bring Forwards, Send Backwards, Undo, Sound On), LinkTo (URL, E-Mail), Pick Color.
// Publish is the web-site builder's own command, disabled for this animation application; Pick Color
// is for a text pane only.
TEST_F(BuildMenusTest, EntriesAreEnabledByBusyStateWindowAndReceiver)
{
    EXPECT_EQ(States(), "EE-----E -------M -- - ") << "no window: Sound On marked while sound plays";

    SmartPtr<Window> plain(new Window(new String("plain"), 0, false, false, Point(200, 150)));
    app->AddWindow(plain, true);
    EXPECT_EQ(States(), "EEEE---E -------M -- - ") << "a plain window";

    plain->SetUndoTask(SmartPtr<Task>(new uitest::TestTask("step")));
    EXPECT_EQ(States(), "EEEE---E ------EM -- - ") << "a window holding an undo step";
    plain->Undo();
    EXPECT_EQ(TextOf(app->FindMenuItem(Window::kUndoCommand)->Title()), "Redo");

    SmartPtr<Window> page = app->MakeDocumentWindow(SmartPtr<Smart>(new String("page")), SmartPtr<Scribe>());
    app->AddWindow(page, true);
    EXPECT_EQ(States(), "EEEEEE-E -------M -- - ") << "a document window in front";

    static_cast<MenuApp*>(app)->DoCommand(CHAApp::kSoundSwitchCommand, 0);
    EXPECT_EQ(States(), "EEEEEE-E -------E -- - ") << "sound switched off";

    // A page pane in front: the links follow its sprite selection.
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 200, 150));
    SmartPtr<CShow> show = new CShow(group.Get());
    SmartPtr<Window> pageWindow(new Window(new String("page pane"), 0, false, false, Point(200, 150)));
    SmartPtr<CHAPane> pane = new CHAPane(pageWindow.Get(), show->GetPlayer(), false);
    pageWindow->AddChild(pane.Get());
    app->AddWindow(pageWindow, true);
    pageWindow->SetFocusChild(pane.Get());
    EXPECT_EQ(States(), "EEEE---E -------E -- - ") << "a page pane, nothing selected";
    SmartPtr<BitMap> picture = new BitMap(20, 20, ColorTable::Setup(8), Color(0), false);
    group->AddMovieAsSprite(0, 1, new CMoviePic(new CResource(SmartPtr<Persistent>(picture.Get()), true), true));
    pane->SelectSprite(0, false);
    EXPECT_EQ(States(), "EEEE---E EE-E---E EE - ") << "a page pane with a selected sprite";

    SmartPtr<Dialog> dialog(new Dialog(2));
    app->AddWindow(SmartPtr<Window>(dialog.Get()), true);
    EXPECT_EQ(States(), "-------- -------E -- - ") << "busy behind a dialog: the numbered command stays the application's";
    dialog->Cancel();
    pageWindow->RemoveAllChildren();
    show->Close();
}

} // namespace
