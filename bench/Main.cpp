// The benchmarks' entry point: the library's usual run, reported with the ratio table; a run in
// which any benchmark reported an error exits with 1, so the smoke run of the tests catches a
// benchmark that no longer works. Given --enforce_limits (as scripts/bench gives it), a run in
// which a pair's median figure is past its limit exits with 2; the smoke run's moment of timing
// says nothing of speed, so it leaves limits alone. Drive c: is a temporary folder of the run's
// own, so benchmarks that run at once never share their files and nothing is left in the host's
// root.
#include "Ratio.h"
#include "RatioReporter.h"
#include "platform/kernel/KernelTesting.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

int main(int argc, char** argv)
{
    // The flag is the program's own, taken out before the library reads the rest.
    bool enforceLimits = false;
    argc = static_cast<int>(std::remove_if(argv + 1, argv + argc, [&](const char* argument) {
        bool flag = std::strcmp(argument, "--enforce_limits") == 0;
        enforceLimits = enforceLimits || flag;
        return flag;
    }) - argv);
    argv[argc] = nullptr;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pw::platform::testing::UseTemporaryDriveRoot();
    bench::RatioReporter reporter(enforceLimits);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::ReleaseSides();
    benchmark::Shutdown();
    if (reporter.Failures() > 0)
        return 1;
    return enforceLimits && !reporter.PairsOverLimit().empty() ? 2 : 0;
}
