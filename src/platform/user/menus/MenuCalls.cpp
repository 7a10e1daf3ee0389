// The menu calls of USER: making, filling, changing and destroying menus, and a window's bar.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/MenuBarHook.h"
#include "platform/user/Window.h"
#include "platform/user/menus/Menu.h"

#include <utility>

using pw::platform::Fail;
using pw::platform::Menu;
using pw::platform::MenuItem;
using pw::platform::MenuTable;
using pw::platform::WindowTable;

namespace {

constexpr DWORD kErrorInvalidMenuHandle = 1401;
constexpr DWORD kErrorChildWindowMenu = 1436;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// Fills `item` from AppendMenuA/ModifyMenuA arguments; the error code when they are unusable.
DWORD MakeItem(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text, MenuItem& item)
{
    if (flags & (MF_BITMAP | MF_OWNERDRAW))
        return ERROR_INVALID_PARAMETER;
    if (flags & MF_SEPARATOR) {
        item.kind = MenuItem::Kind::Separator;
        item.command = 0;
        item.submenu = nullptr;
        item.title.clear();
        return 0;
    }
    if (flags & MF_POPUP) {
        auto submenu = reinterpret_cast<HMENU>(id);
        if (!MenuTable::Find(submenu))
            return kErrorInvalidMenuHandle;
        // A menu that opened itself would be drawn and searched without end.
        if (MenuTable::Contains(submenu, menu))
            return ERROR_INVALID_PARAMETER;
        item.kind = MenuItem::Kind::Popup;
        item.submenu = submenu;
        item.command = 0;
    } else {
        item.kind = MenuItem::Kind::Command;
        item.submenu = nullptr;
        item.command = static_cast<UINT>(id);
    }
    item.title = text ? text : "";
    return 0;
}

} // namespace

// An empty menu bar for SetMenu or a class menu.
HMENU WINAPI CreateMenu(void)
{
    return MenuTable::Add(true).Handle();
}

// An empty drop-down menu for AppendMenuA(..., MF_POPUP, ...).
HMENU WINAPI CreatePopupMenu(void)
{
    return MenuTable::Add(false).Handle();
}

// Destroys the menu and the menus its items open; FALSE with 1401 for a bad handle.
BOOL WINAPI DestroyMenu(HMENU menu)
{
    if (!MenuTable::Find(menu))
        return Fail(kErrorInvalidMenuHandle, FALSE);
    MenuTable::Destroy(menu);
    return TRUE;
}

// Adds a command (MF_STRING), a drop-down (MF_POPUP, id the HMENU) or a separator at the end,
// with the state bits of `flags`. The title is kept byte for byte.
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    Menu* target = MenuTable::Find(menu);
    if (!target)
        return Fail(kErrorInvalidMenuHandle, FALSE);
    MenuItem item;
    if (DWORD error = MakeItem(menu, flags, idNewItem, newItem, item))
        return Fail(error, FALSE);
    item.state = flags & kStateBits;
    target->items.push_back(std::move(item));
    MenuTable::NoteChange();
    return TRUE;
}

// Replaces an item's kind, command and title. Floor choice: the item keeps its enabled and checked
// state (bits set in `flags` are added), so retitling "Undo" as "Redo" keeps it grayed.
BOOL WINAPI ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    if (!MenuTable::Find(menu))
        return Fail(kErrorInvalidMenuHandle, FALSE);
    MenuItem* item = MenuTable::FindItem(menu, position, flags);
    if (!item)
        return Fail(kErrorInvalidMenuHandle, FALSE);
    MenuItem changed = *item;
    if (DWORD error = MakeItem(menu, flags, idNewItem, newItem, changed))
        return Fail(error, FALSE);
    changed.state |= flags & kStateBits;
    *item = std::move(changed);
    MenuTable::NoteChange();
    return TRUE;
}

// Sets MF_GRAYED/MF_DISABLED (MF_ENABLED clears both) and returns the previous bits; -1 when the
// item does not exist. By command the search goes through nested drop-downs.
BOOL WINAPI EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable)
{
    if (!MenuTable::Find(menu))
        return Fail(kErrorInvalidMenuHandle, -1);
    MenuItem* item = MenuTable::FindItem(menu, idEnableItem, enable);
    if (!item)
        return -1;
    UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    MenuTable::NoteChange();
    return static_cast<BOOL>(previous);
}

// Sets or clears MF_CHECKED and returns the previous bit; (DWORD)-1 when the item does not exist.
DWORD WINAPI CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check)
{
    if (!MenuTable::Find(menu))
        return Fail(kErrorInvalidMenuHandle, DWORD(-1));
    MenuItem* item = MenuTable::FindItem(menu, idCheckItem, check);
    if (!item)
        return DWORD(-1);
    DWORD previous = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
    MenuTable::NoteChange();
    return previous;
}

// The window menu of a window with WS_SYSMENU, made on the first call: "&Close" (SC_CLOSE), to
// which the program may add. With `revert` the window's copy is destroyed and NULL returned (the
// next call makes a fresh one). NULL for a window without WS_SYSMENU; NULL with 1400 for a bad one.
HMENU WINAPI GetSystemMenu(HWND hwnd, BOOL revert)
{
    pw::platform::Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HMENU(nullptr));
    if (revert) {
        if (HMENU copy = std::exchange(window->systemMenu, nullptr))
            DestroyMenu(copy);
        return nullptr;
    }
    if (!(window->style & WS_SYSMENU))
        return nullptr;
    if (!MenuTable::Find(window->systemMenu)) {
        window->systemMenu = CreatePopupMenu();
        AppendMenuA(window->systemMenu, MF_STRING, SC_CLOSE, "&Close");
    }
    return window->systemMenu;
}

// The menu bar of a top-level window (NULL for none and for child windows).
HMENU WINAPI GetMenu(HWND hwnd)
{
    pw::platform::Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, HMENU(nullptr));
    if (window->IsChild())
        return nullptr;
    return reinterpret_cast<HMENU>(window->idOrMenu);
}

// Gives a top-level window a bar (NULL removes it) and lays its frame out again. The old menu is
// not destroyed, as documented.
BOOL WINAPI SetMenu(HWND hwnd, HMENU menu)
{
    pw::platform::Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (window->IsChild())
        return Fail(kErrorChildWindowMenu, FALSE);
    if (menu && !MenuTable::Find(menu))
        return Fail(kErrorInvalidMenuHandle, FALSE);
    window->idOrMenu = reinterpret_cast<LONG_PTR>(menu);
    pw::platform::RedrawMenuBar(hwnd);
    return TRUE;
}

// Shows the bar's current items after they changed.
BOOL WINAPI DrawMenuBar(HWND hwnd)
{
    pw::platform::Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (window->IsChild())
        return Fail(kErrorChildWindowMenu, FALSE);
    pw::platform::RedrawMenuBar(hwnd);
    return TRUE;
}
