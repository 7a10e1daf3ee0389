#include "foundation/ListData.h"

#include "foundation/ArchiveScope.h"
#include "foundation/ArrayLock.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"

#include <memory>

namespace {

// Stored entries are 32-bit object references at least.
constexpr uint32_t kStoredEntrySize = 4;

} // namespace

PW_DEFINE_CLASS(ListData, &pw::foundation::CreateFunction<ListData>, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(ListData)

constinit const PersistentVersion ListData::version { &ListData::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<ListData> };

ListData::ListData(const ClassInfo* itemClass)
    : itemClass(itemClass)
{
}

// Every entry is checked before anything is taken, so a refused copy leaves nothing half built.
ListData::ListData(const ListData& source)
    : Smart()
    , Persistent(source)
    , SmartImplementation(source)
    , itemClass(source.itemClass)
{
    if (!CanCopy(source, 1, source.NumItems(), true))
        AssertionFailed("CanCopy(source,1,num,convertOnCopy)", PW_HERE);
    PutEntries(ConvertedEntries(source, true), 0);
}

// Each object read is held at once, so a failure part way through releases what was read. A list
// must name its item class (number 0 names none): one that could not be written back is damage.
// A skipped list (its own version or its holder's unreadable) stores no class and comes back
// empty; it takes its own class as item class, the one class every index that reads a list can
// store again, so that the document it stands in saves.
ListData::ListData(ArchiveScope& scope)
    : itemClass(scope.ReadClass())
{
    if (!itemClass && !scope.IsSkipped())
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (!itemClass)
        itemClass = &ListData::classInfo;
    Stream& stream = scope.GetStream();
    uint32_t storedCount = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(static_cast<uint64_t>(storedCount) * kStoredEntrySize);
    std::vector<SmartPtr<Smart>> entries;
    entries.reserve(storedCount);
    for (uint32_t index = 0; index < storedCount; ++index)
        entries.emplace_back(scope.ReadObject());
    PutEntries(entries, 0);
}

ListData::~ListData()
{
    ReleaseItems(1, NumItems());
}

// The source's entries are checked and converted before the old ones are let go: a refusal leaves
// the list as it was, and entries shared by both lists stay alive throughout.
ListData& ListData::operator=(const ListData& source)
{
    if (this == &source)
        return *this;
    if (!CanCopy(source, 1, source.NumItems(), true))
        AssertionFailed("CanCopy(source,1,num,convertOnCopy)", PW_HERE);
    std::vector<SmartPtr<Smart>> entries = ConvertedEntries(source, true);
    std::vector<SmartPtr<Smart>> old = ConvertedEntries(*this, false);
    uint32_t oldCount = NumItems();
    ReleaseItems(1, oldCount);
    pointers.DeleteAll();
    PutEntries(entries, 0);
    NotifyListeners(1, oldCount, static_cast<int32_t>(NumItems() - oldCount));
    return *this;
}

void ListData::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    ArrayLock lock(pointers);
    scope.WriteClass(itemClass);
    scope.GetStream().WriteLong(static_cast<int32_t>(NumItems()));
    for (uint32_t index = 1; index <= NumItems(); ++index)
        scope.WriteObject(SmartCast<Persistent>(pointers[index]));
}

void ListData::CheckEntries(uint32_t from, uint32_t num, int line) const
{
    if (from == 0)
        AssertionFailed("from > 0", PW_SOURCE_FILE, line);
    if (static_cast<uint64_t>(from) + num - 1 > NumItems())
        AssertionFailed("numPointers >= num-1", PW_SOURCE_FILE, line);
}

void ListData::ReleaseItems(uint32_t from, uint32_t num)
{
    if (num == 0)
        return;
    ArrayLock lock(pointers);
    CheckEntries(from, num, __LINE__);
    for (uint32_t index = from; index < from + num; ++index)
        SmartRelease(pointers[index]);
}

// Conversions run before any reference is taken, so a conversion that throws leaves no entry
// counted twice or not at all.
void ListData::AcquireItems(uint32_t from, uint32_t num, bool convert)
{
    if (num == 0)
        return;
    CheckEntries(from, num, __LINE__);
    std::vector<SmartPtr<Smart>> entries;
    entries.reserve(num);
    for (uint32_t index = from; index < from + num; ++index) {
        entries.emplace_back(pointers[index]);
        if (convert && entries.back().Valid())
            Convert(entries.back(), true);
    }
    ArrayLock lock(pointers);
    for (uint32_t index = 0; index < num; ++index) {
        Smart* entry = entries[index].Get();
        if (entry)
            entry->AddReference();
        pointers[from + index] = entry;
    }
}

bool ListData::CanCopy(const ListData& source, uint32_t from, uint32_t num, bool convert) const
{
    for (uint64_t index = from; index < static_cast<uint64_t>(from) + num; ++index) {
        if (!CanAccept(source.GetItem(static_cast<uint32_t>(index)), convert))
            return false;
    }
    return true;
}

std::vector<SmartPtr<Smart>> ListData::ConvertedEntries(const ListData& source, bool convert) const
{
    std::vector<SmartPtr<Smart>> entries;
    entries.reserve(source.NumItems());
    for (uint32_t index = 1; index <= source.NumItems(); ++index) {
        entries.emplace_back(source.pointers[index]);
        if (convert && entries.back().Valid())
            Convert(entries.back(), true);
    }
    return entries;
}

// Inserts the entries after position `after` and takes one reference for each.
void ListData::PutEntries(const std::vector<SmartPtr<Smart>>& entries, uint32_t after)
{
    if (entries.empty())
        return;
    std::vector<Smart*> raw;
    raw.reserve(entries.size());
    for (const SmartPtr<Smart>& entry : entries)
        raw.push_back(entry.Get());
    pointers.InsertItems(raw.data(), after, static_cast<uint32_t>(raw.size()));
    for (Smart* entry : raw) {
        if (entry)
            entry->AddReference();
    }
}

Smart* ListData::GetItem(uint32_t index) const
{
    if (index == 0 || index > NumItems())
        return nullptr;
    return pointers[index];
}

uint32_t ListData::IndexOf(Smart* item) const
{
    return pointers.IndexOf(item);
}

void ListData::InsertItems(Smart* item, uint32_t after, uint32_t num)
{
    pointers.InsertCopies(&item, after, num);
    if (item) {
        for (uint32_t index = 0; index < num; ++index)
            item->AddReference();
    }
    NotifyListeners(after + 1, 0, static_cast<int32_t>(num));
}

void ListData::Append(Smart* item)
{
    InsertItems(item, NumItems(), 1);
}

// Works on a snapshot of the source's entries, so a list may be inserted into itself.
void ListData::InsertList(const ListData& source, uint32_t after)
{
    if (source.NumItems() == 0)
        return;
    std::vector<SmartPtr<Smart>> entries = ConvertedEntries(source, false);
    PutEntries(entries, after);
    NotifyListeners(after + 1, 0, static_cast<int32_t>(entries.size()));
}

// The new item is referenced before the old entries are released: replacing an object by itself
// never frees it.
void ListData::ReplaceItems(Smart* item, uint32_t from, uint32_t num)
{
    if (num > 0)
        CheckEntries(from, num, __LINE__);
    if (item) {
        for (uint32_t index = 0; index < num; ++index)
            item->AddReference();
    }
    ReleaseItems(from, num);
    pointers.FillItems(&item, from, num);
    NotifyListeners(from, num, 0);
}

// The entries leave the array before they are released, so a destructor that looks at the list
// never meets a freed entry.
void ListData::DeleteItems(uint32_t from, uint32_t num)
{
    uint64_t last = static_cast<uint64_t>(from) + num - 1;
    if (from < 1 || from > NumItems() || last < 1 || last > NumItems())
        ThrowError("Range error", PW_HERE);
    std::vector<Smart*> removed(num);
    for (uint32_t index = 0; index < num; ++index)
        removed[index] = pointers[from + index];
    pointers.DeleteItems(from, num);
    for (Smart* entry : removed)
        SmartRelease(entry);
    NotifyListeners(from, num, -static_cast<int32_t>(num));
}

void ListData::DeleteAll()
{
    uint32_t oldCount = NumItems();
    std::vector<Smart*> removed(oldCount);
    for (uint32_t index = 0; index < oldCount; ++index)
        removed[index] = pointers[index + 1];
    pointers.DeleteAll();
    for (Smart* entry : removed)
        SmartRelease(entry);
    NotifyListeners(1, oldCount, -static_cast<int32_t>(oldCount));
}

void ListData::Remove(Smart* item)
{
    uint32_t index = IndexOf(item);
    if (index != 0)
        DeleteItems(index, 1);
}

void ListData::CheckAfter(uint32_t after) const
{
    if (after > NumItems())
        ThrowError("Range error", PW_HERE);
}

bool ListData::InsertObject(uint32_t after, Smart* item)
{
    CheckAfter(after);
    if (!CanAccept(item, true))
        return false;
    SmartPtr<Smart> converted(item);
    if (!Convert(converted, true))
        return false;
    InsertItems(converted.Get(), after, 1);
    return true;
}

// All entries are tested and converted before the first insert: a refusal inserts nothing.
bool ListData::InsertConverted(uint32_t after, const ListData& source)
{
    CheckAfter(after);
    if (!CanCopy(source, 1, source.NumItems(), true))
        return false;
    std::vector<SmartPtr<Smart>> entries = ConvertedEntries(source, false);
    for (SmartPtr<Smart>& entry : entries) {
        if (!Convert(entry, true))
            return false;
    }
    for (const SmartPtr<Smart>& entry : entries)
        InsertItems(entry.Get(), after++, 1);
    return true;
}

ListData* ListData::CopyItems(uint32_t from, uint32_t num) const
{
    auto copy = std::make_unique<ListData>(itemClass);
    for (uint64_t index = from; index < static_cast<uint64_t>(from) + num; ++index) {
        Smart* entry = GetItem(static_cast<uint32_t>(index));
        copy->Append(entry ? entry->Copy() : nullptr);
    }
    return copy.release();
}

ListData* ListData::SubList(uint32_t from, uint32_t num) const
{
    auto list = std::make_unique<ListData>(itemClass);
    for (uint64_t index = from; index < static_cast<uint64_t>(from) + num; ++index)
        list->Append(GetItem(static_cast<uint32_t>(index)));
    return list.release();
}

bool ListData::AcceptsClass(const ClassInfo* record) const
{
    return itemClass->IsKindOf(record);
}

bool ListData::CanAccept(Smart* item, bool convert) const
{
    return item && itemClass->CanConvertObject(item, convert, 4);
}

bool ListData::Convert(SmartPtr<Smart>& item, bool convert) const
{
    return itemClass->Convert(item, convert, 4);
}

void ListData::ToggleListener(ListListener* listener)
{
    listeners.Toggle(listener);
}

// Last registered first; a listener that leaves the list while being told is not told again.
void ListData::NotifyListeners(uint32_t from, uint32_t count, int32_t delta)
{
    ListChange change { from, count, delta };
    for (uint32_t index = listeners.NumItems(); index >= 1; --index) {
        if (index <= listeners.NumItems())
            listeners[index]->ListChanged(change);
    }
}
