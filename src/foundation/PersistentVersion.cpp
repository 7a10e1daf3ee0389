#include "foundation/PersistentVersion.h"

#include "foundation/Exception.h"

bool PersistentVersion::IsOutOfRange(Fixed version) const
{
    if (version < oldest)
        return true;
    if (version <= current)
        return false;
    return !version.SameMajor(current);
}

Persistent* PersistentVersion::CallReader(Archive& archive) const
{
    if (!reader)
        AssertionFailed("reader != NULL", PW_HERE);
    return reader(archive);
}
