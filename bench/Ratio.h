// A piece of work set beside a plain reference loop doing the same job. The two sides are two
// benchmarks of their own, "<name>/work" and "<name>/reference", so the library times both alike:
// each runs warm (its trial runs come first) and, under --benchmark_enable_random_interleaving,
// their repetitions are shuffled in among everything else, so neither side pays for what the other
// or an earlier case left behind. The reporter of Main.cpp prints each pair's ratio after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace bench {

struct Sides {
    std::function<void()> work;
    std::function<void()> reference;
};

// What a pair is held to: the work within `ratio` times the reference, or, when `extraNs` is
// above 0, within that many nanoseconds beyond it, each side taken at the median of its
// repetitions. Printed beside the figure; a run given --enforce_limits (scripts/bench) fails when
// the figure is past it, the CI's smoke run never. A limit is set from the figures of several
// runs, above their spread and below what a real loss would bring. Sides are compared by processor
// time, which a busy machine disturbs less, unless `realTime` (work that waits on other
// processes). With `alternate`, every run of a side follows a run of the other that is not timed:
// both sides then start from what the other left in the caches, whatever ran before the pair, and
// are timed in the same stretches of the machine's load, run for run.
struct Limit {
    double ratio { 0 };
    double extraNs { 0 };
    bool realTime { false };
    bool alternate { false };
};

// A side that finds its work undone throws this; the benchmark then reports the error, which
// fails the run.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Configure = std::function<void(benchmark::internal::Benchmark*)>;

// Registers both sides of `name`. `prepare` runs once, when either side first runs, and its sides
// share whatever it made. `configure` (optional) is applied to both benchmarks. Answers true, so a
// pair can be registered by initialising a namespace-scope constant.
bool Compare(const std::string& name, Limit limit, std::function<Sides()> prepare, const Configure& configure = {});

// Lets go of what every `prepare` made, while the platform is still there to take it back.
void ReleaseSides();

// Every registered pair's limit, by name.
const std::map<std::string, Limit>& Pairs();

} // namespace bench
