// What the multimedia calls need from a sound device, and which device they use.
//
// The calls (sndPlaySoundA, waveIn*, waveOut*, MessageBeep's beep) validate their arguments, keep
// the handles and the buffer queues, and hand the sound itself to the current AudioDevice: the
// recording device in tests (it logs what was played and records from a test signal) or the SDL
// device in the windowed program. A device moves wave data through a WaveQueue; an open wave
// stream is a WaveEndpoint, owned by its handle and destroyed (which stops the device touching
// the queue) before the handle goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <mmsystem.h>

namespace pw::platform::winmm {

class WaveQueue;

// Uncompressed PCM as the devices take it: 8-bit unsigned or 16-bit signed little-endian samples,
// channels interleaved.
struct PcmFormat {
    uint16_t channels = 1;
    uint32_t samplesPerSec = 22050;
    uint16_t bitsPerSample = 8;

    uint32_t BlockAlign() const { return channels * (bitsPerSample / 8u); }
    bool operator==(PcmFormat const&) const = default;
};

// A sound handed to the device by sndPlaySoundA: the platform's own copy of the RIFF image, so
// an asynchronous sound never outlives the caller's data.
struct SoundClip {
    std::string path; // as the caller gave it; empty for an image played from memory
    UINT flags = 0;
    std::vector<uint8_t> image;
    PcmFormat format;
    size_t dataOffset = 0; // the samples within the image, whole sample frames only
    size_t dataLength = 0;

    const uint8_t* Samples() const { return image.data() + dataOffset; }
};

enum class WaveDirection { Out, In };

// One open wave stream on a device.
class WaveEndpoint {
public:
    virtual ~WaveEndpoint() = default;

    // The queue gained a buffer or started running. A device that acts at once moves the data
    // now; one with its own thread picks it up from there.
    virtual void Poke() { }
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Starts `clip`, replacing whatever sound is playing (a beep is not a sound). Returns after
    // the sound has ended when SND_ASYNC is not in clip.flags. False when it cannot be played.
    virtual bool PlaySound(std::shared_ptr<const SoundClip> clip) = 0;
    virtual void StopSound() = 0;

    // The default beep (MessageBeep's type), heard over a playing sound without stopping it.
    virtual void Beep(UINT type) = 0;

    virtual UINT InputDeviceCount() = 0;

    // Opens a stream moving `format` samples between the device and `queue`, which outlives the
    // endpoint. On failure the result is null and `error` says why (MMSYSERR_NODRIVER,
    // WAVERR_BADFORMAT).
    virtual std::unique_ptr<WaveEndpoint> OpenWave(WaveDirection direction, PcmFormat const& format,
                                                   WaveQueue& queue, MMRESULT& error) = 0;
};

// The device the calls use: the one installed, else the recording device.
AudioDevice& CurrentAudioDevice();

// Installs `device` (the SDL device at program start); null goes back to the recording device.
// Streams already open stay on the device that opened them.
void SetAudioDevice(std::unique_ptr<AudioDevice> device);

// MessageBeep's sound: the current device's beep.
void PlayBeep(UINT type);

} // namespace pw::platform::winmm
