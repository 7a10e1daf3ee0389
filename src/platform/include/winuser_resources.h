// USER32 resources loaded by identifier (included by winuser.h).
#pragma once

#include "windef.h"

// The program's bitmap resource, or NULL with 1814 when there is none.
HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name);

// Resource types
#define RT_BITMAP MAKEINTRESOURCE(2)
