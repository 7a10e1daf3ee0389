#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace pw::platform {

// The live timers of SetTimer. A timer does not post its ticks: message retrieval asks for a due
// timer only when nothing of higher rank waits, so at most one tick of a timer is ever pending and
// ticks that fall due while nobody retrieves coalesce into one. Due times are in Clock::NowMs().
class Timers {
public:
    // SetTimer's contract; returns the timer id or 0 with the last error set.
    static UINT_PTR Set(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure);
    static BOOL Kill(HWND hwnd, UINT_PTR id);

    // Kills every timer of a window that is being destroyed.
    static void KillAllOf(HWND hwnd);

    // Fills `msg` with the WM_TIMER of the earliest due timer that `hwndFilter` accepts (null accepts
    // all). With `remove`, the tick is taken: the timer is next due one period from now.
    static bool TakeDue(MSG& msg, HWND hwndFilter, bool remove);

    // When the next timer falls due, if any timer is live.
    static std::optional<uint64_t> NextDue();

    // Whether `procedure` was given to SetTimer since the last reset: DispatchMessageA calls only
    // such procedures, never an arbitrary lParam.
    static bool IsKnownProcedure(TIMERPROC procedure);

    // Shifts every due time by `deltaMs` after the virtual clock was restarted.
    static void Rebase(int64_t deltaMs);

    static size_t Count();
};

// Whether a message for `hwnd` passes a retrieval's window filter (null passes everything; a
// window passes its own messages and those of its descendants).
bool PassesWindowFilter(HWND hwnd, HWND filter);

} // namespace pw::platform
