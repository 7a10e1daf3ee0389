// The start-up folder a benchmark reads the program's data from: "c:\plume" on its own drive,
// holding the standard palette of the data tree (the target defines PW_STANDARD_PALETTE).
#pragma once

#include "platform/kernel/KernelTesting.h"

#include <filesystem>

namespace bench {

// Makes "c:\plume" the start-up folder with the standard palette in its Data folder; answers the
// folder's place on the host.
inline std::filesystem::path ProvideStartupFolder()
{
    pw::platform::testing::SetStartupFolder("c:\\plume");
    std::filesystem::path plume = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume";
    std::filesystem::create_directories(plume / "Data");
    std::filesystem::copy_file(
        PW_STANDARD_PALETTE, plume / "Data" / "standard.pal", std::filesystem::copy_options::overwrite_existing);
    return plume;
}

} // namespace bench
