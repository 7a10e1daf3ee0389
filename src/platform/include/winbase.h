// KERNEL32 as the program calls it.
#pragma once

#include "windef.h"

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD code);
