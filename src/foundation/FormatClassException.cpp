#include "foundation/FormatClassException.h"

#include "foundation/PersistentVersion.h"

FormatClassException::FormatClassException(const PersistentVersion& record)
    : FormatClassException(record.GetClass())
{
}

FormatClassException::FormatClassException(const ClassInfo* record)
    : className(record ? record->GetName() : "")
{
}

void FormatClassException::Display(int kind)
{
    ShowComposed(kind, "Class not included in format:", className.c_str(), nullptr, nullptr);
}
