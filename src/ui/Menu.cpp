#include "ui/Menu.h"

#include "foundation/Checks.h"
#include "ui/App.h"
#include "ui/AppMain.h"
#include "ui/OsApp.h"

#include <cctype>

PW_DEFINE_CLASS(Menu, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Menu)

namespace {

uint32_t nextCommand = Menu::kFirstCommand;

// The virtual key typed with Ctrl for a shortcut character; 0 for one no key gives.
WORD ShortcutKey(uint8_t key)
{
    if (std::isalpha(key))
        return static_cast<WORD>(std::toupper(key));
    if (std::isdigit(key))
        return key;
    switch (key) {
    case '[':
        return 0xDB;
    case ']':
        return 0xDD;
    default:
        return 0;
    }
}

} // namespace

Menu::Menu(const String& title)
    : title(title)
{
    popup = CreatePopupMenu();
    CheckNotNull(popup, PW_HERE);
}

Menu::~Menu()
{
    // An installed menu belongs to the main window's bar, which destroys it with itself.
    if (!installed && popup)
        DestroyMenu(popup);
}

uint32_t Menu::AddItem(const String& itemTitle, uint8_t key, const SmartPtr<GenericSignal>& signal, uint32_t command)
{
    if (command == 0)
        command = nextCommand++;
    SmartPtr<MenuItem> item(new MenuItem(itemTitle, key, signal));
    items.Append(item);
    commands.Append(command);
    CheckCall(AppendMenuA(popup, MF_STRING, command, ItemText(*item.Get()).c_str()), PW_HERE);
    return command;
}

void Menu::AddSeparator()
{
    CheckCall(AppendMenuA(popup, MF_SEPARATOR, 0, nullptr), PW_HERE);
}

void Menu::Install(App& app)
{
    HWND main = pw::ui::MainWindow();
    if (main && !installed) {
        HMENU bar = GetMenu(main);
        if (!bar) {
            bar = CreateMenu();
            CheckNotNull(bar, PW_HERE);
            SetMenu(main, bar);
        }
        char text[256];
        title.GetCString(text, sizeof text);
        CheckCall(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text), PW_HERE);
        DrawMenuBar(main);
        installed = true;
    }
    pw::ui::OsApp* record = app.GetOsApp();
    if (!record)
        return;
    for (uint32_t i = 1; i <= items.NumItems(); ++i) {
        String itemTitle;
        uint8_t key = 0;
        items.Item(i)->GetTitle(itemTitle, key);
        if (WORD virtualKey = ShortcutKey(key))
            record->accelerators.push_back(ACCEL { FVIRTKEY | FCONTROL, virtualKey, static_cast<WORD>(commands[i]) });
    }
}

SmartPtr<MenuItem> Menu::FindItem(uint32_t command) const
{
    uint32_t index = commands.IndexOf(command);
    return index == 0 ? SmartPtr<MenuItem>() : SmartPtr<MenuItem>(items.Item(index));
}

void Menu::UpdateStates(intptr_t argument, App& watcher)
{
    for (uint32_t i = 1; i <= items.NumItems(); ++i) {
        MenuItem* item = items.Item(i);
        item->UpdateState(argument, watcher);
        uint32_t itemState = item->GetState();
        EnableMenuItem(popup, commands[i], MF_BYCOMMAND | ((itemState & MenuItem::kDisabled) ? MF_GRAYED : MF_ENABLED));
        CheckMenuItem(popup, commands[i], MF_BYCOMMAND | ((itemState & MenuItem::kMarked) ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool Menu::RetitleItem(uint32_t command, const String& newTitle)
{
    uint32_t index = commands.IndexOf(command);
    if (index == 0)
        return false;
    MenuItem* item = items.Item(index);
    item->SetTitle(newTitle);
    ModifyMenuA(popup, command, MF_BYCOMMAND | MF_STRING, command, ItemText(*item).c_str());
    return true;
}

std::string Menu::ItemText(const MenuItem& item)
{
    String itemTitle;
    uint8_t key = 0;
    item.GetTitle(itemTitle, key);
    char text[256];
    itemTitle.GetCString(text, sizeof text);
    std::string result = text;
    if (key != 0) {
        result += "\tcntl+";
        result += static_cast<char>(std::isalpha(key) ? std::toupper(key) : key);
    }
    return result;
}
