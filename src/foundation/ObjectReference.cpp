#include "foundation/ObjectReference.h"

constinit const ClassInfo ObjectReference::classInfo { "ObjectReference",
    pw::foundation::ParentRecords<>::records, &pw::foundation::CastFunction<ObjectReference>,
    sizeof(ObjectReference) };

const ClassInfo* ObjectReference::GetClassInfo() const
{
    return &classInfo;
}

void* ObjectReference::CastTo(const ClassInfo* info)
{
    return info == &classInfo ? this : nullptr;
}

PW_DEFINE_NO_COPY_SLOTS(ObjectReference)
