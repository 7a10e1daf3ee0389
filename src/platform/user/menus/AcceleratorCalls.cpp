// Keyboard accelerators: tables of keys that stand for commands, and their translation.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/Window.h"
#include "platform/user/menus/AcceleratorTable.h"

using pw::platform::AcceleratorTable;
using pw::platform::Fail;

namespace {

constexpr DWORD kErrorInvalidAcceleratorHandle = 1403;

bool IsDown(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

} // namespace

// A table of `count` entries; it must succeed, as the program takes a NULL answer for the old
// platform. NULL with 87 for no entries; with 120 while a test makes the probe fail.
HACCEL WINAPI CreateAcceleratorTableA(LPACCEL entries, int count)
{
    if (AcceleratorTable::CreationFails())
        return Fail(ERROR_CALL_NOT_IMPLEMENTED, HACCEL(nullptr));
    if (!entries || count <= 0)
        return Fail(ERROR_INVALID_PARAMETER, HACCEL(nullptr));
    return AcceleratorTable::Add(std::vector<ACCEL>(entries, entries + count));
}

// TRUE; FALSE with 1403 for a table that is not live.
BOOL WINAPI DestroyAcceleratorTable(HACCEL accel)
{
    if (!AcceleratorTable::Remove(accel))
        return Fail(kErrorInvalidAcceleratorHandle, FALSE);
    return TRUE;
}

// For a key message that matches an entry (the virtual key with Shift, Ctrl and Alt held exactly
// as the entry says) sends WM_COMMAND (command | 1 << 16, lParam 0) to `hwnd` and answers non-zero,
// so the caller neither translates nor dispatches the key; otherwise 0.
int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL accel, LPMSG msg)
{
    if (!msg)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    const std::vector<ACCEL>* entries = AcceleratorTable::Find(accel);
    if (!entries)
        return Fail(kErrorInvalidAcceleratorHandle, 0);
    if (!pw::platform::WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return 0;
    int command = AcceleratorTable::Match(*entries, *msg, IsDown(VK_SHIFT), IsDown(VK_CONTROL), IsDown(VK_MENU));
    if (command < 0)
        return 0;
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return 1;
}
