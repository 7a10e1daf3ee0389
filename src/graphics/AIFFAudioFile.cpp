#include "graphics/AIFFAudioFile.h"

#include "foundation/Stream.h"

#include <bit>
#include <cstring>

namespace pw::graphics {

namespace {

constexpr int kMaxBits = 32;
constexpr int kExponentBias = 16383;

constexpr uint8_t k22254[10] = { 0x40, 0x0D, 0xAD, 0xDD, 0x17, 0x46, 0, 0, 0, 0 };
constexpr uint8_t k11127[10] = { 0x40, 0x0C, 0xAD, 0xDD, 0x17, 0x44, 0, 0, 0, 0 };

} // namespace

void AIFFAudioFile::EncodeRate(uint32_t rate, uint8_t* bytes)
{
    if (rate == 22254) {
        std::memcpy(bytes, k22254, 10);
        return;
    }
    if (rate == 11127) {
        std::memcpy(bytes, k11127, 10);
        return;
    }
    std::memset(bytes, 0, 10);
    if (rate == 0)
        return;
    // Normalised: the explicit leading bit at the mantissa's top, the exponent its place.
    int top = std::bit_width(rate) - 1;
    uint16_t exponent = static_cast<uint16_t>(kExponentBias + top);
    uint64_t mantissa = static_cast<uint64_t>(rate) << (63 - top);
    bytes[0] = static_cast<uint8_t>(exponent >> 8);
    bytes[1] = static_cast<uint8_t>(exponent);
    for (int index = 0; index < 8; ++index)
        bytes[2 + index] = static_cast<uint8_t>(mantissa >> (56 - 8 * index));
}

uint32_t AIFFAudioFile::DecodeRate(const uint8_t* bytes)
{
    uint16_t exponent = static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
    if (exponent & 0x8000)
        return 0;
    int power = exponent - kExponentBias;
    if (power < 0 || power > 31)
        return 0;
    uint64_t mantissa = 0;
    for (int index = 0; index < 8; ++index)
        mantissa = mantissa << 8 | bytes[2 + index];
    return static_cast<uint32_t>(mantissa >> (63 - power));
}

int AIFFAudioFile::ReadAIFFHeader(Stream& stream, AudioFormat& format) const
{
    format = AudioFormat();
    if (Available(stream) < 12)
        return 0;
    char form[12];
    stream.Read(form, 12);
    if (!SameId(form, "FORM") || !SameId(form + 8, "AIFF"))
        return 0;

    ChunkHeader chunk;
    if (!FindChunk("COMM", stream, kBigEndian, chunk) || chunk.size < kCommonChunkSize
        || chunk.size > Available(stream))
        return 0;
    AIFFCommonChunk common;
    stream.Read(&common, kCommonChunkSize);
    auto channels = static_cast<int16_t>(FileShort(static_cast<uint16_t>(common.channels), kBigEndian));
    auto bits = static_cast<int16_t>(FileShort(static_cast<uint16_t>(common.sampleSize), kBigEndian));
    format.rate = DecodeRate(common.sampleRate);
    if (channels < 1 || bits < 1 || bits > kMaxBits || format.rate == 0)
        return 0;
    format.channels = static_cast<uint16_t>(channels);
    format.bits = static_cast<uint16_t>(bits);

    stream.Seek(12, Stream::kFromStart);
    if (!FindChunk("SSND", stream, kBigEndian, chunk) || chunk.size < 8 || chunk.size > Available(stream))
        return 0;
    // The samples start `offset` bytes after the offset and block size fields.
    uint32_t offset = 0;
    stream.Read(&offset, 4);
    offset = FileLong(offset, kBigEndian);
    stream.Seek(4, Stream::kFromMark);
    if (offset > chunk.size - 8)
        return 0;
    format.dataLength = chunk.size - 8 - offset;
    stream.Seek(static_cast<int32_t>(offset), Stream::kFromMark);
    return 1;
}

// Sample frames count whole frames of whole bytes per sample.
int AIFFAudioFile::WriteAIFFHeader(Stream& stream, const AudioFormat& format) const
{
    uint32_t pad = format.dataLength & 1;
    if (format.dataLength > UINT32_MAX - kHeaderSize || format.channels == 0 || format.channels > INT16_MAX
        || format.bits == 0 || format.bits > INT16_MAX || format.rate == 0)
        return 0;
    uint32_t frameBytes = (format.bits + 7u) / 8u * format.channels;

    stream.Write("FORM", 4);
    uint32_t formSize = FileLong(format.dataLength + 46 + pad, kBigEndian);
    stream.Write(&formSize, 4);
    stream.Write("AIFF", 4);
    WriteChunkHeader(stream, "COMM", kCommonChunkSize, kBigEndian);
    AIFFCommonChunk common;
    common.channels = static_cast<int16_t>(FileShort(format.channels, kBigEndian));
    common.sampleFrames = FileLong(format.dataLength / frameBytes, kBigEndian);
    common.sampleSize = static_cast<int16_t>(FileShort(format.bits, kBigEndian));
    EncodeRate(format.rate, common.sampleRate);
    stream.Write(&common, kCommonChunkSize);
    WriteChunkHeader(stream, "SSND", format.dataLength + 8, kBigEndian);
    uint32_t offsetAndBlock[2] = { 0, 0 };
    stream.Write(offsetAndBlock, 8);
    return 1;
}

} // namespace pw::graphics
