// The process's resident memory, read from /proc/self/status, for benchmarks that report memory
// beside time. A phase's peak is measured by resetting the kernel's high-water mark first.
#pragma once

#include <cstdint>

namespace bench {

uint64_t ResidentBytes();
uint64_t PeakResidentBytes();
// Gives the allocator's free memory back to the system and starts a new high-water mark at the
// present resident size; false where the system keeps the old mark (the peak then overstates).
bool ResetPeak();

constexpr double Megabytes(uint64_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

} // namespace bench
