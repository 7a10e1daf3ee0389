#pragma once

#include "foundation/ObjectReference.h"

// A reference to one fixed object: it delivers it, commits trivially and takes no replacement.
// Copies refer to the same object.
class SimpleReference : public ObjectReference {
    PW_CLASS_INFO(SimpleReference)
    PW_COPY_SLOTS

public:
    explicit SimpleReference(const SmartPtr<Smart>& object);
    SimpleReference(const SimpleReference& other) = default;
    SimpleReference& operator=(const SimpleReference& other) = default;

    Smart* Get() override { return object.Get(); }
    bool IsValid() override { return object.Valid(); }
    bool Commit() override { return true; }
    void Set(const SmartPtr<Smart>&) override { }
    bool Accepts(const SmartPtr<Smart>&) override { return false; }

private:
    SmartPtr<Smart> object;
};
