// The keyboard's way into a window's menu bar: F10, a tap of Alt, Alt with a title's mnemonic,
// then arrows, Return and Esc, typed through the real input path as keystroke scripts.
#include "MenuWindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/Modal.h"
#include "platform/user/menus/MenuLayout.h"
#include "platform/user/menus/MenuTracker.h"

#include <string>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;


// A script: one word a key. "F10", "Alt" (tapped), "Alt+X" (X typed with Alt held), "Ctrl" held
// over the next word ("Ctrl Alt"), arrows, "Enter", "Esc", or a letter.
void Type(const std::string& script);

class MenuKeyboard : public MenuWindowFixture {
protected:
    // Types the script and runs until idle; the command chosen (0: none). Every menu must have
    // closed again.
    UINT ChosenAfter(const std::string& keys)
    {
        log.clear();
        Type(keys);
        driver::RunUntilIdle();
        EXPECT_TRUE(DropDowns().empty());
        std::vector<Delivered> commands = Messages({ WM_COMMAND });
        EXPECT_LE(commands.size(), 1u);
        return commands.empty() ? 0 : LOWORD(commands.back().wParam);
    }
};

void Type(const std::string& script)
{
    struct Named {
        const char* name;
        UINT key;
    };
    static constexpr Named kKeys[] = { { "F10", VK_F10 }, { "Alt", VK_MENU }, { "Left", VK_LEFT }, { "Right", VK_RIGHT },
        { "Up", VK_UP }, { "Down", VK_DOWN }, { "Enter", VK_RETURN }, { "Esc", VK_ESCAPE } };
    size_t at = 0;
    while (at < script.size()) {
        size_t end = script.find(' ', at);
        std::string word = script.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? script.size() : end + 1;
        if (word.rfind("Alt+", 0) == 0) {
            driver::PressKey(VK_MENU);
            driver::TypeKey(static_cast<UINT>(word[4]));
            driver::ReleaseKey(VK_MENU);
            continue;
        }
        UINT key = word.size() == 1 ? static_cast<UINT>(word[0]) : 0;
        for (const Named& named : kKeys)
            key = word == named.name ? named.key : key;
        ASSERT_NE(key, 0u) << word;
        driver::TypeKey(key);
    }
}

TEST_F(MenuKeyboard, KeystrokeScriptsChooseTheItemTheKeysLeadTo)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    // A focused child: keys reach the bar of its top-level window.
    HWND child = Popup(RECT { 10, 10, 60, 40 }, main);
    struct Case {
        const char* name;
        HWND focus;
        const char* keys;
        UINT expected; // 0: nothing chosen
    };
    const Case cases[] = {
        { "F10 Right Down Enter: the second menu's first item", main, "F10 Right Down Enter", 90 },
        { "the same from a focused child", child, "F10 Right Down Enter", 90 },
        { "Alt then Down opens the first menu", main, "Alt Down Enter", 10 },
        { "Alt then Enter opens it too", main, "Alt Enter Enter", 10 },
        { "Left from the first title wraps to the last", main, "F10 Left Down Enter", 90 },
        { "Right in an open menu opens the next", main, "F10 Down Right Enter", 90 },
        { "Esc closes with nothing chosen", main, "F10 Down Esc Enter", 0 },
        { "Esc with only a title selected", main, "Alt Esc Down Enter", 0 },
        { "F10 again closes", main, "F10 F10 Down Enter", 0 },
        { "a letter no title marks opens nothing", main, "Alt+F Down Enter", 0 },
        { "Alt with another key is no tap", main, "Alt+X Down Enter", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFocus(c.focus);
        driver::RunUntilIdle();
        EXPECT_EQ(ChosenAfter(c.keys), c.expected);
        EXPECT_EQ(MenuTracker::OpenBarItem(main), -1);
    }
    DestroyWindow(child);
}

TEST_F(MenuKeyboard, ABlockingChildKeepsTheBarShut)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    HWND child = Popup(RECT { 10, 10, 60, 40 }, main);
    {
        ModalScope scope(child);
        SetFocus(child);
        EXPECT_EQ(ChosenAfter("F10 Down Enter Alt Down Enter"), 0u);
        EXPECT_TRUE(Messages({ WM_INITMENU }).empty());
    }
    DestroyWindow(child);
}

TEST_F(MenuKeyboard, AltTapSelectsTheFirstTitleWithoutOpeningIt)
{
    HWND main = MakeMainWindow();
    FillSampleBar(main);
    int selected = -2;
    size_t dropDowns = 99;
    driver::SetIdleHandler([&] {
        if (selected != -2)
            return false;
        selected = MenuTracker::OpenBarItem(main);
        dropDowns = DropDowns().size();
        driver::TypeKey(VK_ESCAPE);
        return true;
    });
    Type("Alt");
    driver::RunUntilIdle();
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(dropDowns, 0u);
    // The loop asked the program to bring its menus up to date first, and chose nothing.
    EXPECT_EQ(MessageNumbers({ WM_INITMENU, WM_COMMAND }), std::vector<UINT> { WM_INITMENU });
}

TEST_F(MenuKeyboard, MnemonicsOpenTitlesAndChooseItems)
{
    HWND main = MakeMainWindow();
    HMENU bar = GetMenu(main);
    HMENU file = CreatePopupMenu();
    HMENU edit = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 10, "&New");
    AppendMenuA(file, MF_STRING, 11, "&Open");
    AppendMenuA(edit, MF_STRING, 90, "Undo");
    AppendMenuA(edit, MF_STRING, 91, "Fish && &Chips");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "E&dit");
    AppendMenuA(bar, MF_STRING, 70, "&Go");
    DrawMenuBar(main);
    struct Case {
        const char* name;
        const char* keys;
        UINT expected;
    };
    const Case cases[] = {
        { "Alt+D opens the title whose mnemonic it is, on its first item", "Alt+D Enter", 90 },
        { "a letter in the open menu chooses its item", "Alt+F O", 11 },
        { "after && the next & marks the mnemonic", "Alt+D C", 91 },
        { "a letter with only a title selected opens that title", "F10 D Enter", 90 },
        { "a title that is a command is chosen at once", "Alt+G", 70 },
        { "a letter no item marks does nothing", "Alt+F Z Esc", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChosenAfter(c.keys), c.expected);
    }
}

// A mnemonic's '&' takes no room: "&File" and "File" get titles of one width; "&&" shows one '&'.
TEST_F(MenuKeyboard, MarkedTitlesAreLaidOutAsTheyShow)
{
    struct Case {
        const char* marked;
        const char* shown;
    };
    for (Case c : { Case { "&File", "File" }, Case { "E&dit", "Edit" }, Case { "End&", "End" } }) {
        SCOPED_TRACE(c.marked);
        HMENU marked = CreateMenu();
        HMENU shown = CreateMenu();
        AppendMenuA(marked, MF_STRING, 1, c.marked);
        AppendMenuA(shown, MF_STRING, 1, c.shown);
        RECT a = MenuLayout::LayOutBar(marked, 400).items.at(0);
        RECT b = MenuLayout::LayOutBar(shown, 400).items.at(0);
        EXPECT_EQ(a.right - a.left, b.right - b.left);
        DestroyMenu(marked);
        DestroyMenu(shown);
    }
    EXPECT_EQ(MenuLayout::ShownText("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(MenuLayout::MnemonicOf("Fish && &chips\tCtrl+&K"), 'C');
}

} // namespace

} // namespace pw::platform::tests
