#pragma once

#include <windows.h>

namespace pw::platform {

// The modal menu loop of a window's menu bar. A press on the bar sends WM_INITMENU (wParam the
// bar) before anything shows, then opens the title pressed: its drop-down is a window of the
// popup layer, above every other. The loop reads mouse and key events itself while posted
// messages, paints and timers keep being dispatched. The mouse highlights items, opens the menus
// of other titles and of items that open one, and chooses an enabled command on release; a press
// outside the menus closes them. Keys: Up and Down move in the open menu, Left and Right go to
// the next title (or in and out of nested menus), Return chooses, Esc closes, a mnemonic letter
// ('&' in a title) opens or chooses its title. With only a title selected (the keyboard's way in)
// Left and Right select the next title and Down, Up or Return open its menu on its first item.
// Grayed items can never be chosen. When a command was chosen, WM_COMMAND (HIWORD 0) is sent after
// the menus closed. One menu loop runs at a time.
class MenuTracker {
public:
    static void TrackBar(HWND owner, HMENU bar, POINT screen);
    // The keyboard's way into the bar: `character` 0 selects the first title without opening it;
    // another character opens the title whose mnemonic it is on its first item, and beeps when no
    // title has it.
    static void TrackKeys(HWND owner, HMENU bar, UINT character);

    // The window menu of `owner`: WM_INITMENU (wParam the menu), then `menu` drops below `box`
    // (screen coordinates), on its first item when opened from the keyboard, and the loop runs as
    // for a bar without titles. A chosen command is sent as WM_SYSCOMMAND (wParam the command,
    // lParam 0) after the menu closed.
    static void TrackSystemMenu(HWND owner, HMENU menu, const RECT& box, bool fromKeys);

    // Closes the menus without a command: a dialog opened over them (from a timer) needs the
    // input, as it would take the capture on Windows.
    static void Cancel();

    // The title shown open in the bar of `owner`, or -1.
    static int OpenBarItem(HWND owner);
};

} // namespace pw::platform
