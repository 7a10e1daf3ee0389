#include "platform/winmm/RecordingAudioDevice.h"

#include <cinttypes>
#include <cstdio>

#include "platform/kernel/Clock.h"
#include "platform/winmm/WaveQueue.h"

namespace pw::platform::winmm {

std::string SoundEvent::Describe() const
{
    char text[160];
    auto formatText = [&] {
        char f[64];
        std::snprintf(f, sizeof f, "%" PRIu32 " Hz %u-bit %u ch %zu bytes", format.samplesPerSec,
                      static_cast<unsigned>(format.bitsPerSample), static_cast<unsigned>(format.channels), length);
        return std::string(f);
    };
    switch (kind) {
    case Kind::Play:
        std::snprintf(text, sizeof text, "%" PRIu64 " ms: play flags 0x%x image %016" PRIx64 " ", timeMs, flags, hash);
        return text + (path.empty() ? std::string() : "path " + path + " ") + formatText();
    case Kind::Stop:
        std::snprintf(text, sizeof text, "%" PRIu64 " ms: stop", timeMs);
        return text;
    case Kind::Beep:
        std::snprintf(text, sizeof text, "%" PRIu64 " ms: beep 0x%x", timeMs, flags);
        return text;
    case Kind::WaveOut:
        std::snprintf(text, sizeof text, "%" PRIu64 " ms: waveOut %016" PRIx64 " ", timeMs, hash);
        return text + formatText();
    }
    return {};
}

uint64_t HashBytes(void const* data, size_t size)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    auto const* bytes = static_cast<uint8_t const*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// What both endpoints work on: the device (which a test may stall), the stream's format and queue.
class RecordingAudioDevice::Endpoint : public WaveEndpoint {
public:
    Endpoint(RecordingAudioDevice& device, PcmFormat format, WaveQueue& queue)
        : m_device(device)
        , m_format(format)
        , m_queue(queue)
    {
    }

protected:
    RecordingAudioDevice& m_device;
    PcmFormat m_format;
    WaveQueue& m_queue;
};

// Plays each buffer whole the moment it is written, logging it.
class RecordingAudioDevice::OutEndpoint final : public Endpoint {
public:
    using Endpoint::Endpoint;

    void Poke() override
    {
        if (m_device.m_stalled)
            return;
        std::vector<uint8_t> bytes;
        while (m_queue.TakeBuffer(bytes)) {
            SoundEvent event;
            event.kind = SoundEvent::Kind::WaveOut;
            event.format = m_format;
            event.length = bytes.size();
            event.hash = HashBytes(bytes.data(), bytes.size());
            event.bytes = std::move(bytes);
            m_device.Append(std::move(event));
            bytes.clear();
        }
    }
};

// Fills every queued buffer from the test signal as soon as recording runs.
class RecordingAudioDevice::InEndpoint final : public Endpoint {
public:
    using Endpoint::Endpoint;

    void Poke() override
    {
        if (m_device.m_stalled)
            return;
        std::vector<uint8_t> const& signal = m_device.m_signal;
        std::vector<uint8_t> bytes(m_queue.RecordSpace());
        for (uint8_t& byte : bytes) {
            if (signal.empty())
                byte = m_format.bitsPerSample == 8 ? 0x80 : 0x00;
            else
                byte = signal[m_position++ % signal.size()];
        }
        m_queue.Record(bytes.data(), bytes.size());
    }

private:
    size_t m_position = 0;
};

RecordingAudioDevice& RecordingAudioDevice::Instance()
{
    static RecordingAudioDevice* device = new RecordingAudioDevice;
    return *device;
}

bool RecordingAudioDevice::PlaySound(std::shared_ptr<const SoundClip> clip)
{
    SoundEvent event;
    event.kind = SoundEvent::Kind::Play;
    event.flags = clip->flags;
    event.path = clip->path;
    event.hash = HashBytes(clip->image.data(), clip->image.size());
    event.format = clip->format;
    event.length = clip->dataLength;
    Append(std::move(event));
    m_current = std::move(clip);
    return true;
}

void RecordingAudioDevice::StopSound()
{
    m_current.reset();
    SoundEvent event;
    event.kind = SoundEvent::Kind::Stop;
    Append(std::move(event));
}

void RecordingAudioDevice::Beep(UINT type)
{
    SoundEvent event;
    event.kind = SoundEvent::Kind::Beep;
    event.flags = type;
    Append(std::move(event));
}

UINT RecordingAudioDevice::InputDeviceCount()
{
    return m_noDevice ? 0 : 1;
}

std::unique_ptr<WaveEndpoint> RecordingAudioDevice::OpenWave(WaveDirection direction, PcmFormat const& format,
                                                             WaveQueue& queue, MMRESULT& error)
{
    if (m_noDevice) {
        error = MMSYSERR_NODRIVER;
        return nullptr;
    }
    error = MMSYSERR_NOERROR;
    if (direction == WaveDirection::Out)
        return std::make_unique<OutEndpoint>(*this, format, queue);
    return std::make_unique<InEndpoint>(*this, format, queue);
}

void RecordingAudioDevice::Reset()
{
    m_log.clear();
    m_current.reset();
    m_signal.clear();
    m_noDevice = false;
    m_stalled = false;
}

void RecordingAudioDevice::Append(SoundEvent event)
{
    event.timeMs = Clock::NowMs();
    m_log.push_back(std::move(event));
}

} // namespace pw::platform::winmm
