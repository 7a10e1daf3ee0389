// GoogleTest's main for every test binary: each test starts on a freshly reset, headless platform.
#include <gtest/gtest.h>

#include "platform/testing/Reset.h"

namespace {

class PlatformResetter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { pw::platform::testing::ResetPlatform(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PlatformResetter);
    return RUN_ALL_TESTS();
}
