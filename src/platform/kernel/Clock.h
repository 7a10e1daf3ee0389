// The platform's one clock. Real time in the windowed program; virtual time in tests, where the
    // test advances it, an idle message loop jumps it to the next timer, and every tick-count read
    // moves it by a small step so that busy-waits end.
#pragma once

#include <cstdint>

namespace pw::platform {

class Clock {
public:

    // Switches to real time (the program) or to virtual time starting at `startFileTime`
    // (100 ns units since 1601-01-01 UTC) with the tick count at `startTick`.
    static void UseRealTime();
    static void UseVirtualTime(uint64_t startFileTime, uint32_t startTick = 0);
    static bool IsVirtual();

    // Milliseconds since the clock was (re)started; never wraps, never steps on read.
    static uint64_t NowMs();

    // The GetTickCount value: wraps at 2^32. In virtual time each read first advances the clock by
    // the tick step (default 1 ms).
    static uint32_t TickCount();
    static void SetTickStep(uint32_t ms);

    // Now as UTC, in 100 ns units since 1601-01-01.
    static uint64_t UtcFileTime();

    // Moves virtual time forward; ignored in real time.
    static void Advance(uint64_t ms);

    // The FILETIME value of 1996-01-01 00:00:00 UTC, the default start of virtual time.
    static constexpr uint64_t kDefaultVirtualStart = 124'649'280'000'000'000ULL;

};

} // namespace pw::platform
