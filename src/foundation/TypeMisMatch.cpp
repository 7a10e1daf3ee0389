#include "foundation/TypeMisMatch.h"

PW_DEFINE_CLASS(TypeMisMatch, nullptr, nullptr, Exception)
PW_DEFINE_COPY_SLOTS(TypeMisMatch)

TypeMisMatch::TypeMisMatch(const char* expectedName, const char* actualName)
    : expectedName(expectedName)
    , actualName(actualName)
{
}

void TypeMisMatch::Display(int kind)
{
    ShowComposed(kind, "Unexpected type:", actualName, "Expected:", expectedName);
}
