// Host-side set-up for kernel tests: items made and read directly under the test's drive root,
// so the calls under test are checked against the disk rather than against themselves.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

inline bool HostExists(const std::string& relative)
{
    return std::filesystem::exists(std::filesystem::symlink_status(HostPath(relative)));
}

} // namespace pw::platform::testing
