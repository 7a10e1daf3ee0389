#include "ui/ProgressRange.h"

#include "FrameworkFixture.h"

#include "foundation/UserCancelException.h"
#include "platform/kernel/Clock.h"
#include "ui/ProgressDialog.h"

#include <memory>
#include <string>

using namespace uitest;
namespace driver = pw::platform::testing;

namespace {

// Time moves only when a test moves it, so the half-second rule is exact.
class ProgressRangeTest : public FrameworkTest {
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

    // What the bar of the open dialog shows, "value/maximum", or "none".
    static std::string Bar()
    {
        SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
        return dialog.Valid() ? Bar(*dialog.Get()) : "none";
    }
    static std::string Bar(ProgressDialog& dialog)
    {
        return std::to_string(dialog.GetBar()->GetValue()) + "/" + std::to_string(dialog.GetBar()->GetMaximum());
    }
    static std::string Line()
    {
        char text[256];
        ProgressRange::CurrentDialog()->GetText().GetCString(text, sizeof text);
        return text;
    }
};

bool ThrowsUserCancel(ProgressRange& range)
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
        ASSERT_TRUE(dialog.Valid());
        outer.Advance(1);
        EXPECT_EQ(Bar(), "0/2");
        {
            ProgressRange inner(10, String("Objects"));
            for (int step = 0; step < 10; ++step) {
                SCOPED_TRACE(step);
                inner.Advance(1);
                EXPECT_EQ(Bar(), std::to_string(step) + "/20");
            }
        }
        EXPECT_EQ(Bar(), "10/20");
        outer.Advance(1);
        EXPECT_EQ(Bar(), "1/2");
    }
    EXPECT_EQ(Bar(*dialog.Get()), "2/2");
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    // A new operation starts from an empty bar in a new dialog.
    ProgressRange next(4, String("Again"));
    EXPECT_NE(ProgressRange::CurrentDialog(), dialog);
    next.Advance(1);
    EXPECT_EQ(Bar(), "0/4");
}

TEST_F(ProgressRangeTest, AdvancingPastTheCountStopsAtTheEndOfTheOuterStep)
{
    struct Case {
        const char* name;
        uint32_t innerCount;
        uint32_t advances;
        uint32_t stepSize;
        const char* shownAtInnerEnd;
        const char* shownAfterNextOuterAdvance;
    } cases[] = {
        { "exactly the count", 4, 4, 1, "4/8", "1/2" },
        { "two past the count", 4, 6, 1, "4/8", "1/2" },
        // The bar stopped moving with the advance that overshot: its end shows nothing new.
        { "one big advance past it", 4, 1, 1000, "0/8", "1/2" },
        { "a huge advance", 4, 1, 0xFFFFFFFF, "0/8", "1/2" },
        { "short of the count", 4, 2, 1, "2/8", "0/2" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressRange outer(2, String("Outer"));
        outer.Advance(1);
        {
            ProgressRange inner(c.innerCount, String("Inner"));
            for (uint32_t i = 0; i < c.advances; ++i)
                inner.Advance(c.stepSize);
        }
        EXPECT_EQ(Bar(), c.shownAtInnerEnd);
        outer.Advance(1);
        EXPECT_EQ(Bar(), c.shownAfterNextOuterAdvance);
    }
}

TEST_F(ProgressRangeTest, SubdivisionsThatWouldOverflowOnlyCountAndShowTheCountInTheirText)
{
    ProgressRange outer(0x10000, String("Outer"));
    outer.Advance(1);
    outer.Advance(1);
    EXPECT_EQ(Bar(), "1/65536");
    {
        // 0x7FFFFFFF / 0x10000 is 0x7FFF: this many steps would pass 31 bits.
        ProgressRange inner(0x7FFF, String("Inner"));
        inner.AdvanceWithText(String("File "), 1);
        EXPECT_EQ(Line(), "File 1");
        inner.AdvanceWithText(String("File "), 2);
        EXPECT_EQ(Line(), "File 3");
        EXPECT_EQ(Bar(), "1/65536");
        {
            // Below a counting range the outer step is still there to subdivide.
            ProgressRange innermost(3, String("Innermost"));
            for (int i = 0; i < 3; ++i)
                innermost.AdvanceWithText(String("Part "), 1);
            EXPECT_EQ(Line(), "Part ");
        }
    }
    outer.Advance(1);
    EXPECT_EQ(Bar(), "2/65536");
    // One step fewer subdivides: 0x10000 * 0x7FFE stays below 2^31.
    ProgressRange fine(0x7FFE, String("Fine"));
    fine.AdvanceWithText(String("File "), 1);
    EXPECT_EQ(Line(), "File ");
    fine.Advance(1);
    EXPECT_EQ(Bar(), std::to_string(2 * 0x7FFE + 1) + "/" + std::to_string(0x10000 * 0x7FFE));
}

TEST_F(ProgressRangeTest, AnOutermostRangeOfNoStepsLeavesAnEmptyBarAndInnerRangesOnlyCount)
{
    ProgressRange outer(0, String("Nothing"));
    outer.Advance(1);
    EXPECT_EQ(Bar(), "0/0");
    EXPECT_EQ(ProgressRange::CurrentDialog()->GetBar()->GetFilledLength(), 0);
    ProgressRange inner(5, String("Inner"));
    inner.AdvanceWithText(String("Item "), 1);
    EXPECT_EQ(Line(), "Item 1");
    EXPECT_EQ(Bar(), "0/0");
}

TEST_F(ProgressRangeTest, TheDialogComesToTheFrontOnlyAfterHalfASecond)
{
    {
        ProgressRange quick(4, String("Quick"));
        SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
        EXPECT_EQ(app->NumWindows(), 1u);
        for (int i = 0; i < 4; ++i) {
            driver::AdvanceClock(120);
            quick.Advance(1);
            EXPECT_FALSE(dialog->IsVisible());
        }
    }
    EXPECT_EQ(app->NumWindows(), 0u);

    ProgressRange slow(4, String("Slow"));
    SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
    driver::AdvanceClock(499);
    slow.Advance(1);
    EXPECT_FALSE(dialog->IsVisible());
    driver::AdvanceClock(1);
    slow.Advance(1);
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_EQ(app->FrontWindow().Get(), dialog.Get());
}

TEST_F(ProgressRangeTest, AfterStopTheNextAdvanceOfAnyRangeThrowsAndTheOutermostEndClosesTheDialog)
{
    SmartPtr<ProgressDialog> dialog;
    bool innerThrew = false;
    bool outerThrew = false;
    {
        ProgressRange outer(3, String("Outer"));
        dialog = ProgressRange::CurrentDialog();
        outer.Advance(1);
        {
            ProgressRange inner(5, String("Inner"));
            inner.Advance(1);
            dialog->Cancel();
            innerThrew = ThrowsUserCancel(inner);
        }
        outerThrew = ThrowsUserCancel(outer);
        // The cancelled dialog stays until the outermost range ends.
        EXPECT_EQ(ProgressRange::CurrentDialog(), dialog);
    }
    EXPECT_TRUE(innerThrew);
    EXPECT_TRUE(outerThrew);
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    EXPECT_TRUE(dialog->IsClosed());
    // Showing the exception shows nothing.
    UserCancelException cancel;
    cancel.Display(Alert::kStop);
    EXPECT_TRUE(driver::AlertLog().empty());
}

TEST_F(ProgressRangeTest, ARangeOpenedWhileAStoppedDialogLingersGetsAFreshDialog)
{
    auto lingering = std::make_unique<ProgressRange>(2, String("Export"));
    SmartPtr<ProgressDialog> stopped = ProgressRange::CurrentDialog();
    stopped->Cancel();
    {
        ProgressRange next(2, String("Next"));
        SmartPtr<ProgressDialog> fresh = ProgressRange::CurrentDialog();
        EXPECT_NE(fresh, stopped);
        EXPECT_FALSE(fresh->WasCancelled());
        next.Advance(1);
        next.Advance(1);
        EXPECT_EQ(Bar(), "1/2");
    }
    // The old range's end closes only its own dialog.
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    lingering.reset();
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
}

TEST_F(ProgressRangeTest, SwitchedOffProgressMakesNoDialogAndNeverThrows)
{
    ProgressRange::SetVisible(false);
    {
        ProgressRange outer(2, String("Hidden"));
        ProgressRange inner(2, String("Hidden too"));
        inner.Advance(5);
        inner.AdvanceWithText(String("x"), 1);
        outer.Advance(1);
        EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    }
    EXPECT_EQ(app->NumWindows(), 0u);
    EXPECT_EQ(driver::LiveWindowCount(), 1u);
}

TEST_F(ProgressRangeTest, SwitchingProgressOffInsideARangeKeepsTheUnitsAndClosesTheDialogAtTheEnd)
{
    SmartPtr<ProgressDialog> dialog;
    {
        ProgressRange outer(2, String("Outer"));
        dialog = ProgressRange::CurrentDialog();
        outer.Advance(1);
        {
            ProgressRange inner(10, String("Inner"));
            inner.Advance(3);
            // As the previews are fetched with the display hidden.
            ProgressRange::SetVisible(false);
            EXPECT_FALSE(dialog->IsVisible());
        }
        ProgressRange::SetVisible(true);
        EXPECT_TRUE(dialog->IsVisible());
        outer.Advance(1);
        EXPECT_EQ(Bar(), "0/2");
        ProgressRange::SetVisible(false);
    }
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    ProgressRange::SetVisible(true);
    ProgressRange next(3, String("Next"));
    next.Advance(1);
    next.Advance(1);
    EXPECT_EQ(Bar(), "1/3");
}

} // namespace
