#include "graphics/AudioFile.h"

#include "foundation/Stream.h"

#include <algorithm>
#include <cstring>

namespace pw::graphics {

void AudioFile::SwapShorts(uint8_t* bytes, uint32_t count)
{
    ReverseSamples(bytes, count, 2);
}

void AudioFile::SwapLongs(uint8_t* bytes, uint32_t count)
{
    ReverseSamples(bytes, count, 4);
}

void AudioFile::FlipTopBits(uint8_t* bytes, uint32_t count)
{
    for (uint32_t index = 0; index < count; ++index)
        bytes[index] ^= 0x80;
}

void AudioFile::ReverseSamples(uint8_t* bytes, uint32_t count, uint32_t width)
{
    if (width < 2)
        return;
    for (uint32_t start = 0; count - start >= width; start += width)
        std::reverse(bytes + start, bytes + start + width);
}

bool AudioFile::SameId(const char* id, const char* other)
{
    return std::memcmp(id, other, 4) == 0;
}

uint32_t AudioFile::Available(Stream& stream)
{
    uint32_t length = stream.GetLength();
    uint32_t mark = stream.GetMark();
    return mark < length ? length - mark : 0;
}

uint32_t AudioFile::FileLong(uint32_t value, int fileOrder) const
{
    if (fileOrder == HostOrder())
        return value;
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

uint16_t AudioFile::FileShort(uint16_t value, int fileOrder) const
{
    if (fileOrder == HostOrder())
        return value;
    return static_cast<uint16_t>((value >> 8) | (value << 8));
}

bool AudioFile::ReadChunkHeader(Stream& stream, ChunkHeader& header, int fileOrder) const
{
    if (Available(stream) < 8)
        return false;
    stream.Read(header.id, 4);
    uint32_t size = 0;
    stream.Read(&size, 4);
    header.size = FileLong(size, fileOrder);
    return true;
}

void AudioFile::WriteChunkHeader(Stream& stream, const char* id, uint32_t size, int fileOrder) const
{
    stream.Write(id, 4);
    uint32_t stored = FileLong(size, fileOrder);
    stream.Write(&stored, 4);
}

// Every pass reads an 8-byte header, so the walk always moves on and ends at the stream's end.
bool AudioFile::FindChunk(const char* id, Stream& stream, int fileOrder, ChunkHeader& found) const
{
    while (ReadChunkHeader(stream, found, fileOrder)) {
        if (SameId(found.id, id))
            return true;
        uint64_t body = static_cast<uint64_t>(found.size) + (found.size & 1);
        if (body > Available(stream))
            return false;
        stream.Seek(static_cast<int32_t>(body), Stream::kFromMark);
    }
    return false;
}

} // namespace pw::graphics
