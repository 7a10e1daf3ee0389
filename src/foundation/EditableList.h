#pragma once

#include "foundation/Editable.h"
#include "foundation/ListHandle.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "foundation/TypedArray.h"

// The classes a list of objects is meant to hold.
using TypeList = TypedArray<const ClassInfo*>;

// A shared list of objects presented as one editable thing with a name, so that a picker or an
// object view can open it in a list view. The items handle shares the creator's list: changes on
// either side are seen by both. The context object is handed unchanged to the list view.
class EditableList : public Editable, public SmartImplementation {
    PW_CLASS_INFO(EditableList)
    PW_COPY_SLOTS

public:
    // With one item class, or none.
    EditableList(const ListHandle& items, const String& name, const SmartPtr<Smart>& context,
        const ClassInfo* itemClass = nullptr);
    // With the item classes of a NULL-terminated array.
    EditableList(const ListHandle& items, const String& name, const SmartPtr<Smart>& context,
        const ClassInfo* const* itemClasses);
    EditableList(const EditableList& other) = default;
    EditableList& operator=(const EditableList& other) = default;

    // A list view inside the container over the same items, context and classes.
    View* MakeView(View& container) override;
    String& GetName() override { return name; }

    const ListHandle& GetItems() const { return items; }
    const SmartPtr<Smart>& GetContext() const { return context; }
    const TypeList& GetItemClasses() const { return itemClasses; }

private:
    ListHandle items;
    String name;
    SmartPtr<Smart> context;
    TypeList itemClasses;
};

namespace pw::foundation {

// The window floor's list view, lent to editable lists: made inside the container over the items
// (a shared handle), the context and the classes, with its two option flags. Set at start-up;
// unset, no view is made.
struct EditableListServices {
    View* (*makeListView)(View& container, const ListHandle& items, const SmartPtr<Smart>& context,
        const TypeList& itemClasses, bool first, bool second) = nullptr;
};

EditableListServices& GetEditableListServices();

} // namespace pw::foundation
