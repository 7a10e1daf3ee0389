#include "engine/legacy/CHandleSaver.h"

#include "engine/PathPoint.h"
#include "engine/legacy/CListSaver.h"
#include "engine/legacy/LegacyPackedItems.h"
#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/ListHandle.h"
#include "foundation/Memory.h"
#include "foundation/Stream.h"
#include "foundation/String.h"

#include <cstring>
#include <vector>

namespace {

// Size markers of old records. None of them has data in the stream, whatever the later bytes
// hold: moving back by the marker or unpacking 4 GB of it would read the record itself again.
constexpr int32_t kEmptyBlock = -1;
constexpr int32_t kUnreadBlock = -2;
constexpr int32_t kUnsupportedBlock = -3;

// Moves a stream to a stored position and back to where it was when the holder ends.
class StreamDetour {
public:
    StreamDetour(Stream& stream, uint32_t position)
        : stream(stream)
        , back(stream.GetMark())
    {
        if (position > stream.GetLength())
            pw::foundation::ThrowCorruptFile(PW_HERE);
        stream.Seek(static_cast<int32_t>(position), Stream::kFromStart);
    }
    StreamDetour(const StreamDetour&) = delete;
    StreamDetour& operator=(const StreamDetour&) = delete;
    ~StreamDetour()
    {
        try {
            stream.Seek(static_cast<int32_t>(back), Stream::kFromStart);
        } catch (...) {
            // The position was valid when taken; a stream that refuses it now has failed already.
        }
    }

private:
    Stream& stream;
    uint32_t back;
};

template <typename Convert>
bool WithHandleSaver(ArchiveScope& scope, Convert convert)
{
    SmartPtr<Persistent> object(scope.ReadObject());
    auto* saver = SmartCast<CHandleSaver>(object.Get());
    if (!saver)
        return false;
    convert(*saver);
    return true;
}

} // namespace

PW_DEFINE_CLASS(CHandleSaver, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(CHandleSaver)

constinit const PersistentVersion CHandleSaver::version { &CHandleSaver::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CHandleSaver> };

CHandleSaver::CHandleSaver(const CHandleSaver& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , saveItems(other.saveItems)
    , packItemSize(other.packItemSize)
    , dataSize(other.dataSize)
    , dataMark(other.dataMark)
    , items(other.items)
{
}

CHandleSaver::CHandleSaver(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    saveItems = (stream.ReadByte() & 1) != 0;
    packItemSize = static_cast<uint8_t>(stream.ReadByte());
    int16_t count = stream.ReadShort();
    int32_t size = stream.ReadLong();
    stream.ReadLong();
    if (size == kUnsupportedBlock)
        Exception::Warn(kNotImplemented, PW_HERE);
    bool marker = size == kEmptyBlock || size == kUnreadBlock || size == kUnsupportedBlock;
    dataSize = marker ? 0 : static_cast<uint32_t>(size);
    if (saveItems) {
        pw::engine::ReadLegacyItems(scope, count, items);
        return;
    }
    dataMark = stream.GetMark();
    // Packed data is walked to its ending byte; its stored length is not recorded.
    LegacyReadPackedItems(scope, packItemSize, nullptr, dataSize);
}

CHandleSaver& CHandleSaver::operator=(const CHandleSaver& other)
{
    saveItems = other.saveItems;
    packItemSize = other.packItemSize;
    dataSize = other.dataSize;
    dataMark = other.dataMark;
    items = other.items;
    return *this;
}

void CHandleSaver::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CHandleSaver::ReadBlock(int32_t itemSize, uint32_t& count, Memory& block, ArchiveScope& scope) const
{
    count = 0;
    if (saveItems)
        return;
    if (itemSize <= 0)
        AssertionFailed("itemSize > 0", PW_HERE);
    Stream& stream = scope.GetStream();
    StreamDetour detour(stream, dataMark);
    CheckLegacyDataSize(stream, packItemSize, dataSize);
    block.SetSize(dataSize);
    block.Lock();
    struct Unlock {
        Memory& block;
        ~Unlock() { block.Unlock(); }
    } unlock { block };
    LegacyReadPackedItems(scope, packItemSize, static_cast<uint8_t*>(block.Ptr()), dataSize);
    count = dataSize / static_cast<uint32_t>(itemSize);
}

void CHandleSaver::ReadPath(SmartList<PathPoint>& path, ArchiveScope& scope) const
{
    std::vector<LegacyPathEntry> entries;
    // A list record has no block: its data mark was never set.
    if (!saveItems) {
        StreamDetour detour(scope.GetStream(), dataMark);
        LegacyReadPackedItems(scope, packItemSize, entries, dataSize);
    }
    path.Data()->DeleteAll();
    for (const LegacyPathEntry& entry : entries)
        path.Append(LegacyMakePathPoint(entry));
}

void CHandleSaver::CopyItemsTo(ListHandle& destination) const
{
    if (!saveItems)
        return;
    destination.Data()->DeleteAll();
    for (uint32_t index = 1; index <= items.NumItems(); ++index)
        destination.Append(items.GetItem(index));
}

bool LegacyReadHandleList(ListHandle& destination, ArchiveScope& scope)
{
    return WithHandleSaver(scope, [&](const CHandleSaver& saver) { saver.CopyItemsTo(destination); });
}

bool LegacyReadHandleBlock(int32_t itemSize, uint32_t& count, Memory& block, ArchiveScope& scope)
{
    return WithHandleSaver(scope, [&](const CHandleSaver& saver) { saver.ReadBlock(itemSize, count, block, scope); });
}

bool LegacyReadHandleString(String& text, ArchiveScope& scope)
{
    return WithHandleSaver(scope, [&](const CHandleSaver& saver) {
        Memory block;
        uint32_t count = 0;
        saver.ReadBlock(1, count, block, scope);
        const auto* chars = static_cast<const char*>(block.Ptr());
        if (count > 0 && chars[count - 1] == 0)
            --count;
        if (count > 0)
            text.InsertChars(chars, 0, count);
    });
}

bool LegacyReadHandlePointList(PointList& points, ArchiveScope& scope)
{
    return WithHandleSaver(scope, [&](const CHandleSaver& saver) {
        Memory block;
        uint32_t count = 0;
        saver.ReadBlock(4, count, block, scope);
        const auto* bytes = static_cast<const uint8_t*>(block.Ptr());
        for (uint32_t index = 0; index < count; ++index) {
            int16_t v = 0;
            int16_t h = 0;
            std::memcpy(&v, bytes + 4 * index, 2);
            std::memcpy(&h, bytes + 4 * index + 2, 2);
            points.Append(Point(h, v));
        }
    });
}

bool LegacyReadHandlePath(SmartList<PathPoint>& path, ArchiveScope& scope)
{
    return WithHandleSaver(scope, [&](const CHandleSaver& saver) { saver.ReadPath(path, scope); });
}
