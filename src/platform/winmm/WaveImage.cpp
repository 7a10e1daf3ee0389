#include "platform/winmm/WaveImage.h"

#include <cstring>
#include <limits>

namespace pw::platform::winmm {

namespace {

bool IsFourCC(uint8_t const* p, char const (&code)[5])
{
    return std::memcmp(p, code, 4) == 0;
}

bool IsPlayablePcm(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    return tag == WAVE_FORMAT_PCM && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate > 0
        && rate <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
}

} // namespace

std::optional<WaveLayout> ParseWaveImage(uint8_t const* image, size_t size)
{
    if (size < 12 || !IsFourCC(image, "RIFF") || !IsFourCC(image + 8, "WAVE"))
        return std::nullopt;
    // The RIFF size may claim more than there is; the image's own length bounds every chunk.
    uint64_t end = std::min<uint64_t>(size, 8ull + ReadLE32(image + 4));

    std::optional<PcmFormat> format;
    std::optional<WaveLayout> data;
    uint64_t pos = 12;
    while (pos + 8 <= end && !(format && data)) {
        uint8_t const* chunk = image + pos;
        uint64_t chunkSize = ReadLE32(chunk + 4);
        uint64_t body = pos + 8;
        uint64_t available = end - body;
        if (IsFourCC(chunk, "fmt ") && !format) {
            if (chunkSize < 16 || chunkSize > available)
                return std::nullopt;
            uint8_t const* f = image + body;
            uint16_t tag = ReadLE16(f);
            uint16_t channels = ReadLE16(f + 2);
            uint32_t rate = ReadLE32(f + 4);
            uint16_t bits = ReadLE16(f + 14);
            if (!IsPlayablePcm(tag, channels, rate, bits))
                return std::nullopt;
            format = PcmFormat { channels, rate, bits };
        } else if (IsFourCC(chunk, "data") && !data) {
            data = WaveLayout { {}, static_cast<size_t>(body), static_cast<size_t>(std::min(chunkSize, available)) };
        }
        if (chunkSize > available)
            break;
        pos = body + chunkSize + (chunkSize & 1);
    }
    if (!format || !data)
        return std::nullopt;
    data->format = *format;
    data->dataLength -= data->dataLength % format->BlockAlign();
    return data;
}

size_t RiffImageSize(uint8_t const* image)
{
    if (!IsFourCC(image, "RIFF"))
        return 0;
    if (!IsFourCC(image + 8, "WAVE"))
        return 0;
    return 8 + static_cast<size_t>(ReadLE32(image + 4));
}

std::optional<PcmFormat> PcmFormatFrom(WAVEFORMATEX const& format)
{
    if (!IsPlayablePcm(format.wFormatTag, format.nChannels, format.nSamplesPerSec, format.wBitsPerSample))
        return std::nullopt;
    PcmFormat pcm { format.nChannels, format.nSamplesPerSec, format.wBitsPerSample };
    if (format.nBlockAlign != pcm.BlockAlign()
        || format.nAvgBytesPerSec != static_cast<uint64_t>(format.nSamplesPerSec) * pcm.BlockAlign())
        return std::nullopt;
    return pcm;
}

} // namespace pw::platform::winmm
