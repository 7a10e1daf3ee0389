#include "foundation/Chore.h"
#include "foundation/UserCancelException.h"

#include "AlertFixture.h"

#include "platform/kernel/Clock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using pw::foundation::ChoreCount;
using pw::platform::testing::AlertLog;
using pw::platform::testing::ClockMs;
using pw::platform::testing::RunFor;
using pw::platform::testing::ScriptMessageBoxes;

// A chore that counts its runs, records when they happened and does what the test gives it.
class Counter : public Chore {
public:
    explicit Counter(uint32_t period, bool repeat = true, std::function<void(Counter&)> work = {})
        : Chore(period, repeat, 0)
        , work(std::move(work))
    {
    }

    void Perform() override
    {
        ++runs;
        times.push_back(ClockMs());
        // A copy: the work may destroy this chore, and its own function with it.
        std::function<void(Counter&)> step = work;
        if (step)
            step(*this);
    }

    int runs { 0 };
    std::vector<uint64_t> times;
    std::function<void(Counter&)> work;
};

// GetTickCount reads do not move the clock here, so run times are exact.
class ChoreTest : public AlertsShown {
protected:
    void SetUp() override
    {
        AlertsShown::SetUp();
        pw::platform::Clock::SetTickStep(0);
    }
    void TearDown() override
    {
        EXPECT_EQ(ChoreCount(), 0u) << "a chore was left in the chore array";
        AlertsShown::TearDown();
    }
};

TEST_F(ChoreTest, ARepeatingChoreRunsEveryPeriodUntilStopped)
{
    Counter chore(100);
    EXPECT_EQ(ChoreCount(), 1u);
    RunFor(350);
    EXPECT_EQ(chore.times, (std::vector<uint64_t> { 100, 200, 300 }));
    chore.Stop();
    EXPECT_FALSE(chore.IsActive());
    EXPECT_EQ(chore.GetTimerId(), 0u);
    RunFor(500);
    EXPECT_EQ(chore.runs, 3);
}

TEST_F(ChoreTest, ANonRepeatingChoreRunsOnceAndLeavesTheArrayEvenWhenItsWorkFailed)
{
    ScriptMessageBoxes({ IDOK });
    Counter chore(50, false);
    Counter failing(100, false, [](Counter&) { ThrowError("Broken once", "f.cpp", 1); });
    RunFor(1000);
    EXPECT_EQ(chore.runs, 1);
    EXPECT_EQ(failing.runs, 1);
    EXPECT_EQ(AlertLog().size(), 1u);
    EXPECT_EQ(ChoreCount(), 0u);
    EXPECT_FALSE(chore.IsActive() || failing.IsActive());
}

// A chore's work may stop it or destroy it; a counted chore dies with its last handle, and the
// killed timer's later ticks find nothing. The fixture checks the chore array is empty after.
TEST_F(ChoreTest, WorkMayEndItsOwnChore)
{
    Counter stopped(100, true, [](Counter& self) {
        if (self.runs == 2)
            self.Stop();
    });
    int destroyedRuns = 0;
    new Counter(100, false, [&destroyedRuns](Counter& self) {
        destroyedRuns = self.runs;
        delete &self;
    });
    {
        SmartPtr<Counter> counted(new Counter(100));
        RunFor(250);
        EXPECT_EQ(counted->runs, 2);
    }
    RunFor(750);
    EXPECT_EQ(stopped.runs, 2);
    EXPECT_EQ(destroyedRuns, 1);
}

TEST_F(ChoreTest, PausedChoresSkipTicksAndResumeWithTheirPeriod)
{
    Counter fast(100);
    Counter slow(300);
    RunFor(150);
    PauseAllChores();
    EXPECT_FALSE(fast.IsActive());
    EXPECT_EQ(ChoreCount(), 2u);
    // A tick that was already due for a paused chore does nothing, nor one of an unknown timer.
    ChoreTimerProc(nullptr, WM_TIMER, fast.GetTimerId(), 0);
    ChoreTimerProc(nullptr, WM_TIMER, fast.GetTimerId() + 1000, 0);
    EXPECT_EQ(Chore::FindChore(fast.GetTimerId()), &fast);
    RunFor(1000);
    EXPECT_EQ(fast.runs, 1);
    EXPECT_EQ(slow.runs, 0);

    // A period changed during the pause takes effect at resume.
    fast.SetPeriod(400);
    uint64_t resumed = ClockMs();
    ResumeAllChores();
    RunFor(900);
    EXPECT_EQ(fast.times, (std::vector<uint64_t> { 100, resumed + 400, resumed + 800 }));
    EXPECT_EQ(slow.times, (std::vector<uint64_t> { resumed + 300, resumed + 600, resumed + 900 }));
}

TEST_F(ChoreTest, StoppedOrDestroyedWhilePausedLeavesTheArray)
{
    auto* doomed = new Counter(100);
    Counter stopped(100);
    Counter kept(100);
    PauseAllChores();
    delete doomed;
    stopped.Stop();
    EXPECT_EQ(ChoreCount(), 1u);
    ResumeAllChores();
    EXPECT_FALSE(stopped.IsActive());
    RunFor(250);
    EXPECT_EQ(stopped.runs, 0);
    EXPECT_EQ(kept.runs, 2);
}

TEST_F(ChoreTest, PeriodChanges)
{
    Counter chore(100);
    UINT_PTR id = chore.GetTimerId();
    chore.SetPeriod(100);
    EXPECT_EQ(chore.GetTimerId(), id);
    RunFor(150);
    chore.SetPeriod(200);
    RunFor(450);
    EXPECT_EQ(chore.times, (std::vector<uint64_t> { 100, 350, 550 }));
    chore.Stop();
    chore.SetPeriod(50);
    EXPECT_EQ(chore.GetPeriod(), 50u);
    EXPECT_EQ(chore.GetTimerId(), 0u);
}

TEST_F(ChoreTest, AFailureInTheWorkIsShownAsAStopAlert)
{
    ScriptMessageBoxes({ IDOK, IDOK });
    Counter repeating(100, true, [](Counter& self) {
        if (self.runs <= 2)
            ThrowError("Broken", "foundation/Work.cpp", 7);
    });
    RunFor(350);
    EXPECT_EQ(repeating.runs, 3);
    ASSERT_EQ(AlertLog().size(), 2u);
    EXPECT_EQ(AlertLog()[0].style, UINT(MB_ICONSTOP | MB_OK));
    EXPECT_EQ(AlertLog()[0].text, "Broken\rFile: foundation/Work.cpp Line: 7   ");
}

TEST_F(ChoreTest, ACancelInTheWorkEndsTheRunSilently)
{
    Counter chore(100, true, [](Counter& self) {
        if (self.runs == 1)
            Throw(new UserCancelException, "f.cpp", 1);
    });
    RunFor(250);
    EXPECT_EQ(chore.runs, 2);
    EXPECT_TRUE(AlertLog().empty());
}

TEST_F(ChoreTest, WorkThatRunsANestedLoopLetsOtherChoresAndItselfRunInside)
{
    std::vector<int> order;
    Counter other(50, true, [&order](Counter&) { order.push_back(2); });
    int depth = 0;
    int deepest = 0;
    Counter outer(100, true, [&](Counter& self) {
        order.push_back(1);
        ++depth;
        deepest = std::max(deepest, depth);
        if (self.runs == 1)
            RunFor(120);
        --depth;
    });
    RunFor(100);
    // Inside the first run (at 100 ms) the nested loop ran the other chore (150, 200) and this
    // chore again (200).
    EXPECT_EQ(outer.runs, 2);
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(order, (std::vector<int> { 2, 2, 1, 2, 2, 1 }));
    EXPECT_EQ(outer.times, (std::vector<uint64_t> { 100, 200 }));
    other.Stop();
    outer.Stop();
}

} // namespace
