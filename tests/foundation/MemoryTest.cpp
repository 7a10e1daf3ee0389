#include "foundation/ArrayBlock.h"
#include "foundation/Memory.h"
#include "foundation/MemoryStream.h"
#include "foundation/Purgeable.h"
#include "foundation/SystemErrorException.h"

#include "Failure.h"

#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Fill(Memory& block, char start)
{
    for (uint32_t i = 0; i < block.Size(); ++i)
        static_cast<char*>(block.Ptr())[i] = static_cast<char>(start + i);
}

TEST(Memory, ResizesKeepLeadingBytesAndCopiesAreTheirOwn)
{
    Memory block(100);
    Fill(block, 0);
    block.SetSize(40);
    block.SetSize(100);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(static_cast<char*>(block.Ptr())[i], i);
    block.SetSize(0);
    EXPECT_EQ(block.Ptr(), nullptr);

    // Growing through many doublings and shrinking below a quarter keep the leading bytes.
    Memory grown(26);
    Fill(grown, 'a');
    for (uint32_t size = 27; size < 300000; size = size * 3 / 2)
        grown.SetSize(size);
    EXPECT_GE(grown.Capacity(), grown.Size());
    EXPECT_EQ(std::memcmp(grown.Ptr(), "abcdefghijklmnopqrstuvwxyz", 26), 0);
    grown.SetSize(20);
    EXPECT_EQ(grown.Capacity(), 20u);
    EXPECT_EQ(std::memcmp(grown.Ptr(), "abcdefghijklmnopqrst", 20), 0);

    Memory a(8);
    Fill(a, 'a');
    Memory& same = a;
    a = same;
    Memory copy(a);
    EXPECT_NE(copy.Ptr(), a.Ptr());
    EXPECT_EQ(std::memcmp(copy.Ptr(), "abcdefgh", 8), 0);
    copy = Memory();
    EXPECT_EQ(copy.Ptr(), nullptr);

    // Taking a block over leaves the source empty, and its lock behind.
    void* storage = a.Ptr();
    a.Lock();
    Memory taker(3);
    taker.TakeFrom(a);
    EXPECT_EQ(taker.Ptr(), storage);
    EXPECT_EQ(taker.Size(), 8u);
    EXPECT_EQ(taker.LockCount(), 0u);
    EXPECT_EQ(a.Ptr(), nullptr);
    a.Unlock();
}

void* NoMemory(size_t)
{
    return nullptr;
}

TEST(Memory, AResizeThatCannotAllocateKeepsTheOldBlockAndThrows)
{
    Memory block(16);
    Fill(block, 'a');
    void* storage = block.Ptr();
    pw::foundation::SetAllocatorForTesting(NoMemory);
    bool threw = false;
    try {
        block.SetSize(64);
    } catch (Exception* exception) {
        auto* system = dynamic_cast<SystemErrorException*>(exception);
        threw = system && system->GetErrorCode() == 8;
    }
    bool constructorThrew = Failure([] { Memory fresh(10); }) == "system error 8";
    pw::foundation::SetAllocatorForTesting(nullptr);
    EXPECT_TRUE(threw);
    EXPECT_TRUE(constructorThrew);
    EXPECT_EQ(block.Ptr(), storage);
    EXPECT_EQ(block.Size(), 16u);
    EXPECT_EQ(std::memcmp(block.Ptr(), "abcdefghijklmnop", 16), 0);
}

int allocations = 0;
size_t refuseAbove = SIZE_MAX;

void* CountedMemory(size_t size)
{
    ++allocations;
    return size > refuseAbove ? nullptr : std::malloc(size);
}

// Growing by small pieces doubles the storage, so 600 KB written 30 bytes at a time allocates a
// few dozen times, not once a piece; a doubling that cannot be had falls back to the exact size.
TEST(Memory, GrowingInSmallPiecesAllocatesLogarithmically)
{
    allocations = 0;
    pw::foundation::SetAllocatorForTesting(CountedMemory);
    {
        MemoryStream stream;
        char piece[30];
        for (int i = 0; i < 20480; ++i) {
            std::memset(piece, i & 0x7F, sizeof piece);
            stream.Write(piece, sizeof piece);
        }
        EXPECT_EQ(stream.GetLength(), 614400u);
        EXPECT_LT(allocations, 40);
        stream.Seek(30 * 20479, Stream::kFromStart);
        stream.Read(piece, sizeof piece);
        EXPECT_EQ(piece[29], static_cast<char>(20479 & 0x7F));
    }

    Memory block(64);
    Fill(block, 'a');
    refuseAbove = 100;
    block.SetSize(65);
    EXPECT_EQ(block.Capacity(), 65u) << "the exact size when double is refused";
    block.SetSize(90);
    EXPECT_EQ(block.Capacity(), 90u);
    refuseAbove = SIZE_MAX;
    block.SetSize(91);
    EXPECT_EQ(block.Capacity(), 180u);
    block.SetSize(50);
    EXPECT_EQ(block.Capacity(), 180u) << "a small shrink keeps the storage";
    block.SetSize(20);
    EXPECT_EQ(block.Capacity(), 20u) << "below a quarter the rest is given back";
    EXPECT_EQ(std::memcmp(block.Ptr(), "abcdefghijklmnopqrst", 20), 0);
    pw::foundation::SetAllocatorForTesting(nullptr);
}

TEST(ArrayBlock, GrowsByItsStepAndIgnoresSmallShrinks)
{
    struct Case {
        const char* name;
        uint32_t size;
        uint32_t asked;
        uint32_t result;
    } cases[] = {
        { "empty to 1", 0, 1, 32 },
        { "10 to 11", 10, 11, 42 },
        { "large grows by 32,000 at most", 100000, 100001, 132000 },
        { "a grow bigger than the step is exact", 100, 500, 500 },
        { "small shrink ignored", 1000, 700, 1000 },
        { "large shrink exact", 1000, 499, 499 },
        { "to nothing from a step", 32, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArrayBlock block(c.size);
        block.GrowTo(c.asked);
        EXPECT_EQ(block.Size(), c.result);
    }
}

TEST(Memory, StoredBlocksAreBoundedByTheStream)
{
    Memory block(5);
    Fill(block, 'v');
    MemoryStream stream;
    WriteBlock(block, stream);
    stream.Seek(0, Stream::kFromStart);
    Memory read;
    ReadBlock(read, stream);
    EXPECT_EQ(read.Size(), 5u);
    EXPECT_EQ(std::memcmp(read.Ptr(), "vwxyz", 5), 0);

    MemoryStream hostile;
    hostile.WriteLong(0x7FFFFFFF).WriteLong(0);
    hostile.Seek(0, Stream::kFromStart);
    EXPECT_EQ(Failure([&] { ReadBlock(read, hostile); }),
        "This file is corrupt or in an obsolete format.  Some information may have been recovered.");
    EXPECT_EQ(read.Size(), 5u);
}

class Cache : public Purgeable {
public:
    explicit Cache(std::vector<int>* log, int id)
        : log(log)
        , id(id)
    {
        RegisterPurgeable(this);
    }
    ~Cache() override { UnregisterPurgeable(this); }
    void Purge(uint32_t) override { log->push_back(id); }

    std::vector<int>* log;
    int id;
};

TEST(Purgeable, PurgeMemoryAsksEveryLiveObjectThenComparesFreeMemory)
{
    using pw::platform::testing::SetAvailableVirtualMemory;
    std::vector<int> log;
    SetAvailableVirtualMemory(5000);
    EXPECT_TRUE(PurgeMemory(5000));
    EXPECT_FALSE(PurgeMemory(5001));
    {
        Cache first(&log, 1);
        Cache second(&log, 2);
        {
            Cache gone(&log, 3);
        }
        EXPECT_TRUE(PurgeMemory(10));
        EXPECT_EQ(log, (std::vector<int> { 1, 2 }));
    }
    log.clear();
    PurgeMemory(10);
    EXPECT_TRUE(log.empty());
    SetAvailableVirtualMemory(std::nullopt);
}

} // namespace
