#pragma once

#include "graphics/AudioFile.h"

// The body of an AIFF "COMM" chunk as it lies in the file (big-endian, packed): channels, sample
// frames, bits per sample and the rate as an 80-bit extended number.
#pragma pack(push, 1)
struct AIFFCommonChunk {
    int16_t channels;
    uint32_t sampleFrames;
    int16_t sampleSize;
    uint8_t sampleRate[10];
};
#pragma pack(pop)

namespace pw::graphics {

// The AIFF half of the converter: reads and writes the header of an AIFF file (form "AIFF") of
// uncompressed samples, big-endian. Reading leaves the stream at the first sample; writing
// produces the 54-byte header of a "COMM" chunk and an "SSND" chunk with offset and block size 0.
class AIFFAudioFile : public virtual AudioFile {
public:
    static constexpr uint32_t kCommonChunkSize = 18;
    static constexpr uint32_t kHeaderSize = 54;

    // Answers 1 and the format, or 0 for anything but "FORM"/"AIFF" with a "COMM" chunk of at
    // least 18 bytes and an "SSND" chunk of at least 8 that the stream holds; channels and bits
    // (1 to 32) must be positive and the rate at least 1. The samples start after the SSND offset,
    // which must lie within the chunk.
    int ReadAIFFHeader(Stream& stream, AudioFormat& format) const;
    // Answers 0 when the sizes, channels or rate do not fit their fields.
    int WriteAIFFHeader(Stream& stream, const AudioFormat& format) const;

    // The rate as the 10 bytes of an 80-bit extended number. 22254 and 11127 stand for the
    // fractional rates 22254.545... and 11127.27... of the older sound hardware.
    static void EncodeRate(uint32_t rate, uint8_t* bytes);
    // The whole part of an encoded rate; 0 for negative, fractional-only or too-large values.
    static uint32_t DecodeRate(const uint8_t* bytes);
};

} // namespace pw::graphics
