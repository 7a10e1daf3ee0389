// Start-up shared by the fuzz targets that read pictures: a fresh headless platform whose
// start-up folder holds a standard palette, as every bitmap the readers make needs one.
#pragma once

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/Reset.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace pw::fuzz {

// A 256-entry palette file: a grey ramp.
inline void WritePalette()
{
    std::vector<uint8_t> file(1078, 0);
    const uint8_t header[] = { 'B', 'M', 0x36, 4, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40 };
    std::copy(std::begin(header), std::end(header), file.begin());
    for (int index = 0; index < 256; ++index)
        file[54 + 4 * index] = file[55 + 4 * index] = file[56 + 4 * index] = uint8_t(index);
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::ofstream(data / "standard.pal", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

inline bool PrepareWithPalette()
{
    pw::platform::testing::ResetPlatform();
    pw::platform::testing::SetStartupFolder("c:\\plume");
    WritePalette();
    return true;
}

} // namespace pw::fuzz
