#include "RatioReporter.h"

#include "Ratio.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

namespace bench {

namespace {

double Nanoseconds(const benchmark::BenchmarkReporter::Run& run, double time)
{
    return time / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
}

// A time with a unit that keeps three or four figures.
std::string Time(double ns)
{
    char text[32];
    if (ns >= 1e6)
        std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    else if (ns >= 1e3)
        std::snprintf(text, sizeof text, "%.2f us", ns / 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f ns", ns);
    return text;
}

} // namespace

RatioReporter::RatioReporter(bool enforceLimits)
    : ConsoleReporter(OO_None)
    , enforceLimits(enforceLimits)
{
}

double RatioReporter::Times::Median() const
{
    if (median >= 0 || repetitions.empty())
        return median;
    std::vector<double> sorted = repetitions;
    std::sort(sorted.begin(), sorted.end());
    size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.error_occurred) {
            ++failures;
            continue;
        }
        Side& side = sides[run.run_name.function_name];
        double real = Nanoseconds(run, run.GetAdjustedRealTime());
        double processor = Nanoseconds(run, run.GetAdjustedCPUTime());
        if (run.run_type == Run::RT_Iteration) {
            side.real.repetitions.push_back(real);
            side.processor.repetitions.push_back(processor);
        } else if (run.aggregate_name == "median") {
            side.real.median = real;
            side.processor.median = processor;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize()
{
    std::ostream& out = GetOutputStream();
    bool header = false;
    std::string verdicts;
    for (const auto& [name, limit] : Pairs()) {
        auto work = sides.find(name + "/work");
        auto reference = sides.find(name + "/reference");
        if (work == sides.end() || reference == sides.end())
            continue;
        double workNs = limit.realTime ? work->second.real.Median() : work->second.processor.Median();
        double referenceNs = limit.realTime ? reference->second.real.Median() : reference->second.processor.Median();
        if (workNs < 0 || referenceNs <= 0)
            continue;
        if (!header) {
            char line[160];
            std::snprintf(line, sizeof line, "\n%-32s %12s %12s %10s %10s\n", "pair (median times)", "work",
                "reference", "figure", "limit");
            out << line;
            header = true;
        }
        char figure[32];
        char bound[32];
        bool within;
        if (limit.extraNs > 0) {
            std::snprintf(figure, sizeof figure, "+%.0f ns", workNs - referenceNs);
            std::snprintf(bound, sizeof bound, "%.0f ns", limit.extraNs);
            within = workNs - referenceNs <= limit.extraNs;
        } else {
            std::snprintf(figure, sizeof figure, "%.2fx", workNs / referenceNs);
            std::snprintf(bound, sizeof bound, "%.2fx", limit.ratio);
            if (limit.ratio <= 0)
                std::snprintf(bound, sizeof bound, "-");
            within = limit.ratio <= 0 || workNs / referenceNs <= limit.ratio;
        }
        char line[200];
        std::snprintf(line, sizeof line, "%-32s %12s %12s %10s %10s %s%s\n", name.c_str(), Time(workNs).c_str(),
            Time(referenceNs).c_str(), figure, bound, limit.realTime ? "real" : "cpu", within ? "" : "  OVER");
        out << line;
        if (within)
            continue;
        overLimit.push_back(name);
        std::snprintf(line, sizeof line, "%s: the median %s is past its limit %s\n", name.c_str(), figure, bound);
        verdicts += line;
    }
    if (enforceLimits && !verdicts.empty())
        out << "\nFAILED, " << overLimit.size() << (overLimit.size() == 1 ? " pair" : " pairs")
            << " past the limit:\n" << verdicts;
    ConsoleReporter::Finalize();
}

} // namespace bench
