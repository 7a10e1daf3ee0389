// Process exit, the debugger break and the version probe.
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/kernel/KernelTesting.h"

// Ends the process at once with the code: no further message is dispatched and no destructor
// runs. Under test it records the code and throws ProcessExited for the test driver instead.
VOID WINAPI ExitProcess(UINT uExitCode)
{
    if (pw::platform::testing::IsTestMode()) {
        pw::platform::testing::RecordExitCode(uExitCode);
        throw pw::platform::testing::ProcessExited(uExitCode);
    }
    std::fflush(nullptr);
    std::_Exit(static_cast<int>(uExitCode));
}

// Stops in the debugger when one is attached, and does nothing otherwise: a SIGTRAP without a
// debugger would end the process.
VOID WINAPI DebugBreak()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("TracerPid:", 0) == 0) {
            if (std::strtol(line.c_str() + 10, nullptr, 10) != 0)
                std::raise(SIGTRAP);
            return;
        }
    }
}

// Version 4.0 with the high bit clear: a full 32-bit platform, never the 16-bit subsystem.
DWORD WINAPI GetVersion()
{
    return 0x00000004;
}
