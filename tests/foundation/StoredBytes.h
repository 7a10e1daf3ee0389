// Stored data spelled out byte by byte in tests: little-endian (or big-endian) 32-bit values, texts
// and raw bytes appended in order; the bytes of a memory stream to compare them with; and objects
// stored and read back through the flat archive.
#pragma once

#include "foundation/MemoryStream.h"

#include "FlatArchive.h"

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
    // A counted list, as the class-index chunk stores its versions and record sizes.
    template <typename T>
    StoredBytes& List(const std::vector<T>& values)
    {
        Long(static_cast<uint32_t>(values.size()));
        for (T value : values)
            Long(static_cast<uint32_t>(value));
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

using StoredClasses = std::vector<const PersistentVersion*>;

// The bytes of the objects written one after another through a flat archive of `classes`.
inline std::vector<uint8_t> Store(std::initializer_list<Persistent*> objects, const StoredClasses& classes)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> archive(new FlatArchive(stream, classes, true));
    for (Persistent* object : objects)
        archive->WriteObject(object);
    return BytesOf(stream);
}

// The objects read back one after another from `bytes` (as many as `count`).
inline std::vector<SmartPtr<Persistent>> Load(const std::vector<uint8_t>& bytes, const StoredClasses& classes, int count = 1)
{
    MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive(new FlatArchive(stream, classes, false));
    std::vector<SmartPtr<Persistent>> objects;
    for (int n = 0; n < count; ++n)
        objects.emplace_back(archive->ReadObject());
    return objects;
}

// The one object stored in `bytes`, as a T (null when it is not one).
template <typename T>
SmartPtr<T> LoadOne(const std::vector<uint8_t>& bytes, const StoredClasses& classes)
{
    SmartPtr<Persistent> object = Load(bytes, classes).front();
    return SmartPtr<T>(SmartCast<T>(object.Get()));
}
