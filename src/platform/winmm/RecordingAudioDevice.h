// The sound device of the tests: nothing is heard; everything played is logged.
//
// It logs each sound sndPlaySoundA starts or stops, each beep and each waveOut buffer, with the
// virtual time of the platform clock, and it fills waveIn buffers from a test signal. It acts at
// once on the program's thread: a buffer written is played and done before waveOutWrite returns,
// and queued input buffers are full as soon as recording runs. One instance serves the process
// and is never destroyed, so its streams stay valid whichever device is installed later.
#pragma once

#include <string>
#include <vector>

#include "platform/winmm/AudioDevice.h"

namespace pw::platform::winmm {

struct SoundEvent {
    enum class Kind { Play, Stop, Beep, WaveOut };

    Kind kind = Kind::Play;
    uint64_t timeMs = 0;
    UINT flags = 0;        // sndPlaySoundA's flags, or MessageBeep's type
    std::string path;      // a sound played from a file: the path as given
    uint64_t hash = 0;     // Play: of the whole image copied; WaveOut: of the bytes played
    PcmFormat format;      // Play and WaveOut
    size_t length = 0;     // Play: bytes of sample data; WaveOut: bytes of the buffer
    std::vector<uint8_t> bytes; // WaveOut: the bytes played

    // One line for test messages, e.g. "120 ms: play flags 0x7 image 9a3f... 22050 Hz 8-bit 1 ch 4000 bytes".
    std::string Describe() const;
};

// FNV-1a, 64 bits: the hash the log gives sound images and played buffers.
uint64_t HashBytes(void const* data, size_t size);

class RecordingAudioDevice final : public AudioDevice {
public:
    static RecordingAudioDevice& Instance();

    bool PlaySound(std::shared_ptr<const SoundClip> clip) override;
    void StopSound() override;
    void Beep(UINT type) override;
    UINT InputDeviceCount() override;
    std::unique_ptr<WaveEndpoint> OpenWave(WaveDirection direction, PcmFormat const& format, WaveQueue& queue,
                                           MMRESULT& error) override;

    std::vector<SoundEvent> const& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    // The sound sndPlaySoundA started last and has not been stopped, or null.
    std::shared_ptr<const SoundClip> CurrentSound() const { return m_current; }

    // The bytes each recording delivers, repeated from the start of each waveInOpen; empty means
    // silence in the stream's format (0x80 for 8-bit samples, 0 for 16-bit).
    void SetTestSignal(std::vector<uint8_t> signal) { m_signal = std::move(signal); }
    // No device at all: opening a stream fails with MMSYSERR_NODRIVER, no input device is counted.
    void SetNoDevice(bool noDevice) { m_noDevice = noDevice; }
    // A device that never finishes a buffer: queued buffers stay queued until reset.
    void SetStalled(bool stalled) { m_stalled = stalled; }

    void Reset();

private:
    RecordingAudioDevice() = default;

    class Endpoint;
    class OutEndpoint;
    class InEndpoint;
    void Append(SoundEvent event);

    std::vector<SoundEvent> m_log;
    std::shared_ptr<const SoundClip> m_current;
    std::vector<uint8_t> m_signal;
    bool m_noDevice = false;
    bool m_stalled = false;
};

} // namespace pw::platform::winmm
