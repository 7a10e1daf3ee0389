#include "graphics/WAVEAudioFile.h"

#include "foundation/Stream.h"

#include <algorithm>
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
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The extension after the first 16 bytes of an extensible format: its size, the valid bits, the
// speaker mask and the sub-format's identifier, which for PCM is this one.
constexpr uint32_t kExtensibleChunkSize = 40;
constexpr uint8_t kPcmSubFormat[16] = { 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00,
    0x38, 0x9B, 0x71 };

uint32_t EndOf(uint32_t body, uint32_t size, uint32_t length)
{
    uint64_t end = static_cast<uint64_t>(body) + size + (size & 1);
    return static_cast<uint32_t>(std::min<uint64_t>(end, length));
}

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
    format.formatOffset = stream.GetMark();
    uint32_t formatEnd = EndOf(format.formatOffset, chunk.size, stream.GetLength());
    WaveFormatChunk fmt;
    stream.Read(&fmt, sizeof fmt);
    uint16_t tag = FileShort(fmt.formatTag, kLittleEndian);
    format.channels = FileShort(fmt.channels, kLittleEndian);
    format.rate = FileLong(fmt.samplesPerSecond, kLittleEndian);
    format.bits = FileShort(fmt.bitsPerSample, kLittleEndian);
    if (tag == kFormatExtensible) {
        uint8_t extension[kExtensibleChunkSize - sizeof(WaveFormatChunk)];
        if (chunk.size < kExtensibleChunkSize)
            return 0;
        stream.Read(extension, sizeof extension);
        uint16_t validBits = static_cast<uint16_t>(extension[2] | extension[3] << 8);
        if (std::memcmp(extension + 8, kPcmSubFormat, sizeof kPcmSubFormat) != 0 || validBits > format.bits)
            return 0;
        format.extensible = true;
    } else if (tag != kFormatPcm) {
        return 0;
    }
    if (format.channels == 0 || format.rate == 0 || format.bits == 0 || format.bits > kMaxBits)
        return 0;

    stream.Seek(12, Stream::kFromStart);
    if (!FindChunk("data", stream, kLittleEndian, chunk) || chunk.size > Available(stream))
        return 0;
    format.dataLength = chunk.size;
    format.chunksEnd = std::max(formatEnd, EndOf(stream.GetMark(), chunk.size, stream.GetLength()));
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
