#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

namespace pw::platform {

// What every message loop does between messages. GetMessageA, the message box's modal loop and
// the test driver share it, so all of them wait and move the clock the same way.
class MessageLoop {
public:
    // Called when a retrieval found nothing: in virtual time the idle handler runs first (it may
    // make work and answer true), else the clock jumps to the next due timer; in real time the
    // backend waits for input until the next timer. False when nothing could ever arrive (virtual
    // time, no timer) or the jump limit is passed; both are reported as problems and the caller
    // ends its loop as if WM_QUIT had come.
    static bool WaitForWork();

    // Retrieves and dispatches one message; WM_QUIT is left pending and answers false, as does an
    // empty queue.
    static bool DispatchOne();

    // The test driver's hooks: a handler for idle moments in virtual time, and the number of clock
    // jumps after which a loop counts as runaway (the count restarts with ResetJumps).
    static void SetIdleHandler(std::function<bool()> handler);
    static void SetJumpLimit(size_t jumps);
    static void ResetJumps();
};

} // namespace pw::platform
