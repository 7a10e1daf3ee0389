#include "platform/kernel/Clock.h"

#include <chrono>

namespace pw::platform {

namespace {

// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000ULL;

struct State {
    bool isVirtual = false;
    uint64_t virtualMs = 0;
    uint64_t startFileTime = 0;
    uint32_t startTick = 0;
    uint32_t tickStep = 1;
    std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();
};

State& TheState()
{
    static State state;
    return state;
}

} // namespace

void Clock::UseRealTime()
{
    State& s = TheState();
    s = State{};
}

void Clock::UseVirtualTime(uint64_t startFileTime, uint32_t startTick)
{
    State& s = TheState();
    s = State{};
    s.isVirtual = true;
    s.startFileTime = startFileTime;
    s.startTick = startTick;
}

bool Clock::IsVirtual()
{
    return TheState().isVirtual;
}

uint64_t Clock::NowMs()
{
    const State& s = TheState();
    if (s.isVirtual)
        return s.virtualMs;
    auto elapsed = std::chrono::steady_clock::now() - s.realStart;
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

uint32_t Clock::TickCount()
{
    State& s = TheState();
    if (s.isVirtual) {
        s.virtualMs += s.tickStep;
        return static_cast<uint32_t>(s.startTick + s.virtualMs);
    }
    auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

void Clock::SetTickStep(uint32_t ms)
{
    TheState().tickStep = ms;
}

uint64_t Clock::UtcFileTime()
{
    const State& s = TheState();
    if (s.isVirtual)
        return s.startFileTime + s.virtualMs * 10'000;
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    auto units = std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count() * 10;
    return kUnixEpochAsFileTime + static_cast<uint64_t>(units);
}

void Clock::Advance(uint64_t ms)
{
    State& s = TheState();
    if (s.isVirtual)
        s.virtualMs += ms;
}

} // namespace pw::platform
