// waveIn* and waveOut* on the wave mapper: no callbacks; the program polls WHDR_DONE.
#include <atomic>

#include <mmsystem.h>

#include "platform/winmm/AudioDevice.h"
#include "platform/winmm/WaveImage.h"
#include "platform/winmm/WaveStreams.h"

using namespace pw::platform::winmm;

namespace {

// The 32-bit platform's sizeof(WAVEHDR), which callers written for it pass.
constexpr UINT kWaveHeaderSize32 = 32;

bool IsHeaderArgument(WAVEHDR const* header, UINT size)
{
    return header && (size == kWaveHeaderSize32 || size == sizeof(WAVEHDR));
}

bool IsPrepared(WAVEHDR* header)
{
    return std::atomic_ref<DWORD>(header->dwFlags).load(std::memory_order_acquire) & WHDR_PREPARED;
}

void ChangeFlags(WAVEHDR* header, DWORD set, DWORD clear)
{
    std::atomic_ref<DWORD> flags(header->dwFlags);
    DWORD old = flags.load(std::memory_order_relaxed);
    while (!flags.compare_exchange_weak(old, (old & ~clear) | set, std::memory_order_acq_rel))
        ;
}

// `*handle` receives the new stream's handle, NULL when it fails.
template <typename Handle>
MMRESULT Open(WaveDirection direction, Handle* handle, UINT deviceId, WAVEFORMATEX const* format, DWORD openFlags)
{
    if (handle)
        *handle = nullptr;
    if (!handle || !format)
        return MMSYSERR_INVALPARAM;
    if ((openFlags & CALLBACK_TYPEMASK) != CALLBACK_NULL || (openFlags & ~(CALLBACK_TYPEMASK | WAVE_ALLOWSYNC)))
        return MMSYSERR_INVALFLAG;
    if (deviceId != WAVE_MAPPER && deviceId != 0)
        return MMSYSERR_BADDEVICEID;
    if (WaveStreams::IsOpen(direction))
        return MMSYSERR_ALLOCATED;
    auto pcm = PcmFormatFrom(*format);
    if (!pcm)
        return WAVERR_BADFORMAT;

    auto stream = std::make_unique<WaveStream>();
    stream->direction = direction;
    stream->format = *pcm;
    MMRESULT error = MMSYSERR_NOERROR;
    stream->endpoint = CurrentAudioDevice().OpenWave(direction, *pcm, stream->queue, error);
    if (!stream->endpoint)
        return error != MMSYSERR_NOERROR ? error : MMSYSERR_NODRIVER;
    *handle = static_cast<Handle>(WaveStreams::Add(std::move(stream)));
    return MMSYSERR_NOERROR;
}

MMRESULT Prepare(WaveDirection direction, void const* handle, WAVEHDR* header, UINT size)
{
    if (!WaveStreams::Get(handle, direction))
        return MMSYSERR_INVALHANDLE;
    if (!IsHeaderArgument(header, size) || !header->lpData)
        return MMSYSERR_INVALPARAM;
    ChangeFlags(header, WHDR_PREPARED, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT Unprepare(WaveDirection direction, void const* handle, WAVEHDR* header, UINT size)
{
    WaveStream* stream = WaveStreams::Get(handle, direction);
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (!IsHeaderArgument(header, size))
        return MMSYSERR_INVALPARAM;
    if (stream->queue.Contains(header))
        return WAVERR_STILLPLAYING;
    ChangeFlags(header, 0, WHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT Queue(WaveDirection direction, void const* handle, WAVEHDR* header, UINT size)
{
    WaveStream* stream = WaveStreams::Get(handle, direction);
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (!IsHeaderArgument(header, size) || (!header->lpData && header->dwBufferLength))
        return MMSYSERR_INVALPARAM;
    if (!IsPrepared(header))
        return WAVERR_UNPREPARED;
    if (stream->queue.Contains(header))
        return WAVERR_STILLPLAYING;
    stream->queue.Add(header, direction == WaveDirection::In);
    stream->endpoint->Poke();
    return MMSYSERR_NOERROR;
}

MMRESULT Reset(WaveDirection direction, void const* handle)
{
    WaveStream* stream = WaveStreams::Get(handle, direction);
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    stream->queue.Reset();
    return MMSYSERR_NOERROR;
}

MMRESULT Close(WaveDirection direction, void const* handle)
{
    WaveStream* stream = WaveStreams::Get(handle, direction);
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (!stream->queue.IsEmpty())
        return WAVERR_STILLPLAYING;
    WaveStreams::Remove(handle);
    return MMSYSERR_NOERROR;
}

} // namespace

// The number of input devices the current device offers.
UINT WINAPI waveInGetNumDevs()
{
    return CurrentAudioDevice().InputDeviceCount();
}

// Opens recording in `pwfx`'s PCM format; only CALLBACK_NULL (the program polls WHDR_DONE).
MMRESULT WINAPI waveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR, DWORD_PTR, DWORD fdwOpen)
{
    return Open(WaveDirection::In, phwi, uDeviceID, pwfx, fdwOpen);
}

// Sets WHDR_PREPARED; a header already prepared stays so.
MMRESULT WINAPI waveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh)
{
    return Prepare(WaveDirection::In, hwi, pwh, cbwh);
}

// Clears WHDR_PREPARED; WAVERR_STILLPLAYING while the header is queued.
MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh)
{
    return Unprepare(WaveDirection::In, hwi, pwh, cbwh);
}

// Queues a prepared buffer; it fills in queue order while recording runs, then gets WHDR_DONE.
MMRESULT WINAPI waveInAddBuffer(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh)
{
    return Queue(WaveDirection::In, hwi, pwh, cbwh);
}

// Recording runs into the queued buffers.
MMRESULT WINAPI waveInStart(HWAVEIN hwi)
{
    WaveStream* stream = WaveStreams::Get(hwi, WaveDirection::In);
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    stream->queue.SetRunning(true);
    stream->endpoint->Poke();
    return MMSYSERR_NOERROR;
}

// Stops recording; every queued buffer is marked done with the bytes recorded so far.
MMRESULT WINAPI waveInReset(HWAVEIN hwi)
{
    return Reset(WaveDirection::In, hwi);
}

// WAVERR_STILLPLAYING while buffers are queued.
MMRESULT WINAPI waveInClose(HWAVEIN hwi)
{
    return Close(WaveDirection::In, hwi);
}

// Opens playback in `pwfx`'s PCM format; only CALLBACK_NULL (the program polls WHDR_DONE).
MMRESULT WINAPI waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR, DWORD_PTR,
                            DWORD fdwOpen)
{
    return Open(WaveDirection::Out, phwo, uDeviceID, pwfx, fdwOpen);
}

// Sets WHDR_PREPARED; a header already prepared stays so.
MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh)
{
    return Prepare(WaveDirection::Out, hwo, pwh, cbwh);
}

// Clears WHDR_PREPARED; WAVERR_STILLPLAYING while the header is queued.
MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh)
{
    return Unprepare(WaveDirection::Out, hwo, pwh, cbwh);
}

// Queues dwBufferLength bytes of a prepared buffer; WHDR_DONE once they have been played.
MMRESULT WINAPI waveOutWrite(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh)
{
    return Queue(WaveDirection::Out, hwo, pwh, cbwh);
}

// Stops playing; every queued buffer is marked done.
MMRESULT WINAPI waveOutReset(HWAVEOUT hwo)
{
    return Reset(WaveDirection::Out, hwo);
}

// WAVERR_STILLPLAYING while buffers are queued.
MMRESULT WINAPI waveOutClose(HWAVEOUT hwo)
{
    return Close(WaveDirection::Out, hwo);
}
