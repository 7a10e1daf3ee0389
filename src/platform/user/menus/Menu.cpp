#include "platform/user/menus/Menu.h"

#include "platform/testing/Reset.h"

#include <map>

namespace pw::platform {

namespace {

// Menu handles are counted and never reused within a run, so a stale handle is always found
// dead; they start far from window handles so that one is never taken for the other.
constexpr uintptr_t kFirstHandle = 0x30010;
constexpr uintptr_t kHandleStep = 4;
// Items open menus to at most this depth; deeper chains are not searched.
constexpr int kMaxDepth = 32;

struct Table {
    std::map<uintptr_t, std::unique_ptr<Menu>> menus;
    uintptr_t nextHandle = kFirstHandle;
    uint64_t serial = 0;
};

Table& TheTable()
{
    static Table table;
    return table;
}

const bool registered = testing::RegisterReset([] { TheTable() = Table {}; });

MenuItem* FindByCommand(HMENU handle, UINT command, int depth)
{
    Menu* menu = MenuTable::Find(handle);
    if (!menu || depth > kMaxDepth)
        return nullptr;
    for (MenuItem& item : menu->items) {
        if (item.kind == MenuItem::Kind::Command && item.command == command)
            return &item;
        if (item.kind == MenuItem::Kind::Popup) {
            if (MenuItem* found = FindByCommand(item.submenu, command, depth + 1))
                return found;
        }
    }
    return nullptr;
}

bool Opens(HMENU outer, HMENU inner, int depth)
{
    if (outer == inner)
        return true;
    Menu* menu = MenuTable::Find(outer);
    if (!menu || depth > kMaxDepth)
        return false;
    for (const MenuItem& item : menu->items) {
        if (item.kind == MenuItem::Kind::Popup && Opens(item.submenu, inner, depth + 1))
            return true;
    }
    return false;
}

} // namespace

Menu::Menu(HMENU handle, bool isBar)
    : handle(handle)
    , isBar(isBar)
{
}

Menu& MenuTable::Add(bool isBar)
{
    Table& table = TheTable();
    uintptr_t value = table.nextHandle;
    table.nextHandle += kHandleStep;
    auto menu = std::make_unique<Menu>(reinterpret_cast<HMENU>(value), isBar);
    Menu& result = *menu;
    table.menus.emplace(value, std::move(menu));
    return result;
}

Menu* MenuTable::Find(HMENU handle)
{
    auto& menus = TheTable().menus;
    auto it = menus.find(reinterpret_cast<uintptr_t>(handle));
    return it == menus.end() ? nullptr : it->second.get();
}

void MenuTable::Destroy(HMENU handle)
{
    auto& menus = TheTable().menus;
    auto it = menus.find(reinterpret_cast<uintptr_t>(handle));
    if (it == menus.end())
        return;
    // Taken out first, so a menu that opens itself through a loop is destroyed once.
    std::unique_ptr<Menu> menu = std::move(it->second);
    menus.erase(it);
    for (const MenuItem& item : menu->items) {
        if (item.kind == MenuItem::Kind::Popup)
            Destroy(item.submenu);
    }
    NoteChange();
}

size_t MenuTable::Count()
{
    return TheTable().menus.size();
}

MenuItem* MenuTable::FindItem(HMENU handle, UINT item, UINT flags)
{
    if (!(flags & MF_BYPOSITION))
        return FindByCommand(handle, item, 0);
    Menu* menu = Find(handle);
    if (!menu || item >= menu->items.size())
        return nullptr;
    return &menu->items[item];
}

bool MenuTable::Contains(HMENU outer, HMENU inner)
{
    return Opens(outer, inner, 0);
}

void MenuTable::NoteChange()
{
    ++TheTable().serial;
}

uint64_t MenuTable::Serial()
{
    return TheTable().serial;
}

} // namespace pw::platform
