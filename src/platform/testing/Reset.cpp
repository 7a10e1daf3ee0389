#include "platform/testing/Reset.h"

#include <vector>

#include "platform/kernel/Clock.h"

namespace pw::platform::testing {

namespace {
std::vector<std::function<void()>>& Resets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}
} // namespace

bool RegisterReset(std::function<void()> reset)
{
    Resets().push_back(std::move(reset));
    return true;
}

void ResetPlatform()
{
    Clock::UseVirtualTime(Clock::kDefaultVirtualStart);
    for (auto& reset : Resets())
        reset();
}

} // namespace pw::platform::testing
