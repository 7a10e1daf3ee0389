// The sound-recording dialog over the recording sound device: its buttons drive the recorder, its
// own timer steps it, Save ends it with the recording as a Sound, and Sound::Record runs it with
// the other chores suspended.
#include "ui/SoundDialog.h"

#include "foundation/Alert.h"
#include "foundation/Chore.h"
#include "graphics/Sound.h"
#include "graphics/WaveRecorder.h"
#include "ui/Control.h"
#include "ui/ViewControl.h"
#include "ui/WindowFrame.h"

#include "PumpFixture.h"

#include "platform/winmm/WinmmTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using pw::graphics::SoundRecorder;
namespace driver = pw::platform::testing;

namespace {

void Press(SoundDialog& dialog, const char* title)
{
    SmartPtr<Control> button = dialog.GetButton(title);
    ASSERT_TRUE(button.Valid()) << title;
    POINT point { 5, 5 };
    ClientToScreen(button->GetControlWindow(), &point);
    driver::Click(point.x, point.y);
}

class Idle : public Chore {
public:
    Idle()
        : Chore(50, true, 0)
    {
    }
    void Perform() override { }
};

class SoundDialogTest : public pump::PumpTest {
protected:
    void SetUp() override
    {
        pump::PumpTest::SetUp();
        Alert::EnableAlerts();
        pw::platform::winmm::testing::SetTestSignal({ 1, 2, 3 });
    }
    void TearDown() override
    {
        WaveShutdown();
        pw::foundation::SetAlertsEnabled(false);
    }

    // The sound dialog the application was handed last, if any.
    static SoundDialog* OpenDialog()
    {
        App* app = AppGlue::Application().Get();
        for (uint32_t index = app->NumWindows(); index >= 1; --index)
            if (auto* dialog = dynamic_cast<SoundDialog*>(app->GetWindow(index).Get()))
                return dialog;
        return nullptr;
    }
};

} // namespace

TEST_F(SoundDialogTest, ButtonsDriveTheRecorderAndSaveEndsTheDialogWithTheRecording)
{
    SmartPtr<SoundDialog> dialog = new SoundDialog(2);
    dialog->Build();
    dialog->Show(true);
    dialog->Start();
    std::vector<std::string> titles;
    int32_t right = 0;
    SmartPtr<Dialog> other = new Dialog(2);
    for (const char* title : { "Record", "Play", "Stop", "Save", "Cancel" }) {
        SCOPED_TRACE(title);
        SmartPtr<Control> button = dialog->GetButton(title);
        ASSERT_TRUE(button.Valid());
        EXPECT_GT(button->GetBounds().left, right);
        right = button->GetBounds().right;
        EXPECT_LE(right, 330);
        // The whole title fits inside the button's raised edge, two pixels on either side.
        HWND control = button->GetControlWindow();
        RECT client {};
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
        SIZE size {};
        GetTextExtentPoint32A(dc, title, static_cast<int>(std::string(title).size()), &size);
        if (previous)
            SelectObject(dc, previous);
        ReleaseDC(control, dc);
        EXPECT_LE(size.cx, client.right - 4);
        // Each is a command button whose signal only a sound dialog takes.
        auto* command = dynamic_cast<ViewControl*>(button.Get());
        ASSERT_NE(command, nullptr);
        GenericSignal& signal = *command->GetSignal().Get();
        EXPECT_EQ(signal.GetSignalStatus(nullptr), GenericSignal::disabled);
        EXPECT_EQ(signal.GetSignalStatus(other.Get()), GenericSignal::disabled);
        EXPECT_EQ(signal.GetSignalStatus(dialog.Get()), GenericSignal::enabled);
    }

    driver::ScriptMessageBoxes({ IDOK });
    Press(*dialog.Get(), "Play");
    driver::RunUntilIdle();
    EXPECT_EQ(driver::AlertLog().size(), 1u);

    Press(*dialog.Get(), "Record");
    driver::RunUntilIdle();
    EXPECT_EQ(dialog->GetMode(), SoundRecorder::Mode::Recording);
    // The timer steps the recording to its limit of six blocks.
    driver::RunFor(2000);
    EXPECT_EQ(dialog->GetMode(), SoundRecorder::Mode::Idle);
    EXPECT_EQ(pw::graphics::WaveRecordedLength(), 48000u);

    Press(*dialog.Get(), "Play");
    driver::RunUntilIdle();
    EXPECT_EQ(dialog->GetMode(), SoundRecorder::Mode::Playing);
    Press(*dialog.Get(), "Stop");
    driver::RunUntilIdle();
    EXPECT_EQ(dialog->GetMode(), SoundRecorder::Mode::Idle);

    Press(*dialog.Get(), "Save");
    driver::RunUntilIdle();
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_FALSE(dialog->WasCancelled());
    ASSERT_TRUE(dialog->GetSound().Valid());
    EXPECT_EQ(dialog->GetSound()->GetData().Size(), 58u + 48000u);
}

TEST_F(SoundDialogTest, RecordingRunsTheDialogWithOtherChoresSuspended)
{
    Idle idle;
    static Idle* watched;
    watched = &idle;
    static std::vector<bool> idleWasActive;
    static Rect placed;
    idleWasActive.clear();
    // The user records, waits for the recording to end by itself, and saves.
    driver::SetIdleHandler([] {
        SoundDialog* dialog = OpenDialog();
        if (!dialog || dialog->IsClosed())
            return false;
        idleWasActive.push_back(watched->IsActive());
        placed = dialog->GetRect();
        if (dialog->GetMode() != SoundRecorder::Mode::Idle)
            return false;
        Press(*dialog, pw::graphics::WaveRecordedLength() == 0 ? "Record" : "Save");
        return true;
    });
    SmartPtr<Sound> sound = Sound::Record(*AppGlue::Application().Get());
    ASSERT_TRUE(sound.Valid());
    EXPECT_EQ(sound->GetData().Size(), 58u + 48000u);
    ASSERT_FALSE(idleWasActive.empty());
    EXPECT_EQ(std::count(idleWasActive.begin(), idleWasActive.end(), true), 0);
    EXPECT_TRUE(idle.IsActive());
    EXPECT_STREQ(pw::graphics::WaveSpoolFileName(), "");
    // Centred in the main window's client area.
    Rect screen = WindowFrame::ScreenRect();
    EXPECT_LE(std::abs((placed.left + placed.right) - (screen.left + screen.right)), 1);
    EXPECT_LE(std::abs((placed.top + placed.bottom) - (screen.top + screen.bottom)), 1);

    // Cancelled, it answers no sound.
    driver::SetIdleHandler([] {
        SoundDialog* dialog = OpenDialog();
        if (!dialog || dialog->IsClosed())
            return false;
        Press(*dialog, "Cancel");
        return true;
    });
    EXPECT_FALSE(Sound::Record(*AppGlue::Application().Get()).Valid());
    driver::SetIdleHandler(nullptr);
}
