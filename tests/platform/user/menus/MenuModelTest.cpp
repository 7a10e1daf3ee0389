#include "MenuWindowFixture.h"

#include "platform/user/menus/Menu.h"

namespace pw::platform::tests {

namespace {

constexpr BOOL kMissing = -1;
constexpr DWORD kErrorInvalidMenuHandle = 1401;

class MenuModel : public WindowFixture { };

TEST_F(MenuModel, EnableAndCheckAnswerThePreviousStateOrMinusOne)
{
    SampleMenus menus;
    struct Step {
        const char* name;
        HMENU menu;
        UINT item;
        UINT flags;
        bool check;
        BOOL expected;
    };
    const Step steps[] = {
        { "gray an enabled item", menus.file, 10, MF_BYCOMMAND | MF_GRAYED, false, MF_ENABLED },
        { "gray it again", menus.file, 10, MF_BYCOMMAND | MF_GRAYED, false, MF_GRAYED },
        { "disable it", menus.file, 10, MF_BYCOMMAND | MF_DISABLED, false, MF_GRAYED },
        { "enable it", menus.file, 10, MF_BYCOMMAND | MF_ENABLED, false, MF_DISABLED },
        { "item grayed when appended", menus.file, 11, MF_BYCOMMAND | MF_ENABLED, false, MF_GRAYED },
        { "check", menus.file, 10, MF_BYCOMMAND | MF_CHECKED, true, MF_UNCHECKED },
        { "check again", menus.file, 10, MF_BYCOMMAND | MF_CHECKED, true, MF_CHECKED },
        { "uncheck", menus.file, 10, MF_BYCOMMAND | MF_UNCHECKED, true, MF_CHECKED },
        { "from the bar through two levels", menus.bar, 95, MF_BYCOMMAND | MF_GRAYED, false, MF_ENABLED },
        { "the same item from its own menu", menus.more, 95, MF_BYCOMMAND | MF_ENABLED, false, MF_GRAYED },
        { "by position", menus.file, 2, MF_BYPOSITION | MF_ENABLED, false, MF_ENABLED },
        { "a drop-down's title by position", menus.bar, 1, MF_BYPOSITION | MF_GRAYED, false, MF_ENABLED },
        { "no such command", menus.bar, 77, MF_BYCOMMAND | MF_GRAYED, false, kMissing },
        { "not in this branch", menus.file, 90, MF_BYCOMMAND | MF_GRAYED, false, kMissing },
        { "position past the end", menus.file, 3, MF_BYPOSITION | MF_GRAYED, false, kMissing },
        { "check missing", menus.edit, 10, MF_BYCOMMAND | MF_CHECKED, true, kMissing },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        BOOL answer = step.check ? static_cast<BOOL>(CheckMenuItem(step.menu, step.item, step.flags))
                                 : EnableMenuItem(step.menu, step.item, step.flags);
        EXPECT_EQ(answer, step.expected);
    }
    EXPECT_EQ(MenuTable::FindItem(menus.bar, 1, MF_BYPOSITION)->state, static_cast<UINT>(MF_GRAYED));
}

TEST_F(MenuModel, ModifyKeepsStateAndRetitles)
{
    SampleMenus menus;
    EnableMenuItem(menus.bar, 90, MF_BYCOMMAND | MF_GRAYED);
    CheckMenuItem(menus.bar, 90, MF_BYCOMMAND | MF_CHECKED);
    ASSERT_TRUE(ModifyMenuA(menus.bar, 90, MF_BYCOMMAND | MF_STRING, 90, "Redo"));
    const MenuItem* item = MenuTable::FindItem(menus.edit, 0, MF_BYPOSITION);
    EXPECT_EQ(item->title, "Redo");
    EXPECT_EQ(item->command, 90u);
    EXPECT_EQ(item->state, static_cast<UINT>(MF_GRAYED | MF_CHECKED));
    // A new command number takes over the item.
    ASSERT_TRUE(ModifyMenuA(menus.edit, 0, MF_BYPOSITION | MF_STRING, 91, "Again"));
    EXPECT_EQ(EnableMenuItem(menus.bar, 90, MF_ENABLED), kMissing);
    EXPECT_EQ(EnableMenuItem(menus.bar, 91, MF_ENABLED), MF_GRAYED);

    SetLastError(0);
    EXPECT_FALSE(ModifyMenuA(menus.bar, 90, MF_BYCOMMAND | MF_STRING, 90, "Undo"));
    EXPECT_EQ(GetLastError(), kErrorInvalidMenuHandle);
}

TEST_F(MenuModel, AppendRefusesWhatCannotBeShown)
{
    SampleMenus menus;
    struct Case {
        const char* name;
        HMENU menu;
        UINT flags;
        UINT_PTR id;
        DWORD error;
    };
    HMENU dead = CreatePopupMenu();
    DestroyMenu(dead);
    const Case cases[] = {
        { "a dead menu", dead, MF_STRING, 1, kErrorInvalidMenuHandle },
        { "a dead drop-down", menus.file, MF_POPUP, reinterpret_cast<UINT_PTR>(dead), kErrorInvalidMenuHandle },
        { "a menu inside itself", menus.more, MF_POPUP, reinterpret_cast<UINT_PTR>(menus.more), ERROR_INVALID_PARAMETER },
        { "a loop through two levels", menus.more, MF_POPUP, reinterpret_cast<UINT_PTR>(menus.edit), ERROR_INVALID_PARAMETER },
        { "an owner-drawn item", menus.file, MF_OWNERDRAW, 5, ERROR_INVALID_PARAMETER },
        { "a bitmap item", menus.file, MF_BITMAP, 5, ERROR_INVALID_PARAMETER },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_FALSE(AppendMenuA(c.menu, c.flags, c.id, "x"));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(MenuTable::Find(menus.more)->items.size(), 1u);
}

TEST_F(MenuModel, DestroyingABarDestroysItsDropDowns)
{
    SampleMenus menus;
    HMENU spare = CreatePopupMenu();
    ASSERT_TRUE(DestroyMenu(menus.bar));
    for (HMENU gone : { menus.bar, menus.file, menus.edit, menus.more })
        EXPECT_EQ(MenuTable::Find(gone), nullptr);
    EXPECT_NE(MenuTable::Find(spare), nullptr);
    SetLastError(0);
    EXPECT_FALSE(DestroyMenu(menus.file));
    EXPECT_EQ(GetLastError(), kErrorInvalidMenuHandle);
}

TEST_F(MenuModel, OnlyTopLevelWindowsHoldABar)
{
    HWND top = MakeWindow();
    HWND child = MakeWindow(top, WS_CHILD);
    HMENU bar = CreateMenu();
    EXPECT_EQ(GetMenu(top), nullptr);
    ASSERT_TRUE(SetMenu(top, bar));
    EXPECT_EQ(GetMenu(top), bar);
    EXPECT_TRUE(DrawMenuBar(top));
    // A child's id lives where a top-level window keeps its menu; GetMenu never reads it as one.
    EXPECT_EQ(GetMenu(child), nullptr);
    EXPECT_FALSE(SetMenu(child, bar));
    EXPECT_FALSE(SetMenu(top, reinterpret_cast<HMENU>(0x1234)));
    EXPECT_EQ(GetLastError(), kErrorInvalidMenuHandle);
    ASSERT_TRUE(SetMenu(top, nullptr));
    EXPECT_EQ(GetMenu(top), nullptr);
    // The menu survives being taken off its window.
    EXPECT_NE(MenuTable::Find(bar), nullptr);
}

} // namespace

} // namespace pw::platform::tests
