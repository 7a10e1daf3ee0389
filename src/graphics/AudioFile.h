#pragma once

#include <cstdint>

class Stream;

namespace pw::graphics {

// The sample layout a WAVE or AIFF header describes: how many bytes of samples follow it, and
// their channels, bits per sample and whole samples per second.
struct AudioFormat {
    uint32_t dataLength { 0 };
    uint16_t channels { 1 };
    uint16_t bits { 8 };
    uint32_t rate { 0 };
    // Where the chunks the samples need end: the furthest end of the format and data chunks,
    // their pads included, as far as the stream holds them.
    uint32_t chunksEnd { 0 };
    // Where the format chunk's body starts, and whether it names PCM through the extensible tag.
    uint32_t formatOffset { 0 };
    bool extensible { false };
};

// A chunk header of either format: a 4-byte identifier and the size of the body after it.
struct ChunkHeader {
    char id[4] {};
    uint32_t size { 0 };
};

// The chunk work the WAVE and AIFF headers share: both files are a form chunk of chunks whose
// 32-bit sizes lie in the file's byte order (1 big-endian for AIFF, 2 little-endian for WAVE); a
// field is byte-swapped when that order differs from the host's, which the converter is told.
// Nothing read is trusted: a chunk that claims more bytes than the stream has left is never
// skipped past nor read.
class AudioFile {
public:
    static constexpr int kBigEndian = 1;
    static constexpr int kLittleEndian = 2;

    virtual ~AudioFile() = default;

    // Byte work on a run of samples in place. Pairs and quads leave an incomplete group at the
    // end alone.
    static void SwapShorts(uint8_t* bytes, uint32_t count);
    static void SwapLongs(uint8_t* bytes, uint32_t count);
    static void FlipTopBits(uint8_t* bytes, uint32_t count);
    // Reverses every group of `width` bytes (one sample of 2, 3 or 4 bytes).
    static void ReverseSamples(uint8_t* bytes, uint32_t count, uint32_t width);
    static bool SameId(const char* id, const char* other);

    // The bytes between the stream's mark and its end.
    static uint32_t Available(Stream& stream);

protected:
    // The host byte order, 1 or 2.
    virtual int HostOrder() const = 0;

    // A field of the file's order as the host holds it, and back.
    uint32_t FileLong(uint32_t value, int fileOrder) const;
    uint16_t FileShort(uint16_t value, int fileOrder) const;

    // False when fewer than 8 bytes are left.
    bool ReadChunkHeader(Stream& stream, ChunkHeader& header, int fileOrder) const;
    void WriteChunkHeader(Stream& stream, const char* id, uint32_t size, int fileOrder) const;
    // Walks the chunks from the mark to the one named `id`, passing over each other chunk and its
    // pad byte; true leaves the mark at the found chunk's body. A chunk reaching past the end, or
    // the end itself, stops the search without success.
    bool FindChunk(const char* id, Stream& stream, int fileOrder, ChunkHeader& found) const;
};

} // namespace pw::graphics
