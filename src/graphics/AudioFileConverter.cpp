#include "graphics/AudioFileConverter.h"

#include "foundation/Exception.h"
#include "foundation/Stream.h"

#include <algorithm>
#include <memory>

namespace {

// The rates the older sound hardware ran at, and the rates files of today name them by.
uint32_t ToAIFFRate(uint32_t rate)
{
    return rate == 22050 ? 22254 : rate == 11025 ? 11127 : rate;
}

uint32_t ToWAVERate(uint32_t rate)
{
    return rate == 22254 ? 22050 : rate == 11127 ? 11025 : rate;
}

} // namespace

AudioFileConverter::AudioFileConverter(int hostOrder, uint32_t bufferSize)
    : hostOrder(hostOrder)
    , bufferSize(bufferSize)
{
    ASSERT(sizeof(AIFFCommonChunk) == kCommonChunkSize);
}

int AudioFileConverter::Convert(Stream& in, Stream& out)
{
    in.Seek(0, Stream::kFromStart);
    out.Seek(0, Stream::kFromStart);
    // At least one sample of the widest kind fits.
    uint32_t size = std::max<uint32_t>(bufferSize, 4);
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);

    pw::graphics::AudioFormat format;
    if (ReadAIFFHeader(in, format)) {
        format.rate = ToWAVERate(format.rate);
        if (!WriteWAVEHeader(out, format))
            return 0;
    } else {
        in.Seek(0, Stream::kFromStart);
        if (!ReadWAVEHeader(in, format))
            return 0;
        format.rate = ToAIFFRate(format.rate);
        if (!WriteAIFFHeader(out, format))
            return 0;
    }
    CopySamples(in, out, format, buffer.get(), size);
    return 1;
}

// Pieces hold whole samples, so no sample is split between two reversals; a last part shorter
// than one sample is copied as it is.
void AudioFileConverter::CopySamples(Stream& in, Stream& out, const pw::graphics::AudioFormat& format,
    uint8_t* buffer, uint32_t size)
{
    uint32_t width = (format.bits + 7u) / 8u;
    uint32_t whole = size - size % width;
    uint32_t remaining = format.dataLength;
    while (remaining > 0) {
        uint32_t piece = std::min(whole, remaining);
        in.Read(buffer, piece);
        if (format.bits == 8)
            FlipTopBits(buffer, piece);
        else if (format.bits > 8)
            ReverseSamples(buffer, piece, width);
        out.Write(buffer, piece);
        remaining -= piece;
    }
    if (format.dataLength & 1) {
        uint8_t pad = 0;
        out.Write(&pad, 1);
    }
}
