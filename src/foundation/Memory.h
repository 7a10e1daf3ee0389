#pragma once

#include <cstddef>
#include <cstdint>

class Stream;

// An owned block of heap bytes: address, size and lock count. Copies copy the bytes; a transfer
// hands the storage over. The storage may be larger than the size: a block that must grow past
// its storage at least doubles it, so growing by small steps costs amortised constant time, and a
// block shrunk below a quarter of its storage gives the rest back. Resizing may move the bytes
// (locked or not); a resize, copy or allocation that cannot get memory throws the not-enough-memory
// system error and leaves the block as it was.
class Memory {
public:
    Memory();
    explicit Memory(uint32_t size);
    Memory(const Memory& other);
    Memory& operator=(const Memory& other) { return Assign(other); }
    virtual ~Memory();

    Memory& Assign(const Memory& other);
    // Takes the other block's storage; the other is left empty.
    void TakeFrom(Memory& other);

    void* Ptr() const { return storage; }
    uint32_t Size() const { return size; }
    // The bytes the storage holds, at least Size().
    uint32_t Capacity() const { return capacity; }
    // Keeps the first min(old, new) bytes; the new bytes are undefined. Growing within the
    // storage, the usual step of an append, is done here without a call.
    void SetSize(uint32_t newSize)
    {
        if (newSize >= size && newSize <= capacity)
            size = newSize;
        else
            Resize(newSize);
    }
    // SetSize that answers false instead of throwing when memory cannot be had.
    bool TrySetSize(uint32_t newSize);

    void Lock() { ++lockCount; }
    void Unlock()
    {
        if (lockCount > 0)
            --lockCount;
    }
    uint32_t LockCount() const { return lockCount; }
    // Blocks have no platform handle: throws "No handles".
    [[noreturn]] void* GetHandle();

private:
    void Resize(uint32_t newSize);
    void CheckInvariant() const;
    void* Reallocate(uint32_t wanted);

    void* storage { nullptr };
    uint32_t size { 0 };
    uint32_t capacity { 0 };
    uint32_t lockCount { 0 };
};

// A 32-bit length, then that many bytes; the length is bounded by what the stream still holds.
void ReadBlock(Memory& block, Stream& stream);
void WriteBlock(const Memory& block, Stream& stream);

// The free virtual address space of the process in bytes.
uint32_t FreeVirtualMemory();
// Hooks the application layer calls; they do nothing.
void MemoryFlagHook(bool flag);
void MemoryQuitHook();

namespace pw::foundation {

// Tests replace the heap allocator to make allocations fail; null restores malloc.
using AllocateFunction = void* (*)(size_t size);
AllocateFunction SetAllocatorForTesting(AllocateFunction allocate);

} // namespace pw::foundation
