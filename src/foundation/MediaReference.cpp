#include "foundation/MediaReference.h"

#include "foundation/ArchiveScope.h"

PW_DEFINE_CLASS(MediaReference, nullptr, nullptr, ObjectReference, Persistent)
PW_DEFINE_NO_COPY_SLOTS(MediaReference)

constinit const PersistentVersion MediaReference::version { &MediaReference::classInfo, Fixed(1), Fixed(1),
    nullptr };

void MediaReference::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
}
