#pragma once

#include "foundation/Exception.h"

// An object was not of the class a caller required; shown as "Unexpected type:" with the actual
// class name, then "Expected:" with the expected one. The names are the class records' own.
class TypeMisMatch : public Exception {
    PW_CLASS_INFO(TypeMisMatch)
    PW_COPY_SLOTS

public:
    TypeMisMatch(const char* expectedName, const char* actualName);

    void Display(int kind) override;

    const char* GetExpected() const { return expectedName; }
    const char* GetActual() const { return actualName; }

private:
    const char* expectedName;
    const char* actualName;
};
