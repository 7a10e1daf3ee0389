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

// Puts the last error back as it was when the scope began, for calls the platform makes for its
// own bookkeeping, which must not change what the caller sees.
class LastErrorKeeper {
public:
    LastErrorKeeper()
        : saved(LastErrorCode())
    {
    }
    ~LastErrorKeeper() { SetLastErrorCode(saved); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD saved;
};

} // namespace pw::platform
