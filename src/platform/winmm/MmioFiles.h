// The files open through mmioOpenA, for the test hooks.
#pragma once

#include <cstddef>

namespace pw::platform::winmm {

size_t LiveMmioFiles();

// Closes every file left open: the test reset.
void CloseAllMmioFiles();

} // namespace pw::platform::winmm
