// Global memory blocks. A moveable block's handle is a table value and its lock count is kept; a
// fixed block's handle is its own address. The floor never moves a locked or fixed block, so a
// pointer GlobalLock gave stays good until the block is freed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/kernel/LastError.h"

using pw::platform::Fail;
using pw::platform::HandleTable;

namespace {

// A 32-bit program's blocks cannot reach 2 GB; larger requests fail as out of memory.
constexpr SIZE_T kMaxBlockSize = 0x7FFFFFFF;
// The most a 32-bit program can have free, so the value never wraps when read as 32 bits.
constexpr SIZE_T kMaxAvailVirtual = 0x7FFE0000;

class GlobalBlock : public pw::platform::KernelObject {
public:
    static constexpr Kind kKind = Kind::GlobalBlock;

    GlobalBlock(char* data, SIZE_T size, bool fixed)
        : KernelObject(kKind)
        , data(data)
        , size(size)
        , capacity(std::max<SIZE_T>(size, 1))
        , fixed(fixed)
    {
    }
    ~GlobalBlock() override { std::free(data); }

    char* data;
    SIZE_T size;
    SIZE_T capacity;
    const bool fixed;
    UINT lockCount = 0;
};

// Free address space: what RLIMIT_AS leaves beyond the current mapping size, or the cap.
SIZE_T HostAvailableVirtual()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMaxAvailVirtual;
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    auto used = static_cast<SIZE_T>(pages) * static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
    return limit.rlim_cur > used ? std::min<SIZE_T>(limit.rlim_cur - used, kMaxAvailVirtual) : 0;
}

} // namespace

// A block of n bytes (GMEM_ZEROINIT zero-fills), or NULL with 8.
HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    if (dwBytes > kMaxBlockSize)
        return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
    SIZE_T bytes = std::max<SIZE_T>(dwBytes, 1);
    void* memory = (uFlags & GMEM_ZEROINIT) ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (memory == nullptr)
        return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
    bool fixed = (uFlags & GMEM_MOVEABLE) == 0;
    auto block = std::make_unique<GlobalBlock>(static_cast<char*>(memory), dwBytes, fixed);
    if (fixed)
        return HandleTable::AddAt(memory, std::move(block)) ? memory : Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
    HGLOBAL handle = HandleTable::Add(std::move(block));
    return handle != nullptr ? handle : Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
}

// Resizes a block (GMEM_ZEROINIT zero-fills the growth). A locked or fixed block grows only
// within the room it has, else NULL with 8; GMEM_MODIFY changes nothing the floor keeps.
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags)
{
    GlobalBlock* block = HandleTable::Get<GlobalBlock>(hMem);
    if (block == nullptr)
        return Fail(ERROR_INVALID_HANDLE, HGLOBAL(nullptr));
    if (uFlags & GMEM_MODIFY)
        return hMem;
    if (dwBytes > kMaxBlockSize)
        return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
    if (dwBytes > block->capacity) {
        if (block->fixed || block->lockCount > 0)
            return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
        void* grown = std::realloc(block->data, dwBytes);
        if (grown == nullptr)
            return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL(nullptr));
        block->data = static_cast<char*>(grown);
        block->capacity = dwBytes;
    }
    if ((uFlags & GMEM_ZEROINIT) && dwBytes > block->size)
        std::memset(block->data + block->size, 0, dwBytes - block->size);
    block->size = dwBytes;
    return hMem;
}

// The block's address; a moveable block's lock count goes up. NULL with 6 for a bad handle.
LPVOID WINAPI GlobalLock(HGLOBAL hMem)
{
    GlobalBlock* block = HandleTable::Get<GlobalBlock>(hMem);
    if (block == nullptr)
        return Fail(ERROR_INVALID_HANDLE, LPVOID(nullptr));
    if (!block->fixed)
        ++block->lockCount;
    return block->data;
}

// Non-zero while the block stays locked; 0 with last error 0 when the count reaches 0, 0 with
// 158 when it was not locked.
BOOL WINAPI GlobalUnlock(HGLOBAL hMem)
{
    GlobalBlock* block = HandleTable::Get<GlobalBlock>(hMem);
    if (block == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (block->fixed)
        return Fail(NO_ERROR, FALSE);
    if (block->lockCount == 0)
        return Fail(ERROR_NOT_LOCKED, FALSE);
    if (--block->lockCount > 0)
        return TRUE;
    return Fail(NO_ERROR, FALSE);
}

// NULL on success; the handle back with 6 when it names no block.
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (HandleTable::Remove(hMem, GlobalBlock::kKind) == nullptr)
        return Fail(ERROR_INVALID_HANDLE, hMem);
    return nullptr;
}

// The block's size as asked for; 0 with 6 when the handle names no block.
SIZE_T WINAPI GlobalSize(HGLOBAL hMem)
{
    GlobalBlock* block = HandleTable::Get<GlobalBlock>(hMem);
    if (block == nullptr)
        return Fail(ERROR_INVALID_HANDLE, SIZE_T(0));
    return block->size;
}

// dwAvailVirtual is min(free address space, 0x7FFE0000) so the 32-bit reading never wraps;
// tests set it.
VOID WINAPI GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer)
{
    if (lpBuffer == nullptr)
        return;
    struct sysinfo info {};
    sysinfo(&info);
    SIZE_T unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    MEMORYSTATUS& ms = *lpBuffer;
    ms.dwLength = sizeof(MEMORYSTATUS);
    ms.dwTotalPhys = info.totalram * unit;
    ms.dwAvailPhys = info.freeram * unit;
    ms.dwMemoryLoad = ms.dwTotalPhys == 0 ? 0 : static_cast<DWORD>(100 - ms.dwAvailPhys * 100 / ms.dwTotalPhys);
    ms.dwTotalPageFile = (info.totalram + info.totalswap) * unit;
    ms.dwAvailPageFile = (info.freeram + info.freeswap) * unit;
    ms.dwTotalVirtual = kMaxAvailVirtual;
    ms.dwAvailVirtual = pw::platform::testing::AvailableVirtualMemory().value_or(HostAvailableVirtual());
}
