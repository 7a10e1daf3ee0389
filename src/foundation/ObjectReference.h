#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

// How a view reaches the object it shows: a small counted object that fetches the object, says
// whether a replacement would be taken, stores one, and hands an edited object back. Its class
// record has no parents: a cast answers only for ObjectReference itself.
class ObjectReference : public SmartImplementation {
public:
    static const ClassInfo classInfo;
    const ClassInfo* GetClassInfo() const override;
    void* CastTo(const ClassInfo* info) override;
    PW_COPY_SLOTS

public:
    // The referenced object, or null.
    virtual Smart* Get() = 0;
    // True when the reference can deliver an object now.
    virtual bool IsValid() = 0;
    // Hands the current object back to where it came from; true on success.
    virtual bool Commit() = 0;
    // Replaces the referenced object where the kind of reference allows it.
    virtual void Set(const SmartPtr<Smart>& object) = 0;
    // True when Set would take the object.
    virtual bool Accepts(const SmartPtr<Smart>& object) = 0;

protected:
    ObjectReference() = default;
    ObjectReference(const ObjectReference&) = default;
    ObjectReference& operator=(const ObjectReference&) = default;
};
