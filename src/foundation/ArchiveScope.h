#pragma once

#include "foundation/Fixed.h"

#include <cstdint>

class Archive;
class ClassInfo;
class Persistent;
class PersistentVersion;
class Stream;

// The versioned frame around one stored object's bytes. Opening asks the archive for the object's
// stored version and decides whether this program can read it; a skipped scope (version out of
// range, or inside a skipped scope) reads zeros from the null stream and null objects from the
// null archive, so a reader always runs to completion with defaults. Closing lets the archive
// record the object's length (writing) or pass over what the reader did not consume (reading).
// Every stored class writes and reads itself through one, and its base-class parts through nested
// ones. A scope lives on the stack for one Write or reading constructor.
class ArchiveScope {
public:
    ArchiveScope(Archive& archive, const PersistentVersion& record);
    ArchiveScope(ArchiveScope& enclosing, const PersistentVersion& record);
    // Closes the scope; never throws (see Archive::EndObject).
    virtual ~ArchiveScope();

    ArchiveScope(const ArchiveScope&) = delete;
    ArchiveScope& operator=(const ArchiveScope&) = delete;

    // Where the object's fields go and come from.
    Stream& GetStream();
    // The archive to hand to contained objects.
    Archive& GetArchive();
    Fixed GetVersion() const { return version; }
    bool IsSkipped() const { return flags & kSkip; }
    bool IsNewer() const { return flags & kNewer; }

    // Each does nothing (reads give null) in a skipped scope.
    ArchiveScope& WriteByte(char value);
    ArchiveScope& WriteShort(int16_t value);
    ArchiveScope& WritePoint(int32_t h, int32_t v);
    ArchiveScope& WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Writes a reference to the object.
    ArchiveScope& WriteObject(Persistent* object);
    Persistent* ReadObject();
    ArchiveScope& WriteClass(const ClassInfo* record);
    const ClassInfo* ReadClass();
    // Writes the object in place, nested, rather than by reference.
    ArchiveScope& Put(Persistent& object);

private:
    static constexpr uint8_t kSkip = 1;
    static constexpr uint8_t kOuterSkipped = 2;
    static constexpr uint8_t kNewer = 4;

    Archive* archive;
    uint32_t token;
    Fixed version;
    uint32_t position;
    uint8_t flags;
};

namespace pw::foundation {

// The reader of a class whose reading constructor takes a scope opened with the class's own record.
template <typename Class>
Persistent* ReadInScope(Archive& archive)
{
    ArchiveScope scope(archive, Class::version);
    return new Class(scope);
}

} // namespace pw::foundation
