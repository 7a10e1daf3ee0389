// The window framework keeps process-wide state (the application, the program's record, the
// registered window classes) and the graphics floor its shared palettes and regions; every test
// starts on a fresh platform, so both are let go before the platform reset that the test main
// runs. Listeners added here run before the test main's own.
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/WinVersion.h"
#include "ui/AppMain.h"

#include <gtest/gtest.h>

namespace {

class FrameworkReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        pw::ui::testing::ResetFramework();
        Area::EmptyArea().DeleteRegion();
        ColorTable::ReleaseShared();
        pw::graphics::testing::ForceWinVersion(std::nullopt);
    }

    // What a test left (its application, its windows) goes before the next test's platform.
    void OnTestEnd(const ::testing::TestInfo&) override { pw::ui::testing::ResetFramework(); }
};

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FrameworkReset);
    return true;
}();

} // namespace
