#include "platform/testing/TestDriver.h"

#include "platform/backend/Backend.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/Problems.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"

#include <string>

namespace pw::platform::testing {

namespace {

// A run that dispatches this many messages without going idle is a procedure feeding itself
// (posting to itself, or a paint never validated).
constexpr size_t kMaxDispatchesPerRun = 1'000'000;

size_t DispatchUntilIdle()
{
    size_t count = 0;
    while (MessageLoop::DispatchOne()) {
        if (++count == kMaxDispatchesPerRun) {
            ReportProblem("runaway message loop: " + std::to_string(count)
                + " messages dispatched without going idle");
            break;
        }
    }
    return count;
}

} // namespace

void SetClock(uint64_t utcFileTime, uint32_t tickCount)
{
    uint64_t before = Clock::NowMs();
    Clock::UseVirtualTime(utcFileTime, tickCount);
    Timers::Rebase(static_cast<int64_t>(Clock::NowMs()) - static_cast<int64_t>(before));
}

void AdvanceClock(uint64_t ms)
{
    Clock::Advance(ms);
}

uint64_t ClockMs()
{
    return Clock::NowMs();
}

size_t RunUntilIdle()
{
    MessageLoop::ResetJumps();
    return DispatchUntilIdle();
}

size_t RunFor(uint64_t ms)
{
    MessageLoop::ResetJumps();
    uint64_t end = Clock::NowMs() + ms;
    size_t count = DispatchUntilIdle();
    while (!MessageQueue::QuitPending()) {
        std::optional<uint64_t> next = Timers::NextDue();
        uint64_t now = Clock::NowMs();
        if (!next || *next > end)
            break;
        if (*next > now)
            Clock::Advance(*next - now);
        size_t dispatched = DispatchUntilIdle();
        // A due timer whose tick nobody may take (its window filtered out) would spin here.
        if (dispatched == 0 && *next <= now)
            break;
        count += dispatched;
    }
    uint64_t now = Clock::NowMs();
    if (now < end)
        Clock::Advance(end - now);
    return count;
}

bool QuitPending(int* exitCode)
{
    return MessageQueue::QuitPending(exitCode);
}

void SetIdleHandler(std::function<bool()> handler)
{
    MessageLoop::SetIdleHandler(std::move(handler));
}

void SetRunawayLimit(size_t jumps)
{
    MessageLoop::SetJumpLimit(jumps);
}

void ScriptMessageBoxes(std::initializer_list<int> answers)
{
    for (int answer : answers)
        Alerts::ScriptAnswer(answer);
}

size_t ScriptedMessageBoxesLeft()
{
    return Alerts::ScriptedAnswersLeft();
}

const std::vector<AlertRecord>& AlertLog()
{
    return Alerts::Log();
}

size_t UnscriptedMessageBoxCount()
{
    return Alerts::UnscriptedCount();
}

const std::vector<BeepRecord>& BeepLog()
{
    return Alerts::Beeps();
}

bool DumpScreenAsBmp(const std::string& path)
{
    return SaveDesktopAsBmp(path, true);
}

} // namespace pw::platform::testing
