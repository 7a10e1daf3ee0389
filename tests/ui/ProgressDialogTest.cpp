#include "ui/ProgressDialog.h"

#include "ProgressFixture.h"

#include "foundation/UserCancelException.h"
#include "platform/kernel/Clock.h"
#include "ui/ProgressRange.h"
#include "ui/WindowFrame.h"

using namespace uitest;
namespace driver = pw::platform::testing;

namespace {

using ProgressDialogTest = ProgressTest;

int timerTicks = 0;

TEST_F(ProgressDialogTest, PollsPumpTheQueueAtMostEveryTenthOfASecond)
{
    SmartPtr<ProgressDialog> dialog(new ProgressDialog(String("Polls")));
    timerTicks = 0;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; });
    struct Step {
        uint32_t wait;
        void (*poll)(ProgressDialog&);
        int ticks;
    } steps[] = {
        { 50, [](ProgressDialog& d) { d.Poll(); }, 1 }, // the first poll is real
        { 50, [](ProgressDialog& d) { d.Poll(); }, 1 },
        { 49, [](ProgressDialog& d) { d.SetProgress(1, 2); }, 1 },
        { 1, [](ProgressDialog& d) { d.SetText(String("later")); }, 2 },
    };
    for (const Step& step : steps) {
        driver::AdvanceClock(step.wait);
        step.poll(*dialog.Get());
        EXPECT_EQ(timerTicks, step.ticks);
    }
    dialog->Close();
}

// The bar, the line and the button in the dialog's client area of 400 by 65; a click on Stop makes
// the next advance throw the user's cancel, which shows nothing.
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
        ASSERT_EQ(dialog->GetBar()->GetFilledLength(), 190); // 2 of 4 over 380 pixels
        Rect client = dialog->GetFrame()->GetContentBounds();
        EXPECT_EQ(dialog->GetRect().TopLeft(), Point(120, 100));
        EXPECT_EQ(client.Size(), Point(400, 65));
        pw::platform::Frame shown = driver::ReadClientArea(dialog->GetFrame()->GetOSWindow());
        uint8_t frame = shown.At(10, 17), fill = shown.At(11, 17), empty = shown.At(201, 17);
        EXPECT_NE(fill, empty);
        EXPECT_EQ(shown.At(200, 17), fill);
        EXPECT_EQ(shown.At(388, 17), empty);
        EXPECT_EQ(shown.At(389, 17), frame);
        EXPECT_NE(frame, shown.At(5, 5));
        int inked = 0;
        for (int y = 40; y < 62; ++y)
            for (int x = 10; x < 340; ++x)
                inked += shown.At(x, y) != shown.At(5, 5);
        EXPECT_GT(inked, 50);

        Rect stop = dialog->GetStopButton()->GetBounds();
        driver::Click(client.left + stop.Center().h, client.top + stop.Center().v);
        driver::AdvanceClock(100);
        range.Advance(1);
    } catch (Exception* exception) {
        stopped = dynamic_cast<UserCancelException*>(exception) != nullptr;
    }
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(dialog->WasCancelled());
    EXPECT_EQ(app->NumWindows(), 0u);
    EXPECT_TRUE(driver::AlertLog().empty());
}

} // namespace
