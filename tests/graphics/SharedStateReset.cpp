// The graphics floor keeps shared platform objects for the whole run (the standard palettes and
// the table cache, the shared empty area's region) and the platform probe's answer; every test
// starts on a fresh platform, so they are let go before the platform reset that the test main
// runs. Listeners added here run before the test main's own.
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/WinVersion.h"

#include <gtest/gtest.h>

namespace {

class SharedStateReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        Area::EmptyArea().DeleteRegion();
        ColorTable::ReleaseShared();
        pw::graphics::testing::ForceWinVersion(std::nullopt);
    }
};

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new SharedStateReset);
    return true;
}();

} // namespace
