#include "ui/SoundDialog.h"

#include "foundation/Chore.h"
#include "foundation/String.h"
#include "graphics/Sound.h"
#include "ui/App.h"
#include "ui/Control.h"
#include "ui/ViewControl.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(SoundDialog, nullptr, nullptr, Dialog)

namespace {

constexpr Point kClientSize(330, 50);
constexpr int32_t kButtonTop = 13;
constexpr int32_t kButtonBottom = 37;
// The decorator's frame lies 2 pixels inside the main window's client area.
constexpr int32_t kFrameInset = 2;

using Press = pw::ui::SoundDialogSignal::Press;

struct Button {
    const char* title;
    int32_t left;
    int32_t right;
    Press press;
};

// Each button wide enough for the longest title, "Record", inside its raised edge.
constexpr Button kButtons[] = {
    { "Record", 10, 68, &SoundDialog::Record },
    { "Play", 73, 131, &SoundDialog::Play },
    { "Stop", 136, 194, &SoundDialog::StopDevice },
    { "Save", 199, 257, &SoundDialog::Save },
    { "Cancel", 262, 320, &SoundDialog::Cancel },
};

// Steps the recorder; the dialog stops it when it closes.
class SoundTimer : public Chore {
public:
    explicit SoundTimer(SoundDialog* dialog)
        : Chore(SoundDialog::kTimerPeriod, true, 0)
        , dialog(dialog)
    {
    }

    void Perform() override { dialog->Step(); }

private:
    SoundDialog* dialog;
};

// Centres the window in the main window's client area less the frame's inset, as the frame
// decorator places dialogs.
void Centre(Window& window)
{
    Rect frame = WindowFrame::ScreenRect();
    frame = Rect(frame.left + kFrameInset, frame.top + kFrameInset, frame.right - kFrameInset, frame.bottom - kFrameInset);
    Rect rect = window.GetRect();
    int32_t dx = (frame.left + frame.right) / 2 - (rect.left + rect.right) / 2;
    int32_t dy = (frame.top + frame.bottom) / 2 - (rect.top + rect.bottom) / 2;
    window.SetFrame(Rect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy));
}

const bool runnerLent = [] {
    pw::graphics::SetRecordingDialogRunner(&pw::ui::RunSoundDialog);
    return true;
}();

} // namespace

SoundDialog::SoundDialog(int32_t kind)
    : Dialog(kind)
{
}

// The timer goes with the dialog (its handle stops it), so it never runs without one.
SoundDialog::~SoundDialog() = default;

void SoundDialog::Build()
{
    for (const Button& button : kButtons)
        AddChild(new ViewControl(this, button.left, kButtonTop, button.right, kButtonBottom, String(button.title),
            new pw::ui::SoundDialogSignal(button.press), this));
    Point outer = GetFrame()->OuterSize(kClientSize);
    SetSize(outer.h, outer.v);
}

void SoundDialog::Start()
{
    recorder.Start();
    timer = new SoundTimer(this);
}

void SoundDialog::Close()
{
    if (timer.Valid()) {
        timer->Stop();
        timer = nullptr;
    }
    Dialog::Close();
}

void SoundDialog::Record()
{
    recorder.Record();
}

void SoundDialog::Play()
{
    recorder.Play();
}

void SoundDialog::StopDevice()
{
    recorder.Stop();
}

void SoundDialog::Save()
{
    if (recorder.Save())
        Done();
}

void SoundDialog::Step()
{
    recorder.Step();
}

SmartPtr<Control> SoundDialog::GetButton(const char* title)
{
    SmartList<View> children = GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        auto* control = dynamic_cast<Control*>(children.Item(index));
        if (control && control->GetTitle() == String(title))
            return control;
    }
    return nullptr;
}

pw::ui::SoundDialogSignal::SoundDialogSignal(Press press)
    : Signal(PW_HERE)
    , press(press)
{
}

void pw::ui::SoundDialogSignal::Act(SoundDialog& dialog)
{
    (dialog.*press)();
}

SmartPtr<Sound> pw::ui::RunSoundDialog(App& app)
{
    SmartPtr<SoundDialog> dialog(new SoundDialog(2));
    dialog->Build();
    dialog->Show(true);
    Centre(*dialog.Get());
    app.WindowOpened(SmartPtr<Window>(dialog.Get()));
    dialog->Start();
    while (dialog->Poll()) {
    }
    return dialog->WasCancelled() ? SmartPtr<Sound>() : dialog->GetSound();
}
