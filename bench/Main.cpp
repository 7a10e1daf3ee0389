// The benchmarks' entry point: the library's usual run, reported with the ratio table; a run in
// which any benchmark reported an error exits with 1, so the smoke run of the tests catches a
// benchmark that no longer works.
#include "Ratio.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::ReleaseSides();
    benchmark::Shutdown();
    return reporter.Failures() > 0 ? 1 : 0;
}
