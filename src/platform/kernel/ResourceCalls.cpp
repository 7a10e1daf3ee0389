// Resources of a module found, loaded and locked by name. No resources are built into the program
// (its art lives in data files named by number), so nothing is ever found.
#include <windows.h>

#include "platform/kernel/LastError.h"

using pw::platform::Fail;

// NULL with 1814 (ERROR_RESOURCE_NAME_NOT_FOUND) for every name and type.
HRSRC WINAPI FindResourceA(HMODULE, LPCSTR, LPCSTR)
{
    return Fail(ERROR_RESOURCE_NAME_NOT_FOUND, HRSRC(nullptr));
}

// No resource is ever found, so every resource handle is a bad one: NULL with 6.
HGLOBAL WINAPI LoadResource(HMODULE, HRSRC)
{
    return Fail(ERROR_INVALID_HANDLE, HGLOBAL(nullptr));
}

// The loaded resource's address; NULL for NULL, as no resource is ever loaded.
LPVOID WINAPI LockResource(HGLOBAL)
{
    return nullptr;
}
