#include "foundation/ClassInfo.h"

#include "foundation/Exception.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeMisMatch.h"

Smart* ClassInfo::CreateObject() const
{
    return create ? create() : nullptr;
}

Smart* ClassInfo::ToSmart(void* object) const
{
    return object ? cast(object) : nullptr;
}

bool ClassInfo::IsKindOf(const ClassInfo* record) const
{
    if (record == this)
        return true;
    for (const ClassInfo* const* parent = parents; *parent; ++parent) {
        if ((*parent)->IsKindOf(record))
            return true;
    }
    return false;
}

// The test runs on the bare object: wrapping an unreferenced object in a temporary handle would
// delete it when the handle lets go.
bool ClassInfo::CanConvertObject(Smart* object, bool allow, int depth) const
{
    if (!object || object->IsKindOf(this))
        return true;
    if (!allow || depth <= 0 || !conversions)
        return false;
    for (const pw::foundation::ConversionEntry* entry = conversions; entry->source; ++entry) {
        if (entry->source->CanConvertObject(object, allow, depth - 1))
            return true;
    }
    return false;
}

bool ClassInfo::CanConvert(const SmartPtr<Smart>& handle, bool allow, int depth) const
{
    return CanConvertObject(handle.Get(), allow, depth);
}

bool ClassInfo::Convert(SmartPtr<Smart>& handle, bool allow, int depth) const
{
    if (!handle.Valid())
        return false;
    if (handle->IsKindOf(this))
        return true;
    if (!allow || depth <= 0 || !conversions)
        return false;
    for (const pw::foundation::ConversionEntry* entry = conversions; entry->source; ++entry) {
        if (!entry->source->CanConvert(handle, allow, depth - 1))
            continue;
        SmartPtr<Smart> attempt = handle;
        if (entry->source->Convert(attempt, allow, depth - 1) && entry->convert(attempt)) {
            handle = attempt;
            return true;
        }
    }
    return false;
}

void* SmartCast(Smart* object, const ClassInfo* record)
{
    return object ? object->CastTo(record) : nullptr;
}

bool CanConvertTo(Smart* object, const ClassInfo* record)
{
    return record->CanConvertObject(object, true, 4);
}

bool ConvertTo(SmartPtr<Smart>& handle, const ClassInfo* record)
{
    SmartPtr<Smart> attempt = handle;
    if (!record->Convert(attempt, true, 4))
        return false;
    handle = attempt;
    return true;
}

void CheckType(Smart* object, const ClassInfo* record)
{
    if (!object || !record || object->IsKindOf(record))
        return;
    Throw(new TypeMisMatch(record->GetName(), object->GetClassInfo()->GetName()), PW_HERE);
}
