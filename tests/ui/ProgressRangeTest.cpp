#include "ui/ProgressRange.h"

#include "ProgressFixture.h"

#include "foundation/UserCancelException.h"
#include "platform/kernel/Clock.h"
#include "ui/ProgressDialog.h"

using namespace uitest;
namespace driver = pw::platform::testing;

namespace {

using ProgressRangeTest = ProgressTest;

bool AdvanceIsCancelled(ProgressRange& range)
{
    try {
        range.Advance(1);
    } catch (Exception* exception) {
        return dynamic_cast<UserCancelException*>(exception) != nullptr;
    }
    return false;
}

TEST_F(ProgressRangeTest, InnerRangesSubdivideTheStepTheyWereOpenedIn)
{
    SmartPtr<ProgressDialog> dialog;
    {
        ProgressRange outer(2, String("Saving"));
        dialog = ProgressRange::CurrentDialog();
        outer.Advance(1);
        {
            ProgressRange inner(10, String("Objects"));
            for (int step = 0; step < 10; ++step) {
                inner.Advance(1);
                EXPECT_EQ(Bar(), std::to_string(step) + "/20");
            }
        }
        EXPECT_EQ(Bar(), "10/20");
        outer.Advance(1);
        EXPECT_EQ(Bar(), "1/2");
    }
    EXPECT_EQ(dialog->GetBar()->GetValue(), 2u);
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_EQ(Bar(), "none");
}

TEST_F(ProgressRangeTest, AnInnerRangeNeverMovesTheBarPastItsOuterStep)
{
    struct Case {
        uint32_t advances, steps;
        const char* atInnerEnd;
        const char* atNextOuterAdvance;
    } cases[] = {
        { 4, 1, "4/8", "1/2" },
        { 6, 1, "4/8", "1/2" },
        { 1, 0xFFFFFFFF, "0/8", "1/2" }, // the overshooting advance stops the range's bar at once
        { 2, 1, "2/8", "0/2" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.advances) + " x " + std::to_string(c.steps));
        ProgressRange outer(2, String("Outer"));
        outer.Advance(1);
        {
            ProgressRange inner(4, String("Inner"));
            for (uint32_t i = 0; i < c.advances; ++i)
                inner.Advance(c.steps);
        }
        EXPECT_EQ(Bar(), c.atInnerEnd);
        outer.Advance(1);
        EXPECT_EQ(Bar(), c.atNextOuterAdvance);
    }
}

// 0x7FFFFFFF / 0x10000 is 0x7FFF: so many steps inside a range of 0x10000 would pass 31 bits, and
// below an outermost range of no steps there is nothing to subdivide: such ranges only count.
TEST_F(ProgressRangeTest, RangesThatCannotSubdivideCountInTheirText)
{
    for (uint32_t outerCount : { 0x10000u, 0u, 2u }) {
        SCOPED_TRACE(outerCount);
        ProgressRange outer(outerCount, String("Outer"));
        outer.Advance(1);
        std::string shown = Bar();
        ProgressRange inner(outerCount == 2 ? 3 : 0x7FFF, String("Inner"));
        inner.AdvanceWithText(String("File "), 1);
        inner.AdvanceWithText(String("File "), 2);
        char line[32];
        ProgressRange::CurrentDialog()->GetTextLine()->GetText()->GetCString(line, sizeof line);
        EXPECT_STREQ(line, outerCount == 2 ? "File " : "File 3");
        EXPECT_EQ(Bar() == shown, outerCount != 2);
    }
}

TEST_F(ProgressRangeTest, TheDialogComesToTheFrontOnlyAfterHalfASecond)
{
    ProgressRange range(4, String("Slow"));
    SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
    EXPECT_EQ(app->NumWindows(), 1u);
    driver::AdvanceClock(499);
    range.Advance(1);
    EXPECT_FALSE(dialog->IsVisible());
    driver::AdvanceClock(1);
    range.Advance(1);
    EXPECT_EQ(app->FrontWindow().Get(), dialog.Get());
}

TEST_F(ProgressRangeTest, AfterStopEveryRangeThrowsOnItsNextAdvanceAndTheOutermostClosesTheDialog)
{
    {
        ProgressRange outer(3, String("Outer"));
        outer.Advance(1);
        ProgressRange inner(5, String("Inner"));
        ProgressRange::CurrentDialog()->Cancel();
        EXPECT_TRUE(AdvanceIsCancelled(inner));
        EXPECT_TRUE(AdvanceIsCancelled(outer));
    }
    EXPECT_EQ(Bar(), "none");
    EXPECT_EQ(app->NumWindows(), 0u);
}

// Switched off, ranges show nothing; a range that ends while progress is off still gives the
// outer ranges back their own units.
TEST_F(ProgressRangeTest, SwitchedOffProgressShowsNothingAndKeepsTheUnitsOfOpenRanges)
{
    ProgressRange::SetVisible(false);
    {
        ProgressRange hidden(2, String("Hidden"));
        hidden.AdvanceWithText(String("x"), 5);
        EXPECT_EQ(Bar(), "none");
    }
    ProgressRange::SetVisible(true);
    ProgressRange outer(2, String("Outer"));
    outer.Advance(1);
    {
        ProgressRange inner(10, String("Inner"));
        inner.Advance(3);
        ProgressRange::SetVisible(false);
    }
    ProgressRange::SetVisible(true);
    outer.Advance(1);
    outer.Advance(1);
    EXPECT_EQ(Bar(), "1/2");
}

} // namespace
