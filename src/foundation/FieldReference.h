#pragma once

#include "foundation/ObjectReference.h"

namespace pw::foundation {

// A reference to a pointer field inside an owner object: it delivers the field's object when it is
// of the expected class, and stores a replacement, converted to that class when it can be. The
// owner is kept alive by the reference; the field holds one counted reference to its object. Not
// registered: it reports ObjectReference's record and refuses copying.
class FieldReference : public ObjectReference {
public:
    FieldReference(const SmartPtr<Smart>& owner, Smart** field, const ClassInfo* expected);

    // The field's object, or null when the field is empty or holds another class.
    Smart* Get() override;
    bool IsValid() override { return field != nullptr; }
    bool Commit() override { return true; }
    // Converts the object to the expected class (replacing the handle's object when a conversion
    // made a new one) and puts it in the field, releasing the field's previous object. An object
    // that cannot become the expected class leaves the field unchanged.
    void Set(const SmartPtr<Smart>& object) override;
    bool Accepts(const SmartPtr<Smart>& object) override;

private:
    const ClassInfo* expected;
    SmartPtr<Smart> owner;
    Smart** field;
};

} // namespace pw::foundation
