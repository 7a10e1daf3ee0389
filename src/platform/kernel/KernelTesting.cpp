#include "platform/kernel/KernelTesting.h"

#include <vector>

#include <windows.h>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"
#include "platform/testing/Reset.h"

namespace pw::platform::testing {

namespace {

struct State {
    bool testMode = false;
    std::optional<SIZE_T> availableVirtual;
    std::optional<UINT> exitCode;
    std::optional<uint64_t> diskSpaceLeft;
};

State& TheState()
{
    static State state;
    return state;
}

void ResetKernel()
{
    State& s = TheState();
    s.testMode = true;
    s.availableVirtual.reset();
    s.exitCode.reset();
    s.diskSpaceLeft.reset();
    // Handles first: open files may live in the temporary drive root about to be removed.
    HandleTable::Clear();
    PathMapper::ResetForTest();
    SetLastErrorCode(0);
}

[[maybe_unused]] const bool registered = RegisterReset(ResetKernel);

} // namespace

bool IsTestMode()
{
    return TheState().testMode;
}

std::string DriveRoot()
{
    return PathMapper::DriveRoot();
}

void SetDriveRoot(const std::string& hostFolder)
{
    PathMapper::SetDriveRoot(hostFolder);
}

void UseTemporaryDriveRoot()
{
    PathMapper::UseTemporaryDriveRoot();
}

bool SetStartupFolder(const char* windowsPath)
{
    std::vector<std::string> components;
    if (PathMapper::Parse(windowsPath, components) != 0)
        return false;
    std::vector<std::string> prefix;
    for (const std::string& name : components) {
        prefix.push_back(name);
        std::string folder = PathMapper::WindowsForm(prefix);
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    SetLastErrorCode(0);
    return SetCurrentDirectoryA(PathMapper::WindowsForm(components).c_str()) != FALSE;
}

void SetAvailableVirtualMemory(std::optional<SIZE_T> bytes)
{
    TheState().availableVirtual = bytes;
}

std::optional<SIZE_T> AvailableVirtualMemory()
{
    return TheState().availableVirtual;
}

void SetDiskSpaceLeft(std::optional<uint64_t> bytes)
{
    TheState().diskSpaceLeft = bytes;
}

std::optional<uint64_t>& DiskSpaceLeft()
{
    return TheState().diskSpaceLeft;
}

size_t LiveFileHandles()
{
    return HandleTable::Count(KernelObject::Kind::File);
}

size_t LiveFindHandles()
{
    return HandleTable::Count(KernelObject::Kind::Find);
}

size_t LiveGlobalBlocks()
{
    return HandleTable::Count(KernelObject::Kind::GlobalBlock);
}

std::optional<UINT> LastExitCode()
{
    return TheState().exitCode;
}

void RecordExitCode(UINT code)
{
    TheState().exitCode = code;
}

} // namespace pw::platform::testing
