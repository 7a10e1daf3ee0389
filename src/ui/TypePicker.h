#pragma once

#include "foundation/EditableList.h"
#include "foundation/ObjectReference.h"
#include "foundation/SmartPtr.h"
#include "ui/Picker.h"

#include <cstdint>

// A picker over a list of classes, listed by their registered names: picking one makes a new
// object of that class and hands it to the target reference. Pick is how list and object views
// add a new object whose class the user has to choose.
class TypePicker : public Picker {
    PW_CLASS_INFO(TypePicker)

public:
    TypePicker(const TypeList& types, const SmartPtr<ObjectReference>& target);

    // Index 0 picks nothing; a class that cannot make objects gives the target nothing.
    void Picked(uint32_t index) override;

    // No class: throws "There are no pre-defined choices.  You'll have to paste something."; one
    // class: its new object goes to the target at once; more: the picker is built and announced,
    // then "This won't really add the window" is thrown (the choice has no way back yet).
    static void Pick(const TypeList& types, const SmartPtr<ObjectReference>& target);
    // The records of a null-terminated array (none for a null array), in order.
    static TypeList MakeTypeList(const ClassInfo* const* records);

    const TypeList& GetTypes() const { return types; }

private:
    static void MakeFor(const ClassInfo* record, ObjectReference& target);

    TypeList types;
    SmartPtr<ObjectReference> target;
};
