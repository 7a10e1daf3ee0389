#include "foundation/MemoryStream.h"

#include "foundation/Exception.h"
#include "foundation/SystemErrorException.h"

#include <windows.h>

#include <cstring>

PW_DEFINE_CLASS(MemoryStream, nullptr, nullptr, Stream, SmartImplementation)
PW_DEFINE_COPY_SLOTS(MemoryStream)

MemoryStream::MemoryStream(uint32_t initialSize)
    : block(initialSize)
{
}

MemoryStream::MemoryStream(const Memory& block)
    : block(block)
    , streamSize(block.Size())
{
}

MemoryStream::MemoryStream(const MemoryStream& other)
    : Smart()
    , Stream(other)
    , SmartImplementation(other)
    , block(other.block)
    , position(other.position)
    , streamSize(other.streamSize)
{
}

MemoryStream& MemoryStream::operator=(const MemoryStream& other)
{
    if (this == &other)
        return *this;
    block = other.block;
    Stream::operator=(other);
    position = other.position;
    streamSize = other.streamSize;
    return *this;
}

// The common write appends within the block's storage, which needs no call but the copy; growing
// the storage and filling a gap are left to Extend.
void MemoryStream::Write(const void* buffer, uint32_t length)
{
    uint64_t end = static_cast<uint64_t>(position) + length;
    if (end > block.Size()) {
        if (end <= block.Capacity() && position <= block.Size())
            block.SetSize(static_cast<uint32_t>(end));
        else
            Extend(end);
    }
    if (length > 0)
        std::memcpy(static_cast<char*>(block.Ptr()) + position, buffer, length);
    position = static_cast<uint32_t>(end);
    if (position > streamSize)
        streamSize = position;
}

void MemoryStream::Extend(uint64_t end)
{
    if (end > UINT32_MAX)
        ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY, PW_HERE);
    uint32_t oldSize = block.Size();
    block.SetSize(static_cast<uint32_t>(end));
    // Bytes skipped by a write beyond the end read as zeros.
    if (position > oldSize)
        std::memset(static_cast<char*>(block.Ptr()) + oldSize, 0, position - oldSize);
}

void MemoryStream::Read(void* buffer, uint32_t length)
{
    if (static_cast<uint64_t>(position) + length > streamSize)
        AssertionFailed("position + len <= streamSize", PW_HERE);
    if (length > 0) {
        block.Lock();
        std::memcpy(buffer, static_cast<const char*>(block.Ptr()) + position, length);
        block.Unlock();
    }
    position += length;
}

void MemoryStream::Seek(int32_t offset, int mode)
{
    int64_t target;
    if (mode == kFromMark)
        target = static_cast<int64_t>(position) + offset;
    else if (mode == kFromEnd)
        target = static_cast<int64_t>(streamSize) - offset;
    else
        target = offset;
    if (target < 0 || target > UINT32_MAX)
        ThrowError("Range error", PW_HERE);
    position = static_cast<uint32_t>(target);
}

void MemoryStream::SetLength(uint32_t length)
{
    uint32_t oldSize = block.Size();
    block.SetSize(length);
    if (length > oldSize)
        std::memset(static_cast<char*>(block.Ptr()) + oldSize, 0, length - oldSize);
    streamSize = length;
}

uint32_t MemoryStream::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + block.Size();
}
