#include "platform/kernel/Clock.h"

#include <gtest/gtest.h>

using pw::platform::Clock;

TEST(Clock, VirtualTickCountStepsOnEveryReadAndWraps)
{
    Clock::UseVirtualTime(Clock::kDefaultVirtualStart, 0xFFFFFFF0u);
    Clock::SetTickStep(1);
    EXPECT_EQ(Clock::TickCount(), 0xFFFFFFF1u);
    Clock::Advance(20);
    // Wrapped past 2^32; the signed difference still reads as 21 ms later.
    uint32_t later = Clock::TickCount();
    EXPECT_EQ(later, 6u);
    EXPECT_EQ(static_cast<int32_t>(later - 0xFFFFFFF1u), 21);
}
