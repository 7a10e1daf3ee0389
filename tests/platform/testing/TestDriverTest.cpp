#include <windows.h>

#include <gtest/gtest.h>

#include "platform/kernel/Clock.h"
#include "platform/testing/Problems.h"
#include "platform/testing/TestDriver.h"

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

std::vector<uint64_t> tickTimes;

void CALLBACK RecordTick(HWND, UINT, UINT_PTR, DWORD)
{
    tickTimes.push_back(driver::ClockMs());
}

class TestDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        tickTimes.clear();
        Clock::SetTickStep(0);
    }
};

TEST_F(TestDriver, RunForDispatchesTheTicksOfTheSpanAndEndsAtItsEnd)
{
    struct Case {
        uint64_t span;
        std::vector<uint64_t> ticks;
    };
    for (const Case& c : { Case { 29, {} }, Case { 30, { 30 } }, Case { 100, { 30, 60, 90 } } }) {
        SCOPED_TRACE(c.span);
        driver::SetClock(Clock::kDefaultVirtualStart);
        Clock::SetTickStep(0);
        tickTimes.clear();
        UINT_PTR id = SetTimer(nullptr, 0, 30, RecordTick);
        EXPECT_EQ(driver::RunFor(c.span), c.ticks.size());
        EXPECT_EQ(tickTimes, c.ticks);
        EXPECT_EQ(driver::ClockMs(), c.span);
        KillTimer(nullptr, id);
    }
}

TEST_F(TestDriver, SetClockKeepsTimersDueAsFarAhead)
{
    SetTimer(nullptr, 0, 100, RecordTick);
    driver::AdvanceClock(40);
    driver::SetClock(Clock::kDefaultVirtualStart + 10'000'000'000ULL, 5000);
    EXPECT_EQ(driver::ClockMs(), 0u);
    // The tick step is back at its default: this read moves the clock by 1 ms.
    EXPECT_EQ(Clock::TickCount(), 5001u);
    Clock::SetTickStep(0);
    driver::RunFor(58);
    EXPECT_TRUE(tickTimes.empty());
    driver::RunFor(1);
    EXPECT_EQ(tickTimes, std::vector<uint64_t> { 60 });
}

TEST_F(TestDriver, RunUntilIdleLeavesAQuitPending)
{
    PostMessageA(nullptr, WM_USER, 0, 0);
    PostQuitMessage(7);
    PostMessageA(nullptr, WM_USER, 0, 0);
    EXPECT_EQ(driver::RunUntilIdle(), 2u);
    int code = 0;
    EXPECT_TRUE(driver::QuitPending(&code));
    EXPECT_EQ(code, 7);
    EXPECT_EQ(driver::RunUntilIdle(), 0u);
}

TEST_F(TestDriver, TheIdleHandlerRunsBeforeTheClockJumps)
{
    static int idleCalls;
    idleCalls = 0;
    SetTimer(nullptr, 0, 1000, RecordTick);
    driver::SetIdleHandler([] {
        ++idleCalls;
        if (idleCalls == 1)
            return PostMessageA(nullptr, WM_USER, 0, 0) != FALSE;
        if (idleCalls == 3)
            PostQuitMessage(0);
        return idleCalls == 3;
    });
    std::vector<UINT> got;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        got.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    // Idle 1 posts; idle 2 lets the clock jump to the timer; idle 3 quits.
    EXPECT_EQ(got, (std::vector<UINT> { WM_USER, WM_TIMER }));
    EXPECT_EQ(tickTimes, std::vector<uint64_t> { 1000 });
    EXPECT_TRUE(driver::TakeProblems().empty());
}

TEST_F(TestDriver, ALoopWithNothingToWaitForEndsAndIsReported)
{
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(driver::TakeProblems().size(), 1u);
}

TEST_F(TestDriver, ARunawayLoopEndsAtTheJumpLimitAndIsReported)
{
    driver::SetRunawayLimit(50);
    SetTimer(nullptr, 0, 10, RecordTick);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    EXPECT_EQ(tickTimes.size(), 50u);
    std::vector<std::string> problems = driver::TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("runaway"), std::string::npos);
    // Nested loops end too, without a second report.
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_TRUE(driver::TakeProblems().empty());
}

} // namespace

} // namespace pw::platform::tests
