#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/PointList.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"

#include <cstdint>

class ArchiveScope;
class ListHandle;
class Memory;
class PathPoint;
class String;

// A memory block ("handle") or a list of objects as older object files saved it, kept only to be
// read. A block's bytes are not kept: the record remembers where they lie in the stream, so they
// can be read only through the archive the record came from, while it is open, by the
// conversions below. Writing warns "Not implemented." and stores nothing.
//
// Stored form (version 1.0): a byte whose bit 0 says "list of objects", the packed item size
// (0: not packed), a signed 16-bit object count, the 32-bit unpacked size (-1, -2 and -3 mark an
// empty block; -3 also warns "Not implemented."), an ignored 32-bit value, then the object
// references of a list, or the block's data: its bytes, or packed runs of items (see
// LegacyPackedItems.h) that unpack to the size.
class CHandleSaver : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CHandleSaver)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CHandleSaver() = default;
    CHandleSaver(const CHandleSaver& other);
    // Steps over a block's data; a size or count the stream cannot hold is a corrupt record.
    explicit CHandleSaver(ArchiveScope& scope);
    CHandleSaver& operator=(const CHandleSaver& other);

    // Opens the scope and warns "Not implemented."; no fields are written.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The block cut into items of `itemSize` bytes (the remainder stays in the block but is not
    // counted); a list record gives count 0 and leaves the block alone. An item size of 0 or less
    // fails the assertion "itemSize > 0". The stream's mark is kept.
    void ReadBlock(int32_t itemSize, uint32_t& count, Memory& block, ArchiveScope& scope) const;
    // The block as old path entries, one path point each (none for a list record); the stream's
    // mark is kept.
    void ReadPath(SmartList<PathPoint>& path, ArchiveScope& scope) const;
    // A list record empties the destination and appends every object; a block leaves it alone.
    void CopyItemsTo(ListHandle& destination) const;

private:
    bool saveItems { false };
    uint8_t packItemSize { 0 };
    uint32_t dataSize { 0 };
    uint32_t dataMark { 0 };
    SmartList<Persistent> items;
};

// Each reads the next object and, when it is a CHandleSaver, converts it and answers true; any
// other object leaves the destination unchanged and answers false.
bool LegacyReadHandleList(ListHandle& destination, ArchiveScope& scope);
bool LegacyReadHandleBlock(int32_t itemSize, uint32_t& count, Memory& block, ArchiveScope& scope);
// The block's bytes, less a last 0 byte, inserted at the start of the text.
bool LegacyReadHandleString(String& text, ArchiveScope& scope);
// The block as 4-byte items of v then h, 16-bit each in the block's own byte order, appended as
// points (h, v).
bool LegacyReadHandlePointList(PointList& points, ArchiveScope& scope);
// Replaces the path by the block's old path entries.
bool LegacyReadHandlePath(SmartList<PathPoint>& path, ArchiveScope& scope);
