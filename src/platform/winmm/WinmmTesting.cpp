#include "platform/winmm/WinmmTesting.h"

#include "platform/testing/Reset.h"
#include "platform/winmm/MmioFiles.h"
#include "platform/winmm/WaveStreams.h"

namespace pw::platform::winmm::testing {

namespace {
RecordingAudioDevice& Device()
{
    return RecordingAudioDevice::Instance();
}

const bool registered = pw::platform::testing::RegisterReset([] {
    WaveStreams::Clear();
    CloseAllMmioFiles();
    SetAudioDevice(nullptr);
    Device().Reset();
});
} // namespace

std::vector<SoundEvent> const& SoundLog()
{
    return Device().Log();
}

void ClearSoundLog()
{
    Device().ClearLog();
}

std::shared_ptr<SoundClip const> CurrentSound()
{
    return Device().CurrentSound();
}

void SetTestSignal(std::vector<uint8_t> signal)
{
    Device().SetTestSignal(std::move(signal));
}

void SetNoDevice(bool noDevice)
{
    Device().SetNoDevice(noDevice);
}

void SetDeviceStalled(bool stalled)
{
    Device().SetStalled(stalled);
}

size_t LiveWaveHandles()
{
    return WaveStreams::Count();
}

size_t LiveMmioHandles()
{
    return LiveMmioFiles();
}

} // namespace pw::platform::winmm::testing
