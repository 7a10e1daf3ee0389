#include "foundation/SimpleReference.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(SimpleReference, nullptr, nullptr, ObjectReference)
PW_DEFINE_COPY_SLOTS(SimpleReference)

SimpleReference::SimpleReference(const SmartPtr<Smart>& object)
    : object(object)
{
}

SimpleReference::SimpleReference(const SimpleReference& other)
    : Smart()
    , ObjectReference(other)
    , object(other.object)
{
}

SimpleReference& SimpleReference::operator=(const SimpleReference& other)
{
    object = other.object;
    return *this;
}
