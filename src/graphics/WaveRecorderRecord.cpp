// Recording: the input device fills the two buffers in turn and each full buffer goes straight to
// the spool file.
#include "graphics/WaveRecorder.h"

#include "graphics/WaveRecorderState.h"

using namespace pw::graphics::wave;

namespace {

// Hands the current buffer to the device and moves on to the other one.
bool WaveRecordQueueBuffer()
{
    State& state = Recorder();
    uint16_t which = state.currentBuffer;
    if (waveInAddBuffer(state.waveIn, state.headers[which], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        return false;
    state.queued[which] = true;
    state.currentBuffer = static_cast<uint16_t>(1 - which);
    return true;
}

// Appends what the device recorded into the current buffer to the spool file.
bool WaveWriteBlock()
{
    State& state = Recorder();
    const WAVEHDR& header = *state.headers[state.currentBuffer];
    DWORD count = header.dwBytesRecorded < state.blockLength ? header.dwBytesRecorded : state.blockLength;
    if (count == 0)
        return true;
    DWORD written = 0;
    if (!WriteFile(state.spoolFile, header.lpData, count, &written, nullptr) || written != count)
        return false;
    state.bytesDone += written;
    return true;
}

// Stops the device (which hands back every queued buffer) and closes it; the spool file is closed.
// Answers whether every call succeeded; the module counts the device closed either way.
bool WaveRecordClose()
{
    State& state = Recorder();
    bool closed = true;
    if (state.deviceOpen) {
        closed = waveInReset(state.waveIn) == MMSYSERR_NOERROR;
        for (int which = 0; which < 2; ++which) {
            if (waveInUnprepareHeader(state.waveIn, state.headers[which], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
                closed = false;
            state.queued[which] = false;
        }
        if (waveInClose(state.waveIn) != MMSYSERR_NOERROR)
            closed = false;
        state.waveIn = nullptr;
        state.deviceOpen = false;
        state.recording = false;
    }
    CloseSpoolFile();
    return closed;
}

// A recording that could not start leaves neither a device nor a spool file behind.
int16_t WaveRecordFail()
{
    WaveRecordClose();
    State& state = Recorder();
    DeleteNamedFile(state.spoolName);
    state.bytesDone = 0;
    return 0;
}

} // namespace

int16_t WaveRecordStart()
{
    State& state = Recorder();
    if (!state.format || state.deviceOpen)
        return 0;
    DeleteNamedFile(state.spoolName);
    state.currentBuffer = 0;
    state.recordedLength = 0;
    state.bytesDone = 0;
    if (!MakeTemporaryFile(state.spoolName))
        return 0;

    if (waveInOpen(&state.waveIn, WAVE_MAPPER, state.format, 0, 0, CALLBACK_NULL | WAVE_ALLOWSYNC) != MMSYSERR_NOERROR)
        return WaveRecordFail();
    state.deviceOpen = true;
    state.recording = true;
    WaveCheckFormat();
    for (int which = 0; which < 2; ++which) {
        if (waveInPrepareHeader(state.waveIn, state.headers[which], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
            return WaveRecordFail();
    }
    if (!WaveRecordQueueBuffer())
        return WaveRecordFail();
    state.spoolFile = CreateFileA(state.spoolName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state.spoolFile == INVALID_HANDLE_VALUE)
        return WaveRecordFail();
    if (waveInStart(state.waveIn) != MMSYSERR_NOERROR || !WaveRecordQueueBuffer())
        return WaveRecordFail();
    return 1;
}

int16_t WaveRecordStep()
{
    State& state = Recorder();
    if (!state.deviceOpen || !state.recording)
        return 0;
    if (state.bytesDone > kRecordLimit)
        return 0;
    if (!WaitForHeader(state.currentBuffer) || !WaveWriteBlock())
        return 0;
    return WaveRecordQueueBuffer() ? 1 : 0;
}

// What the device still held is not spooled; the recording is what the steps spooled.
int16_t WaveRecordStop()
{
    State& state = Recorder();
    if (!state.deviceOpen || !state.recording)
        return 0;
    bool closed = WaveRecordClose();
    state.recordedLength = state.bytesDone;
    return closed ? 1 : 0;
}
