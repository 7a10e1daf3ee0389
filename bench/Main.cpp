// The benchmarks' entry point: the library's usual run, reported with the ratio table; a run in
// which any benchmark reported an error exits with 1, so the smoke run of the tests catches a
// benchmark that no longer works. Drive c: is a temporary folder of the run's own, so benchmarks
// that run at once never share their files and nothing is left in the host's root.
#include "Ratio.h"
#include "RatioReporter.h"
#include "platform/kernel/KernelTesting.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pw::platform::testing::UseTemporaryDriveRoot();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::ReleaseSides();
    benchmark::Shutdown();
    return reporter.Failures() > 0 ? 1 : 0;
}
