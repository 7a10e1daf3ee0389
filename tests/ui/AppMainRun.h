// Runs the framework main as the program's entry does, driven by a script: each time its loop has
// nothing left to do, the next step runs (queueing input, checking what shows); a loop that goes
// idle after the last step fails the test. The outcome tells how the run ended.
#pragma once

#include "ui/AppGlue.h"
#include "ui/AppMain.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace uitest {

struct MainOutcome {
    // The code given to ExitProcess, when the program ended that way.
    std::optional<UINT> exitCode;
    // What the framework main returned, when it did.
    std::optional<int> returned;
};

inline MainOutcome RunAppMain(HINSTANCE instance, AppGlue::Factory factory, std::vector<std::function<void()>> script)
{
    namespace driver = pw::platform::testing;
    size_t next = 0;
    driver::SetIdleHandler([&] {
        if (next >= script.size())
            return false;
        script[next++]();
        return true;
    });
    MainOutcome outcome;
    char empty[] = "";
    try {
        outcome.returned = AppMain(instance, nullptr, empty, SW_SHOWDEFAULT, factory);
    } catch (const driver::ProcessExited& exited) {
        outcome.exitCode = exited.Code();
    }
    driver::SetIdleHandler(nullptr);
    EXPECT_EQ(next, script.size()) << "script steps left";
    return outcome;
}

} // namespace uitest
