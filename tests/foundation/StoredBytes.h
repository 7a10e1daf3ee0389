// Stored files spelled out byte by byte in tests: little-endian (or big-endian) 32-bit values,
// texts and raw bytes appended in order, and the bytes of a memory stream to compare them with.
#pragma once

#include "foundation/MemoryStream.h"

#include <cstdint>
#include <string>
#include <vector>

struct StoredBytes {
    std::vector<uint8_t> data;
    bool bigEndian { false };

    StoredBytes& Long(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(value >> (bigEndian ? 24 - 8 * i : 8 * i)));
        return *this;
    }
    StoredBytes& Longs(std::initializer_list<uint32_t> values)
    {
        for (uint32_t value : values)
            Long(value);
        return *this;
    }
    StoredBytes& Text(const std::string& text)
    {
        data.insert(data.end(), text.begin(), text.end());
        return *this;
    }
    StoredBytes& Byte(uint8_t value)
    {
        data.push_back(value);
        return *this;
    }
    uint32_t Size() const { return static_cast<uint32_t>(data.size()); }

    // A stream holding the bytes, positioned at the start.
    SmartPtr<MemoryStream> Stream() const
    {
        SmartPtr<MemoryStream> stream(new MemoryStream);
        if (!data.empty())
            stream->Write(data.data(), Size());
        stream->Seek(0, ::Stream::kFromStart);
        return stream;
    }
};

inline std::vector<uint8_t> BytesOf(MemoryStream& stream)
{
    const auto* start = static_cast<const uint8_t*>(stream.Block().Ptr());
    return std::vector<uint8_t>(start, start + stream.GetLength());
}
