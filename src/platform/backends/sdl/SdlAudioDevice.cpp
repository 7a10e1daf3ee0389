#include "platform/backends/sdl/SdlAudioDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <numbers>

#include "platform/winmm/WaveQueue.h"

namespace pw::platform {

namespace {

constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;
// Longer sounds are refused rather than converted into hundreds of megabytes.
constexpr uint64_t kLongestSoundSeconds = 30 * 60;

SDL_AudioFormat SdlFormatOf(winmm::PcmFormat const& format)
{
    return format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

// One open wave stream: an SDL device in the stream's format whose thread feeds or drains the queue.
class SdlWaveEndpoint final : public winmm::WaveEndpoint {
public:
    SdlWaveEndpoint(winmm::WaveDirection direction, winmm::WaveQueue& queue)
        : m_direction(direction)
        , m_queue(queue)
    {
    }

    ~SdlWaveEndpoint() override
    {
        // Closing waits for the device's thread, so no callback touches the queue afterwards.
        if (m_device)
            SDL_CloseAudioDevice(m_device);
        if (m_subsystem)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(winmm::PcmFormat const& format)
    {
        m_subsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (!m_subsystem)
            return false;
        SDL_AudioSpec want {};
        want.freq = static_cast<int>(format.samplesPerSec);
        want.format = SdlFormatOf(format);
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = 512;
        want.callback = &SdlWaveEndpoint::Callback;
        want.userdata = this;
        SDL_AudioSpec have {};
        int capture = m_direction == winmm::WaveDirection::In ? 1 : 0;
        m_device = SDL_OpenAudioDevice(nullptr, capture, &want, &have, 0);
        if (!m_device) {
            std::fprintf(stderr, "plumewright: SDL audio: %s\n", SDL_GetError());
            return false;
        }
        m_silence = have.silence;
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

private:
    static void SDLCALL Callback(void* userdata, Uint8* stream, int length)
    {
        auto* self = static_cast<SdlWaveEndpoint*>(userdata);
        auto size = static_cast<size_t>(length);
        if (self->m_direction == winmm::WaveDirection::In) {
            self->m_queue.Record(stream, size); // samples with no buffer queued are lost, as on hardware
            return;
        }
        size_t played = self->m_queue.Play(stream, size);
        std::memset(stream + played, self->m_silence, size - played);
    }

    winmm::WaveDirection m_direction;
    winmm::WaveQueue& m_queue;
    bool m_subsystem = false;
    SDL_AudioDeviceID m_device = 0;
    Uint8 m_silence = 0;
};

// Converts the clip's samples to the mixer's format; empty on failure.
std::vector<int16_t> ConvertForMixer(winmm::SoundClip const& clip)
{
    std::vector<int16_t> out;
    SDL_AudioStream* stream = SDL_NewAudioStream(SdlFormatOf(clip.format), static_cast<Uint8>(clip.format.channels),
                                                 static_cast<int>(clip.format.samplesPerSec), AUDIO_S16SYS,
                                                 kMixerChannels, kMixerRate);
    if (!stream)
        return out;
    if (SDL_AudioStreamPut(stream, clip.Samples(), static_cast<int>(clip.dataLength)) == 0
        && SDL_AudioStreamFlush(stream) == 0) {
        int available = SDL_AudioStreamAvailable(stream);
        out.resize(static_cast<size_t>(available) / sizeof(int16_t));
        int got = SDL_AudioStreamGet(stream, out.data(), available);
        out.resize(got > 0 ? static_cast<size_t>(got) / sizeof(int16_t) : 0);
    }
    SDL_FreeAudioStream(stream);
    return out;
}

} // namespace

SdlAudioDevice::SdlAudioDevice()
{
    m_ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!m_ready)
        std::fprintf(stderr, "plumewright: no sound: %s\n", SDL_GetError());

    // The default beep: a short 880 Hz tone with soft edges.
    constexpr int kBeepFrames = kMixerRate / 8;
    m_beep.resize(kBeepFrames * kMixerChannels);
    for (int i = 0; i < kBeepFrames; ++i) {
        double envelope = std::min({ 1.0, i / 400.0, (kBeepFrames - i) / 400.0 });
        auto sample = static_cast<int16_t>(6000.0 * envelope * std::sin(2.0 * std::numbers::pi * 880.0 * i / kMixerRate));
        m_beep[i * 2] = sample;
        m_beep[i * 2 + 1] = sample;
    }
    m_beepPosition = m_beep.size();
}

SdlAudioDevice::~SdlAudioDevice()
{
    if (m_mixer)
        SDL_CloseAudioDevice(m_mixer);
    if (m_ready)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::OpenMixer()
{
    if (m_mixer || !m_ready)
        return m_mixer != 0;
    SDL_AudioSpec want {};
    want.freq = kMixerRate;
    want.format = AUDIO_S16SYS;
    want.channels = kMixerChannels;
    want.samples = 1024;
    want.callback = &SdlAudioDevice::Mix;
    want.userdata = this;
    m_mixer = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!m_mixer) {
        std::fprintf(stderr, "plumewright: SDL audio: %s\n", SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(m_mixer, 0);
    return true;
}

void SdlAudioDevice::Mix(void* self, uint8_t* stream, int length)
{
    auto& device = *static_cast<SdlAudioDevice*>(self);
    auto* out = reinterpret_cast<int16_t*>(stream);
    size_t count = static_cast<size_t>(length) / sizeof(int16_t);
    for (size_t i = 0; i < count; ++i) {
        int sample = 0;
        if (device.m_soundPosition < device.m_sound.size())
            sample += device.m_sound[device.m_soundPosition++];
        if (device.m_beepPosition < device.m_beep.size())
            sample += device.m_beep[device.m_beepPosition++];
        out[i] = static_cast<int16_t>(std::clamp(sample, -32768, 32767));
    }
}

bool SdlAudioDevice::PlaySound(std::shared_ptr<const winmm::SoundClip> clip)
{
    uint64_t frames = clip->dataLength / clip->format.BlockAlign();
    if (frames > kLongestSoundSeconds * clip->format.samplesPerSec || !OpenMixer())
        return false;
    std::vector<int16_t> sound;
    try {
        sound = ConvertForMixer(*clip);
    } catch (std::bad_alloc const&) {
        return false;
    }
    if (sound.empty() && clip->dataLength)
        return false;

    SDL_LockAudioDevice(m_mixer);
    m_sound.swap(sound);
    m_soundPosition = 0;
    SDL_UnlockAudioDevice(m_mixer);

    if (!(clip->flags & SND_ASYNC)) {
        // SND_SYNC: return once it has been heard, waiting no longer than its length and a second.
        uint64_t deadline = SDL_GetTicks64() + frames * 1000 / clip->format.samplesPerSec + 1000;
        while (IsSoundPlaying() && SDL_GetTicks64() < deadline)
            SDL_Delay(10);
    }
    return true;
}

void SdlAudioDevice::StopSound()
{
    if (!m_mixer)
        return;
    SDL_LockAudioDevice(m_mixer);
    m_sound.clear();
    m_soundPosition = 0;
    SDL_UnlockAudioDevice(m_mixer);
}

void SdlAudioDevice::Beep(UINT)
{
    if (!OpenMixer())
        return;
    SDL_LockAudioDevice(m_mixer);
    m_beepPosition = 0;
    SDL_UnlockAudioDevice(m_mixer);
}

bool SdlAudioDevice::IsSoundPlaying()
{
    if (!m_mixer)
        return false;
    SDL_LockAudioDevice(m_mixer);
    bool playing = m_soundPosition < m_sound.size();
    SDL_UnlockAudioDevice(m_mixer);
    return playing;
}

UINT SdlAudioDevice::InputDeviceCount()
{
    if (!m_ready)
        return 0;
    // -1: the driver cannot list its devices, though the default one can be opened.
    int count = SDL_GetNumAudioDevices(1);
    return count < 0 ? 1 : static_cast<UINT>(count);
}

std::unique_ptr<winmm::WaveEndpoint> SdlAudioDevice::OpenWave(winmm::WaveDirection direction,
                                                              winmm::PcmFormat const& format,
                                                              winmm::WaveQueue& queue, MMRESULT& error)
{
    error = MMSYSERR_NODRIVER;
    if (!m_ready)
        return nullptr;
    auto endpoint = std::make_unique<SdlWaveEndpoint>(direction, queue);
    if (!endpoint->Open(format))
        return nullptr;
    error = MMSYSERR_NOERROR;
    return endpoint;
}

} // namespace pw::platform
