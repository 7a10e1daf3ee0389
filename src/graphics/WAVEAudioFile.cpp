#include "graphics/WAVEAudioFile.h"

#include "foundation/Stream.h"

#include <cstring>

namespace pw::graphics {

namespace {

// The "fmt " chunk's first 16 bytes, as they lie in the file.
struct WaveFormatChunk {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint32_t bytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
};
static_assert(sizeof(WaveFormatChunk) == 16);

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kMaxBits = 32;

} // namespace

int WAVEAudioFile::ReadWAVEHeader(Stream& stream, AudioFormat& format) const
{
    format = AudioFormat();
    if (Available(stream) < 12)
        return 0;
    char form[12];
    stream.Read(form, 12);
    if (!SameId(form, "RIFF") || !SameId(form + 8, "WAVE"))
        return 0;

    ChunkHeader chunk;
    if (!FindChunk("fmt ", stream, kLittleEndian, chunk) || chunk.size < sizeof(WaveFormatChunk)
        || chunk.size > Available(stream))
        return 0;
    WaveFormatChunk fmt;
    stream.Read(&fmt, sizeof fmt);
    if (FileShort(fmt.formatTag, kLittleEndian) != kFormatPcm)
        return 0;
    format.channels = FileShort(fmt.channels, kLittleEndian);
    format.rate = FileLong(fmt.samplesPerSecond, kLittleEndian);
    format.bits = FileShort(fmt.bitsPerSample, kLittleEndian);
    if (format.channels == 0 || format.rate == 0 || format.bits == 0 || format.bits > kMaxBits)
        return 0;

    stream.Seek(12, Stream::kFromStart);
    if (!FindChunk("data", stream, kLittleEndian, chunk) || chunk.size > Available(stream))
        return 0;
    format.dataLength = chunk.size;
    return 1;
}

// The byte rate and block alignment round up: bits x rate x channels / 8 + 0.99, truncated.
int WAVEAudioFile::WriteWAVEHeader(Stream& stream, const AudioFormat& format) const
{
    uint32_t pad = format.dataLength & 1;
    if (format.dataLength > UINT32_MAX - kHeaderSize)
        return 0;
    double bytesPerSecond = format.bits * static_cast<double>(format.rate) * format.channels * 0.125 + 0.99;
    double blockAlign = format.bits * static_cast<double>(format.channels) * 0.125 + 0.99;
    if (bytesPerSecond >= 4294967296.0 || blockAlign >= 65536.0)
        return 0;

    stream.Write("RIFF", 4);
    uint32_t riffSize = FileLong(format.dataLength + 36 + pad, kLittleEndian);
    stream.Write(&riffSize, 4);
    stream.Write("WAVE", 4);
    WriteChunkHeader(stream, "fmt ", sizeof(WaveFormatChunk), kLittleEndian);
    WaveFormatChunk fmt {
        FileShort(kFormatPcm, kLittleEndian),
        FileShort(format.channels, kLittleEndian),
        FileLong(format.rate, kLittleEndian),
        FileLong(static_cast<uint32_t>(bytesPerSecond), kLittleEndian),
        FileShort(static_cast<uint16_t>(blockAlign), kLittleEndian),
        FileShort(format.bits, kLittleEndian),
    };
    stream.Write(&fmt, sizeof fmt);
    WriteChunkHeader(stream, "data", format.dataLength, kLittleEndian);
    return 1;
}

} // namespace pw::graphics
