#include "foundation/ArchiveScope.h"
#include "foundation/ArrayLock.h"
#include "foundation/GenericArray.h"

#include "Failure.h"
#include "StoredBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int32_t> Items(const GenericArray& array)
{
    std::vector<int32_t> items;
    for (uint32_t index = 1; index <= array.NumItems(); ++index)
        items.push_back(*static_cast<int32_t*>(array.ItemAddress(index)));
    return items;
}

GenericArray Longs(std::vector<int32_t> values)
{
    GenericArray array(4, 0);
    array.InsertItems(values.data(), 0, static_cast<uint32_t>(values.size()));
    return array;
}

TEST(GenericArray, EditsAtEveryPosition)
{
    struct Case {
        const char* name;
        std::vector<int32_t> start;
        void (*edit)(GenericArray&);
        std::vector<int32_t> expected;
        std::string failure;
    } cases[] = {
        { "insert in front", { 1, 2 }, [](GenericArray& a) { int32_t v = 9; a.InsertItems(&v, 0, 1); }, { 9, 1, 2 }, "" },
        { "insert after the count appends", { 1, 2 }, [](GenericArray& a) { int32_t v = 9; a.InsertItems(&v, 2, 1); }, { 1, 2, 9 }, "" },
        { "insert past the count", { 1, 2 }, [](GenericArray& a) { int32_t v = 9; a.InsertItems(&v, 3, 1); }, { 1, 2 }, "Range error" },
        { "insert of none ignores the index", { 1 }, [](GenericArray& a) { a.InsertItems(nullptr, 99, 0); }, { 1 }, "" },
        { "null source zero-fills", { 1 }, [](GenericArray& a) { a.InsertItems(nullptr, 1, 2); }, { 1, 0, 0 }, "" },
        { "copies of one item", { 1, 2 }, [](GenericArray& a) { int32_t v = 7; a.InsertCopies(&v, 1, 3); }, { 1, 7, 7, 7, 2 }, "" },
        { "fill keeps the count", { 1, 2, 3 }, [](GenericArray& a) { int32_t v = 5; a.FillItems(&v, 2, 2); }, { 1, 5, 5 }, "" },
        { "fill past the end", { 1, 2, 3 }, [](GenericArray& a) { a.FillItems(nullptr, 3, 2); }, { 1, 2, 3 }, "Range error" },
        { "delete from the middle", { 1, 2, 3, 4 }, [](GenericArray& a) { a.DeleteItems(2, 2); }, { 1, 4 }, "" },
        { "delete past the end moves nothing", { 1, 2, 3 }, [](GenericArray& a) { a.DeleteItems(2, 3); }, { 1, 2, 3 }, "Range error" },
        { "delete with a count that wraps", { 1, 2, 3 }, [](GenericArray& a) { a.DeleteItems(2, 0xFFFFFFFF); }, { 1, 2, 3 }, "Range error" },
        { "delete none ignores the index", { 1 }, [](GenericArray& a) { a.DeleteItems(0, 0); }, { 1 }, "" },
        { "insert its own items", { 1, 2 }, [](GenericArray& a) { a.InsertItems(a.ItemAddress(1), 2, 2); }, { 1, 2, 1, 2 }, "" },
        { "delete all", { 1, 2 }, [](GenericArray& a) { a.DeleteAll(); }, {}, "" },
        { "item 0", { 4, 5 }, [](GenericArray& a) { a.ItemAddress(0); }, { 4, 5 }, "Range error" },
        { "item past the count", { 4, 5 }, [](GenericArray& a) { a.ItemAddress(3); }, { 4, 5 }, "Range error" },
        { "assign to another item size", { 4, 5 }, [](GenericArray& a) { GenericArray(2, 0) = a; }, { 4, 5 }, "itemSize == other.itemSize" },
        { "a changed copy leaves the original", { 1, 2 }, [](GenericArray& a) { GenericArray(a).FillItems(nullptr, 1, 2); }, { 1, 2 }, "" },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        GenericArray array = Longs(c.start);
        EXPECT_EQ(Failure([&] { c.edit(array); }), c.failure);
        EXPECT_EQ(Items(array), c.expected);
    }
}

// Appending in place must leave the array exactly as the general insert at the end would: the
// same items, the same block size (an oversized block is still trimmed), the same failures.
TEST(GenericArray, AppendingMatchesInsertingAtTheEnd)
{
    struct Case {
        const char* name;
        std::vector<int32_t> start;
        uint32_t blockSize; // 0 keeps the block as the start left it
        const void* (*source)(GenericArray&);
        uint32_t num;
        bool locked;
    } cases[] = {
        { "fits in the block", { 1, 2 }, 0, [](GenericArray&) -> const void* { static int32_t v[] = { 7, 8 }; return v; }, 2, false },
        { "needs a larger block", { 1, 2, 3, 4, 5, 6, 7, 8 }, 32, [](GenericArray&) -> const void* { static int32_t v[] = { 9, 9, 9 }; return v; }, 3, false },
        { "into an empty array", {}, 0, [](GenericArray&) -> const void* { static int32_t v = 5; return &v; }, 1, false },
        { "an oversized block is trimmed", { 1, 2 }, 4000, [](GenericArray&) -> const void* { static int32_t v = 3; return &v; }, 1, false },
        { "null source zero-fills", { 1 }, 0, [](GenericArray&) -> const void* { return nullptr; }, 2, false },
        { "none", { 1 }, 0, [](GenericArray&) -> const void* { return nullptr; }, 0, false },
        { "own items in place", { 1, 2, 3 }, 0, [](GenericArray& a) -> const void* { return a.ItemAddress(2); }, 2, false },
        { "own items while the block moves", { 1, 2, 3, 4, 5, 6, 7, 8 }, 32, [](GenericArray& a) -> const void* { return a.ItemAddress(1); }, 8, false },
        { "own bytes past the count", { 1, 2 }, 64, [](GenericArray& a) -> const void* { return static_cast<char*>(a.ItemAddress(2)) + 2; }, 3, false },
        { "locked", { 1, 2 }, 0, [](GenericArray&) -> const void* { static int32_t v = 3; return &v; }, 1, true },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        GenericArray appended = Longs(c.start);
        GenericArray inserted = Longs(c.start);
        for (GenericArray* array : { &appended, &inserted }) {
            if (c.blockSize != 0)
                array->Block().SetSize(c.blockSize);
            if (array->Block().Size() > array->NumItems() * 4)
                std::memset(static_cast<char*>(array->Block().Ptr()) + array->NumItems() * 4, 0x11,
                    array->Block().Size() - array->NumItems() * 4);
            if (c.locked)
                array->Lock();
        }
        std::string appendFailure = Failure([&] { appended.AppendItems(c.source(appended), c.num); });
        std::string insertFailure = Failure([&] { inserted.InsertItems(c.source(inserted), inserted.NumItems(), c.num); });
        EXPECT_EQ(appendFailure, c.locked ? "lockCount == 0" : "");
        EXPECT_EQ(appendFailure, insertFailure);
        EXPECT_EQ(Items(appended), Items(inserted));
        EXPECT_EQ(appended.Block().Size(), inserted.Block().Size());
        EXPECT_EQ(appended.NumItems(), static_cast<uint32_t>(c.start.size()) + (c.locked ? 0 : c.num));
    }
}

// An item copied into many places may be one of the array's own: copies made while the block
// moves, or over the item itself, must all be the item as it was, for small and large items alike.
TEST(GenericArray, CopiesOfItsOwnItemAreTheItemAsItWas)
{
    for (uint32_t itemSize : { 1u, 4u, 64u, 65u, 200u }) {
        SCOPED_TRACE(itemSize);
        auto pattern = [itemSize](uint32_t index) {
            std::vector<char> bytes(itemSize);
            for (uint32_t byte = 0; byte < itemSize; ++byte)
                bytes[byte] = static_cast<char>(index * 31 + byte);
            return bytes;
        };
        auto itemAt = [itemSize](const GenericArray& array, uint32_t index) {
            const char* item = static_cast<const char*>(array.ItemAddress(index));
            return std::vector<char>(item, item + itemSize);
        };
        GenericArray array(itemSize, 0);
        for (uint32_t index = 1; index <= 4; ++index)
            array.AppendItems(pattern(index).data(), 1);
        array.InsertCopies(array.ItemAddress(2), 4, 500);
        ASSERT_EQ(array.NumItems(), 504u);
        for (uint32_t index = 5; index <= 504; index += 99)
            EXPECT_EQ(itemAt(array, index), pattern(2)) << "copy at " << index;
        EXPECT_EQ(itemAt(array, 4), pattern(4));
        array.FillItems(array.ItemAddress(3), 1, 4);
        for (uint32_t index = 1; index <= 4; ++index)
            EXPECT_EQ(itemAt(array, index), pattern(3)) << "fill at " << index;
    }
}

TEST(GenericArray, LockRefusesCountChangesUntilReleased)
{
    GenericArray array = Longs({ 1, 2, 3 });
    int32_t value = 4;
    {
        uint32_t count = 0;
        ArrayLock lock(array, count);
        EXPECT_EQ(count, 3u);
        EXPECT_EQ(lock.At(0), nullptr);
        EXPECT_EQ(lock.At(4), nullptr);
        EXPECT_EQ(*static_cast<int32_t*>(lock.At(3)), 3);
        EXPECT_EQ(Failure([&] { array.InsertItems(&value, 3, 1); }), "lockCount == 0");
        EXPECT_EQ(Failure([&] { array.DeleteItems(1, 1); }), "lockCount == 0");
        EXPECT_EQ(Items(array), (std::vector<int32_t> { 1, 2, 3 }));
        // Fills do not change the count and are allowed.
        array.FillItems(&value, 1, 1);
    }
    array.InsertItems(&value, 3, 1);
    EXPECT_EQ(Items(array), (std::vector<int32_t> { 4, 2, 3, 4 }));
}

TEST(GenericArray, IndexOfFindsTheFirstEqualItemOfAnySize)
{
    int32_t probe = 7;
    EXPECT_EQ(GenericArray(4, 0).IndexOf(&probe), 0u);
    EXPECT_EQ(Longs({ 3, 7, 7 }).IndexOf(&probe), 2u);
    struct Triple {
        int32_t a, b, c;
    } triples[] = { { 1, 2, 3 }, { 1, 2, 4 } };
    GenericArray wide(sizeof(Triple), 0);
    wide.InsertItems(triples, 0, 2);
    EXPECT_EQ(wide.IndexOf(&triples[1]), 2u);
}

int Descending(const void* a, const void* b)
{
    return *static_cast<const int32_t*>(a) < *static_cast<const int32_t*>(b) ? -1 : 0;
}

TEST(GenericArray, SortLeavesNoAdjacentPairOutOfOrder)
{
    std::vector<std::vector<int32_t>> inputs = { {}, { 1 }, { 1, 2, 3, 4 }, { 5, 5, 5 }, { 3, 9, 1, 9, 0, -4, 7, 7, 2 } };
    std::vector<int32_t> large;
    for (int i = 0; i < 1000; ++i)
        large.push_back((i * 7919) % 1013);
    inputs.push_back(large);
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.size());
        GenericArray array = Longs(input);
        array.Sort(Descending);
        EXPECT_TRUE(array.IsSorted(Descending));
        std::vector<int32_t> expected = input;
        std::sort(expected.rbegin(), expected.rend());
        EXPECT_EQ(Items(array), expected);
    }
    // A comparator that contradicts itself leaves some order, but stays inside the array.
    GenericArray array = Longs(large);
    array.Sort([](const void*, const void*) { return -1; });
    EXPECT_EQ(array.NumItems(), 1000u);
}

GenericArray ReadArray(const std::vector<uint8_t>& bytes, uint32_t itemSize)
{
    SmartPtr<MemoryStream> stream = StoredBytes { bytes }.Stream();
    SmartPtr<FlatArchive> archive(new FlatArchive(*stream.Get(), {}, false));
    ArchiveScope scope(*archive.Get(), GenericArray::version);
    return GenericArray(itemSize, scope);
}

TEST(GenericArray, StoresItsCountThenRawItems)
{
    MemoryStream stream;
    Longs({ 10, -20 }).Write(*SmartPtr<FlatArchive>(new FlatArchive(stream, {}, true)).Get());
    // The frame (version 1.0, length 12), the count 2 and the items.
    std::vector<uint8_t> expected = { 0, 0, 1, 0, 12, 0, 0, 0, 2, 0, 0, 0, 10, 0, 0, 0, 0xEC, 0xFF, 0xFF, 0xFF };
    EXPECT_EQ(BytesOf(stream), expected);
    EXPECT_TRUE(ReadArray(expected, 4).Equals(Longs({ 10, -20 })));
    EXPECT_EQ(ReadArray({ 0, 0, 1, 0, 4, 0, 0, 0, 0, 0, 0, 0 }, 4).NumItems(), 0u);
}

TEST(GenericArray, AStoredCountBeyondTheStreamIsRefusedBeforeAllocating)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t itemSize;
    } cases[] = {
        { "two items promised, one stored", { 0, 0, 1, 0, 12, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0 }, 4 },
        { "count near 2^32", { 0, 0, 1, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF }, 4 },
        { "count times size past 32 bits", { 0, 0, 1, 0, 4, 0, 0, 0, 0x00, 0x00, 0x00, 0x40 }, 16 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Failure([&] { ReadArray(c.bytes, c.itemSize); }),
            "This file is corrupt or in an obsolete format.  Some information may have been recovered.");
    }
}

} // namespace
