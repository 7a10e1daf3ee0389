// WAVE and AIFF files built byte by byte for the sound tests, and the streams around them.
#pragma once

#include "foundation/MemoryStream.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace sound_bytes {

using Bytes = std::vector<uint8_t>;

inline void Put(Bytes& bytes, uint32_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * (bigEndian ? size - 1 - i : i))));
}

inline void PutText(Bytes& bytes, const std::string& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// id, size (the body's unless given), body, a pad byte after an odd body.
inline Bytes Chunk(const std::string& id, const Bytes& body, bool bigEndian, int64_t size = -1)
{
    Bytes chunk;
    PutText(chunk, id);
    Put(chunk, size < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(size), 4, bigEndian);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() & 1)
        chunk.push_back(0);
    return chunk;
}

inline Bytes Form(const std::string& id, const std::string& type, std::initializer_list<Bytes> chunks, bool bigEndian)
{
    Bytes body;
    PutText(body, type);
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    Bytes form;
    PutText(form, id);
    Put(form, static_cast<uint32_t>(body.size()), 4, bigEndian);
    form.insert(form.end(), body.begin(), body.end());
    return form;
}

inline Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t extra = 0)
{
    Bytes body;
    uint32_t align = (bits + 7u) / 8u * channels;
    Put(body, tag, 2, false);
    Put(body, channels, 2, false);
    Put(body, rate, 4, false);
    Put(body, rate * align, 4, false);
    Put(body, align, 2, false);
    Put(body, bits, 2, false);
    body.resize(body.size() + extra, 0xEE);
    return Chunk("fmt ", body, false);
}

inline Bytes Wave(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples)
{
    return Form("RIFF", "WAVE", { Fmt(1, channels, rate, bits), Chunk("data", samples, false) }, false);
}

// The COMM body with a rate given as its ten bytes.
inline Bytes Comm(int16_t channels, uint32_t frames, int16_t bits, const Bytes& rate)
{
    Bytes body;
    Put(body, static_cast<uint16_t>(channels), 2, true);
    Put(body, frames, 4, true);
    Put(body, static_cast<uint16_t>(bits), 2, true);
    body.insert(body.end(), rate.begin(), rate.end());
    return Chunk("COMM", body, true);
}

inline Bytes Ssnd(const Bytes& samples)
{
    Bytes body(8, 0);
    body.insert(body.end(), samples.begin(), samples.end());
    return Chunk("SSND", body, true);
}

inline const Bytes kRate22050 = { 0x40, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0 };
inline const Bytes kRate22254 = { 0x40, 0x0D, 0xAD, 0xDD, 0x17, 0x46, 0, 0, 0, 0 };

inline MemoryStream StreamOf(const Bytes& bytes)
{
    MemoryStream stream;
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, Stream::kFromStart);
    return stream;
}

inline Bytes BytesOf(MemoryStream& stream)
{
    const auto* data = static_cast<const uint8_t*>(stream.Block().Ptr());
    return Bytes(data, data + stream.GetLength());
}

} // namespace sound_bytes
