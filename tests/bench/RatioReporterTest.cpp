#include "Ratio.h"
#include "RatioReporter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using BenchmarkRun = benchmark::BenchmarkReporter::Run;

// Pairs that are registered but never run here: the test hands the reporter their runs.
[[maybe_unused]] const bool registered = bench::Compare("Twice", { 2.0 }, [] { return bench::Sides {}; })
    && bench::Compare("Upload", { 1.5, 0, true }, [] { return bench::Sides {}; })
    && bench::Compare("Blit", { 0, 100 }, [] { return bench::Sides {}; })
    && bench::Compare("AtLimit", { 1.5 }, [] { return bench::Sides {}; })
    && bench::Compare("Unbounded", { 0 }, [] { return bench::Sides {}; });

// One repetition of a side: `realNs` and `cpuNs` per run.
BenchmarkRun Repetition(const std::string& name, double realNs, double cpuNs)
{
    BenchmarkRun run;
    run.run_name.function_name = name;
    run.time_unit = benchmark::kNanosecond;
    run.iterations = 10;
    run.real_accumulated_time = realNs * 10 / 1e9;
    run.cpu_accumulated_time = cpuNs * 10 / 1e9;
    return run;
}

std::string Line(const std::string& report, const std::string& start)
{
    size_t at = report.find("\n" + start + " ");
    return at == std::string::npos ? "" : report.substr(at + 1, report.find('\n', at + 1) - at - 1);
}

// The table takes the median repetition of each side, in processor time unless the pair waits on
// other processes; runs that failed are counted and left out.
TEST(RatioReporter, PrintsEachPairsMedianRatioAndCountsFailures)
{
    std::ostringstream out;
    std::ostringstream errors;
    bench::RatioReporter reporter;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&errors);
    std::vector<BenchmarkRun> runs = {
        Repetition("Twice/work", 900, 300),
        Repetition("Twice/work", 900, 500),
        Repetition("Twice/work", 900, 9000),
        Repetition("Twice/reference", 100, 100),
        Repetition("Upload/work", 3000, 10),
        Repetition("Upload/reference", 1000, 10),
        Repetition("Blit/work", 1150, 1150),
        Repetition("Blit/reference", 1000, 1000),
    };
    BenchmarkRun broken = Repetition("Broken", 1, 1);
    broken.error_occurred = true;
    broken.error_message = "the saved page did not open";
    runs.push_back(broken);
    reporter.ReportRuns(runs);
    reporter.Finalize();
    std::string report = out.str();

    struct Case {
        const char* pair;
        std::vector<std::string> expected;
    } cases[] = {
        { "Twice", { "500.0 ns", "100.0 ns", "5.00x", "2.00x cpu", "OVER" } },
        { "Upload", { "3.00 us", "1.00 us", "3.00x", "1.50x real", "OVER" } },
        { "Blit", { "1.15 us", "1.00 us", "+150 ns", "100 ns cpu", "OVER" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        std::string line = Line(report, c.pair);
        for (const std::string& part : c.expected)
            EXPECT_NE(line.find(part), std::string::npos) << part << " in: " << line;
    }
    EXPECT_EQ(reporter.Failures(), 1);
}

// A pair whose median figure passes its limit is named after the table when limits are enforced,
// and only then; a pair at its limit, or without one, is within it.
TEST(RatioReporter, NamesThePairsPastTheirLimitWhenEnforcing)
{
    std::vector<BenchmarkRun> runs = {
        Repetition("Twice/work", 300, 500),
        Repetition("Twice/work", 300, 1900),
        Repetition("Twice/work", 300, 100),
        Repetition("Twice/reference", 100, 100),
        Repetition("Twice/reference", 100, 400),
        Repetition("Twice/reference", 100, 200),
        Repetition("Upload/work", 1400, 10),
        Repetition("Upload/reference", 1000, 10),
        Repetition("Blit/work", 1150, 1150),
        Repetition("Blit/reference", 1000, 1000),
        Repetition("AtLimit/work", 150, 150),
        Repetition("AtLimit/reference", 100, 100),
        Repetition("Unbounded/work", 9000, 9000),
        Repetition("Unbounded/reference", 100, 100),
    };
    for (bool enforce : { false, true }) {
        SCOPED_TRACE(enforce ? "enforced" : "not enforced");
        std::ostringstream out;
        std::ostringstream errors;
        bench::RatioReporter reporter(enforce);
        reporter.SetOutputStream(&out);
        reporter.SetErrorStream(&errors);
        reporter.ReportRuns(runs);
        reporter.Finalize();
        EXPECT_EQ(reporter.PairsOverLimit(), (std::vector<std::string> { "Blit", "Twice" }));
        std::string report = out.str();
        size_t verdict = report.find("FAILED, 2 pairs past the limit:\nBlit: the median +150 ns is past its limit 100 ns\n"
                                     "Twice: the median 2.50x is past its limit 2.00x\n");
        EXPECT_EQ(verdict != std::string::npos, enforce) << report;
    }
}

} // namespace
