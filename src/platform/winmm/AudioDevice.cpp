#include "platform/winmm/AudioDevice.h"

#include "platform/winmm/RecordingAudioDevice.h"

namespace pw::platform::winmm {

namespace {
std::unique_ptr<AudioDevice>& InstalledDevice()
{
    static std::unique_ptr<AudioDevice> device;
    return device;
}
} // namespace

AudioDevice& CurrentAudioDevice()
{
    if (auto& device = InstalledDevice())
        return *device;
    return RecordingAudioDevice::Instance();
}

void SetAudioDevice(std::unique_ptr<AudioDevice> device)
{
    InstalledDevice() = std::move(device);
}

void PlayBeep(UINT type)
{
    CurrentAudioDevice().Beep(type);
}

} // namespace pw::platform::winmm
