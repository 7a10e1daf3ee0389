#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class App;
class Menu;
class MenuItem;

// The application's menus in the order they stand on the main window's bar.
class MenuBar : public SmartImplementation {
    PW_CLASS_INFO(MenuBar)
    PW_COPY_SLOTS

public:
    MenuBar();
    MenuBar(const MenuBar& other);
    MenuBar& operator=(const MenuBar& other);

    void AddMenu(const SmartPtr<Menu>& menu);
    void Install(App& app);
    // The item carrying the command number in any menu, or empty.
    SmartPtr<MenuItem> FindItem(uint32_t command) const;
    void EnableAll(intptr_t argument, App& watcher);
    bool RetitleItem(uint32_t command, const char* title);

    uint32_t NumMenus() const { return menus.NumItems(); }
    Menu* GetMenu(uint32_t index) const;

private:
    SmartList<Menu> menus;
};
