// Test hooks of the multimedia calls: what the recording sound device heard, the signal it
// records, a machine without a sound device, and the handles still open. The test reset (run
// before each test) clears the log, restores silence as the signal and the device, closes every
// wave stream and mmio file without touching the headers, and puts back the recording device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/winmm/RecordingAudioDevice.h"

namespace pw::platform::winmm::testing {

// Every sound started or stopped, beep and waveOut buffer, oldest first.
std::vector<SoundEvent> const& SoundLog();
void ClearSoundLog();

// The sound sndPlaySoundA started last, unless stopped since; null otherwise.
std::shared_ptr<SoundClip const> CurrentSound();

// The bytes recording delivers, repeated from the start of each waveInOpen; empty: silence.
void SetTestSignal(std::vector<uint8_t> signal);

// waveInOpen and waveOutOpen fail with MMSYSERR_NODRIVER; waveInGetNumDevs answers 0.
void SetNoDevice(bool noDevice);

// Queued buffers never finish until reset, as on a device that has stopped delivering.
void SetDeviceStalled(bool stalled);

size_t LiveWaveHandles();
size_t LiveMmioHandles();

} // namespace pw::platform::winmm::testing
