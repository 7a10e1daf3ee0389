#include "foundation/Format.h"

#include "foundation/Archive.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/FormatClassException.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(Format, nullptr, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Format)

namespace {

constexpr Fixed kOldestLayout = Fixed(1);

// Reads a stored count of 4-byte values, trusted only as far as the stream holds them.
uint32_t ReadCount(Stream& stream)
{
    uint32_t count = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(static_cast<uint64_t>(count) * 4);
    return count;
}

} // namespace

Format::Format(const SmartPtr<TypeIndex>& typeIndex)
    : typeIndex(typeIndex)
{
    uint32_t count = typeIndex->NumClasses();
    versions.InsertItems(nullptr, 0, count);
    recordSizes.InsertItems(nullptr, 0, count);
    for (uint32_t n = 1; n <= count; ++n) {
        const PersistentVersion* record = typeIndex->GetClass(n);
        versions[n] = record ? record->GetCurrentVersion() : Fixed();
        recordSizes[n] = kNoSize;
    }
}

// A chunk whose first field has major 0 has the oldest layout: no length and no stored index
// version follow, and its versions are plain integers. A newer minor layout may append bytes,
// which the length passes over.
Format::Format(const SmartPtr<TypeIndex>& typeIndex, Stream& stream)
    : typeIndex(typeIndex)
{
    Fixed layout = Fixed::FromRaw(static_cast<uint32_t>(stream.ReadLong()));
    Fixed storedIndexVersion = kOldestLayout;
    uint32_t length = 0;
    uint32_t lengthStart = 0;
    if (layout.Major() == 0) {
        layout = kOldestLayout;
    } else {
        length = static_cast<uint32_t>(stream.ReadLong());
        lengthStart = stream.GetMark();
        storedIndexVersion = Fixed::FromRaw(static_cast<uint32_t>(stream.ReadLong()));
    }
    if (layout > kChunkVersion && !layout.SameMajor(kChunkVersion))
        ThrowError("Can't read format", PW_HERE);
    if (!typeIndex->GetVersion().SameMajor(storedIndexVersion))
        ThrowError("Can't read class index", PW_HERE);

    // The stored description is passed over: the type index's own stands.
    uint32_t descriptionLength = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(descriptionLength);
    stream.Seek(static_cast<int32_t>(descriptionLength), Stream::kFromMark);

    bool oldest = layout == kOldestLayout;
    uint32_t versionCount = ReadCount(stream);
    versions.InsertItems(nullptr, 0, versionCount);
    for (uint32_t n = 1; n <= versionCount; ++n) {
        uint32_t value = static_cast<uint32_t>(stream.ReadLong());
        versions[n] = oldest ? Fixed(static_cast<uint16_t>(value)) : Fixed::FromRaw(value);
    }
    uint32_t sizeCount = ReadCount(stream);
    recordSizes.InsertItems(nullptr, 0, sizeCount);
    for (uint32_t n = 1; n <= sizeCount; ++n) {
        int32_t size = stream.ReadLong();
        recordSizes[n] = oldest ? kNoSize : size;
    }

    if (length > 0) {
        uint64_t end = static_cast<uint64_t>(lengthStart) + length;
        if (end < stream.GetMark() || end > stream.GetLength())
            pw::foundation::ThrowCorruptFile(PW_HERE);
        stream.Seek(static_cast<int32_t>(end), Stream::kFromStart);
    }
}

void Format::Write(Stream& stream)
{
    const String& description = typeIndex->GetDescription();
    uint32_t descriptionLength = description.Length();
    uint32_t versionCount = versions.NumItems();
    uint32_t sizeCount = recordSizes.NumItems();
    uint32_t length = 16 + descriptionLength + 4 * versionCount + 4 * sizeCount;

    stream.WriteLong(static_cast<int32_t>(kChunkVersion.Raw()));
    stream.WriteLong(static_cast<int32_t>(length));
    stream.WriteLong(static_cast<int32_t>(typeIndex->GetVersion().Raw()));
    stream.WriteLong(static_cast<int32_t>(descriptionLength));
    {
        uint32_t count = 0;
        String::CharIterator characters(description, count);
        if (count > 0)
            stream.Write(characters.Chars(), count);
    }
    ArrayLock versionLock(versions);
    ArrayLock sizeLock(recordSizes);
    stream.WriteLong(static_cast<int32_t>(versionCount));
    for (uint32_t n = 1; n <= versionCount; ++n)
        stream.WriteLong(static_cast<int32_t>(versions[n].Raw()));
    stream.WriteLong(static_cast<int32_t>(sizeCount));
    for (uint32_t n = 1; n <= sizeCount; ++n)
        stream.WriteLong(recordSizes[n]);
}

uint32_t Format::ClassNumberOf(const SmartPtr<Persistent>& object) const
{
    if (!object.Valid())
        AssertionFailed("obj.Valid()", PW_HERE);
    return ClassNumberOf(object->GetPersistentVersion());
}

uint32_t Format::ClassNumberOf(const PersistentVersion& record) const
{
    return typeIndex->ClassNumberOf(record);
}

// Searching down finds the highest number of a class listed twice.
void Format::WriteClass(Stream& stream, const ClassInfo* record) const
{
    for (uint32_t n = versions.NumItems(); n >= 1; --n) {
        const PersistentVersion* entry = GetClass(n);
        if (entry && entry->GetClass() == record) {
            stream.WriteLong(static_cast<int32_t>(n));
            return;
        }
    }
    Throw(new FormatClassException(record), PW_HERE);
}

const ClassInfo* Format::ReadClass(Stream& stream) const
{
    uint32_t n = static_cast<uint32_t>(stream.ReadLong());
    if (n == 0)
        return nullptr;
    const PersistentVersion* record = GetClass(n);
    if (!record)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    return record->GetClass();
}

Persistent* Format::CreateObject(uint32_t n, Archive& archive) const
{
    const PersistentVersion* record = GetClass(n);
    if (!record)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (!record->HasReader())
        ThrowError("Can't create object of that class!", PW_HERE);
    return record->CallReader(archive);
}

const PersistentVersion* Format::GetClass(uint32_t n) const
{
    if (n < 1 || n > typeIndex->NumClasses())
        return nullptr;
    return typeIndex->GetClass(n);
}

const char* Format::GetClassName(uint32_t n) const
{
    const PersistentVersion* record = GetClass(n);
    return record ? record->GetClass()->GetName() : "";
}

Fixed Format::GetCurrentVersion(uint32_t n) const
{
    const PersistentVersion* record = GetClass(n);
    return record ? record->GetCurrentVersion() : Fixed();
}

// A newer minor version is readable only when every object of the class has one known size, so
// that the reader can pass over the part it does not know.
Fixed Format::GetStoredVersion(uint32_t n) const
{
    if (n < 1 || n > versions.NumItems() || !GetClass(n))
        return Fixed();
    Fixed stored = versions[n];
    Fixed current = GetCurrentVersion(n);
    if (stored <= current)
        return stored;
    if (!stored.SameMajor(current))
        return Fixed();
    return GetRecordSize(n) != kNoSize ? stored : Fixed();
}

int32_t Format::GetRecordSize(uint32_t n) const
{
    if (n < 1 || n > recordSizes.NumItems())
        return kNoSize;
    int32_t size = recordSizes[n];
    return size == kSizesDiffer ? kNoSize : size;
}

void Format::SetRecordSize(uint32_t n, int32_t size)
{
    if (n < 1 || n > recordSizes.NumItems())
        return;
    int32_t current = recordSizes[n];
    if (current == kSizesDiffer || current == size)
        return;
    recordSizes[n] = current == kNoSize ? size : kSizesDiffer;
}
