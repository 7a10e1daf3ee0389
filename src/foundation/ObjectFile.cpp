#include "foundation/ObjectFile.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Resources.h"
#include "foundation/SystemErrorException.h"

#include <windows.h>

#include <cstring>
#include <memory>

PW_DEFINE_CLASS(ObjectFile, nullptr, nullptr, Archive, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(ObjectFile)

ObjectFile::Progress::Progress(int32_t steps, const char* title)
{
    auto& services = pw::foundation::GetFileReferenceServices();
    if (services.openProgress)
        range = services.openProgress(steps, title);
}

// Closing runs from a destructor: a failure there is dropped.
ObjectFile::Progress::~Progress()
{
    auto& services = pw::foundation::GetFileReferenceServices();
    if (!range || !services.closeProgress)
        return;
    try {
        services.closeProgress(range);
    } catch (...) {
    }
}

void ObjectFile::Progress::Advance(int32_t steps)
{
    auto& services = pw::foundation::GetFileReferenceServices();
    if (range && services.advanceProgress)
        services.advanceProgress(range, steps);
}

Resources& ObjectFile::FileMessages()
{
    static Resources messages(190, 199);
    return messages;
}

namespace {

// An object whose stored bytes and the bytes its reader took differ in number; shown, never thrown.
class LengthMismatch : public Exception {
public:
    LengthMismatch(const char* className, Fixed version, int64_t difference)
        : className(className)
        , version(version)
        , difference(difference)
    {
    }

    void Display(int kind) override
    {
        if (IsReported())
            return;
        char versionText[16];
        std::snprintf(versionText, sizeof versionText, "%u.%u", version.Major(), version.Minor());
        char countText[24];
        long long count = difference < 0 ? -difference : difference;
        std::snprintf(countText, sizeof countText, "%lld", count);
        char text[kMessageSize];
        ObjectFile::FileMessages().GetString(text, difference > 0 ? 4 : 5, className, versionText, countText, nullptr);
        Alert(kind, Alert::kOk, text);
        SetReported(true);
    }

private:
    const char* className;
    Fixed version;
    int64_t difference;
};

} // namespace

ObjectFile::ObjectFile(const SmartPtr<TypeIndex>& typeIndex, const SmartPtr<Stream>& stream)
    : typeIndex(typeIndex)
    , stream(stream)
{
    // The guard lives inside this object; a reader that takes a handle on it must not free it.
    pw::foundation::Pin(guard);
    guard.SetStream(stream.Get());
}

ObjectFile::ObjectFile(const ObjectFile& other)
    : Smart()
    , Archive(other)
    , Scribe(other)
    , SmartImplementation(other)
{
    pw::foundation::Pin(guard);
    *this = other;
}

ObjectFile& ObjectFile::operator=(const ObjectFile& other)
{
    if (this == &other)
        return *this;
    typeIndex = other.typeIndex;
    stream = other.stream;
    header = other.header;
    format = other.format;
    mode = other.mode;
    objList = other.objList;
    written = other.written;
    ids = other.ids;
    table = other.table;
    base = other.base;
    pending = other.pending;
    silent = other.silent;
    guard.SetStream(stream.Get());
    return *this;
}

ObjectFile::~ObjectFile() = default;

bool ObjectFile::CanWrite()
{
    return stream->IsWritable();
}

bool ObjectFile::Accepts(const ClassInfo* record)
{
    return record && record->IsKindOf(&Persistent::classInfo);
}

// ---- Archive ----

uint32_t ObjectFile::BeginObject(const PersistentVersion& record)
{
    if (mode == kReading)
        RaisePending();
    return format->ClassNumberOf(record);
}

// Reading: the version stored for the class. A tagged file repeats the class number in front of
// each object's bytes.
Fixed& ObjectFile::GetObjectVersion(Fixed& version, uint32_t token, Fixed current)
{
    if (mode == kWriting) {
        version = current;
        return version;
    }
    Fixed stored = format->GetStoredVersion(token);
    if (stored.Major() < current.Major())
        header.flags |= kObsolete;
    if (stored > current)
        header.flags |= kNewer;
    if ((header.flags & kTagged) && stored != Fixed()) {
        uint32_t tag = static_cast<uint32_t>(guard.ReadLong());
        if (tag != token)
            header.flags |= kDamaged;
    }
    version = stored;
    return version;
}

// Writing records the object's own size (inline objects excluded through `base`). Reading passes
// over what the reader left of a skipped or newer object, or of any object in a tagged file, by the
// class's one recorded size. It runs from a scope's destructor, so failures wait for the next step.
void ObjectFile::EndObject(uint32_t token, uint32_t start, bool skip)
{
    if (mode == kWriting) {
        format->SetRecordSize(token, static_cast<int32_t>(GetMark() - start));
        return;
    }
    if (!skip && !(header.flags & kTagged))
        return;
    int32_t size = format->GetRecordSize(token);
    if (size == Format::kNoSize) {
        if (skip && pending == Pending::None)
            pending = Pending::Unreadable;
        return;
    }
    int64_t delta = static_cast<int64_t>(start) + size - static_cast<int64_t>(GetMark());
    if (delta == 0)
        return;
    if (delta < 0)
        header.flags |= kDamaged;
    int64_t target = static_cast<int64_t>(guard.GetMark()) + delta;
    if (target < 0 || target > guard.GetLength()) {
        header.flags |= kDamaged;
        if (pending == Pending::None)
            pending = Pending::Corrupt;
        return;
    }
    guard.Seek(static_cast<int32_t>(target), Stream::kFromStart);
}

Archive& ObjectFile::WriteObject(Persistent* object)
{
    uint32_t id = IdOf(object);
    WriteLong(static_cast<int32_t>(id));
    WriteIfNeeded(id);
    return *this;
}

uint32_t ObjectFile::IdOf(Persistent* object)
{
    if (!object)
        return 0;
    auto found = ids.find(object);
    if (found != ids.end())
        return found->second;
    written.push_back(object);
    uint32_t id = static_cast<uint32_t>(written.size());
    ids.emplace(object, id);
    table.Append(TableEntry { 0, 0, 0 });
    return id;
}

// Objects lie in the file where their first reference was written. One met at the stream's mark is
// read (or, read before, passed over) in place and the bytes behind it are this object's; one
// elsewhere is fetched through the table and the mark comes back. A reference to an object still
// being read (a cycle) gives null.
Persistent* ObjectFile::ObjectFor(uint32_t id)
{
    if (id == 0)
        return nullptr;
    RaisePending();
    if (id > objList.size())
        pw::foundation::ThrowCorruptFile(PW_HERE);
    Slot& slot = objList[id - 1];
    TableEntry entry = table[id];
    uint32_t mark = guard.GetMark();
    bool atCurrent = entry.offset == mark;
    uint32_t saved = base;
    if (slot.inUse)
        return nullptr;

    if (!slot.object.Valid()) {
        if (depth >= kMaxDepth)
            pw::foundation::ThrowCorruptFile(PW_HERE);
        if (progress)
            progress->Advance(1);
        if (!atCurrent) {
            SeekTo(entry.offset);
            base = 0;
        }
        slot.inUse = true;
        SmartPtr<Persistent> object;
        {
            struct Nesting {
                uint32_t& depth;
                ~Nesting() { --depth; }
            } nesting { ++depth };
            object = format->CreateObject(entry.classNumber, *this);
        }
        RaisePending();
        int64_t end = static_cast<int64_t>(entry.offset) + entry.length;
        int64_t difference = static_cast<int64_t>(guard.GetMark()) - end;
        // A silent read (a folder's previews) shows nothing, whatever the damage.
        if (difference != 0 && !silent) {
            uint32_t number = entry.classNumber;
            LengthMismatch mismatch(format->GetClassName(number), format->GetStoredVersion(number), difference);
            mismatch.Display(Alert::kExclamation);
        }
        slot.object = object;
        slot.inUse = false;
    }

    if (atCurrent) {
        SeekTo(mark + entry.length);
        base = saved + entry.length;
    } else {
        SeekTo(mark);
        base = saved;
    }
    return slot.object.Get();
}

Archive& ObjectFile::WriteClass(const ClassInfo* record)
{
    format->WriteClass(guard, record);
    return *this;
}

const ClassInfo* ObjectFile::ReadClass()
{
    return format->ReadClass(guard);
}

Stream& ObjectFile::GetStream()
{
    return guard;
}

uint32_t ObjectFile::GetMark()
{
    return guard.GetMark() - base;
}

// ---- helpers ----

void ObjectFile::Rewind()
{
    stream->Seek(0, Stream::kFromStart);
}

void ObjectFile::ClearObjects()
{
    objList.clear();
    written.clear();
    ids.clear();
    table.DeleteAll();
}

void ObjectFile::SeekTo(uint32_t offset)
{
    if (offset > guard.GetLength() && mode == kReading)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    guard.Seek(static_cast<int32_t>(offset), Stream::kFromStart);
}

void ObjectFile::RaisePending()
{
    Pending failure = pending;
    pending = Pending::None;
    if (failure == Pending::Unreadable)
        ThrowError("Can't read obsolete or unknown format file.", PW_HERE);
    if (failure == Pending::Corrupt)
        pw::foundation::ThrowCorruptFile(PW_HERE);
}
