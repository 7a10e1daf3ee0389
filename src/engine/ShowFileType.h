#pragma once

#include "foundation/FileType.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeIndex.h"

class PersistentVersion;

// The page document's file type and its type index: the fixed list of stored classes whose
// positions are the class numbers of every page file. No entry may ever move.
extern const FileType ShowFileType;

// The one "Generic Object File" index, built on the first call.
SmartPtr<TypeIndex> GetGenericTypeIndex();

namespace pw::engine {

// The export floor's web-link class takes its fixed place in the index; registered at start-up,
// before the index is first built (a program without it keeps the place empty).
void SetWebLinkVersion(const PersistentVersion* record);

} // namespace pw::engine
