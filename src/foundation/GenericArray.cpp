#include "foundation/GenericArray.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "foundation/SystemErrorException.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// A copy of one item (the source may lie in the array, which the edit moves): on the stack for
// the usual small items, so copying one into many places costs no allocation.
class ItemCopy {
public:
    ItemCopy(const void* item, uint32_t itemSize)
    {
        if (!item)
            return;
        const char* bytes = static_cast<const char*>(item);
        if (itemSize <= sizeof local)
            std::memcpy(local, bytes, itemSize);
        else
            large.assign(bytes, bytes + itemSize);
    }
    const char* Bytes() const { return large.empty() ? local : large.data(); }

private:
    char local[64];
    std::vector<char> large;
};

} // namespace

PW_DEFINE_CLASS(GenericArray, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(GenericArray)

constinit const PersistentVersion GenericArray::version { &GenericArray::classInfo, Fixed(0), Fixed(1), nullptr };

GenericArray::GenericArray(uint32_t itemSize, uint32_t count)
    : itemSize(itemSize)
{
    if (count > 0)
        InsertItems(nullptr, 0, count);
}

// The stored count is trusted only as far as the stream holds its items.
GenericArray::GenericArray(uint32_t itemSize, ArchiveScope& scope)
    : itemSize(itemSize)
{
    Stream& stream = scope.GetStream();
    uint32_t storedCount = static_cast<uint32_t>(stream.ReadLong());
    uint64_t bytes = static_cast<uint64_t>(storedCount) * itemSize;
    stream.CheckAvailable(bytes);
    Grow(storedCount);
    if (bytes > 0) {
        Lock();
        stream.Read(items.Ptr(), static_cast<uint32_t>(bytes));
        Unlock();
    }
}

GenericArray::GenericArray(const GenericArray& source, uint32_t, uint32_t)
    : GenericArray(source)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

GenericArray::~GenericArray()
{
    count = 0;
}

// Both arrays must have the same item size: the count is only meaningful with it.
GenericArray& GenericArray::operator=(const GenericArray& other)
{
    if (this == &other)
        return *this;
    ASSERT(itemSize == other.itemSize);
    items = other.items;
    count = other.count;
    return *this;
}

void GenericArray::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteLong(static_cast<int32_t>(count));
    uint32_t bytes = count * itemSize;
    if (bytes > 0) {
        Lock();
        stream.Write(items.Ptr(), bytes);
        Unlock();
    }
}

uint32_t GenericArray::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + items.Size();
}

char* GenericArray::Address(uint32_t index) const
{
    return static_cast<char*>(items.Ptr()) + static_cast<size_t>(index - 1) * itemSize;
}

void* GenericArray::ItemAddress(uint32_t index) const
{
    CheckIndex(index);
    return Address(index);
}

void GenericArray::CheckIndex(uint32_t index) const
{
    if (index < 1 || index > count)
        ThrowError("Range error", PW_HERE);
}

// The end is computed in 64 bits: a huge count must not wrap around to a valid index.
void GenericArray::CheckRange(uint32_t from, uint32_t num) const
{
    CheckIndex(from);
    if (static_cast<uint64_t>(from) + num - 1 > count)
        ThrowError("Range error", PW_HERE);
}

void GenericArray::Grow(int64_t delta)
{
    if (delta == 0)
        return;
    ASSERT(lockCount == 0);
    // Counts stay below 2^32 - 1 so that every 1-based position past the end is representable.
    int64_t newCount = count + delta;
    uint64_t bytes = static_cast<uint64_t>(newCount) * itemSize;
    if (newCount >= UINT32_MAX || bytes > UINT32_MAX)
        ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY, PW_HERE);
    items.GrowTo(static_cast<uint32_t>(bytes));
    count = static_cast<uint32_t>(newCount);
}

void GenericArray::Shift(uint32_t source, uint32_t destination)
{
    if (source == destination)
        return;
    uint32_t highest = source > destination ? source : destination;
    uint32_t n = count + 1 - highest;
    if (n == 0)
        return;
    if (!items.Ptr())
        AssertionFailed("(void*)items != NULL", PW_HERE);
    std::memmove(Address(destination), Address(source), static_cast<size_t>(n) * itemSize);
}

void GenericArray::InsertItems(const void* source, uint32_t after, uint32_t num)
{
    if (num == 0)
        return;
    if (after != 0)
        CheckIndex(after);
    // Items taken from this very array are copied aside first: growing may move the block.
    std::vector<char> aside;
    const char* start = static_cast<const char*>(items.Ptr());
    const char* bytes = static_cast<const char*>(source);
    if (bytes && start && bytes < start + items.Size() && bytes + static_cast<size_t>(num) * itemSize > start) {
        aside.assign(bytes, bytes + static_cast<size_t>(num) * itemSize);
        bytes = aside.data();
    }
    Grow(num);
    Shift(after + 1, after + 1 + num);
    if (bytes)
        std::memcpy(Address(after + 1), bytes, static_cast<size_t>(num) * itemSize);
    else
        std::memset(Address(after + 1), 0, static_cast<size_t>(num) * itemSize);
}

void GenericArray::InsertCopies(const void* item, uint32_t after, uint32_t num)
{
    if (num == 0)
        return;
    if (after != 0)
        CheckIndex(after);
    ItemCopy copy(item, itemSize);
    Grow(num);
    Shift(after + 1, after + 1 + num);
    for (uint32_t index = after + num; index > after; --index) {
        if (item)
            std::memcpy(Address(index), copy.Bytes(), itemSize);
        else
            std::memset(Address(index), 0, itemSize);
    }
}

void GenericArray::FillItems(const void* item, uint32_t from, uint32_t num)
{
    if (num == 0)
        return;
    CheckRange(from, num);
    ItemCopy copy(item, itemSize);
    for (uint32_t index = from + num - 1; index >= from; --index) {
        if (item)
            std::memcpy(Address(index), copy.Bytes(), itemSize);
        else
            std::memset(Address(index), 0, itemSize);
    }
}

void GenericArray::DeleteItems(uint32_t from, uint32_t num)
{
    if (num == 0)
        return;
    CheckRange(from, num);
    ASSERT(lockCount == 0);
    Shift(from + num, from);
    Grow(-static_cast<int64_t>(num));
}

void GenericArray::DeleteAll()
{
    items.GrowTo(0);
    count = 0;
}

uint32_t GenericArray::IndexOf(const void* item) const
{
    for (uint32_t index = 1; index <= count; ++index) {
        if (std::memcmp(Address(index), item, itemSize) == 0)
            return index;
    }
    return 0;
}

bool GenericArray::Equals(const GenericArray& other) const
{
    if (count != other.count || itemSize != other.itemSize)
        return false;
    return count == 0 || std::memcmp(items.Ptr(), other.items.Ptr(), static_cast<size_t>(count) * itemSize) == 0;
}

// Partition-exchange sort. "a before b" is compare(b, a) == -1; the index walks are bounded, so a
// comparator that contradicts itself can leave the order unsorted but never reads outside it.
void GenericArray::SortRange(int64_t low, int64_t high, Compare compare, char* scratch)
{
    char* pivot = scratch;
    char* swap = scratch + itemSize;
    auto before = [&](const void* a, const void* b) { return compare(b, a) == -1; };
    while (low < high) {
        std::memcpy(pivot, Address(static_cast<uint32_t>(low + (high - low) / 2)), itemSize);
        int64_t i = low - 1;
        int64_t j = high + 1;
        while (true) {
            do
                ++i;
            while (i < high && before(Address(static_cast<uint32_t>(i)), pivot));
            do
                --j;
            while (j > low && before(pivot, Address(static_cast<uint32_t>(j))));
            if (i >= j)
                break;
            std::memcpy(swap, Address(static_cast<uint32_t>(i)), itemSize);
            std::memcpy(Address(static_cast<uint32_t>(i)), Address(static_cast<uint32_t>(j)), itemSize);
            std::memcpy(Address(static_cast<uint32_t>(j)), swap, itemSize);
        }
        if (j >= high)
            j = high - 1;
        // Recurse into the smaller part, loop on the larger: the depth stays logarithmic.
        if (j - low < high - j) {
            SortRange(low, j, compare, scratch);
            low = j + 1;
        } else {
            SortRange(j + 1, high, compare, scratch);
            high = j;
        }
    }
}

void GenericArray::Sort(Compare compare)
{
    if (count <= 1)
        return;
    std::vector<char> scratch(static_cast<size_t>(itemSize) * 2);
    Lock();
    SortRange(1, count, compare, scratch.data());
    Unlock();
}

bool GenericArray::IsSorted(Compare compare) const
{
    for (uint32_t index = 1; index < count; ++index) {
        if (compare(Address(index), Address(index + 1)) == -1)
            return false;
    }
    return true;
}

void GenericArray::Lock()
{
    if (lockCount == 0)
        items.Lock();
    ++lockCount;
}

void GenericArray::Unlock()
{
    if (lockCount == 0)
        return;
    --lockCount;
    if (lockCount == 0)
        items.Unlock();
}

uint32_t GenericArray::IndexOfAddress(const void* address) const
{
    return static_cast<uint32_t>((static_cast<const char*>(address) - static_cast<const char*>(items.Ptr())) / itemSize) + 1;
}
