#include "engine/legacy/LegacyPackedItems.h"

#include "engine/PathPoint.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Stream.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// A run of one control byte and at least one byte of item gives at most 127 items.
constexpr uint64_t kMostItemsPerRun = 127;
// No old block came near this; a larger size is a damaged one.
constexpr uint32_t kLargestBlock = 16u << 20;

uint64_t BytesLeft(Stream& stream)
{
    uint64_t length = stream.GetLength();
    uint64_t mark = stream.GetMark();
    return length > mark ? length - mark : 0;
}

// Walks the runs up to the ending control byte, calling `readItem`(item number) for every item
// stored and `repeatItem`(first, copy) for every further copy of a repeat run's item.
template <typename ReadItem, typename RepeatItem>
void WalkRuns(Stream& stream, ReadItem readItem, RepeatItem repeatItem)
{
    uint64_t item = 0;
    for (;;) {
        stream.CheckAvailable(1);
        auto control = static_cast<int8_t>(stream.ReadByte());
        if (control == 0)
            return;
        uint32_t count = static_cast<uint32_t>(control) & 0x7F;
        if (count == 0)
            continue;
        readItem(item);
        for (uint32_t k = 1; k < count; ++k) {
            if (control < 0)
                repeatItem(item, item + k);
            else
                readItem(item + k);
        }
        item += count;
    }
}

} // namespace

void CheckLegacyDataSize(Stream& stream, int32_t itemSize, uint32_t size)
{
    uint64_t left = BytesLeft(stream);
    uint64_t most = itemSize > 0 ? left * kMostItemsPerRun : left;
    if (size > most || size > kLargestBlock)
        pw::foundation::ThrowCorruptFile(PW_HERE);
}

void LegacyReadPackedItems(ArchiveScope& scope, int32_t itemSize, uint8_t* destination, uint32_t size)
{
    if (size == 0 || itemSize < 0 || scope.IsSkipped())
        return;
    Stream& stream = scope.GetStream();
    CheckLegacyDataSize(stream, itemSize, size);
    if (itemSize == 0) {
        if (destination)
            stream.Read(destination, size);
        else
            stream.Seek(static_cast<int32_t>(size), Stream::kFromMark);
        return;
    }
    auto n = static_cast<uint32_t>(itemSize);
    std::array<uint8_t, 256> item {};
    auto put = [&](uint64_t number) {
        uint64_t offset = number * n;
        if (destination && offset < size)
            std::memcpy(destination + offset, item.data(), static_cast<size_t>(std::min<uint64_t>(n, size - offset)));
    };
    uint64_t filled = 0;
    WalkRuns(
        stream,
        [&](uint64_t number) {
            stream.CheckAvailable(n);
            stream.Read(item.data(), n);
            put(number);
            filled = number + 1;
        },
        [&](uint64_t, uint64_t copy) {
            put(copy);
            filled = copy + 1;
        });
    if (destination && filled * n < size)
        std::memset(destination + filled * n, 0, static_cast<size_t>(size - filled * n));
}

void LegacyReadPackedItems(ArchiveScope& scope, int32_t itemSize, std::vector<LegacyPathEntry>& destination,
    uint32_t size)
{
    destination.clear();
    if (size == 0 || itemSize < 0 || scope.IsSkipped())
        return;
    Stream& stream = scope.GetStream();
    if (itemSize != 0 && static_cast<uint32_t>(itemSize) != kLegacyPathEntrySize)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    uint32_t count = size / kLegacyPathEntrySize;
    // Every entry stored takes at least its two 16-bit values.
    CheckLegacyDataSize(stream, itemSize, itemSize == 0 ? count * 4 : size);
    destination.resize(count);
    if (itemSize == 0) {
        for (LegacyPathEntry& entry : destination)
            LegacyReadObject(scope, entry);
        return;
    }
    LegacyPathEntry dropped;
    WalkRuns(
        stream,
        [&](uint64_t number) {
            LegacyReadObject(scope, number < count ? destination[number] : dropped);
        },
        [&](uint64_t first, uint64_t copy) {
            if (copy < count)
                destination[copy] = first < count ? destination[first] : dropped;
        });
}

void LegacyReadObject(ArchiveScope& scope, LegacyPathEntry& entry)
{
    Stream& stream = scope.GetStream();
    if (!scope.IsSkipped())
        stream.CheckAvailable(4);
    entry.v = stream.ReadShort();
    entry.h = stream.ReadShort();
    entry.xform = pw::engine::ReadReference<CXform>(scope);
}

SmartPtr<PathPoint> LegacyMakePathPoint(const LegacyPathEntry& entry)
{
    return new PathPoint(Point(entry.h, entry.v), entry.xform);
}
