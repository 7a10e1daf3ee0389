#pragma once

#include "foundation/FileType.h"
#include "foundation/Fixed.h"
#include "foundation/SmartImplementation.h"
#include "foundation/String.h"
#include "foundation/TypedArray.h"

#include <cstdint>

class PersistentVersion;

// The fixed, ordered list of stored classes that one kind of document may hold. A class's number
// in a file is its 1-based position here; a null entry (placeholder) keeps a retired number
// occupied so that later classes keep theirs. Built once by the subsystem that owns the document
// kind, never changed afterwards, and shared by every object file of that kind.
class TypeIndex : public SmartImplementation {
    PW_CLASS_INFO(TypeIndex)
    PW_COPY_SLOTS

public:
    // `version`'s major part changes when class numbers change incompatibly.
    TypeIndex(const FileType& fileType, Fixed version, const char* description);
    TypeIndex(const TypeIndex& other) = default;
    TypeIndex& operator=(const TypeIndex& other) = default;

    // Appends a class; its number is the previous count + 1.
    void AddClass(const PersistentVersion& record);
    // Appends `count` placeholders.
    void AddPlaceholders(uint32_t count);

    // The lowest number holding the record; throws FormatClassException when it is absent.
    uint32_t ClassNumberOf(const PersistentVersion& record) const;
    // The record of number n, null for a placeholder; "Range error" outside 1..NumClasses.
    const PersistentVersion* GetClass(uint32_t n) const;

    FileType GetFileType() const { return fileType; }
    Fixed GetVersion() const { return version; }
    const String& GetDescription() const { return description; }
    // Placeholders included.
    uint32_t NumClasses() const { return classes.NumItems(); }

private:
    FileType fileType;
    Fixed version;
    String description;
    TypedArray<const PersistentVersion*> classes;
};
