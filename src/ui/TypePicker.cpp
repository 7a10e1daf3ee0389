#include "ui/TypePicker.h"

#include "foundation/Exception.h"
#include "foundation/SmartList.h"
#include "foundation/String.h"

PW_DEFINE_CLASS(TypePicker, nullptr, nullptr, Picker)

namespace {

// One string per class, holding its registered name, in the order of the types.
ListHandle NamesOf(const TypeList& types)
{
    SmartList<String> names;
    for (uint32_t index = 1; index <= types.NumItems(); ++index)
        names.Append(new String(types[index]->GetName()));
    return names;
}

} // namespace

TypePicker::TypePicker(const TypeList& types, const SmartPtr<ObjectReference>& target)
    : Picker(NamesOf(types))
    , types(types)
    , target(target)
{
}

void TypePicker::Picked(uint32_t index)
{
    if (index != 0 && index <= types.NumItems() && target.Valid())
        MakeFor(types[index], *target.Get());
}

void TypePicker::Pick(const TypeList& types, const SmartPtr<ObjectReference>& target)
{
    if (types.NumItems() == 0)
        ThrowError("There are no pre-defined choices.  You'll have to paste something.", PW_HERE);
    if (types.NumItems() == 1) {
        MakeFor(types[1], *target.Get());
        return;
    }
    SmartPtr<TypePicker> picker(new TypePicker(types, target));
    picker->NotifyWindowOpened(picker.Get());
    ThrowError("This won't really add the window", PW_HERE);
}

TypeList TypePicker::MakeTypeList(const ClassInfo* const* records)
{
    TypeList types;
    for (const ClassInfo* const* record = records; record && *record; ++record)
        types.Append(*record);
    return types;
}

void TypePicker::MakeFor(const ClassInfo* record, ObjectReference& target)
{
    SmartPtr<Smart> object(record->CreateObject());
    if (object.Valid())
        target.Set(object);
}
