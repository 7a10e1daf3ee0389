// Test hooks of the kernel part of the platform. The platform reset (platform/testing/Reset.h)
// turns test mode on and puts all kernel state back: files and searches closed, global blocks
// freed, libraries unloaded, the current folder at "c:\" of a fresh temporary drive root, the
// reported free memory and the recorded exit code cleared, the last error 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <windef.h>

namespace pw::platform::testing {

// What ExitProcess throws under test, once it has recorded the code; the test driver catches it.
// Deliberately no std::exception, so the program's own handlers do not swallow it.
class ProcessExited {
public:
    explicit ProcessExited(UINT code)
        : m_code(code)
    {
    }
    UINT Code() const { return m_code; }

private:
    UINT m_code;
};

bool IsTestMode();

// The host folder drive c: maps to. A test may name its own (which it then owns); otherwise the
// first use makes a temporary one, removed at the next reset. Setting it puts the current folder
// at "c:\".
std::string DriveRoot();
void SetDriveRoot(const std::string& hostFolder);
// A temporary folder as drive c:, removed at exit: for programs outside the test mode, such as the
// benchmarks, that must not write into the host's own root.
void UseTemporaryDriveRoot();

// Makes `windowsPath` (and the folders on its way) if missing and makes it the current folder,
// as the program finds it at start-up. False when the path cannot be made.
bool SetStartupFolder(const char* windowsPath);

// The value GlobalMemoryStatus reports as dwAvailVirtual; nullopt reports the real figure.
void SetAvailableVirtualMemory(std::optional<SIZE_T> bytes);
std::optional<SIZE_T> AvailableVirtualMemory();

// The bytes by which files may still grow before the disk is full: a WriteFile that would grow a
// file further writes the part that fits and fails with 112. nullopt (the default) leaves it to
// the host disk.
void SetDiskSpaceLeft(std::optional<uint64_t> bytes);
std::optional<uint64_t>& DiskSpaceLeft();

size_t LiveFileHandles();
size_t LiveFindHandles();
size_t LiveGlobalBlocks();

// The code of the last ExitProcess since the reset.
std::optional<UINT> LastExitCode();
void RecordExitCode(UINT code);

} // namespace pw::platform::testing
