#pragma once

#include <cstdint>
#include <span>

namespace pw::app {

// What a menu entry does; the signal made for each is BuildMenus's business.
enum class MenuCommand : uint8_t {
    kSeparator,
    // The text view's own entries (faces, sizes, styles) begin the menu that holds this row.
    kTextEntries,
    kNewPage,
    kOpen,
    kImport,
    kClose,
    kSave,
    kSaveAs,
    kPublish,
    kQuit,
    kCut,
    kCopy,
    kPaste,
    kDelete,
    kBringForwards,
    kSendBackwards,
    kUndo,
    kSoundOn,
    kLinkURL,
    kLinkEMail,
    kPickColor,
};

// One row of the menu bar: the menu it belongs to, its title as the menu shows it (a title that
// opens a dialog ends in an ellipsis, the screen's character 0x85), its Ctrl shortcut (0 for none)
// and its command. Rows of
// one menu follow each other, menus in the order of the bar.
struct MenuEntry {
    const char* menu;
    const char* title;
    uint8_t key;
    MenuCommand command;
};

// The File, Edit and LinkTo menus and the text menu.
std::span<const MenuEntry> MenuTable();

} // namespace pw::app
