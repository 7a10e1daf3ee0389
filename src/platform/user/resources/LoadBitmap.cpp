#include <windows.h>

#include "platform/kernel/LastError.h"

// The program's bitmap resource `name`. No bitmap resources are built into the program (its art
// lives in data files named by number, which callers look for first), so every request answers
// NULL with 1814 (ERROR_RESOURCE_NAME_NOT_FOUND).
HBITMAP WINAPI LoadBitmapA(HINSTANCE, LPCSTR)
{
    return pw::platform::Fail(ERROR_RESOURCE_NAME_NOT_FOUND, static_cast<HBITMAP>(nullptr));
}
