// Faults the platform finds in how a test drives it: a message box nobody scripted, a loop that
// keeps jumping the virtual clock, a wait that nothing could ever end. The test main fails the
// running test with each one; outside tests they are written to stderr.
#pragma once

#include <string>
#include <vector>

namespace pw::platform::testing {

void ReportProblem(const std::string& text);

// The problems reported since the last call (or reset), oldest first.
std::vector<std::string> TakeProblems();

// Called by the test main: keep problems for TakeProblems instead of printing them.
void CollectProblems(bool collect);

} // namespace pw::platform::testing
