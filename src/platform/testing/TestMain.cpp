// GoogleTest's main for every test binary: each test starts on a freshly reset, headless platform,
// and fails when the platform found a fault in how it was driven (an unscripted message box, a
// runaway or endless loop).
#include <gtest/gtest.h>

#include "platform/testing/Problems.h"
#include "platform/testing/Reset.h"

namespace {

class PlatformResetter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { pw::platform::testing::ResetPlatform(); }

    // Runs before the result is printed, so the failures count for this test.
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (const std::string& problem : pw::platform::testing::TakeProblems())
            ADD_FAILURE() << "platform: " << problem;
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    pw::platform::testing::CollectProblems(true);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PlatformResetter);
    return RUN_ALL_TESTS();
}
