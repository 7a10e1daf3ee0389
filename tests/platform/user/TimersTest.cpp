#include "WindowFixture.h"

#include "platform/kernel/Clock.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/Timers.h"

#include <algorithm>
#include <vector>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

struct Tick {
    HWND hwnd;
    UINT_PTR id;
    DWORD time;
};

std::vector<Tick> ticks;

void CALLBACK RecordTick(HWND hwnd, UINT, UINT_PTR id, DWORD time)
{
    ticks.push_back(Tick { hwnd, id, time });
}

bool strayCalled = false;

void CALLBACK NeverRegistered(HWND, UINT, UINT_PTR, DWORD)
{
    strayCalled = true;
}

class Timers : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ticks.clear();
        strayCalled = false;
        // Tick times read exactly the clock of the tick: no step on each GetTickCount here.
        Clock::SetTickStep(0);
    }
};

TEST_F(Timers, TickOnePeriodApartWithTheTenMillisecondMinimum)
{
    struct Case {
        UINT requested;
        DWORD effective;
    };
    for (Case c : { Case { 100, 100 }, Case { 35, 35 }, Case { 10, 10 }, Case { 9, 10 }, Case { 1, 10 }, Case { 0, 10 } }) {
        SCOPED_TRACE(c.requested);
        ticks.clear();
        DWORD start = static_cast<DWORD>(driver::ClockMs());
        UINT_PTR id = SetTimer(nullptr, 0, c.requested, RecordTick);
        ASSERT_NE(id, 0u);
        driver::RunFor(c.effective * 5 + c.effective / 2);
        ASSERT_EQ(ticks.size(), 5u);
        for (DWORD i = 0; i < 5; ++i) {
            EXPECT_EQ(ticks[i].time, start + c.effective * (i + 1));
            EXPECT_EQ(ticks[i].id, id);
            EXPECT_EQ(ticks[i].hwnd, nullptr);
        }
        EXPECT_TRUE(KillTimer(nullptr, id));
    }
}

TEST_F(Timers, TicksCoalesceWhileNobodyRetrievesThem)
{
    SetTimer(nullptr, 0, 10, RecordTick);
    driver::AdvanceClock(1000);
    EXPECT_EQ(driver::RunUntilIdle(), 1u);
    EXPECT_EQ(driver::RunUntilIdle(), 0u);
    // The next tick is one period after the tick was taken, not after a missed due time.
    driver::AdvanceClock(9);
    EXPECT_EQ(driver::RunUntilIdle(), 0u);
    driver::AdvanceClock(1);
    EXPECT_EQ(driver::RunUntilIdle(), 1u);
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(Timers, KilledTimerDropsItsDueTickButARetrievedTickStillRuns)
{
    UINT_PTR first = SetTimer(nullptr, 0, 10, RecordTick);
    UINT_PTR second = SetTimer(nullptr, 0, 10, RecordTick);
    driver::AdvanceClock(10);

    MSG peeked;
    ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(peeked.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(peeked.wParam, first);
    EXPECT_TRUE(KillTimer(nullptr, first));

    MSG taken;
    ASSERT_TRUE(PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(taken.wParam, second);
    EXPECT_TRUE(KillTimer(nullptr, second));
    DispatchMessageA(&taken);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].id, second);

    EXPECT_FALSE(PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Timers, NestedLoopsDispatchTicks)
{
    static int innerTicks;
    static int depth;
    static int deepest;
    innerTicks = depth = deepest = 0;
    answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER)
            return std::nullopt;
        // A modal loop inside a procedure: it keeps getting the thread timer's ticks.
        ++depth;
        SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
            deepest = std::max(deepest, depth);
            if (++innerTicks == 3)
                KillTimer(nullptr, id);
        });
        MSG msg;
        while (innerTicks < 3 && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        --depth;
        return 0;
    };
    HWND hwnd = MakeWindow();
    PostMessageA(hwnd, WM_USER, 0, 0);
    driver::RunUntilIdle();
    EXPECT_EQ(innerTicks, 3);
    EXPECT_EQ(deepest, 1);
    // The nested GetMessageA jumped the idle clock from tick to tick.
    EXPECT_EQ(driver::ClockMs(), 60u);
}

TEST_F(Timers, ThreadTimerIdsAreFreshAndNonZero)
{
    std::vector<UINT_PTR> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(SetTimer(nullptr, 0, 100, RecordTick));
    EXPECT_TRUE(KillTimer(nullptr, ids[1]));
    // An id argument that names no live timer is ignored without a window.
    ids.push_back(SetTimer(nullptr, ids[1], 100, RecordTick));
    ids.push_back(SetTimer(nullptr, 0, 100, RecordTick));
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_NE(ids[i], 0u);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(ids[i], ids[j]) << i << " " << j;
    }
}

TEST_F(Timers, KillTimerOfADeadIdFails)
{
    HWND hwnd = MakeWindow();
    UINT_PTR killed = SetTimer(nullptr, 0, 10, RecordTick);
    KillTimer(nullptr, killed);
    SetTimer(hwnd, 3, 10, nullptr);
    HWND dead = MakeWindow();
    DestroyWindow(dead);
    struct Case {
        const char* name;
        HWND hwnd;
        UINT_PTR id;
        DWORD error;
    };
    for (Case c : { Case { "never made", nullptr, 999, 87u }, Case { "killed", nullptr, killed, 87u },
             Case { "other window id", hwnd, 4, 87u }, Case { "window's id as thread timer", nullptr, 3, 87u },
             Case { "dead window", dead, 3, 1400u } }) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_FALSE(KillTimer(c.hwnd, c.id));
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(Timers, WindowTimerIsReplacedByItsIdAndGoesWithItsWindow)
{
    HWND hwnd = MakeWindow();
    EXPECT_EQ(SetTimer(hwnd, 7, 50, nullptr), 7u);
    EXPECT_EQ(SetTimer(hwnd, 7, 20, nullptr), 7u);
    driver::RunFor(45);
    auto timerMessages = Messages({ WM_TIMER });
    ASSERT_EQ(timerMessages.size(), 2u);
    EXPECT_EQ(timerMessages[0], (Delivered { hwnd, WM_TIMER, 7, 0 }));

    DestroyWindow(hwnd);
    EXPECT_EQ(pw::platform::Timers::Count(), 0u);
    EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
    EXPECT_EQ(GetLastError(), 1400u);
}

TEST_F(Timers, SucceedingCallsLeaveTheLastErrorAlone)
{
    SetLastError(1234);
    UINT_PTR id = SetTimer(nullptr, 0, 5, RecordTick);
    driver::RunFor(10);
    KillTimer(nullptr, id);
    EXPECT_EQ(GetLastError(), 1234u);
}

TEST_F(Timers, DispatchCallsOnlyProceduresGivenToSetTimer)
{
    MSG forged { nullptr, WM_TIMER, 1, reinterpret_cast<LPARAM>(&NeverRegistered), 0, {} };
    EXPECT_EQ(DispatchMessageA(&forged), 0);
    EXPECT_FALSE(strayCalled);
}

} // namespace

} // namespace pw::platform::tests
