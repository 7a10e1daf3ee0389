#include "platform/testing/Problems.h"

#include "platform/testing/Reset.h"

#include <cstdio>
#include <utility>

namespace pw::platform::testing {

namespace {

struct State {
    bool collect = false;
    std::vector<std::string> problems;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = RegisterReset([] { TheState().problems.clear(); });

} // namespace

void ReportProblem(const std::string& text)
{
    State& s = TheState();
    if (s.collect)
        s.problems.push_back(text);
    else
        std::fprintf(stderr, "plumewright: %s\n", text.c_str());
}

std::vector<std::string> TakeProblems()
{
    return std::exchange(TheState().problems, {});
}

void CollectProblems(bool collect)
{
    TheState().collect = collect;
}

} // namespace pw::platform::testing
