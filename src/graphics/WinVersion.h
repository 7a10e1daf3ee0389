// Which platform the program runs on, by a probe made once: the 16-bit Windows 3.1 platform
// cannot build an accelerator table at run time, Windows 95 and NT can. Code that differs between
// the two asks IsWin31Only.
#pragma once

#include <optional>

enum WinVersion {
    Win31Only = 1,
    Win95 = 4,
};

// The probe's answer, cached after the first call.
WinVersion GetWinVersion();
// The probe answered Win31Only.
bool IsWin31Only();

namespace pw::graphics::testing {

// Makes the probe answer `version` (nullopt: probe again on the next call).
void ForceWinVersion(std::optional<WinVersion> version);

} // namespace pw::graphics::testing
