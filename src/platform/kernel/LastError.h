// The one last-error slot of the thread, shared by the kernel, USER, GDI and sockets.
#pragma once

#include <windef.h>

namespace pw::platform {

DWORD LastErrorCode();
void SetLastErrorCode(DWORD code);

// Sets the last error and returns the call's failure value in one statement, so the code cannot
// drift from the failure: `return Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);`
template <typename T>
T Fail(DWORD code, T result)
{
    SetLastErrorCode(code);
    return result;
}

} // namespace pw::platform
