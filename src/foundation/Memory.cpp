#include "foundation/Memory.h"

#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "foundation/SystemErrorException.h"
#include "foundation/Utilities.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace {

pw::foundation::AllocateFunction allocator = nullptr;

// Fails with the not-enough-memory system error rather than leaving a block without storage.
void* Allocate(uint32_t size, const char* file, int line)
{
    void* storage = allocator ? allocator(size) : std::malloc(size);
    if (!storage)
        ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY, file, line);
    return storage;
}

} // namespace

pw::foundation::AllocateFunction pw::foundation::SetAllocatorForTesting(AllocateFunction allocate)
{
    AllocateFunction previous = allocator;
    allocator = allocate;
    return previous;
}

Memory::Memory() = default;

Memory::Memory(uint32_t size)
{
    if (size > 0)
        storage = Allocate(size, PW_HERE);
    this->size = size;
    capacity = size;
    CheckInvariant();
}

Memory::Memory(const Memory& other)
{
    if (other.size > 0) {
        storage = Allocate(other.size, PW_HERE);
        BlockMove(other.storage, storage, other.size);
    }
    size = other.size;
    capacity = other.size;
    CheckInvariant();
}

Memory::~Memory()
{
    std::free(storage);
}

Memory& Memory::Assign(const Memory& other)
{
    if (this == &other || (storage && storage == other.storage))
        return *this;
    void* copy = nullptr;
    if (other.size > 0) {
        copy = Allocate(other.size, PW_HERE);
        BlockMove(other.storage, copy, other.size);
    }
    std::free(storage);
    storage = copy;
    size = other.size;
    capacity = other.size;
    lockCount = 0;
    CheckInvariant();
    return *this;
}

void Memory::TakeFrom(Memory& other)
{
    if (this == &other || (storage && storage == other.storage))
        return;
    std::free(storage);
    storage = other.storage;
    size = other.size;
    capacity = other.capacity;
    lockCount = 0;
    other.storage = nullptr;
    other.size = 0;
    other.capacity = 0;
    other.lockCount = 0;
    CheckInvariant();
}

void Memory::Resize(uint32_t newSize)
{
    if (!TrySetSize(newSize))
        ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY, PW_HERE);
}

// Growing within the storage or shrinking to a quarter of it or more keeps the storage; growing
// past it asks for double (or the size, if larger), then for the size alone when that fails.
bool Memory::TrySetSize(uint32_t newSize)
{
    if (newSize == size)
        return true;
    if (newSize == 0) {
        std::free(storage);
        storage = nullptr;
        capacity = 0;
    } else if (newSize > capacity || newSize < capacity / 4) {
        uint32_t wanted = newSize;
        if (newSize > capacity && capacity > 0)
            wanted = static_cast<uint32_t>(std::clamp<uint64_t>(uint64_t(capacity) * 2, newSize, UINT32_MAX));
        void* grown = Reallocate(wanted);
        if (!grown && wanted != newSize) {
            wanted = newSize;
            grown = Reallocate(wanted);
        }
        if (!grown)
            return false;
        storage = grown;
        capacity = wanted;
    }
    size = newSize;
    CheckInvariant();
    return true;
}

// New storage of `wanted` bytes holding the first min(size, wanted) bytes, the old storage given
// back; null (the old storage kept) when memory cannot be had. Without a test allocator the heap
// resizes in place where it can, so a block growing at the end of the heap is not copied.
void* Memory::Reallocate(uint32_t wanted)
{
    if (!allocator)
        return std::realloc(storage, wanted);
    void* grown = allocator(wanted);
    if (grown) {
        BlockMove(storage, grown, size < wanted ? size : wanted);
        std::free(storage);
    }
    return grown;
}

void* Memory::GetHandle()
{
    ThrowError("No handles", PW_HERE);
}

void Memory::CheckInvariant() const
{
    if (!storage && size != 0)
        AssertionFailed("memorySize == 0", PW_HERE);
    if (size > capacity)
        AssertionFailed("memorySize <= capacity", PW_HERE);
}

void ReadBlock(Memory& block, Stream& stream)
{
    uint32_t length = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(length);
    block.SetSize(length);
    if (length > 0)
        stream.Read(block.Ptr(), length);
}

void WriteBlock(const Memory& block, Stream& stream)
{
    stream.WriteLong(static_cast<int32_t>(block.Size()));
    if (block.Size() > 0)
        stream.Write(block.Ptr(), block.Size());
}

uint32_t FreeVirtualMemory()
{
    MEMORYSTATUS status {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return static_cast<uint32_t>(status.dwAvailVirtual);
}

void MemoryFlagHook(bool)
{
}

void MemoryQuitHook()
{
}
