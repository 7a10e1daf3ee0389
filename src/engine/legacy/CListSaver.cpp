#include "engine/legacy/CListSaver.h"

#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/ListHandle.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(CListSaver, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(CListSaver)

constinit const PersistentVersion CListSaver::version { &CListSaver::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CListSaver> };

CListSaver::CListSaver(const CListSaver& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , items(other.items)
{
}

// A skipped record (a version this program cannot read) reads zeros and gives an empty list.
CListSaver::CListSaver(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    bool saveItems = stream.ReadBool() != 0;
    if (!saveItems && !scope.IsSkipped())
        AssertionFailed("saveItems", PW_HERE);
    stream.ReadByte();
    int16_t count = stream.ReadShort();
    stream.ReadLong();
    pw::engine::ReadLegacyItems(scope, count, items);
}

CListSaver& CListSaver::operator=(const CListSaver& other)
{
    items = other.items;
    return *this;
}

void CListSaver::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CListSaver::CopyItemsTo(ListHandle& destination) const
{
    destination.Data()->DeleteAll();
    for (uint32_t index = 1; index <= items.NumItems(); ++index)
        destination.Append(items.GetItem(index));
}

bool LegacyReadList(ListHandle& destination, ArchiveScope& scope)
{
    SmartPtr<Persistent> object(scope.ReadObject());
    auto* saver = SmartCast<CListSaver>(object.Get());
    if (!saver)
        return false;
    saver->CopyItemsTo(destination);
    return true;
}

void pw::engine::ReadLegacyItems(ArchiveScope& scope, int16_t count, SmartList<Persistent>& items)
{
    if (count < 0)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    // Every reference takes 4 bytes at least.
    scope.GetStream().CheckAvailable(static_cast<uint64_t>(count) * 4);
    for (int16_t index = 0; index < count; ++index) {
        SmartPtr<Persistent> object(scope.ReadObject());
        items.Append(object);
    }
}
