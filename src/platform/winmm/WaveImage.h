// Reading the parts of a RIFF WAVE image that playing it needs: the PCM format and where the
// samples are. No length in the image is trusted past the bytes there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <mmsystem.h>

#include "platform/winmm/AudioDevice.h"

namespace pw::platform::winmm {

struct WaveLayout {
    PcmFormat format;
    size_t dataOffset = 0;
    size_t dataLength = 0; // whole sample frames; a data chunk cut short by the end counts what is there
};

// The layout of `image`, or nothing when it is not a RIFF WAVE image of 8- or 16-bit PCM with one
// or two channels, a rate above 0, a "fmt " chunk of at least 16 bytes and a "data" chunk.
std::optional<WaveLayout> ParseWaveImage(uint8_t const* image, size_t size);

// The size of a RIFF image in memory, read from its first 12 bytes: 8 + the RIFF chunk size; 0
// when they are not "RIFF", size, "WAVE". Reads the size and form only after "RIFF" matched.
size_t RiffImageSize(uint8_t const* image);

// The PCM format a wave device can open: tag WAVE_FORMAT_PCM, one or two channels, 8 or 16 bits,
// a rate above 0, and the block alignment and byte rate that follow from them.
std::optional<PcmFormat> PcmFormatFrom(WAVEFORMATEX const& format);

// Little-endian fields, as RIFF stores them.
inline uint32_t ReadLE32(uint8_t const* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

inline uint16_t ReadLE16(uint8_t const* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace pw::platform::winmm
