#pragma once

#include "engine/CXform.h"
#include "foundation/SmartPtr.h"

#include <cstdint>
#include <vector>

class ArchiveScope;
class PathPoint;
class Stream;

// Old records stored memory blocks either as they lay in memory or in packed runs of equal
// n-byte items. Each run starts with a control byte: 0 ends the data; with bit 7 set the byte's
// low seven bits count the copies of the one item that follows (0x80 is a run of none); else
// they count the items that follow one after the other. Old sprite paths were such blocks of
// 8-byte entries whose items are read as a point and an object reference rather than as bytes.

// One unpacked old path entry: the point stored v first, and the entry's transform, held counted
// because the object read for it has no other holder.
struct LegacyPathEntry {
    int16_t v { 0 };
    int16_t h { 0 };
    SmartPtr<CXform> xform;
};

// The unpacked bytes each path entry counts for.
inline constexpr uint32_t kLegacyPathEntrySize = 8;

// Fails with the corrupt-file message when `size` unpacked bytes cannot come from what the
// stream holds after its mark: more than the bytes left for unpacked data, more than any runs
// there could expand to for packed data, or more than an old block ever held.
void CheckLegacyDataSize(Stream& stream, int32_t itemSize, uint32_t size);

// Unpacks `size` bytes of items of `itemSize` bytes (0: not packed) into `destination`, or reads
// and drops them when the destination is null. Items past `size` are read and dropped; bytes the
// runs leave unfilled are zero. Nothing happens for a size of 0 or a negative item size.
void LegacyReadPackedItems(ArchiveScope& scope, int32_t itemSize, uint8_t* destination, uint32_t size);
// The same over path entries: `destination` becomes size / 8 entries (the rest of the size is
// dropped); packed entries must be 8-byte items, else the data is corrupt.
void LegacyReadPackedItems(ArchiveScope& scope, int32_t itemSize, std::vector<LegacyPathEntry>& destination,
    uint32_t size);

// Reads v, h (16-bit) and an object reference; a reference that is not a CXform gives none.
void LegacyReadObject(ArchiveScope& scope, LegacyPathEntry& entry);
// A new path point at (h, v) holding the entry's transform.
SmartPtr<PathPoint> LegacyMakePathPoint(const LegacyPathEntry& entry);
