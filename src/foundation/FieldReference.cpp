#include "foundation/FieldReference.h"

namespace pw::foundation {

FieldReference::FieldReference(const SmartPtr<Smart>& owner, Smart** field, const ClassInfo* expected)
    : expected(expected)
    , owner(owner)
    , field(field)
{
}

Smart* FieldReference::Get()
{
    if (!field || !expected || !*field)
        return nullptr;
    return SmartCast(*field, expected) ? *field : nullptr;
}

bool FieldReference::Accepts(const SmartPtr<Smart>& object)
{
    if (!field || !expected)
        return false;
    return expected->CanConvert(object, true, 4);
}

// The field's old object is released the way a handle would release it, so one that loses its last
// reference here is deleted rather than leaked.
void FieldReference::Set(const SmartPtr<Smart>& object)
{
    if (!Accepts(object))
        return;
    SmartPtr<Smart> converted = object;
    if (!expected->Convert(converted, true, 4))
        return;
    Smart* replacement = converted.Get();
    if (!SmartCast(replacement, expected))
        return;
    replacement->AddReference();
    Smart* previous = *field;
    *field = replacement;
    SmartRelease(previous);
}

} // namespace pw::foundation
