#include "engine/legacy/CHandleSaver.h"

#include "OldRecords.h"
#include "foundation/Alert.h"
#include "foundation/Memory.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace legacy;

namespace {

using Bytes = std::vector<uint8_t>;

// The block of `record` cut into items of `itemSize` bytes.
std::string ReadBlock(const OldBytes& record, int32_t itemSize, uint32_t& count, Bytes& bytes)
{
    return ReadHeld(record, [&](ArchiveScope& scope) {
        Memory block;
        count = 99;
        if (!LegacyReadHandleBlock(itemSize, count, block, scope))
            throw std::string("not a handle saver");
        bytes = BytesOf(block);
    });
}

} // namespace

// Blocks as stored: plain bytes, packed runs that fill, overrun or underfill the size, and the
// size markers that mean "no data".
TEST(CHandleSaver, BlocksUnpackToTheirSize)
{
    struct Case {
        const char* name;
        uint8_t pack;
        int32_t size;
        OldBytes data;
        int32_t itemSize;
        uint32_t count;
        Bytes bytes;
    } cases[] = {
        { "packed repeat and literal runs", 2, 10, OldBytes().Bytes({ 0x83, 0x41, 0x42, 0x02, 0x43, 0x44, 0x45, 0x46, 0x00 }),
            2, 5, { 0x41, 0x42, 0x41, 0x42, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46 } },
        { "plain bytes are not swapped", 0, 5, OldBytes().Bytes({ 1, 2, 3, 4, 5 }), 2, 2, { 1, 2, 3, 4, 5 } },
        { "an empty repeat run", 1, 2, OldBytes().Bytes({ 0x80, 0x82, 7, 0 }), 1, 2, { 7, 7 } },
        { "runs past the size are cut", 2, 3, OldBytes().Bytes({ 0xFF, 9, 8, 0x7F }).Append(Bytes(254, 1)).Byte(0),
            1, 3, { 9, 8, 9 } },
        { "runs short of the size leave zeros", 3, 7, OldBytes().Bytes({ 0x01, 5, 6, 7, 0 }), 3, 2,
            { 5, 6, 7, 0, 0, 0, 0 } },
        { "size -1 is an empty block", 0, -1, OldBytes().Bytes({ 1, 2 }), 1, 0, {} },
        { "size -2 is an empty block", 0, -2, OldBytes().Bytes({ 1, 2 }), 1, 0, {} },
        { "size -2 packed is an empty block", 4, -2, OldBytes(), 1, 0, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t count = 0;
        Bytes bytes;
        ASSERT_EQ(ReadBlock(Block(c.pack, c.size, c.data), c.itemSize, count, bytes), "");
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(bytes, c.bytes);
    }
}

// Sizes and runs that the stream cannot hold are refused as corrupt records, whether the record
// reader or the conversion meets them, and never allocate what they claim.
TEST(CHandleSaver, LyingSizesAndRunsAreCorrupt)
{
    struct Case {
        const char* name;
        OldBytes record;
    } cases[] = {
        { "plain size past the end", Block(0, 6, OldBytes().Bytes({ 1, 2, 3 })) },
        { "size of 4 GB less 16", Block(0, -16, OldBytes().Bytes({ 1, 2, 3 })) },
        { "packed size beyond any runs", Block(1, 127 * 3 + 1, OldBytes().Bytes({ 0xFF, 1, 0 })) },
        { "packed size of 2 GB", Block(1, 0x7FFFFFFF, OldBytes().Bytes({ 0xFF, 1, 0 })) },
        { "no ending control byte", Block(1, 4, OldBytes().Bytes({ 0x82, 1 })) },
        { "literal run past the end", Block(2, 8, OldBytes().Bytes({ 0x04, 1, 2, 3 })) },
        { "repeat item cut short", Block(4, 8, OldBytes().Bytes({ 0x82, 1, 2 })) },
        { "negative list count", OldBytes().Ref(kHandleSaver, HandleFields(true, 0, -1, 0)) },
        { "list count past the references", OldBytes().Ref(kHandleSaver, HandleFields(true, 0, 3, 0).TextRef("a")) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t count = 0;
        Bytes bytes;
        EXPECT_EQ(ReadBlock(c.record, 1, count, bytes), kCorrupt);
        for (size_t cut = 0; cut < c.record.data.size(); ++cut) {
            OldBytes shorter;
            shorter.data.assign(c.record.data.begin(), c.record.data.begin() + long(cut));
            EXPECT_NE(ReadBlock(shorter, 1, count, bytes), "") << cut;
        }
    }
}

// Size -3 warns and reads as an empty block; the record goes on to its end.
TEST(CHandleSaver, UnsupportedSizeWarnsAndIsEmpty)
{
    Alert::EnableAlerts();
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    uint32_t count = 0;
    Bytes bytes;
    OldBytes record = Block(0, -3, OldBytes());
    record.TextRef("next");
    String next;
    EXPECT_EQ(ReadHeld(record, [&](ArchiveScope& scope) {
        Memory block;
        ASSERT_TRUE(LegacyReadHandleBlock(1, count, block, scope));
        bytes = BytesOf(block);
        SmartPtr<Persistent> after(scope.ReadObject());
        ASSERT_TRUE(SmartCast<String>(after.Get()));
        next = *SmartCast<String>(after.Get());
    }),
        "");
    pw::foundation::SetAlertsEnabled(false);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(engine::Text(next), "next");
    ASSERT_EQ(pw::platform::testing::AlertLog().size(), 1u);
    EXPECT_EQ(pw::platform::testing::AlertLog()[0].text.rfind("Not implemented.", 0), 0u);
}

// Conversions read the block from where the record lay and leave the stream where they found it,
// so the holder's next reference reads as stored.
TEST(CHandleSaver, TextsAndPointsComeFromTheBlock)
{
    struct Case {
        const char* name;
        OldBytes record;
        const char* text;
    } texts[] = {
        { "ending zero dropped", Block(0, 4, OldBytes().Bytes({ 'a', 'b', 'c', 0 })), "abcxyz" },
        { "no ending zero", Block(0, 3, OldBytes().Bytes({ 'a', 'b', 'c' })), "abcxyz" },
        { "packed", Block(1, 4, OldBytes().Bytes({ 0x83, 'q', 0x01, 0, 0 })), "qqqxyz" },
        { "empty block", Block(0, -1, OldBytes()), "xyz" },
    };
    for (const auto& c : texts) {
        SCOPED_TRACE(c.name);
        String text("xyz");
        OldBytes record = c.record;
        record.TextRef("after");
        std::string after;
        EXPECT_EQ(ReadHeld(record, [&](ArchiveScope& scope) {
            ASSERT_TRUE(LegacyReadHandleString(text, scope));
            SmartPtr<Persistent> next(scope.ReadObject());
            ASSERT_TRUE(SmartCast<String>(next.Get()));
            after = engine::Text(*SmartCast<String>(next.Get()));
        }),
            "");
        EXPECT_EQ(engine::Text(text), c.text);
        EXPECT_EQ(after, "after");
    }

    // v then h, in the block's own byte order; a 10-byte block gives 2 points.
    OldBytes twelve = OldBytes().Short(10).Short(-20).Short(30).Short(40).Short(-1).Short(2);
    for (uint32_t size : { 12u, 10u }) {
        SCOPED_TRACE(size);
        PointList points;
        points.Append(Point(7, 7));
        EXPECT_EQ(ReadHeld(Block(0, int32_t(size), twelve),
                      [&](ArchiveScope& scope) { ASSERT_TRUE(LegacyReadHandlePointList(points, scope)); }),
            "");
        ASSERT_EQ(points.NumItems(), 1 + size / 4);
        EXPECT_EQ(points[2], Point(-20, 10));
        EXPECT_EQ(points[3], Point(40, 30));
        if (size == 12) {
            EXPECT_EQ(points[4], Point(2, -1));
        }
    }
}

// A list record hands over its objects (empty references stay empty entries); block conversions
// of it answer true with nothing, and a block leaves a list destination alone.
TEST(CHandleSaver, ListsAndBlocksAnswerEachOthersConversions)
{
    OldBytes list = OldBytes().Ref(kHandleSaver, HandleFields(true, 0, 3, 77).TextRef("a").Empty().TextRef("b"));
    SmartList<Persistent> items;
    items.Append(new String("old"));
    ASSERT_EQ(ReadHeld(list, [&](ArchiveScope& scope) { ASSERT_TRUE(LegacyReadHandleList(items, scope)); }), "");
    ASSERT_EQ(items.NumItems(), 3u);
    EXPECT_EQ(engine::Text(*SmartCast<String>(items.Item(1))), "a");
    EXPECT_EQ(items.Item(2), nullptr);
    EXPECT_EQ(engine::Text(*SmartCast<String>(items.Item(3))), "b");

    Memory block(3);
    uint32_t count = 5;
    SmartList<PathPoint> path;
    path.Append(new PathPoint);
    ASSERT_EQ(ReadHeld(OldBytes().Append(list).Append(list), [&](ArchiveScope& scope) {
        ASSERT_TRUE(LegacyReadHandleBlock(1, count, block, scope));
        ASSERT_TRUE(LegacyReadHandlePath(path, scope));
    }),
        "");
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(block.Size(), 3u);
    EXPECT_EQ(path.NumItems(), 0u);

    SmartList<Persistent> kept;
    kept.Append(new String("kept"));
    ASSERT_EQ(ReadHeld(Block(0, 2, OldBytes().Bytes({ 1, 2 })),
                  [&](ArchiveScope& scope) { ASSERT_TRUE(LegacyReadHandleList(kept, scope)); }),
        "");
    EXPECT_EQ(kept.NumItems(), 1u);
}

// Every conversion refuses another class and leaves its destination as it was; a block cut into
// items of no size fails its assertion.
TEST(CHandleSaver, ConversionsRefuseOtherObjects)
{
    String text("keep");
    PointList points;
    Memory block(2);
    uint32_t count = 9;
    SmartList<Persistent> items;
    SmartList<PathPoint> path;
    path.Append(new PathPoint);
    OldBytes others = OldBytes().TextRef("s").TextRef("s").TextRef("s").TextRef("s").Empty();
    ASSERT_EQ(ReadHeld(others, [&](ArchiveScope& scope) {
        EXPECT_FALSE(LegacyReadHandleString(text, scope));
        EXPECT_FALSE(LegacyReadHandlePointList(points, scope));
        EXPECT_FALSE(LegacyReadHandleBlock(1, count, block, scope));
        EXPECT_FALSE(LegacyReadHandleList(items, scope));
        EXPECT_FALSE(LegacyReadHandlePath(path, scope));
    }),
        "");
    EXPECT_EQ(engine::Text(text), "keep");
    EXPECT_EQ(points.NumItems(), 0u);
    EXPECT_EQ(block.Size(), 2u);
    EXPECT_EQ(count, 9u);
    EXPECT_EQ(path.NumItems(), 1u);

    EXPECT_EQ(ReadHeld(Block(0, 2, OldBytes().Bytes({ 1, 2 })),
                  [&](ArchiveScope& scope) { LegacyReadHandleBlock(0, count, block, scope); }),
        "itemSize > 0");
}

// Old path entries, plain or packed in runs of 8-byte items, become path points that hold their
// transforms counted: the transform outlives the record that read it, and a repeat run's copies
// share it. Packed items of another size cannot be path entries.
TEST(CHandleSaver, PathsKeepTheirTransforms)
{
    SmartPtr<CXform> stored(new CXform(Rect(0, 0, 10, 10), Rect(5, 5, 25, 25)));
    OldBytes xform = OldBytes().Append(::Store({ stored.Get() }, kClasses));
    OldBytes plain = OldBytes().Short(3).Short(4).Append(xform).Short(-5).Short(6).Empty();
    OldBytes runs = OldBytes().Byte(0x83).Short(1).Short(2).Append(xform).Byte(0x01).Short(7).Short(8).Empty().Byte(0);
    struct Case {
        const char* name;
        OldBytes record;
        std::vector<Point> offsets;
    } cases[] = {
        { "plain, the odd bytes dropped", Block(0, 20, plain), { Point(4, 3), Point(6, -5) } },
        { "packed", Block(8, 32, runs), { Point(2, 1), Point(2, 1), Point(2, 1), Point(8, 7) } },
        { "packed, cut at the size", Block(8, 16, runs), { Point(2, 1), Point(2, 1) } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartList<PathPoint> path;
        path.Append(new PathPoint);
        ASSERT_EQ(ReadHeld(c.record, [&](ArchiveScope& scope) { ASSERT_TRUE(LegacyReadHandlePath(path, scope)); }), "");
        ASSERT_EQ(path.NumItems(), c.offsets.size());
        for (uint32_t index = 1; index <= path.NumItems(); ++index)
            EXPECT_EQ(path.Item(index)->offset, c.offsets[index - 1]) << index;
        CXform* first = path.Item(1)->transform.Get();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->GetDestination(), Rect(5, 5, 25, 25));
        if (c.offsets.size() > 2) {
            EXPECT_EQ(path.Item(3)->transform.Get(), first);
            EXPECT_FALSE(path.Item(4)->transform.Valid());
        }
    }
    EXPECT_EQ(ReadHeld(Block(4, 16, runs), [&](ArchiveScope& scope) {
        SmartList<PathPoint> path;
        LegacyReadHandlePath(path, scope);
    }),
        kCorrupt);
}
