// The console report of a benchmark run, followed by a table of the registered work/reference
// pairs (Ratio.h): each side's time per run, the median over its repetitions, their ratio (or the
// work's time beyond the reference) and the limit it is held to. It also counts the runs that
// ended in an error, so that a run with a broken benchmark can fail, and notes the pairs whose
// median figure is past their limit; when limits are enforced it names them after the table, so
// that a run that lost speed can fail too.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(bool enforceLimits = false);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    int Failures() const { return failures; }
    // The pairs past their limit, by name, once the run is finalized.
    const std::vector<std::string>& PairsOverLimit() const { return overLimit; }

private:
    // Nanoseconds per run of one side, in real and in processor time: one figure per repetition,
    // and the library's median when it reports aggregates.
    struct Times {
        std::vector<double> repetitions;
        double median { -1 };
        double Median() const;
    };
    struct Side {
        Times real;
        Times processor;
    };

    bool enforceLimits;
    std::map<std::string, Side> sides;
    int failures { 0 };
    std::vector<std::string> overLimit;
};

} // namespace bench
