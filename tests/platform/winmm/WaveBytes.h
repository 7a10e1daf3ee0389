// Small RIFF WAVE images built byte by byte for the multimedia tests.
#pragma once

#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace pw::platform::winmm::testing {

using Bytes = std::vector<uint8_t>;

inline void PutLE32(Bytes& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutLE16(Bytes& bytes, uint16_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutText(Bytes& bytes, std::string const& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A chunk: id, `declaredSize` (its real length unless given), body, and a pad byte when odd.
inline Bytes Chunk(std::string const& id, Bytes const& body, int64_t declaredSize = -1)
{
    Bytes chunk;
    PutText(chunk, id);
    PutLE32(chunk, declaredSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declaredSize));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() & 1)
        chunk.push_back(0);
    return chunk;
}

inline Bytes FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    Bytes body;
    uint16_t align = static_cast<uint16_t>(channels * (bits / 8));
    PutLE16(body, tag);
    PutLE16(body, channels);
    PutLE32(body, rate);
    PutLE32(body, rate * align);
    PutLE16(body, align);
    PutLE16(body, bits);
    return body;
}

// "RIFF", the size of what follows, "WAVE", then the chunks.
inline Bytes Riff(std::initializer_list<Bytes> chunks)
{
    Bytes inner;
    PutText(inner, "WAVE");
    for (Bytes const& chunk : chunks)
        inner.insert(inner.end(), chunk.begin(), chunk.end());
    Bytes image;
    PutText(image, "RIFF");
    PutLE32(image, static_cast<uint32_t>(inner.size()));
    image.insert(image.end(), inner.begin(), inner.end());
    return image;
}

inline Bytes Ramp(size_t count)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

// A mono 8-bit sound at 22050 Hz holding `samples`.
inline Bytes SimpleWave(Bytes const& samples)
{
    return Riff({ Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", samples) });
}

// A PCM format with the block alignment and byte rate that follow from its fields.
inline WAVEFORMATEX PcmWaveFormat(WORD channels, DWORD rate, WORD bits)
{
    auto align = static_cast<WORD>(channels * bits / 8);
    return WAVEFORMATEX { WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0 };
}

// The recorder's format: PCM, mono, 22050 Hz, 8 bits.
inline WAVEFORMATEX RecorderFormat()
{
    return PcmWaveFormat(1, 22050, 8);
}

// A stream opened on the wave mapper in the recorder's format, as the recorder and player open
// theirs (`open` is waveInOpen or waveOutOpen); NULL when it fails.
template <typename Handle>
Handle OpenRecorderStream(MMRESULT(WINAPI* open)(Handle*, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD))
{
    WAVEFORMATEX format = RecorderFormat();
    Handle handle = nullptr;
    return open(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL | WAVE_ALLOWSYNC) == MMSYSERR_NOERROR ? handle : nullptr;
}

// Two wave headers over two buffers of `size` bytes, as the recorder keeps them.
struct WaveBuffers {
    std::array<Bytes, 2> data;
    std::array<WAVEHDR, 2> headers {};

    explicit WaveBuffers(size_t size)
        : data { Ramp(size), Ramp(size) }
    {
        for (int i = 0; i < 2; ++i) {
            headers[i].lpData = reinterpret_cast<LPSTR>(data[i].data());
            headers[i].dwBufferLength = static_cast<DWORD>(size);
        }
    }
};

} // namespace pw::platform::winmm::testing
