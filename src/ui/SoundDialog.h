#pragma once

#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"
#include "graphics/SoundRecorder.h"
#include "ui/Dialog.h"

#include <cstdint>

class Chore;
class Control;
class Sound;

// The sound-recording dialog: the command buttons "Record", "Play", "Stop", "Save" and "Cancel"
// (each sending its SoundDialogSignal to the dialog) over the wave recorder, whose steps a timer of the dialog's own drives while it records or plays. Save
// writes the recording, reads it back as the dialog's Sound and ends the dialog; Cancel ends it
// without one. Sound::Record runs it (see RunSoundDialog) with every other chore suspended and
// shuts the recorder down afterwards.
class SoundDialog : public Dialog {
    PW_CLASS_INFO(SoundDialog)

public:
    // The timer's period: well under the 0.36 s a recorder block lasts.
    static constexpr uint32_t kTimerPeriod = 100;

    explicit SoundDialog(int32_t kind);
    ~SoundDialog() override;

    // Makes the five buttons and sizes the dialog around them.
    void Build();
    // Starts the wave recorder and the timer.
    void Start();
    // The timer stops with the dialog.
    void Close() override;

    // What the buttons do.
    void Record();
    void Play();
    void StopDevice();
    void Save();
    // The timer's work.
    void Step();

    // The Sound that Save made; empty before.
    SmartPtr<Sound> GetSound() const { return recorder.GetSound(); }
    pw::graphics::SoundRecorder::Mode GetMode() const { return recorder.GetMode(); }
    // The button titled `title`, or empty.
    SmartPtr<Control> GetButton(const char* title);

private:
    pw::graphics::SoundRecorder recorder;
    SmartPtr<Chore> timer;
};

namespace pw::ui {

// The commands of the sound dialog's buttons: each runs one of the dialog's button operations
// (Record, Play, Stop, Save, or Cancel) on the sound dialog it is sent to, and no other window
// takes them.
class SoundDialogSignal : public Signal<SoundDialog> {
public:
    using Press = void (SoundDialog::*)();

    explicit SoundDialogSignal(Press press);

protected:
    void Act(SoundDialog& dialog) override;

private:
    Press press;
};

// Builds, shows and centres a sound-recording dialog, hands it to the application, starts the
// recorder and polls the dialog until it ends; answers its Sound, empty when it was cancelled.
// Lent to Sound::Record at start-up.
SmartPtr<Sound> RunSoundDialog(App& app);

} // namespace pw::ui
