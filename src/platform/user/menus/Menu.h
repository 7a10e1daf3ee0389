#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// One entry of a menu: a command with a title, a separator, or a title opening another menu.
// `state` holds the MF_GRAYED, MF_DISABLED and MF_CHECKED bits; the title is kept byte for byte.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };

    Kind kind { Kind::Command };
    UINT state { 0 };
    UINT command { 0 };
    HMENU submenu { nullptr };
    std::string title;

    bool IsEnabled() const { return (state & (MF_GRAYED | MF_DISABLED)) == 0; }
    bool IsGrayed() const { return (state & MF_GRAYED) != 0; }
    bool IsChecked() const { return (state & MF_CHECKED) != 0; }
    // Whether the keyboard and the mouse can highlight it (separators cannot).
    bool IsSelectable() const { return kind != Kind::Separator; }
};

// A menu made by CreateMenu (a bar) or CreatePopupMenu, named by its HMENU. The menu table owns
// every live menu; items refer to their submenus by handle, so a destroyed submenu is simply not
// found again. `serial` counts changes of every menu, so what shows a menu knows when to redraw.
class Menu {
public:
    Menu(HMENU handle, bool isBar);

    HMENU Handle() const { return handle; }
    bool IsBar() const { return isBar; }

    std::vector<MenuItem> items;

private:
    HMENU handle;
    bool isBar;
};

// The live menus, and the lookups every menu call shares.
class MenuTable {
public:
    static Menu& Add(bool isBar);
    static Menu* Find(HMENU handle);
    // Destroys a menu and, depth first, the menus its items open.
    static void Destroy(HMENU handle);
    static size_t Count();

    // The item `item` names in `menu`: with MF_BYPOSITION its index there; otherwise its command,
    // searched depth first through the menus that items open. Null when there is none.
    static MenuItem* FindItem(HMENU menu, UINT item, UINT flags);

    // Whether `inner` is `outer` or is opened, at any depth, from it (so adding `outer` to
    // `inner` would make a loop).
    static bool Contains(HMENU outer, HMENU inner);

    // Counts a change to any menu; shown menus compare it to know when to redraw.
    static void NoteChange();
    static uint64_t Serial();
};

} // namespace pw::platform
