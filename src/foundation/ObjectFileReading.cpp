// Reading an object file: header, class-index chunk, table, then the root and what it reaches.
#include "foundation/ObjectFile.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/GenericArray.h"
#include "foundation/Persistent.h"
#include "foundation/Resources.h"
#include "foundation/SystemErrorException.h"

#include <cstring>
#include <memory>
#include <vector>

// Every failure while reading is shown here, once, and gives no object; a file that read but is
// damaged, obsolete or newer says so afterwards. A silent read shows nothing, and passes on only
// the system's refusal (memory, the disk), which says nothing about the file.
SmartPtr<Smart> ObjectFile::Read()
{
    mode = kReading;
    Rewind();
    guard.SetStream(stream.Get());
    guard.SetGuarding(true);
    SmartPtr<Persistent> root;
    bool shown = false;
    std::unique_ptr<Progress> reading;
    SmartPtr<Exception> refusal;
    try {
        ReadHeader();
        if (header.formatOffset != 0)
            SeekTo(header.formatOffset);
        format = new Format(typeIndex, guard);
        if (header.tableOffset != 0)
            SeekTo(header.tableOffset);
        bool currentForm = header.formatVersion >= kFormatVersion;
        ReadTable(currentForm);
        RaisePending();
        if (header.flags & kDamaged) {
            table.DeleteAll();
        } else {
            if (!objList.empty())
                AssertionFailed("objList->NumItems() == 0", PW_HERE);
            uint32_t count = table.NumItems();
            reading = std::make_unique<Progress>(static_cast<int32_t>(count + 1), "Reading Objects");
            progress = reading.get();
            progress->Advance(1);
            if (currentForm && header.byteOrder != 2) {
                for (uint32_t n = 1; n <= count; ++n) {
                    TableEntry& entry = table[n];
                    entry = { guard.SwapLong(entry.classNumber), guard.SwapLong(entry.offset),
                        guard.SwapLong(entry.length) };
                }
            }
            CheckTable();
            objList.resize(count);
            if (header.rootId == 0)
                header.rootId = count;
            base = 0;
            root = ObjectFor(header.rootId);
            RaisePending();
        }
    } catch (Exception* exception) {
        SmartPtr<Exception> hold(exception->Unreferenced() ? nullptr : exception);
        if (!silent)
            exception->Display(Alert::kExclamation);
        else if (dynamic_cast<SystemErrorException*>(exception))
            refusal = exception;
        shown = true;
        root = nullptr;
    }
    progress = nullptr;
    reading.reset();
    pending = Pending::None;
    guard.SetGuarding(false);
    mode = kReading;
    Rewind();
    base = 0;
    if (!shown && !silent)
        ReportStatus();
    if (refusal.Valid())
        ThrowPointer(refusal);
    return SmartPtr<Smart>(root.Get());
}

// Files without the magic are read as obsolete big-endian files without header fields; a file
// without the byte-order byte has big-endian values.
void ObjectFile::ReadHeader()
{
    header = Header();
    header.byteOrder = 1;
    header.formatVersion = Fixed();
    header.rootId = 0;
    char magic[4];
    guard.Read(magic, 4);
    if (std::memcmp(magic, "OBJS", 4) != 0) {
        guard.SetBothSwap(true);
        header.formatVersion = Fixed(1);
        header.flags |= kObsolete;
    } else {
        std::memcpy(header.magic, magic, 4);
        uint8_t byteOrder = static_cast<uint8_t>(guard.ReadByte());
        if (byteOrder == 0) {
            guard.Seek(-1, Stream::kFromMark);
            byteOrder = 1;
        }
        header.byteOrder = byteOrder;
        guard.SetBothSwap(byteOrder != 2);
        header.formatVersion = Fixed::FromRaw(static_cast<uint32_t>(guard.ReadLong()));
        if (header.formatVersion > kFormatVersion)
            header.flags |= kNewer;
        else if (header.formatVersion.Major() < kFormatVersion.Major())
            header.flags |= kObsolete;
        if (guard.ReadLong() & 1)
            header.flags |= kTagged;
    }
    if (header.formatVersion >= kFormatVersion) {
        header.tableOffset = static_cast<uint32_t>(guard.ReadLong());
        header.formatOffset = static_cast<uint32_t>(guard.ReadLong());
        header.rootId = static_cast<uint32_t>(guard.ReadLong());
    }
}

// The table is a stored array of raw entries. Older files keep in each entry the class, the offset
// and where the object's own bytes begin, and an object ends where the next one starts.
void ObjectFile::ReadTable(bool currentForm)
{
    {
        ArchiveScope scope(*this, GenericArray::version);
        table = TypedArray<TableEntry>(scope);
    }
    if (currentForm)
        return;
    uint32_t count = table.NumItems();
    std::vector<TableEntry> stored(count);
    for (uint32_t n = 1; n <= count; ++n)
        stored[n - 1] = table[n];
    for (uint32_t n = 1; n <= count; ++n) {
        const TableEntry& entry = stored[n - 1];
        uint32_t end = n < count ? guard.SwapLong(stored[n].offset) : guard.GetLength();
        uint32_t start = guard.SwapLong(entry.length);
        table[n] = { guard.SwapLong(entry.classNumber), guard.SwapLong(entry.offset), end - start };
    }
}

// Every object must lie inside the stream; classes and ids are checked where they are used.
void ObjectFile::CheckTable()
{
    uint64_t length = guard.GetLength();
    for (uint32_t n = 1; n <= table.NumItems(); ++n) {
        const TableEntry& entry = table[n];
        if (static_cast<uint64_t>(entry.offset) + entry.length > length)
            pw::foundation::ThrowCorruptFile(PW_HERE);
    }
}

void ObjectFile::ReportStatus() const
{
    int entry = 0;
    int kind = Alert::kInformation;
    if (header.flags & kDamaged) {
        entry = 1;
        kind = Alert::kExclamation;
    } else if (header.flags & kObsolete) {
        entry = 2;
    } else if (header.flags & kNewer) {
        entry = 3;
    }
    if (entry == 0)
        return;
    char text[kMessageSize];
    FileMessages().GetString(text, entry, nullptr, nullptr, nullptr, nullptr);
    Alert(kind, Alert::kOk, text);
}
