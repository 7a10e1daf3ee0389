#include "graphics/WinVersion.h"

#include "foundation/Checks.h"

#include <windows.h>

namespace {

std::optional<WinVersion> cachedVersion;

// Building an accelerator table at run time is what the older platform cannot do.
WinVersion Probe()
{
    ACCEL entry { 8, 0x43, 1001 };
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    if (!table)
        return Win31Only;
    BOOL destroyed = DestroyAcceleratorTable(table);
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        SetLastError(0);
    CheckCall(destroyed, PW_HERE);
    return Win95;
}

} // namespace

WinVersion GetWinVersion()
{
    if (!cachedVersion)
        cachedVersion = Probe();
    return *cachedVersion;
}

bool IsWin31Only()
{
    return GetWinVersion() < 3;
}

void pw::graphics::testing::ForceWinVersion(std::optional<WinVersion> version)
{
    cachedVersion = version;
}
