// Sets a piece of work beside a plain reference loop doing the same job, both timed in the same
// run, and reports each one's time and their ratio as counters: `ns` (the work, per run),
// `ref_ns` (the reference) and `ratio`, with `limit` the ratio the work must stay within.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace bench {

// Each iteration times `batch` runs of the work, then `batch` runs of the reference.
template <typename Work, typename Reference>
void CompareWithReference(benchmark::State& state, double limit, int batch, Work&& work, Reference&& reference)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration workTime {};
    Clock::duration referenceTime {};
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (int run = 0; run < batch; ++run)
            work();
        Clock::time_point middle = Clock::now();
        for (int run = 0; run < batch; ++run)
            reference();
        Clock::time_point end = Clock::now();
        workTime += middle - start;
        referenceTime += end - middle;
    }
    double runs = static_cast<double>(state.iterations()) * batch;
    double workNs = std::chrono::duration<double, std::nano>(workTime).count() / runs;
    double referenceNs = std::chrono::duration<double, std::nano>(referenceTime).count() / runs;
    state.counters["ns"] = workNs;
    state.counters["ref_ns"] = referenceNs;
    state.counters["ratio"] = referenceNs > 0 ? workNs / referenceNs : 0;
    state.counters["limit"] = limit;
}

} // namespace bench
