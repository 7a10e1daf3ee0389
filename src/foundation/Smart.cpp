#include "foundation/Smart.h"

#include "foundation/ClassInfo.h"
#include "foundation/Exception.h"
#include "foundation/SourcePath.h"

constinit const ClassInfo Smart::classInfo { "Smart", pw::foundation::ParentRecords<>::records,
    &pw::foundation::CastFunction<Smart>, sizeof(Smart) };

const ClassInfo* Smart::GetClassInfo() const
{
    return &classInfo;
}

void* Smart::CastTo(const ClassInfo* info)
{
    return info == &classInfo ? this : nullptr;
}

bool Smart::IsKindOf(const ClassInfo* info)
{
    return CastTo(info) != nullptr;
}

void* Smart::Cast(const ClassInfo* info)
{
    return CastTo(info);
}

Smart::~Smart() = default;

void SmartRelease(Smart* object)
{
    if (object && object->RemoveReference())
        delete object;
}

void CheckSmartData(const void* pointer)
{
    if (!pointer)
        AssertionFailed("data != NULL", PW_HERE);
}
