// Critical sections, recursive for the owning thread. The structure keeps the owner (a token
// for the thread) and the recursion count; one process-wide mutex and condition guard every
// section, which is plenty for the program's single chore lock.
#include <windows.h>

#include <condition_variable>
#include <mutex>

namespace {

std::mutex& Guard()
{
    static std::mutex guard;
    return guard;
}

std::condition_variable& Released()
{
    static std::condition_variable released;
    return released;
}

HANDLE ThisThread()
{
    thread_local char token;
    return &token;
}

} // namespace

VOID WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    *lpCriticalSection = CRITICAL_SECTION {};
    lpCriticalSection->LockCount = -1;
}

// Waits until no other thread owns the section; the owner may enter again and again.
VOID WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    std::unique_lock lock(Guard());
    HANDLE self = ThisThread();
    Released().wait(lock, [&] { return lpCriticalSection->OwningThread == nullptr || lpCriticalSection->OwningThread == self; });
    lpCriticalSection->OwningThread = self;
    ++lpCriticalSection->RecursionCount;
    ++lpCriticalSection->LockCount;
}

// Each leave undoes one enter; the last one frees the section. A leave by another thread than
// the owner is ignored.
VOID WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    std::unique_lock lock(Guard());
    if (lpCriticalSection->OwningThread != ThisThread() || lpCriticalSection->RecursionCount <= 0)
        return;
    --lpCriticalSection->LockCount;
    if (--lpCriticalSection->RecursionCount == 0) {
        lpCriticalSection->OwningThread = nullptr;
        Released().notify_all();
    }
}

VOID WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    *lpCriticalSection = CRITICAL_SECTION {};
}
