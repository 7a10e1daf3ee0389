#pragma once

#include "graphics/AIFFAudioFile.h"
#include "graphics/WAVEAudioFile.h"

#include <cstdint>

// Turns a WAVE file into an AIFF file and an AIFF file into a WAVE file, stream to stream: it
// recognises the input by its header, writes the other format's header and copies the samples
// through a buffer, flipping 8-bit samples between unsigned (WAVE) and signed (AIFF) and
// reversing the bytes of wider samples. The rates 22050 and 11025 travel in AIFF as the older
// hardware's 22254.545... and 11127.27... and come back unchanged.
class AudioFileConverter : public pw::graphics::AIFFAudioFile, public pw::graphics::WAVEAudioFile {
public:
    // `hostOrder` is kBigEndian or kLittleEndian; `bufferSize` bytes are copied per step.
    AudioFileConverter(int hostOrder, uint32_t bufferSize);
    AudioFileConverter(const AudioFileConverter&) = default;
    AudioFileConverter& operator=(const AudioFileConverter&) = default;

    // Converts from the start of `in` onto `out` from its start; answers 1, or 0 when `in` is
    // neither format (or a header cannot be read or written).
    int Convert(Stream& in, Stream& out);

protected:
    int HostOrder() const override { return hostOrder; }

private:
    void CopySamples(Stream& in, Stream& out, const pw::graphics::AudioFormat& format, uint8_t* buffer,
        uint32_t size);

    int hostOrder;
    uint32_t bufferSize;
};
