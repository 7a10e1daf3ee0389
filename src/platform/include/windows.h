// The Windows API as this program uses it: our own declarations, implemented by the platform floor.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winuser.h"
#include "wingdi.h"
