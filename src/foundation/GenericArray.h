#pragma once

#include "foundation/ArrayBlock.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"

#include <cstdint>
#include <cstring>

class ArchiveScope;

// The framework's growable array of fixed-size items: plain bytes, copied by block moves, never
// constructed, destroyed or counted. Indices are 1-based. The items lie end to end in one block;
// while the lock count is above 0 (someone holds raw item addresses) the count cannot change.
// Stored as its count, then the raw item bytes (the reader supplies the item size).
class GenericArray : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(GenericArray)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    using Compare = int (*)(const void* a, const void* b);

    // `count` zero-filled items.
    GenericArray(uint32_t itemSize, uint32_t count);
    GenericArray(const GenericArray& other) = default;
    // Reads an array stored with this item size from a scope opened with `version`.
    GenericArray(uint32_t itemSize, ArchiveScope& scope);
    // Not implemented: copies the whole source and warns.
    GenericArray(const GenericArray& source, uint32_t first, uint32_t last);
    ~GenericArray() override;

    GenericArray& operator=(const GenericArray& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    uint32_t GetObjectSize() override;

    uint32_t NumItems() const { return count; }
    uint32_t ItemSize() const { return itemSize; }
    // Valid until the next change of size.
    void* ItemAddress(uint32_t index) const;

    // Inserts after item `after` (0 in front, NumItems at the end); null source zero-fills.
    void InsertItems(const void* source, uint32_t after, uint32_t num);
    // InsertItems at the end. When the block already holds the new items and nothing is locked, they
    // are copied in place (a source inside the array itself included) without the general insert.
    void AppendItems(const void* source, uint32_t num)
    {
        uint64_t newCount = static_cast<uint64_t>(count) + num;
        if (source && num != 0 && lockCount == 0 && newCount < UINT32_MAX && newCount * itemSize <= UINT32_MAX
            && items.Keeps(static_cast<uint32_t>(newCount * itemSize))) {
            std::memmove(static_cast<char*>(items.Ptr()) + static_cast<size_t>(count) * itemSize, source,
                static_cast<size_t>(num) * itemSize);
            count = static_cast<uint32_t>(newCount);
        } else {
            InsertItems(source, count, num);
        }
    }
    // Like InsertItems, each new item a copy of the one at `item`.
    void InsertCopies(const void* item, uint32_t after, uint32_t num);
    void FillItems(const void* item, uint32_t from, uint32_t num);
    void DeleteItems(uint32_t from, uint32_t num);
    void DeleteAll();

    // The first index holding an item equal to *item, 0 when none.
    uint32_t IndexOf(const void* item) const;
    bool Equals(const GenericArray& other) const;

    // `compare` answers -1 when its first item must come after the second.
    void Sort(Compare compare);
    bool IsSorted(Compare compare) const;

    void Lock();
    void Unlock();
    uint32_t IndexOfAddress(const void* address) const;
    ArrayBlock& Block() { return items; }

private:
    void CheckIndex(uint32_t index) const;
    void CheckRange(uint32_t from, uint32_t num) const;
    void Grow(int64_t delta);
    void Shift(uint32_t source, uint32_t destination);
    char* Address(uint32_t index) const;
    void SortRange(int64_t low, int64_t high, Compare compare, char* scratch);

    ArrayBlock items;
    uint32_t itemSize;
    uint32_t count { 0 };
    uint32_t lockCount { 0 };
};
