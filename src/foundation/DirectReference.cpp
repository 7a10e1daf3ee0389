#include "foundation/DirectReference.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(DirectReference, nullptr, nullptr, ObjectReference)
PW_DEFINE_NO_COPY_SLOTS(DirectReference)

DirectReference::DirectReference(Smart* target)
    : target(target)
{
}

Smart* DirectReference::Get()
{
    if (!working.Valid())
        working = target->Copy();
    return working.Get();
}

bool DirectReference::Commit()
{
    target->CopyFrom(working.operator->());
    return true;
}

void DirectReference::Set(const SmartPtr<Smart>& object)
{
    working = object;
    Commit();
}

bool DirectReference::Accepts(const SmartPtr<Smart>& object)
{
    return target->CanCopyFrom(object.operator->());
}
