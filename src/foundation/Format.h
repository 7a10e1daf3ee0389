#pragma once

#include "foundation/Fixed.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeIndex.h"
#include "foundation/TypedArray.h"

#include <cstdint>

class Archive;
class Persistent;
class PersistentVersion;
class Stream;

// The per-file companion of a type index, stored as an object file's class-index chunk: for each
// class number the version in which the file's objects of that class are written, and the byte
// size all of them share (kNoSize when none was recorded, kSizesDiffer when they differ). A reader
// maps stored class numbers to classes through it, decides whether each class's stored version is
// readable, and skips what a newer minor version of a class appended.
class Format : public SmartImplementation {
    PW_CLASS_INFO(Format)
    PW_COPY_SLOTS

public:
    static constexpr int32_t kNoSize = -1;
    static constexpr int32_t kSizesDiffer = -2;
    // The version of the chunk layout this program writes.
    static constexpr Fixed kChunkVersion = Fixed(2);

    // For writing: every class at its current version (0 for placeholders), no sizes yet.
    explicit Format(const SmartPtr<TypeIndex>& typeIndex);
    // For reading: the chunk at the stream's position. Throws "Can't read format" for a chunk of a
    // newer major layout, "Can't read class index" when the stored index's major version differs
    // from the type index's, and the corrupt-file error when its counts exceed the stream.
    Format(const SmartPtr<TypeIndex>& typeIndex, Stream& stream);
    Format(const Format& other) = default;
    Format& operator=(const Format& other) = default;

    // Writes the chunk; its length never changes for a given format, so it can be rewritten in
    // place once the sizes are known.
    void Write(Stream& stream);

    // Fails "obj.Valid()" on an empty handle; FormatClassException for a class outside the index.
    uint32_t ClassNumberOf(const SmartPtr<Persistent>& object) const;
    uint32_t ClassNumberOf(const PersistentVersion& record) const;
    // The class's highest number as 4 bytes; FormatClassException when it is not in the index.
    void WriteClass(Stream& stream, const ClassInfo* record) const;
    // Null for 0; the corrupt-file error for a number that names no class.
    const ClassInfo* ReadClass(Stream& stream) const;
    // Builds an object of class number n from the archive through its class's reader. Throws "Can't
    // create object of that class!" for a class without reader, the corrupt-file error for a
    // number that names no class.
    Persistent* CreateObject(uint32_t n, Archive& archive) const;

    // The record of number n; null for a placeholder or a number past the type index.
    const PersistentVersion* GetClass(uint32_t n) const;
    // "" without a record.
    const char* GetClassName(uint32_t n) const;
    // 0 without a record.
    Fixed GetCurrentVersion(uint32_t n) const;
    // The version the file's objects of class n can be read in; 0 when they cannot be.
    Fixed GetStoredVersion(uint32_t n) const;
    // The one size of class n's objects, kNoSize when none was recorded or sizes differ.
    int32_t GetRecordSize(uint32_t n) const;
    void SetRecordSize(uint32_t n, int32_t size);

    const SmartPtr<TypeIndex>& GetTypeIndex() const { return typeIndex; }
    uint32_t NumVersions() const { return versions.NumItems(); }

private:
    SmartPtr<TypeIndex> typeIndex;
    TypedArray<Fixed> versions;
    LongArray recordSizes;
};
