#include "foundation/Editable.h"

#include "foundation/String.h"

// A root of its own: the record has no parents, and a cast answers for Editable alone.
constinit const ClassInfo Editable::classInfo { "Editable", pw::foundation::ParentRecords<>::records,
    &pw::foundation::CastFunction<Editable>, sizeof(Editable) };

const ClassInfo* Editable::GetClassInfo() const
{
    return &classInfo;
}

void* Editable::CastTo(const ClassInfo* info)
{
    return info == &classInfo ? this : nullptr;
}

SmartPtr<String> Editable::GetFullName(const SmartPtr<Smart>& parent)
{
    Editable* parentEditable = SmartCast<Editable>(parent.Get());
    if (!parentEditable)
        return SmartPtr<String>(new String(GetName()));
    SmartPtr<String> fullName(new String(parentEditable->GetName()));
    fullName->AppendChars(" ");
    fullName->Append(GetName());
    return fullName;
}

SmartPtr<String> Editable::GetFullName()
{
    return GetFullName(SmartPtr<Smart>());
}
