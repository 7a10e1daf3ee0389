#pragma once

#include "foundation/Archive.h"
#include "foundation/Fixed.h"
#include "foundation/Format.h"
#include "foundation/GuardedStream.h"
#include "foundation/Scribe.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeIndex.h"
#include "foundation/TypedArray.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class Persistent;
class Resources;
class Stream;

// The archive that stores a whole graph of persistent objects in one stream, the "OBJS" object
// file, and reads it back: a header, the class-index chunk (Format), the objects, and a table of
// where each object lies. Objects are numbered in the order the writer first meets them; each is
// written right after its first reference, inside the referring object's bytes, and a later
// reference is just its number. The reader fetches objects through the table on demand, so the
// objects the root does not reach are never read. Every document and folder preview is saved and
// opened through one.
//
// Saving never destroys the last good copy: the file is written in full elsewhere first (a
// temporary file beside a disk file, memory otherwise) and only then copied over the stream.
// Reading trusts nothing in the file: a damaged file gives the corrupt-file alert and no object.
class ObjectFile : public Archive, public Scribe, public SmartImplementation {
    PW_CLASS_INFO(ObjectFile)
    PW_COPY_SLOTS

public:
    // Header flags.
    static constexpr uint8_t kObsolete = 1;
    static constexpr uint8_t kNewer = 2;
    static constexpr uint8_t kDamaged = 4;
    static constexpr uint8_t kTagged = 16;
    static constexpr Fixed kFormatVersion = Fixed(2);
    // How deep objects may be nested inside one another in a file being read.
    static constexpr uint32_t kMaxDepth = 1000;

    ObjectFile(const SmartPtr<TypeIndex>& typeIndex, const SmartPtr<Stream>& stream);
    ObjectFile(const ObjectFile& other);
    ObjectFile& operator=(const ObjectFile& other);
    ~ObjectFile() override;

    // Scribe: saves the root (null allowed; anything else must be persistent) over the stream; a
    // disk file whose item is missing is made by the save, only once it is whole.
    void Write(const SmartPtr<Smart>& root) override;
    // The root object, or empty when the file could not be read (after an alert). The objects read
    // stay held by this object file; a second Read on it fails its assertion.
    SmartPtr<Smart> Read() override;
    bool CanWrite() override;
    bool Accepts(const ClassInfo* record) override;

    // Archive.
    uint32_t BeginObject(const PersistentVersion& record) override;
    Fixed& GetObjectVersion(Fixed& version, uint32_t token, Fixed current) override;
    void EndObject(uint32_t token, uint32_t start, bool skip) override;
    Archive& WriteObject(Persistent* object) override;
    uint32_t IdOf(Persistent* object) override;
    Persistent* ObjectFor(uint32_t id) override;
    Archive& WriteClass(const ClassInfo* record) override;
    const ClassInfo* ReadClass() override;
    Stream& GetStream() override;
    uint32_t GetMark() override;

    // The header flags found by the last Read.
    uint8_t GetFlags() const { return header.flags; }
    // A silent object file shows no alert: a read that fails answers no object, and the status of
    // what was read is not reported; only the system's refusal (the system-error exception) still
    // reaches the caller. For files the program keeps for itself (folder previews) and quiet reads.
    void SetSilent(bool value) { silent = value; }

    // The object-file messages, string-table ids 190 to 199 (entry n is id 190 + n).
    static Resources& FileMessages();

private:
    struct Header {
        char magic[4] { 'O', 'B', 'J', 'S' };
        uint8_t byteOrder { 2 };
        Fixed formatVersion { kFormatVersion };
        uint8_t flags { 0 };
        uint32_t tableOffset { 0 };
        uint32_t formatOffset { 0 };
        uint32_t rootId { 1 };
    };
    // One object of the table: its class number, first byte and length (inline objects included).
    struct TableEntry {
        uint32_t classNumber;
        uint32_t offset;
        uint32_t length;
    };
    struct Slot {
        SmartPtr<Persistent> object;
        bool inUse { false };
    };
    enum class Pending { None, Corrupt, Unreadable };

    // A progress range opened through the window floor when it lends one; silent otherwise.
    class Progress {
    public:
        Progress(int32_t steps, const char* title);
        ~Progress();
        Progress(const Progress&) = delete;
        Progress& operator=(const Progress&) = delete;
        void Advance(int32_t steps);

    private:
        void* range { nullptr };
    };
    class Staging;

    void WriteGraph(Persistent* root, Progress& progress);
    void WriteHeader();
    void ReadHeader();
    void ReadTable(bool currentForm);
    void CheckTable();
    void WriteIfNeeded(uint32_t id);
    void Rewind();
    void ClearObjects();
    void SeekTo(uint32_t offset);
    void RaisePending();
    void ReportStatus() const;

    static constexpr uint8_t kReading = 0;
    static constexpr uint8_t kWriting = 1;

    SmartPtr<TypeIndex> typeIndex;
    SmartPtr<Stream> stream;
    Header header;
    SmartPtr<Format> format;
    uint8_t mode { kReading };
    std::vector<Slot> objList;
    // While writing: the objects met so far (not counted: the graph keeps them) and their ids.
    std::vector<Persistent*> written;
    std::unordered_map<Persistent*, uint32_t> ids;
    TypedArray<TableEntry> table;
    Progress* progress { nullptr };
    uint32_t base { 0 };
    pw::foundation::GuardedStream guard;
    Pending pending { Pending::None };
    uint32_t depth { 0 };
    bool silent { false };
};
