#include "foundation/FileCreatorType.h"

PW_DEFINE_CLASS(FileCreatorType, nullptr, nullptr, Smart)
PW_DEFINE_COPY_SLOTS(FileCreatorType)

FileCreatorType::FileCreatorType(const char* name, uint32_t code)
    : code(code)
    , name(name)
{
}

const FileCreatorType& FileCreatorType::Unknown()
{
    static const FileCreatorType unknown("Unknown", 0);
    return unknown;
}
