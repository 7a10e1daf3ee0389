#include "foundation/TypeIndex.h"

#include "foundation/Exception.h"
#include "foundation/FormatClassException.h"
#include "foundation/PersistentVersion.h"

PW_DEFINE_CLASS(TypeIndex, nullptr, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(TypeIndex)

TypeIndex::TypeIndex(const FileType& fileType, Fixed version, const char* description)
    : fileType(fileType)
    , version(version)
    , description(description)
{
}

void TypeIndex::AddClass(const PersistentVersion& record)
{
    classes.Append(&record);
}

void TypeIndex::AddPlaceholders(uint32_t count)
{
    if (count > 0)
        classes.InsertItems(nullptr, classes.NumItems(), count);
}

uint32_t TypeIndex::ClassNumberOf(const PersistentVersion& record) const
{
    uint32_t number = classes.IndexOf(&record);
    if (number == 0)
        Throw(new FormatClassException(record), PW_HERE);
    return number;
}

const PersistentVersion* TypeIndex::GetClass(uint32_t n) const
{
    return classes[n];
}
