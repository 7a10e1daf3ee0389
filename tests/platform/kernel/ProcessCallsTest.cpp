#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/kernel/BuiltInModules.h"
#include "platform/kernel/KernelTesting.h"

using namespace pw::platform::testing;

namespace {

INT_PTR WINAPI Answer()
{
    return 42;
}

[[maybe_unused]] const bool registered = pw::platform::RegisterBuiltInModule(
    "kerntest.dll", { { "Answer", reinterpret_cast<FARPROC>(&Answer) } });

} // namespace

TEST(ProcessCalls, ExitProcessUnwindsTheTestWithItsCode)
{
    EXPECT_FALSE(LastExitCode().has_value());
    try {
        ExitProcess(666);
        FAIL() << "ExitProcess returned";
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.Code(), 666u);
    }
    EXPECT_EQ(LastExitCode(), 666u);
}

TEST(ProcessCalls, DebugBreakWithoutADebuggerReturns)
{
    DebugBreak();
}

TEST(ProcessCalls, LibrariesAreFoundByFileNameAndCountedPerLoad)
{
    HMODULE first = LoadLibraryA("KERNTEST.DLL");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadLibraryA("c:\\windows\\system\\kerntest"), first);
    FARPROC answer = GetProcAddress(first, "Answer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(first, "answer"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("missing.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(first, "Answer"), nullptr) << "still loaded once";
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetProcAddress(first, "Answer"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FreeLibrary(first));
}

TEST(ProcessCalls, CriticalSectionsAreRecursiveForTheirOwner)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section); // a nested loop entering again must not deadlock
    std::atomic<bool> entered = false;
    std::thread other([&] {
        EnterCriticalSection(&section);
        entered = true;
        LeaveCriticalSection(&section);
    });
    LeaveCriticalSection(&section);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(entered) << "one leave of two must keep the section";
    LeaveCriticalSection(&section);
    other.join();
    EXPECT_TRUE(entered);
}
