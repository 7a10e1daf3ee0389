// The open waveIn and waveOut streams behind the handles the program holds.
//
// At most one stream of each direction is open at a time (a second open is MMSYSERR_ALLOCATED).
// Handle values come from a counter and are never reused, so a closed handle stays dead; a handle
// of the other direction reads as absent.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/winmm/AudioDevice.h"
#include "platform/winmm/WaveQueue.h"

namespace pw::platform::winmm {

struct WaveStream {
    WaveDirection direction = WaveDirection::Out;
    PcmFormat format;
    WaveQueue queue;
    // Declared after the queue, so it is destroyed (and stops the device) before the queue goes.
    std::unique_ptr<WaveEndpoint> endpoint;
};

class WaveStreams {
public:
    // Registers `stream` and returns its handle value.
    static void* Add(std::unique_ptr<WaveStream> stream);
    static WaveStream* Get(void const* handle, WaveDirection direction);
    static bool IsOpen(WaveDirection direction);
    static void Remove(void const* handle);
    static size_t Count();

    // Closes every stream without touching the program's headers: the test reset.
    static void Clear();
};

} // namespace pw::platform::winmm
