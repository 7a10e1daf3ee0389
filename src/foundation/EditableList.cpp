#include "foundation/EditableList.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(EditableList, nullptr, nullptr, Editable)
PW_DEFINE_COPY_SLOTS(EditableList)

EditableList::EditableList(const ListHandle& items, const String& name, const SmartPtr<Smart>& context,
    const ClassInfo* itemClass)
    : items(items)
    , name(name)
    , context(context)
{
    if (itemClass)
        itemClasses.Append(itemClass);
}

EditableList::EditableList(const ListHandle& items, const String& name, const SmartPtr<Smart>& context,
    const ClassInfo* const* classes)
    : items(items)
    , name(name)
    , context(context)
{
    for (const ClassInfo* const* record = classes; record && *record; ++record)
        itemClasses.Append(*record);
}

View* EditableList::MakeView(View& container)
{
    auto make = pw::foundation::GetEditableListServices().makeListView;
    return make ? make(container, items, context, itemClasses, true, true) : nullptr;
}

pw::foundation::EditableListServices& pw::foundation::GetEditableListServices()
{
    static EditableListServices services;
    return services;
}
