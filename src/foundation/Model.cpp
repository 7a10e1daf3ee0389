#include "foundation/Model.h"

#include "foundation/ArchiveScope.h"

PW_DEFINE_CLASS(Model, nullptr, nullptr, Editable, Persistent)
PW_DEFINE_NO_COPY_SLOTS(Model)

// Models are never read as such: their subclasses' readers pass through this scope.
constinit const PersistentVersion Model::version { &Model::classInfo, Fixed(0, 0), Fixed(1, 0), nullptr };

// The model part of a stored object is its scope alone.
void Model::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
}
