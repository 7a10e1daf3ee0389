#include "platform/kernel/LastError.h"

#include <windows.h>

namespace pw::platform {

namespace {
thread_local DWORD lastError = 0;
}

DWORD LastErrorCode()
{
    return lastError;
}

void SetLastErrorCode(DWORD code)
{
    lastError = code;
}

} // namespace pw::platform

// The thread's last error, as the last failing call left it.
DWORD WINAPI GetLastError()
{
    return pw::platform::LastErrorCode();
}

// Sets the thread's last error; the program clears codes it knows to be harmless.
void WINAPI SetLastError(DWORD code)
{
    pw::platform::SetLastErrorCode(code);
}
