#include "foundation/ArchiveScope.h"

#include "foundation/Archive.h"
#include "foundation/BitBucketArchive.h"
#include "foundation/Exception.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Stream.h"


ArchiveScope::ArchiveScope(Archive& archive, const PersistentVersion& record)
    : archive(&archive)
    , token(archive.BeginObject(record))
{
    archive.GetObjectVersion(version, token, record.GetCurrentVersion());
    position = archive.GetMark();
    flags = record.IsOutOfRange(version) ? kSkip : 0;
    if (version > record.GetCurrentVersion())
        flags |= kNewer;
}

ArchiveScope::ArchiveScope(ArchiveScope& enclosing, const PersistentVersion& record)
    : archive(enclosing.archive)
    , token(archive->BeginObject(record))
{
    bool outerSkipped = enclosing.IsSkipped();
    if (!outerSkipped)
        archive->GetObjectVersion(version, token, record.GetCurrentVersion());
    position = archive->GetMark();
    flags = (outerSkipped || record.IsOutOfRange(version)) ? kSkip : 0;
    if (outerSkipped)
        flags |= kOuterSkipped;
    if (version > record.GetCurrentVersion())
        flags |= kNewer;
}

// Closing runs in a destructor and never throws: an archive that fails while closing an object
// records the failure and raises it from its next operation. Anything thrown anyway is dropped,
// and the exception current before stays current.
ArchiveScope::~ArchiveScope()
{
    if (flags & kOuterSkipped)
        return;
    SmartPtr<Exception> current = CurrentException();
    try {
        archive->EndObject(token, position, IsSkipped() || IsNewer());
    } catch (...) {
        CurrentException() = current;
    }
}

Stream& ArchiveScope::GetStream()
{
    return IsSkipped() ? pw::foundation::NullStream() : archive->GetStream();
}

// Only a skipped scope hands out the null archive: an archive that no handle holds (one on the
// stack) still stores the objects written through it.
Archive& ArchiveScope::GetArchive()
{
    if (IsSkipped())
        return pw::foundation::NullArchive();
    return *archive;
}

ArchiveScope& ArchiveScope::WriteByte(char value)
{
    if (!IsSkipped())
        GetStream().WriteByte(value);
    return *this;
}

ArchiveScope& ArchiveScope::WriteShort(int16_t value)
{
    if (!IsSkipped())
        GetStream().WriteShort(value);
    return *this;
}

ArchiveScope& ArchiveScope::WritePoint(int32_t h, int32_t v)
{
    if (!IsSkipped())
        GetStream().WritePoint(h, v);
    return *this;
}

ArchiveScope& ArchiveScope::WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (!IsSkipped())
        GetStream().WriteRect(left, top, right, bottom);
    return *this;
}

ArchiveScope& ArchiveScope::WriteObject(Persistent* object)
{
    if (!IsSkipped())
        archive->WriteObject(object);
    return *this;
}

Persistent* ArchiveScope::ReadObject()
{
    return IsSkipped() ? nullptr : archive->ReadObject();
}

ArchiveScope& ArchiveScope::WriteClass(const ClassInfo* record)
{
    if (!IsSkipped())
        archive->WriteClass(record);
    return *this;
}

const ClassInfo* ArchiveScope::ReadClass()
{
    return IsSkipped() ? nullptr : archive->ReadClass();
}

ArchiveScope& ArchiveScope::Put(Persistent& object)
{
    if (!IsSkipped())
        object.Write(*archive);
    return *this;
}
