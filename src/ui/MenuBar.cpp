#include "ui/MenuBar.h"

#include "ui/Menu.h"
#include "ui/MenuItem.h"

PW_DEFINE_CLASS(MenuBar, pw::foundation::CreateFunction<MenuBar>, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(MenuBar)

MenuBar::MenuBar() = default;

MenuBar::MenuBar(const MenuBar& other)
    : SmartImplementation(other)
{
    menus.AppendList(other.menus);
}

MenuBar& MenuBar::operator=(const MenuBar& other)
{
    if (this == &other)
        return *this;
    SmartList<Menu> copied;
    copied.AppendList(other.menus);
    menus = copied;
    return *this;
}

void MenuBar::AddMenu(const SmartPtr<Menu>& menu)
{
    if (menu.Valid())
        menus.Append(menu);
}

void MenuBar::Install(App& app)
{
    for (uint32_t i = 1; i <= menus.NumItems(); ++i)
        menus.Item(i)->Install(app);
}

SmartPtr<MenuItem> MenuBar::FindItem(uint32_t command) const
{
    for (uint32_t i = 1; i <= menus.NumItems(); ++i) {
        SmartPtr<MenuItem> item = menus.Item(i)->FindItem(command);
        if (item.Valid())
            return item;
    }
    return SmartPtr<MenuItem>();
}

void MenuBar::EnableAll(intptr_t argument, App& watcher)
{
    for (uint32_t i = 1; i <= menus.NumItems(); ++i)
        menus.Item(i)->UpdateStates(argument, watcher);
}

bool MenuBar::RetitleItem(uint32_t command, const char* title)
{
    for (uint32_t i = 1; i <= menus.NumItems(); ++i) {
        if (menus.Item(i)->RetitleItem(command, String(title)))
            return true;
    }
    return false;
}

Menu* MenuBar::GetMenu(uint32_t index) const
{
    return menus.Item(index);
}
