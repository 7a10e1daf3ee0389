// Playing: the spool file is read block by block into the two buffers in turn, each queued on the
// output device once it has played its previous block.
#include "graphics/WaveRecorder.h"

#include "graphics/WaveRecorderState.h"

using namespace pw::graphics::wave;

namespace {

enum class Queued { Block, End, Failed };

// Reads the next block into the current buffer and queues it. A spool file that ends early ends
// the recording there, so playing never waits for bytes that are not coming.
Queued WavePlayQueueBuffer()
{
    State& state = Recorder();
    if (state.bytesDone >= state.recordedLength)
        return Queued::End;
    uint16_t which = state.currentBuffer;
    WAVEHDR& header = *state.headers[which];
    UINT count = _lread(static_cast<HFILE>(reinterpret_cast<INT_PTR>(state.spoolFile)), header.lpData, state.blockLength);
    if (count == static_cast<UINT>(HFILE_ERROR))
        return Queued::Failed;
    if (count == 0) {
        state.bytesDone = state.recordedLength;
        return Queued::End;
    }
    header.dwBufferLength = count;
    state.bytesDone += count;
    header.dwFlags = WHDR_PREPARED;
    if (waveOutWrite(state.waveOut, &header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        return Queued::Failed;
    state.queued[which] = true;
    state.currentBuffer = static_cast<uint16_t>(1 - which);
    return Queued::Block;
}

// Stops and closes the output device and the spool file; answers whether every call succeeded.
// The module counts the device closed either way.
bool WavePlayClose()
{
    State& state = Recorder();
    bool closed = true;
    if (state.deviceOpen) {
        closed = waveOutReset(state.waveOut) == MMSYSERR_NOERROR;
        for (int which = 0; which < 2; ++which) {
            if (waveOutUnprepareHeader(state.waveOut, state.headers[which], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
                closed = false;
            state.queued[which] = false;
        }
        if (waveOutClose(state.waveOut) != MMSYSERR_NOERROR)
            closed = false;
        state.waveOut = nullptr;
        state.deviceOpen = false;
    }
    CloseSpoolFile();
    return closed;
}

int16_t WavePlayFail()
{
    WavePlayClose();
    return 0;
}

} // namespace

// Waits only for the blocks it queued: a recording of one block queues one.
int16_t WavePlayStart()
{
    State& state = Recorder();
    if (!state.format || state.deviceOpen)
        return 0;
    if (state.recordedLength == 0)
        return -1;
    state.currentBuffer = 0;
    state.bytesDone = 0;
    if (waveOutOpen(&state.waveOut, WAVE_MAPPER, state.format, 0, 0, CALLBACK_NULL | WAVE_ALLOWSYNC) != MMSYSERR_NOERROR)
        return 0;
    state.deviceOpen = true;
    state.recording = false;
    WaveCheckFormat();
    for (int which = 0; which < 2; ++which) {
        if (waveOutPrepareHeader(state.waveOut, state.headers[which], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
            return WavePlayFail();
    }
    state.spoolFile = CreateFileA(state.spoolName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state.spoolFile == INVALID_HANDLE_VALUE)
        return WavePlayFail();
    if (WavePlayQueueBuffer() != Queued::Block || WavePlayQueueBuffer() == Queued::Failed)
        return WavePlayFail();
    if (!WaitForHeader(state.currentBuffer) || !WaitForHeader(static_cast<uint16_t>(1 - state.currentBuffer)))
        return WavePlayFail();
    WavePlayStep();
    return 1;
}

int16_t WavePlayStep()
{
    State& state = Recorder();
    if (!state.deviceOpen || state.recording)
        return 0;
    if (state.bytesDone < state.recordedLength) {
        if (!WaitForHeader(state.currentBuffer) || WavePlayQueueBuffer() == Queued::Failed)
            return 0;
        return 1;
    }
    WaitForHeader(static_cast<uint16_t>(1 - state.currentBuffer));
    return 0;
}

int16_t WavePlayStop()
{
    State& state = Recorder();
    if (!state.deviceOpen || state.recording)
        return 0;
    return WavePlayClose() ? 1 : 0;
}
