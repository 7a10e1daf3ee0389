#pragma once

#include <windows.h>

#include <vector>

namespace pw::ui {

// The platform application record: what the framework main knows of the running program (its
// module, its one top-level window) and what the menus hand it for the keyboard shortcuts. The
// framework main owns it; the application, the menus and the window frames borrow it.
struct OsApp {
    HINSTANCE instance { nullptr };
    HWND mainWindow { nullptr };
    // Ctrl + letter shortcuts of the installed menus, in the order the menus added them.
    std::vector<ACCEL> accelerators;
    // Built from `accelerators` once the menus are installed; null before.
    HACCEL acceleratorTable { nullptr };
};

} // namespace pw::ui
