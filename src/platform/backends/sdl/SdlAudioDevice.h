// The windowed program's sound device: SDL2 audio output and capture.
//
// Sounds from sndPlaySoundA are converted once to the mixer's format (16-bit stereo, 44100 Hz) and
// mixed with the beep on one output device, so a beep does not cut a sound. Each open wave stream
// is its own SDL device opened in the stream's PCM format (SDL converts to the hardware); its audio
// thread moves samples through the stream's queue and marks buffers done. Streams hold their own
// reference on SDL's audio subsystem, so they outlive this object if it is replaced. Without a
// working audio driver every sound fails quietly and wave streams fail with MMSYSERR_NODRIVER.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/winmm/AudioDevice.h"

namespace pw::platform {

class SdlAudioDevice final : public winmm::AudioDevice {
public:
    SdlAudioDevice();
    ~SdlAudioDevice() override;
    SdlAudioDevice(SdlAudioDevice const&) = delete;
    SdlAudioDevice& operator=(SdlAudioDevice const&) = delete;

    bool PlaySound(std::shared_ptr<const winmm::SoundClip> clip) override;
    void StopSound() override;
    void Beep(UINT type) override;
    UINT InputDeviceCount() override;
    std::unique_ptr<winmm::WaveEndpoint> OpenWave(winmm::WaveDirection direction, winmm::PcmFormat const& format,
                                                  winmm::WaveQueue& queue, MMRESULT& error) override;

    // True while a sound from sndPlaySoundA is still being heard.
    bool IsSoundPlaying();

private:
    bool OpenMixer();
    static void Mix(void* self, uint8_t* stream, int length);

    bool m_ready = false;        // SDL's audio subsystem is up
    uint32_t m_mixer = 0;        // the output device for sounds and beeps; 0 until first needed
    std::vector<int16_t> m_sound; // interleaved stereo, the mixer's format
    size_t m_soundPosition = 0;
    std::vector<int16_t> m_beep;
    size_t m_beepPosition = 0;
};

} // namespace pw::platform
