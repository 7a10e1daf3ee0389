#include "engine/CJumpMovie.h"

#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"

PW_DEFINE_CLASS(CJumpMovie, nullptr, nullptr, CJump)
PW_DEFINE_COPY_SLOTS(CJumpMovie)

constinit const PersistentVersion CJumpMovie::version { &CJumpMovie::classInfo, Fixed(2), Fixed(2),
    &pw::foundation::ReadInScope<CJumpMovie> };

CJumpMovie::CJumpMovie(const SmartPtr<FileReference>& file, bool)
    : file(file)
{
}

CJumpMovie::CJumpMovie(const CJumpMovie& other)
    : Smart()
    , CJump(other)
    , file(other.file)
{
}

CJumpMovie::CJumpMovie(ArchiveScope& scope)
{
    file = pw::engine::ReadReference<FileReference>(scope);
}

CJumpMovie& CJumpMovie::operator=(const CJumpMovie& other)
{
    file = other.file;
    return *this;
}

void CJumpMovie::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(file.Get());
}

// Read from the path as it stands: a page whose linked page has gone is exported (under the name
// it was linked by) without asking for that page.
String CJumpMovie::GetBaseName() const
{
    if (!file.Valid() || !file->HasPath())
        return String();
    return pw::foundation::ParsePath(file->Path()).name;
}
