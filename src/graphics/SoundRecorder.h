#pragma once

#include "foundation/SmartPtr.h"

class Sound;

namespace pw::graphics {

// What the sound-recording dialog does, apart from its window: the Record, Play, Stop and Save
// buttons and the timer step over the wave recorder, the state they leave (idle, recording,
// playing), the no-recording message, and the Sound that Save makes. The dialog owns one and
// turns its buttons and timer into these calls; Sound::Record shuts the recorder down afterwards.
class SoundRecorder {
public:
    enum class Mode { Idle, Recording, Playing };

    // Starts the wave recorder; false when it could not be started.
    bool Start();

    // A device already running is left as it is. A device that does not start shows the
    // no-recording message.
    void Record();
    // Plays the last recording; nothing recorded shows the no-recording message.
    void Play();
    void Stop();
    // Ends what runs, writes the recording and reads it back as a Sound; answers true when the
    // dialog should close. Nothing recorded shows the no-recording message and answers false.
    bool Save();
    // The timer's work: one recording or playing step, stopping the device when the step ends it.
    void Step();

    Mode GetMode() const { return mode; }
    SmartPtr<Sound> GetSound() const { return sound; }

    // "No Sound has been Recorded!" and its advice, as the stop alert shows it.
    static const char* NoRecordingMessage();

private:
    static void ShowNoRecording();

    Mode mode { Mode::Idle };
    SmartPtr<Sound> sound;
};

} // namespace pw::graphics
