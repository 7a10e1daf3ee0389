#pragma once

#include "graphics/AudioFile.h"

namespace pw::graphics {

// The WAVE half of the converter: reads and writes the header of a RIFF WAVE file of PCM samples,
// little-endian. Reading leaves the stream at the first sample; writing produces
// the 44-byte header of a "fmt " chunk of 16 bytes and a "data" chunk.
class WAVEAudioFile : public virtual AudioFile {
public:
    static constexpr uint32_t kHeaderSize = 44;

    // Answers 1 and the format, or 0 for anything but "RIFF"/"WAVE" with a "fmt " chunk of at
    // least 16 bytes naming PCM (tag 1, or the extensible tag with the PCM sub-format) and a
    // "data" chunk that the stream holds; channels, bits (1 to 32) and rate must not be 0. The
    // chunks are found wherever they lie before the stream's end, whatever the RIFF size says.
    int ReadWAVEHeader(Stream& stream, AudioFormat& format) const;
    // Answers 0 when the sizes or rates do not fit their fields.
    int WriteWAVEHeader(Stream& stream, const AudioFormat& format) const;
};

} // namespace pw::graphics
