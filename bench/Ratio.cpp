#include "Ratio.h"

#include <memory>
#include <optional>
#include <vector>

namespace bench {

namespace {

std::map<std::string, Limit>& Registry()
{
    static std::map<std::string, Limit> pairs;
    return pairs;
}

class Prepared;

std::vector<std::shared_ptr<Prepared>>& AllPrepared()
{
    static std::vector<std::shared_ptr<Prepared>> prepared;
    return prepared;
}

// The sides, made on first use and kept for the run.
class Prepared {
public:
    explicit Prepared(std::function<Sides()> prepare)
        : prepare(std::move(prepare))
    {
    }

    Sides& Get()
    {
        if (!sides)
            sides = prepare();
        return *sides;
    }

    void Release() { sides.reset(); }

private:
    std::function<Sides()> prepare;
    std::optional<Sides> sides;
};

void Run(benchmark::State& state, Prepared& prepared, std::function<void()> Sides::*side, bool alternate)
{
    try {
        Sides& sides = prepared.Get();
        const std::function<void()>& run = sides.*side;
        const std::function<void()>& other = side == &Sides::work ? sides.reference : sides.work;
        for (auto _ : state) {
            if (alternate) {
                state.PauseTiming();
                other();
                state.ResumeTiming();
            }
            run();
        }
    } catch (const Failure& failure) {
        state.SkipWithError(failure.what());
    }
}

} // namespace

bool Compare(const std::string& name, Limit limit, std::function<Sides()> prepare, const Configure& configure)
{
    Registry()[name] = limit;
    auto prepared = std::make_shared<Prepared>(std::move(prepare));
    AllPrepared().push_back(prepared);
    benchmark::internal::Benchmark* sides[] = {
        benchmark::RegisterBenchmark((name + "/work").c_str(),
            [prepared, limit](benchmark::State& s) { Run(s, *prepared, &Sides::work, limit.alternate); }),
        benchmark::RegisterBenchmark((name + "/reference").c_str(),
            [prepared, limit](benchmark::State& s) { Run(s, *prepared, &Sides::reference, limit.alternate); }),
    };
    if (configure) {
        for (benchmark::internal::Benchmark* side : sides)
            configure(side);
    }
    return true;
}

void ReleaseSides()
{
    for (const std::shared_ptr<Prepared>& prepared : AllPrepared())
        prepared->Release();
}

const std::map<std::string, Limit>& Pairs()
{
    return Registry();
}

} // namespace bench
