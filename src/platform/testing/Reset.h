// Tests start each case on a fresh platform: every part of the floor that keeps state registers
// a reset here (from a static initialiser), and the test main runs them all before each test.
#pragma once

#include <functional>

namespace pw::platform::testing {

// Registers `reset`; returns true so it can initialise a namespace-scope constant.
bool RegisterReset(std::function<void()> reset);

// Puts the platform in its test state: virtual clock at its default start, then every
// registered reset in registration order.
void ResetPlatform();

} // namespace pw::platform::testing
