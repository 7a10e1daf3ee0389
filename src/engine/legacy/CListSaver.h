#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"

#include <cstdint>

class ArchiveScope;
class ListHandle;

// A list of objects as older object files saved it, kept only to be read: its objects go on to
// current lists through LegacyReadList. Writing warns "Not implemented." and stores nothing.
//
// Stored form (version 1.0): a byte that must not be 0, a byte and a 32-bit value ignored around
// a signed 16-bit count, then that many object references.
class CListSaver : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CListSaver)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CListSaver() = default;
    CListSaver(const CListSaver& other);
    // A first byte of 0 fails the assertion "saveItems"; a negative count is a corrupt record.
    explicit CListSaver(ArchiveScope& scope);
    CListSaver& operator=(const CListSaver& other);

    // Opens the scope and warns "Not implemented."; no fields are written.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Empties the destination, then appends every entry in order.
    void CopyItemsTo(ListHandle& destination) const;

private:
    SmartList<Persistent> items;
};

// Reads the next object; when it is a CListSaver the destination gets its objects and the answer
// is true, else nothing changes.
bool LegacyReadList(ListHandle& destination, ArchiveScope& scope);

namespace pw::engine {

// Reads `count` object references into `items`, an empty entry for each empty one; a negative
// count, or one that the bytes left cannot hold, is a corrupt record.
void ReadLegacyItems(ArchiveScope& scope, int16_t count, SmartList<Persistent>& items);

} // namespace pw::engine
