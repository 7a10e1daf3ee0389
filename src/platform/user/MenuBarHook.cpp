#include "platform/user/MenuBarHook.h"

namespace pw::platform {

namespace {

// Installed once by the menus code; deliberately not reset between tests.
MenuBarHook*& Installed()
{
    static MenuBarHook* hook = nullptr;
    return hook;
}

} // namespace

void SetMenuBarHook(MenuBarHook* hook)
{
    Installed() = hook;
}

MenuBarHook* CurrentMenuBarHook()
{
    return Installed();
}

void RedrawMenuBar(HWND hwnd)
{
    // A frame change lays the client area out again and repaints the frame.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

} // namespace pw::platform
