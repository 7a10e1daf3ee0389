#include "platform/user/MessageQueue.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/Clock.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/winsock/SocketEvents.h"

#include <deque>

namespace pw::platform {

namespace {

// The documented per-queue limit of posted messages; past it a runaway poster fails instead of
// growing the queue without bound.
constexpr size_t kMaxPosted = 10'000;
constexpr DWORD kErrorNotEnoughQuota = 1816;

struct State {
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

DWORD MessageTime()
{
    return static_cast<DWORD>(Clock::NowMs());
}

bool TakePosted(MSG& msg, const MessageFilter& filter, bool remove)
{
    auto& posted = TheState().posted;
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (!filter.Accepts(it->message) || !PassesWindowFilter(it->hwnd, filter.hwnd))
            continue;
        // A thread message (no window) passes only an unfiltered retrieval.
        if (filter.hwnd && !it->hwnd)
            continue;
        msg = *it;
        if (remove)
            posted.erase(it);
        return true;
    }
    return false;
}

bool TakeQuit(MSG& msg, const MessageFilter& filter, bool remove)
{
    State& s = TheState();
    if (!s.quitPending || !filter.Accepts(WM_QUIT))
        return false;
    msg = MSG { nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, MessageTime(), POINT {} };
    if (remove)
        s.quitPending = false;
    return true;
}

bool MakePaint(MSG& msg, const MessageFilter& filter)
{
    if (!filter.Accepts(WM_PAINT))
        return false;
    // The region stays until the window validates, so an unanswered paint comes back.
    Window* window = WindowTable::FindIf([&](const Window& w) {
        return !w.update.IsEmpty() && IsShown(w) && PassesWindowFilter(w.Handle(), filter.hwnd);
    });
    if (!window)
        return false;
    msg = MSG { window->Handle(), WM_PAINT, 0, 0, MessageTime(), POINT {} };
    return true;
}

// The next message in retrieval order: posted, quit, input, paint, then a due timer.
bool TakeNext(MSG& msg, const MessageFilter& filter, bool remove)
{
    if (TakePosted(msg, filter, remove))
        return true;
    if (TakeQuit(msg, filter, remove))
        return true;
    if (InputRouter::Take(msg, filter, remove))
        return true;
    if (MakePaint(msg, filter))
        return true;
    return filter.Accepts(WM_TIMER) && Timers::TakeDue(msg, filter.hwnd, remove);
}

} // namespace

BOOL MessageQueue::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& posted = TheState().posted;
    if (posted.size() >= kMaxPosted)
        return Fail(kErrorNotEnoughQuota, FALSE);
    posted.push_back(MSG { hwnd, message, wParam, lParam, MessageTime(), POINT {} });
    return TRUE;
}

void MessageQueue::PostQuit(int exitCode)
{
    State& s = TheState();
    s.quitPending = true;
    s.quitCode = exitCode;
}

bool MessageQueue::Retrieve(MSG& msg, const MessageFilter& filter, bool remove)
{
    PollBackendInput();
    Desktop::PresentWhenDue();
    // Socket notifications are made here, so every retrieval (GetMessage, PeekMessage) sees them.
    PostSocketEvents(0);
    if (TakeNext(msg, filter, remove))
        return true;
    // Nothing else waits: a socket still expecting I/O gets a short real wait to answer.
    return PostSocketEvents(kSocketWaitMs) && TakePosted(msg, filter, remove);
}

void MessageQueue::DiscardFor(HWND hwnd)
{
    std::erase_if(TheState().posted, [&](const MSG& msg) { return msg.hwnd == hwnd; });
}

bool MessageQueue::QuitPending(int* exitCode)
{
    const State& s = TheState();
    if (s.quitPending && exitCode)
        *exitCode = s.quitCode;
    return s.quitPending;
}

size_t MessageQueue::PostedCount()
{
    return TheState().posted.size();
}

} // namespace pw::platform
