// Host-side set-up for kernel tests: items made and read directly under the test's drive root,
// so the calls under test are checked against the disk rather than against themselves.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/kernel/Clock.h"
#include "platform/kernel/KernelTesting.h"

namespace pw::platform::testing {

inline std::string HostPath(const std::string& relative)
{
    return DriveRoot() + "/" + relative;
}

inline void MakeHostFolder(const std::string& relative)
{
    std::filesystem::create_directories(HostPath(relative));
}

inline void MakeHostFile(const std::string& relative, const std::string& bytes = "")
{
    std::filesystem::path path = HostPath(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadHostFile(const std::string& relative)
{
    std::ifstream in(HostPath(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Dates the item's last write `seconds` before the clock's now, virtual as tests run it.
inline void SetHostWrittenAgo(const std::string& relative, int seconds)
{
    constexpr uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000ULL;
    std::chrono::sys_time<std::chrono::microseconds> now {
        std::chrono::microseconds((Clock::UtcFileTime() - kUnixEpochAsFileTime) / 10) };
    std::filesystem::last_write_time(
        HostPath(relative), std::filesystem::file_time_type::clock::from_sys(now - std::chrono::seconds(seconds)));
}

inline bool HostExists(const std::string& relative)
{
    return std::filesystem::exists(std::filesystem::symlink_status(HostPath(relative)));
}

} // namespace pw::platform::testing
