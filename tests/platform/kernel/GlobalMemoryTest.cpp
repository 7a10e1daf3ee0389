#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "platform/kernel/KernelTesting.h"

using namespace pw::platform::testing;

TEST(GlobalMemory, LocksAreCountedUntilTheLastUnlock)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(LiveGlobalBlocks(), 1u);
    void* first = GlobalLock(block);
    void* second = GlobalLock(block);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, block);

    SetLastError(ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), 0u) << "the last unlock clears the last error";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(LiveGlobalBlocks(), 0u);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GlobalMemory, ReAllocKeepsContentsAndNeverMovesALockedBlock)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, 8);
    auto* bytes = static_cast<char*>(GlobalLock(block));
    ASSERT_EQ(std::memcmp(bytes, "\0\0\0\0\0\0\0\0", 8), 0);
    std::memcpy(bytes, "abcdefgh", 8);
    // Locked: growth that would move the block fails, a shrink is done in place.
    EXPECT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalReAlloc(block, 4, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalLock(block), bytes);
    GlobalUnlock(block);
    GlobalUnlock(block);

    EXPECT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT), block);
    auto* grown = static_cast<char*>(GlobalLock(block));
    EXPECT_EQ(std::memcmp(grown, "abcd", 4), 0);
    for (int i = 4; i < 4096; ++i)
        ASSERT_EQ(grown[i], 0) << i;
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST(GlobalMemory, StatusReportsTheFreeMemoryATestSets)
{
    MEMORYSTATUS status {};
    GlobalMemoryStatus(&status);
    EXPECT_GT(status.dwAvailVirtual, 0u);
    EXPECT_LE(status.dwAvailVirtual, 0x7FFE0000u);
    SetAvailableVirtualMemory(40'000);
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailVirtual, 40'000u);
}
