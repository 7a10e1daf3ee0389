#pragma once

#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/ListData.h"
#include "foundation/Persistent.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/SourcePath.h"
#include "foundation/Stream.h"

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

// A stored coordinate: the engine draws in the 16-bit range, and anything beyond it is damage
// (the corrupt-file message) rather than a value whose sums and sizes overflow later.
inline int32_t CheckStoredCoordinate(int32_t value)
{
    if (value < INT16_MIN || value > INT16_MAX)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    return value;
}

inline Point ReadStoredPoint(Stream& stream)
{
    Point point = stream.ReadPoint();
    CheckStoredCoordinate(point.h);
    CheckStoredCoordinate(point.v);
    return point;
}

// A stored rectangle with its coordinates in range; an ordered one has no negative width or height.
inline Rect ReadStoredRect(Stream& stream, bool ordered)
{
    Rect rect = stream.ReadRect();
    for (int32_t value : { rect.left, rect.top, rect.right, rect.bottom })
        CheckStoredCoordinate(value);
    if (ordered && (rect.right < rect.left || rect.bottom < rect.top))
        pw::foundation::ThrowCorruptFile(PW_HERE);
    return rect;
}

} // namespace pw::engine
