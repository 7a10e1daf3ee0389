#include "Ratio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// What the sides of the pairs run here did, in order: "w" for the work, "r" for the reference.
std::string& Log()
{
    static std::string log;
    return log;
}

// The reference takes 20 ms of real time, the work none; three runs of each side.
bench::Sides LoggingSides()
{
    return bench::Sides { [] { Log() += "w"; },
        [] {
            Log() += "r";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } };
}

void ThreeRuns(benchmark::internal::Benchmark* side)
{
    side->Iterations(3)->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool registered
    = bench::Compare("Apart", { 1.0, 0, true }, LoggingSides, ThreeRuns)
    && bench::Compare("Alternating", { .ratio = 1.0, .realTime = true, .alternate = true }, LoggingSides, ThreeRuns);

// Each side's runs, in real time per run, as the library reports them.
class Times : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> milliseconds;
};

// A pair compared in alternation runs the other side, untimed, before each run of a side; a pair
// compared apart runs each side alone. Either way a side's time is its own.
TEST(Ratio, AnAlternatingPairTimesEachSideAfterAnUntimedRunOfTheOther)
{
    struct Case {
        const char* pair;
        std::string log;
    } cases[] = {
        { "Apart", "wwwrrr" },
        { "Alternating", "rwrwrwwrwrwr" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        Log().clear();
        Times times;
        std::ostringstream out;
        times.SetOutputStream(&out);
        times.SetErrorStream(&out);
        benchmark::RunSpecifiedBenchmarks(&times, std::string("^") + c.pair + "/");
        EXPECT_EQ(Log(), c.log);
        EXPECT_LT(times.milliseconds[std::string(c.pair) + "/work"], 10.0);
        EXPECT_GE(times.milliseconds[std::string(c.pair) + "/reference"], 20.0);
    }
}

} // namespace
