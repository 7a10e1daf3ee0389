#pragma once

#include "foundation/ObjectReference.h"

// Edits a private copy of a target and writes it back into the target on Commit, so the target
// keeps its identity. The target is not counted and must outlive the reference.
class DirectReference : public ObjectReference {
    PW_CLASS_INFO(DirectReference)
    PW_COPY_SLOTS

public:
    explicit DirectReference(Smart* target);

    // The working copy, made from the target on first use.
    Smart* Get() override;
    bool IsValid() override { return true; }
    // Copies the working copy into the target; fails "data != NULL" without one.
    bool Commit() override;
    // The object becomes the working copy and is committed.
    void Set(const SmartPtr<Smart>& object) override;
    // Whether the target can copy from the object; fails "data != NULL" on an empty handle.
    bool Accepts(const SmartPtr<Smart>& object) override;

private:
    SmartPtr<Smart> working;
    Smart* target;
};
