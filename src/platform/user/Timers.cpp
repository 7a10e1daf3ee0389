#include "platform/user/Timers.h"

#include "platform/kernel/Clock.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <set>
#include <vector>

namespace pw::platform {

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    TIMERPROC procedure;
    uint64_t due;
    uint64_t serial;
};

struct State {
    std::vector<Timer> timers;
    std::set<TIMERPROC> knownProcedures;
    // Thread-timer ids count up and are not reused while the counter lasts, so an id kept by a
    // paused owner never names somebody else's new timer.
    UINT_PTR nextId = 1;
    uint64_t nextSerial = 0;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id)
{
    auto& timers = TheState().timers;
    return std::find_if(timers.begin(), timers.end(),
        [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

bool IdIsLive(UINT_PTR id)
{
    auto& timers = TheState().timers;
    return std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.id == id; });
}

UINT_PTR FreshId()
{
    State& s = TheState();
    while (s.nextId == 0 || IdIsLive(s.nextId))
        ++s.nextId;
    return s.nextId++;
}

} // namespace

bool PassesWindowFilter(HWND hwnd, HWND filter)
{
    if (!filter)
        return true;
    for (Window* window = WindowTable::Find(hwnd); window; window = WindowTable::Find(window->Parent())) {
        if (window->Handle() == filter)
            return true;
    }
    return false;
}

UINT_PTR Timers::Set(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure)
{
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, UINT_PTR(0));
    UINT period = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    State& s = TheState();
    if (procedure)
        s.knownProcedures.insert(procedure);
    uint64_t due = Clock::NowMs() + period;
    // A window's timer of the same id, or a live thread timer named again, is replaced in place.
    auto existing = FindTimer(hwnd, id);
    if (existing != s.timers.end() && (hwnd || id != 0)) {
        existing->period = period;
        existing->procedure = procedure;
        existing->due = due;
        return hwnd && id == 0 ? 1 : id;
    }
    UINT_PTR newId = hwnd ? id : FreshId();
    s.timers.push_back(Timer { hwnd, newId, period, procedure, due, s.nextSerial++ });
    // A window timer with id 0 still answers non-zero for success.
    return hwnd && newId == 0 ? 1 : newId;
}

BOOL Timers::Kill(HWND hwnd, UINT_PTR id)
{
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    auto it = FindTimer(hwnd, id);
    if (it == TheState().timers.end())
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    TheState().timers.erase(it);
    return TRUE;
}

void Timers::KillAllOf(HWND hwnd)
{
    std::erase_if(TheState().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool Timers::TakeDue(MSG& msg, HWND hwndFilter, bool remove)
{
    uint64_t now = Clock::NowMs();
    Timer* best = nullptr;
    for (Timer& timer : TheState().timers) {
        // A window filter never passes a thread timer (no window is its own or a descendant).
        if (timer.due > now || !PassesWindowFilter(timer.hwnd, hwndFilter))
            continue;
        if (!best || timer.due < best->due || (timer.due == best->due && timer.serial < best->serial))
            best = &timer;
    }
    if (!best)
        return false;
    msg = MSG { best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->procedure),
        static_cast<DWORD>(now), POINT {} };
    if (remove)
        best->due = now + best->period;
    return true;
}

std::optional<uint64_t> Timers::NextDue()
{
    std::optional<uint64_t> next;
    for (const Timer& timer : TheState().timers) {
        if (!next || timer.due < *next)
            next = timer.due;
    }
    return next;
}

bool Timers::IsKnownProcedure(TIMERPROC procedure)
{
    return TheState().knownProcedures.contains(procedure);
}

void Timers::Rebase(int64_t deltaMs)
{
    for (Timer& timer : TheState().timers) {
        int64_t due = static_cast<int64_t>(timer.due) + deltaMs;
        timer.due = due < 0 ? 0 : static_cast<uint64_t>(due);
    }
}

size_t Timers::Count()
{
    return TheState().timers.size();
}

} // namespace pw::platform

// Starts (or restarts) a timer; without a window the id is fresh and the argument ignored.
UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure)
{
    return pw::platform::Timers::Set(hwnd, id, elapse, procedure);
}

// Stops a timer; a tick already retrieved is still dispatched. Dead ids: FALSE with 87.
BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id)
{
    return pw::platform::Timers::Kill(hwnd, id);
}

