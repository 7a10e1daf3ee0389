#pragma once

#include "platform/user/InputRouter.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuLayout.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace pw::platform {

// What a running menu loop has open: the bar's open title and the stack of drop-downs, each a
// window of the popup layer (above every other) that paints its menu with the highlighted item.
// The tracker (MenuTracker) drives it from the input; one session exists at a time, and it closes
// its drop-downs when it ends.
class MenuSession {
public:
    // One open drop-down: its menu, its window and where it shows on the screen.
    struct Level {
        HMENU menu { nullptr };
        HWND window { nullptr };
        DropDownLayout layout;
        POINT origin {};
        int highlighted { -1 };

        RECT ScreenRect() const;
    };

    // What lies under a screen point: a title of the bar, an item (or the frame, item -1) of an
    // open drop-down, or nothing.
    struct Hit {
        enum class Where { Nothing, Bar, Level } where { Where::Nothing };
        size_t level { 0 };
        int item { -1 };
    };

    // The bar of `owner` as its frame shows it now.
    MenuSession(HWND owner, HMENU bar);
    ~MenuSession();
    MenuSession(const MenuSession&) = delete;
    MenuSession& operator=(const MenuSession&) = delete;

    static MenuSession* Current();

    // Shows title `index` highlighted in the bar with no drop-down (the keyboard's first step).
    void SelectTitle(int index);
    // Shows title `index` open and its drop-down below it (nothing drops from a grayed title or a
    // title that is itself a command); `highlightFirst` highlights its first item (keyboard).
    void OpenTitle(int index, bool highlightFirst);
    // Shows `menu` alone, dropping from below `anchor` (screen coordinates); `highlightFirst`
    // highlights its first item (keyboard).
    void OpenMenu(HMENU menu, const RECT& anchor, bool highlightFirst);
    // Opens the menu of the highlighted item of `level`, when it opens one, closing deeper ones.
    void OpenSubmenu(size_t level, bool highlightFirst);
    void CloseLevels(size_t keep);
    void Highlight(size_t level, int item);
    Hit HitTest(POINT screen) const;
    // Redraws the drop-downs when any menu changed since they were drawn.
    void RedrawIfChanged();
    void RepaintBar() const;
    size_t TitleCount() const;

    // Item `index` of a live menu, or null.
    static const MenuItem* ItemOf(HMENU menu, int index);

    HWND owner;
    HMENU bar;
    int barItem { -1 };
    std::vector<Level> levels;
    // A press on the title that was already open: its release closes the menus.
    bool closeOnRelease { false };
    bool done { false };
    std::optional<UINT> chosen;
    // Held while the loop reads the input itself; given up when a dialog opens over the menus.
    std::optional<InputRouter::Suspension> suspension;

private:
    RECT TitleOnScreen(int index) const;
    void OpenLevel(HMENU menu, POINT at, const RECT& anchor, bool below, bool highlightFirst);

    POINT barOrigin {};
    BarLayout barLayout;
    uint64_t serial { 0 };
};

} // namespace pw::platform
