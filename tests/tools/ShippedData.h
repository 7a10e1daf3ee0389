// The shipped data folder, data/, as the tests of what the build makes into it read it.
#pragma once

#include "foundation/FileReference.h"
#include "foundation/Resources.h"
#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace shipped {

namespace fs = std::filesystem;

inline const fs::path kData = PW_DATA_DIR;

inline std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// The program's start-up folder "c:\plume" holding a copy of the shipped Data folder.
class ShippedData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(kData / "Data" / "standard.pal"));
        ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\plume"));
        fs::copy(kData / "Data", fs::path(pw::platform::testing::DriveRoot()) / "plume" / "Data",
            fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        pw::foundation::ForgetStartupFolder();
        pw::foundation::SetOsAppForTesting(pw::platform::ProgramInstance());
    }
    void TearDown() override
    {
        pw::foundation::ForgetStartupFolder();
        pw::foundation::SetOsAppForTesting(nullptr);
    }
};

} // namespace shipped
