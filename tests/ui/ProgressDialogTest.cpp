#include "ui/ProgressDialog.h"

#include "FrameworkFixture.h"

#include "foundation/UserCancelException.h"
#include "platform/kernel/Clock.h"
#include "ui/ProgressRange.h"
#include "ui/WindowFrame.h"

#include <string>

using namespace uitest;
namespace driver = pw::platform::testing;

namespace {

class ProgressDialogTest : public FrameworkTest {
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

int timerTicks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++timerTicks;
}

TEST_F(ProgressDialogTest, TheBarFillsInProportionAndReportsOnlyChangedLengths)
{
    SmartPtr<ProgressDialog> dialog(new ProgressDialog(String("Bar")));
    ProgressBar& bar = *dialog->GetBar().Get();
    struct Case {
        uint32_t value;
        uint32_t maximum;
        int32_t pixels;
        bool changed;
    } cases[] = {
        { 0, 10, 0, false },
        { 1, 3, 126, true }, // 380 / 3, truncated
        { 2, 760, 1, true },
        { 3, 760, 1, false }, // 1.5 pixels: no redraw
        { 10, 10, 380, true },
        { 20, 10, 380, false }, // beyond the maximum: full
        { 5, 0, 0, true }, // no scale: empty
        { 0xFFFFFFFF, 0xFFFFFFFF, 380, true },
        { 0x7FFFFFFF, 0xFFFFFFFF, 189, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " of " + std::to_string(c.maximum));
        EXPECT_EQ(bar.SetValue(c.value, c.maximum), c.changed);
        EXPECT_EQ(bar.GetFilledLength(), c.pixels);
        EXPECT_LE(bar.GetValue(), bar.GetMaximum());
    }
    dialog->Close();
}

TEST_F(ProgressDialogTest, PollsPumpTheQueueAtMostEveryTenthOfASecond)
{
    SmartPtr<ProgressDialog> dialog(new ProgressDialog(String("Polls")));
    timerTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, &CountTick);
    driver::AdvanceClock(50);
    EXPECT_TRUE(dialog->Poll());
    EXPECT_EQ(timerTicks, 1); // the first poll is real
    driver::AdvanceClock(50);
    EXPECT_TRUE(dialog->Poll());
    EXPECT_EQ(timerTicks, 1);
    driver::AdvanceClock(49);
    dialog->SetProgress(1, 2);
    EXPECT_EQ(timerTicks, 1);
    driver::AdvanceClock(1);
    dialog->SetText(String("later"));
    EXPECT_EQ(timerTicks, 2);
    KillTimer(nullptr, timer);
    dialog->Close();
    EXPECT_TRUE(dialog->Poll());
    driver::AdvanceClock(100);
    EXPECT_FALSE(dialog->Poll());
}

TEST_F(ProgressDialogTest, TheDialogIsDrawnAndItsStopButtonStopsTheOperation)
{
    bool stopped = false;
    SmartPtr<ProgressDialog> dialog;
    try {
        ProgressRange range(4, String("Copying files"));
        dialog = ProgressRange::CurrentDialog();
        driver::AdvanceClock(500);
        range.Advance(1);
        range.Advance(1);
        range.AdvanceWithText(String("Copying page 3"), 1);
        ASSERT_TRUE(dialog->IsVisible());
        ASSERT_EQ(dialog->GetBar()->GetFilledLength(), 190);

        HWND hwnd = dialog->GetFrame()->GetOSWindow();
        Rect client = dialog->GetFrame()->GetContentBounds();
        EXPECT_EQ(dialog->GetRect().TopLeft(), Point(120, 100));
        EXPECT_EQ(client.right - client.left, 400);
        EXPECT_EQ(client.bottom - client.top, 65);
        pw::platform::Frame shown = driver::ReadClientArea(hwnd);
        uint8_t frame = shown.At(10, 17);
        uint8_t fill = shown.At(11, 17);
        uint8_t empty = shown.At(11 + 190, 17);
        uint8_t background = shown.At(5, 5);
        EXPECT_NE(fill, empty);
        EXPECT_NE(frame, background);
        EXPECT_EQ(shown.At(389, 17), frame);
        EXPECT_EQ(shown.At(11 + 189, 17), fill);
        EXPECT_EQ(shown.At(388, 17), empty);
        // Something is written in the text line and in the button.
        int inked = 0;
        for (int y = 40; y < 62; ++y)
            for (int x = 10; x < 340; ++x)
                inked += shown.At(x, y) != background;
        EXPECT_GT(inked, 50);
        EXPECT_EQ(shown.At(340, 45), shown.At(389, 45));
        char line[64];
        dialog->GetText().GetCString(line, sizeof line);
        EXPECT_STREQ(line, "Copying page 3");

        Rect stop = dialog->GetStopRect();
        driver::Click(client.left + (stop.left + stop.right) / 2, client.top + (stop.top + stop.bottom) / 2);
        driver::AdvanceClock(100);
        range.Advance(1);
    } catch (Exception* exception) {
        stopped = dynamic_cast<UserCancelException*>(exception) != nullptr;
    }
    EXPECT_TRUE(stopped);
    ASSERT_TRUE(dialog.Valid());
    EXPECT_TRUE(dialog->WasCancelled());
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    EXPECT_EQ(app->NumWindows(), 0u);
    EXPECT_TRUE(driver::AlertLog().empty());
}

TEST_F(ProgressDialogTest, ClicksElsewhereInTheDialogDoNotStopIt)
{
    ProgressRange range(2, String("Working"));
    SmartPtr<ProgressDialog> dialog = ProgressRange::CurrentDialog();
    driver::AdvanceClock(500);
    range.Advance(1);
    Rect client = dialog->GetFrame()->GetContentBounds();
    driver::Click(client.left + 200, client.top + 17);
    driver::Click(client.left + 100, client.top + 50);
    driver::AdvanceClock(100);
    range.Advance(1);
    EXPECT_FALSE(dialog->WasCancelled());
    EXPECT_TRUE(dialog->IsVisible());
}

} // namespace
