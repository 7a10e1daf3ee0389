#pragma once

#include "foundation/ArchiveScope.h"
#include "foundation/ListData.h"
#include "foundation/Persistent.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

namespace pw::engine {

// The next object reference of the scope as a T, or none when it is empty or of another class
// (an object of another class is released here, not leaked).
template <typename T>
SmartPtr<T> ReadReference(ArchiveScope& scope)
{
    SmartPtr<Persistent> object(scope.ReadObject());
    return SmartPtr<T>(SmartCast<T>(object.Get()));
}

// The next reference as a list of T: entries of other classes read as null; none when the
// reference is not a list.
template <typename T>
bool ReadListReference(ArchiveScope& scope, SmartList<T>& list)
{
    SmartPtr<ListData> stored = ReadReference<ListData>(scope);
    if (!stored.Valid())
        return false;
    list = SmartList<T>();
    for (uint32_t index = 1; index <= stored->NumItems(); ++index)
        list.Data()->Append(SmartCast<T>(stored->GetItem(index)));
    return true;
}

} // namespace pw::engine
