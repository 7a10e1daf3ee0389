#pragma once

#include <windows.h>

#include <string>

namespace pw::platform {

// The menu bar of a top-level window's frame. The window manager lays the frame out, hit-tests it
// and paints caption, border and close box; the bar between caption and client area belongs to
// the menus code, which installs one hook. Without a hook no window has a bar.
class MenuBarHook {
public:
    virtual ~MenuBarHook() = default;

    // The bar's height for `menu` in a frame `width` pixels wide; 0 shows no bar.
    virtual int Height(HWND hwnd, HMENU menu, int width) = 0;

    // Draws the bar. `hdc` is a window DC with its origin at the bar's top-left corner, clipped to
    // the bar's visible part; `bar` is (0, 0, width, height).
    virtual void Paint(HWND hwnd, HMENU menu, HDC hdc, const RECT& bar) = 0;

    // A press on the bar reached DefWindowProcA (WM_NCLBUTTONDOWN, HTMENU); `screen` is where.
    // Runs the menu's own tracking.
    virtual void Press(HWND hwnd, HMENU menu, POINT screen) = 0;

    // The keyboard asked for the bar (WM_SYSCOMMAND SC_KEYMENU reaching DefWindowProcA):
    // `character` 0 (F10, or Alt pressed and released) selects the first title; a character
    // (Alt with it) opens the title whose mnemonic it is. Runs the menu's own tracking.
    virtual void KeyMenu(HWND hwnd, HMENU menu, UINT character) = 0;

    // The window menu (GetSystemMenu) of a window whose frame has its box: a press on the box
    // (WM_SYSCOMMAND SC_MOUSEMENU) or Alt with the space bar (SC_KEYMENU, character ' ') reached
    // DefWindowProcA. It drops from `box` (screen coordinates); from the keyboard its first item
    // is highlighted. Runs the menu's own tracking.
    virtual void SystemMenu(HWND hwnd, const RECT& box, bool fromKeys) = 0;

    // The menu a new top-level window gets from its class's menu name when CreateWindowExA was
    // given none; NULL for none.
    virtual HMENU LoadClassMenu(HINSTANCE instance, const std::string& name) = 0;
};

// Installs the hook (not owned; null removes it). It stays installed across test resets.
void SetMenuBarHook(MenuBarHook* hook);
MenuBarHook* CurrentMenuBarHook();

// Lays the frame of `hwnd` out again after its menu changed (the client area moves when the bar's
// height changed, with WM_WINDOWPOSCHANGED and WM_SIZE) and repaints the bar.
void RedrawMenuBar(HWND hwnd);

} // namespace pw::platform
