// The ground of the progress tests: the framework stood up, time moving only when a test moves
// it (so the half-second reveal rule is exact), and the progress state fresh before and after.
#pragma once

#include "FrameworkFixture.h"

#include "platform/kernel/Clock.h"
#include "ui/ProgressDialog.h"
#include "ui/ProgressRange.h"

#include <string>

namespace uitest {

class ProgressTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        pw::platform::Clock::SetTickStep(0);
        pw::ui::testing::ResetProgress();
    }
    void TearDown() override
    {
        pw::ui::testing::ResetProgress();
        FrameworkTest::TearDown();
    }
};

// What the bar of the open dialog shows, "value/maximum", or "none".
inline std::string Bar()
{
    SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
    if (!dialog.Valid())
        return "none";
    return std::to_string(dialog->GetBar()->GetValue()) + "/" + std::to_string(dialog->GetBar()->GetMaximum());
}

} // namespace uitest
