#include "foundation/SimpleReference.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(SimpleReference, nullptr, nullptr, ObjectReference)
PW_DEFINE_COPY_SLOTS(SimpleReference)

SimpleReference::SimpleReference(const SmartPtr<Smart>& object)
    : object(object)
{
}

