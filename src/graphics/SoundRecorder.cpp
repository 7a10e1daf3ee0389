#include "graphics/SoundRecorder.h"

#include "foundation/Alert.h"
#include "foundation/File.h"
#include "foundation/Stream.h"
#include "graphics/Sound.h"
#include "graphics/WAVEFile.h"
#include "graphics/WaveRecorder.h"

namespace pw::graphics {

const char* SoundRecorder::NoRecordingMessage()
{
    return "No Sound has been Recorded!"
           "\nYour sound card may be installed incorrectly or is incompatible with Plumewright. "
           "\nTry recording a sound using a standard 'Sound Recorder' Application "
           "or the software the Sound Card came with.\nThen Import the resulting '.wav' file "
           "into Plumewright using 'Import' under the 'File' menu";
}

void SoundRecorder::ShowNoRecording()
{
    Alert(Alert::kStop, Alert::kOk, NoRecordingMessage());
}

bool SoundRecorder::Start()
{
    mode = Mode::Idle;
    return WaveStartup() == 1;
}

void SoundRecorder::Record()
{
    if (mode != Mode::Idle)
        return;
    if (WaveRecordStart() == 1)
        mode = Mode::Recording;
    else
        ShowNoRecording();
}

void SoundRecorder::Play()
{
    if (mode != Mode::Idle)
        return;
    int16_t started = WavePlayStart();
    if (started == 1)
        mode = Mode::Playing;
    else if (started == -1)
        ShowNoRecording();
}

void SoundRecorder::Stop()
{
    if (mode == Mode::Recording)
        WaveRecordStop();
    else if (mode == Mode::Playing)
        WavePlayStop();
    mode = Mode::Idle;
}

bool SoundRecorder::Save()
{
    Stop();
    if (!WaveWriteRecording()) {
        ShowNoRecording();
        return false;
    }
    SmartPtr<File> file = WaveSaveRecording();
    SmartPtr<WAVEFile> scribe(new WAVEFile(SmartPtr<Stream>(file.Get())));
    sound = SmartPtr<Sound>(SmartCast<Sound>(scribe->Read().Get()));
    return true;
}

void SoundRecorder::Step()
{
    if (mode == Mode::Recording && WaveRecordStep() == 0)
        Stop();
    else if (mode == Mode::Playing && WavePlayStep() == 0)
        Stop();
}

} // namespace pw::graphics
