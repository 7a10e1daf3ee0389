#include "platform/user/MessageLoop.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/InputScript.h"
#include "platform/testing/Problems.h"
#include "platform/testing/Reset.h"
#include "platform/user/Desktop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"

#include <algorithm>
#include <string>

namespace pw::platform {

namespace {

constexpr size_t kDefaultJumpLimit = 100'000;

struct State {
    std::function<bool()> idleHandler;
    size_t jumpLimit = kDefaultJumpLimit;
    size_t jumps = 0;
    bool reportedRunaway = false;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

// Counts one idle moment; past the limit the loop is reported (once) as runaway.
bool WithinJumpLimit()
{
    State& s = TheState();
    if (++s.jumps <= s.jumpLimit)
        return true;
    if (!s.reportedRunaway)
        testing::ReportProblem("runaway message loop: it went idle and jumped the virtual clock "
            + std::to_string(s.jumpLimit) + " times");
    s.reportedRunaway = true;
    return false;
}

bool JumpToNextTimer()
{
    std::optional<uint64_t> next = Timers::NextDue();
    if (!next) {
        testing::ReportProblem("a message loop waits with no timer and nothing posted: it would wait for ever");
        return false;
    }
    uint64_t now = Clock::NowMs();
    if (*next > now)
        Clock::Advance(*next - now);
    return true;
}

} // namespace

bool MessageLoop::WaitForWork()
{
    if (Clock::IsVirtual()) {
        if (!WithinJumpLimit())
            return false;
        State& s = TheState();
        if (s.idleHandler && s.idleHandler())
            return true;
        return JumpToNextTimer();
    }
    // About to wait: show what the program drew; a scripted step due now goes first.
    Desktop::PresentIfChanged();
    if (testing::InputScript::RunDueStep())
        return true;
    uint32_t timeout = kWaitForever;
    std::optional<uint64_t> next = Timers::NextDue();
    if (std::optional<uint64_t> step = testing::InputScript::NextDueMs())
        next = next ? std::min(*next, *step) : *step;
    if (next) {
        uint64_t now = Clock::NowMs();
        timeout = *next <= now ? 0 : static_cast<uint32_t>(std::min<uint64_t>(*next - now, kWaitForever - 1));
    }
    WaitForBackendEvents(timeout);
    return true;
}

bool MessageLoop::DispatchOne()
{
    MSG msg;
    if (!MessageQueue::Retrieve(msg, MessageFilter {}, false) || msg.message == WM_QUIT)
        return false;
    MessageQueue::Retrieve(msg, MessageFilter {}, true);
    // Input routed by the first look may have posted a quit, which the second one then took.
    if (msg.message == WM_QUIT) {
        MessageQueue::PostQuit(static_cast<int>(msg.wParam));
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void MessageLoop::SetIdleHandler(std::function<bool()> handler)
{
    TheState().idleHandler = std::move(handler);
}

void MessageLoop::SetJumpLimit(size_t jumps)
{
    TheState().jumpLimit = jumps;
}

void MessageLoop::ResetJumps()
{
    TheState().jumps = 0;
    TheState().reportedRunaway = false;
}

} // namespace pw::platform
