// The menus' side of a window frame: the bar's height, its painting, a press on it or a key for it,
// the window menu, and the class menu "MainMenu" (the program's one menu resource: an empty bar the
// program fills).
#include "platform/user/MenuBarHook.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuLayout.h"
#include "platform/user/menus/MenuPainter.h"
#include "platform/user/menus/MenuTracker.h"

namespace pw::platform {

namespace {

constexpr const char* kMainMenu = "MainMenu";

class MenuBar final : public MenuBarHook {
public:
    int Height(HWND, HMENU menu, int width) override
    {
        return MenuTable::Find(menu) ? MenuLayout::LayOutBar(menu, width).height : 0;
    }

    void Paint(HWND hwnd, HMENU menu, HDC hdc, const RECT& bar) override
    {
        MenuPainter::PaintBar(hdc, menu, bar, MenuTracker::OpenBarItem(hwnd));
    }

    void Press(HWND hwnd, HMENU menu, POINT screen) override { MenuTracker::TrackBar(hwnd, menu, screen); }

    void KeyMenu(HWND hwnd, HMENU menu, UINT character) override { MenuTracker::TrackKeys(hwnd, menu, character); }

    void SystemMenu(HWND hwnd, const RECT& box, bool fromKeys) override
    {
        if (HMENU menu = GetSystemMenu(hwnd, FALSE))
            MenuTracker::TrackSystemMenu(hwnd, menu, box, fromKeys);
    }

    HMENU LoadClassMenu(HINSTANCE, const std::string& name) override
    {
        return SameNameIgnoringCase(name, kMainMenu) ? CreateMenu() : nullptr;
    }
};

MenuBar theMenuBar;

const bool installed = [] {
    SetMenuBarHook(&theMenuBar);
    return true;
}();

} // namespace

} // namespace pw::platform
