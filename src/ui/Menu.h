#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "foundation/TypedArray.h"
#include "ui/MenuItem.h"

#include <windows.h>

#include <cstdint>
#include <string>

class App;

// A drop-down menu of the main window's menu bar: its title, its items with the command number
// each carries (by which WM_COMMAND finds it), and the native popup menu that shows them. Items
// show their disabled and marked bits; a shortcut letter shows as "cntl+" and the letter and
// becomes a Ctrl accelerator when the menu is installed.
class Menu : public SmartImplementation {
    PW_CLASS_INFO(Menu)
    PW_COPY_SLOTS

public:
    // Command numbers handed out to items added without one start here (1 is About, 90 Undo).
    static constexpr uint32_t kFirstCommand = 100;

    explicit Menu(const String& title);
    ~Menu() override;

    // Adds an item; command 0 takes the next free number. Answers the item's command number.
    uint32_t AddItem(const String& title, uint8_t key, const SmartPtr<GenericSignal>& signal, uint32_t command = 0);
    void AddSeparator();

    // Adds the menu to the main window's menu bar and its shortcuts to the application's record.
    void Install(App& app);
    // The item that carries the command number, or empty.
    SmartPtr<MenuItem> FindItem(uint32_t command) const;
    // Every item's UpdateState, then the native menu shows the bits.
    void UpdateStates(intptr_t argument, App& watcher);
    // Changes an item's title in the model and the native menu.
    bool RetitleItem(uint32_t command, const String& title);

    const String& GetTitle() const { return title; }
    HMENU GetOSMenu() const { return popup; }
    uint32_t NumItems() const { return items.NumItems(); }
    // The item at a 1-based position, in the order added (separators are not items).
    MenuItem* GetItem(uint32_t index) const { return items.Item(index); }

private:
    // "Title\tcntl+K" or the title alone, as the native menu shows it.
    static std::string ItemText(const MenuItem& item);

    String title;
    HMENU popup { nullptr };
    bool installed { false };
    SmartList<MenuItem> items;
    TypedArray<uint32_t> commands;
};
