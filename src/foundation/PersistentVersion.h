#pragma once

#include "foundation/Fixed.h"

class Archive;
class ClassInfo;
class Persistent;

// The per-class version record of a stored class: which versions this program writes and can
// read, and the reader function that rebuilds an object from an archive (none for classes that are
// never made from a file).
class PersistentVersion {
public:
    using Reader = Persistent* (*)(Archive& archive);

    constexpr PersistentVersion(const ClassInfo* record, Fixed oldest, Fixed current, Reader reader)
        : record(record)
        , current(current)
        , oldest(oldest)
        , reader(reader)
    {
    }

    const ClassInfo* GetClass() const { return record; }
    Fixed GetCurrentVersion() const { return current; }
    Fixed GetOldestVersion() const { return oldest; }

    // Readable are versions from the oldest on, up to the current one, and newer minors of the
    // current major (their extra trailing bytes are skipped).
    bool IsOutOfRange(Fixed version) const;

    bool HasReader() const { return reader != nullptr; }
    // Fails the assertion "reader != NULL" for a record without reader.
    Persistent* CallReader(Archive& archive) const;

private:
    const ClassInfo* record;
    Fixed current;
    Fixed oldest;
    Reader reader;
};
