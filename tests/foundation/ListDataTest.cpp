#include "foundation/ArchiveScope.h"
#include "foundation/ListData.h"
#include "foundation/ListHandle.h"
#include "foundation/MemoryStream.h"

#include "Failure.h"
#include "FlatArchive.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder : public ListListener {
    explicit Recorder(std::vector<std::string>* log = nullptr, const char* name = "")
        : log(log)
        , name(name)
    {
    }
    void ListChanged(const ListChange& change) override
    {
        changes.push_back(change);
        if (log)
            log->push_back(name);
    }
    std::vector<ListChange> changes;
    std::vector<std::string>* log;
    std::string name;
};

// The values of the entries (-1 for null).
std::vector<int> Values(const ListData& list)
{
    std::vector<int> values;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        Tracked* item = SmartCast<Tracked>(list.GetItem(index));
        values.push_back(item ? item->value : -1);
    }
    return values;
}

class ListDataTest : public ::testing::Test {
protected:
    void SetUp() override { liveAtStart = Tracked::live; }
    void TearDown() override { EXPECT_EQ(Tracked::live, liveAtStart) << "objects leaked or deleted twice"; }

    int liveAtStart { 0 };
};

TEST_F(ListDataTest, EachEditTellsListenersOneExactChange)
{
    struct Case {
        const char* name;
        void (*edit)(ListData&, Tracked*);
        std::vector<int> expected;
        std::vector<ListChange> changes;
        std::string failure;
    } cases[] = {
        { "insert copies", [](ListData& l, Tracked* x) { l.InsertItems(x, 1, 2); }, { 1, 9, 9, 2, 3 }, { { 2, 0, 2 } }, "" },
        { "insert none still tells", [](ListData& l, Tracked* x) { l.InsertItems(x, 3, 0); }, { 1, 2, 3 }, { { 4, 0, 0 } }, "" },
        { "insert past the count", [](ListData& l, Tracked* x) { l.InsertItems(x, 4, 1); }, { 1, 2, 3 }, {}, "Range error" },
        { "append", [](ListData& l, Tracked* x) { l.Append(x); }, { 1, 2, 3, 9 }, { { 4, 0, 1 } }, "" },
        { "replace", [](ListData& l, Tracked* x) { l.ReplaceItems(x, 2, 2); }, { 1, 9, 9 }, { { 2, 2, 0 } }, "" },
        { "replace from 0", [](ListData& l, Tracked* x) { l.ReplaceItems(x, 0, 1); }, { 1, 2, 3 }, {}, "from > 0" },
        { "replace past the end", [](ListData& l, Tracked* x) { l.ReplaceItems(x, 3, 2); }, { 1, 2, 3 }, {}, "numPointers >= num-1" },
        { "delete", [](ListData& l, Tracked*) { l.DeleteItems(1, 2); }, { 3 }, { { 1, 2, -2 } }, "" },
        { "delete none names position 0", [](ListData& l, Tracked*) { l.DeleteItems(1, 0); }, { 1, 2, 3 }, {}, "Range error" },
        { "delete past the end", [](ListData& l, Tracked*) { l.DeleteItems(3, 2); }, { 1, 2, 3 }, {}, "Range error" },
        { "delete all", [](ListData& l, Tracked*) { l.DeleteAll(); }, {}, { { 1, 3, -3 } }, "" },
        { "remove present", [](ListData& l, Tracked*) { l.Remove(l.GetItem(2)); }, { 1, 3 }, { { 2, 1, -1 } }, "" },
        { "remove absent tells nobody", [](ListData& l, Tracked* x) { l.Remove(x); }, { 1, 2, 3 }, {}, "" },
        { "insert its own entries", [](ListData& l, Tracked*) { l.InsertList(l, 2); }, { 1, 2, 1, 2, 3, 3 }, { { 3, 0, 3 } }, "" },
        { "insert an empty list", [](ListData& l, Tracked*) { l.InsertList(ListData(), 0); }, { 1, 2, 3 }, {}, "" },
        { "assign", [](ListData& l, Tracked* x) { ListData other; other.Append(x); l = other; }, { 9 }, { { 1, 3, -2 } }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Tracked> x(new Tracked(9));
        ListData list;
        for (int value : { 1, 2, 3 })
            list.Append(SmartPtr<Tracked>(new Tracked(value)).Get());
        Recorder recorder;
        list.ToggleListener(&recorder);
        EXPECT_EQ(Failure([&] { c.edit(list, x.Get()); }), c.failure);
        EXPECT_EQ(Values(list), c.expected);
        EXPECT_EQ(recorder.changes, c.changes);
        uint16_t held = 0;
        for (uint32_t index = 1; index <= list.NumItems(); ++index)
            held += list.GetItem(index) == x.Get();
        EXPECT_EQ(x->ReferenceCount(), 1 + held);
        list.ToggleListener(&recorder);
    }
}

TEST_F(ListDataTest, ListenersHearLastRegisteredFirstAndToggleOut)
{
    std::vector<std::string> log;
    Recorder a(&log, "A");
    Recorder b(&log, "B");
    ListData list;
    list.ToggleListener(&a);
    list.ToggleListener(&b);
    list.Append(nullptr);
    EXPECT_EQ(log, (std::vector<std::string> { "B", "A" }));
    list.ToggleListener(&b);
    list.Append(nullptr);
    EXPECT_EQ(log, (std::vector<std::string> { "B", "A", "A" }));
}

TEST_F(ListDataTest, HoldsOneReferencePerEntry)
{
    auto* object = new Tracked(4);
    {
        ListData list;
        list.InsertItems(object, 0, 3);
        EXPECT_EQ(object->ReferenceCount(), 3);
        list.DeleteItems(2, 1);
        EXPECT_EQ(object->ReferenceCount(), 2);
        EXPECT_EQ(list.GetItem(0), nullptr);
        EXPECT_EQ(list.GetItem(3), nullptr);
        list.DeleteAll();
        // The last list reference went with DeleteAll.
        EXPECT_EQ(Tracked::live, liveAtStart);
    }
}

TEST_F(ListDataTest, ReplacingAnEntryByItselfKeepsTheObject)
{
    ListData list;
    list.Append(new Tracked(5));
    Smart* only = list.GetItem(1);
    list.ReplaceItems(only, 1, 1);
    ASSERT_EQ(list.GetItem(1), only);
    EXPECT_EQ(only->ReferenceCount(), 1);
    EXPECT_EQ(Values(list), (std::vector<int> { 5 }));

    ListHandle handle(&Tracked::classInfo);
    handle.Append(new Tracked(6));
    handle.SetItems(handle.GetItem(1), 1, 1);
    EXPECT_EQ(handle.GetItem(1)->ReferenceCount(), 1);
}

TEST_F(ListDataTest, SetItemsGrowsWithNullEntriesFirst)
{
    ListHandle handle(&Tracked::classInfo);
    for (int value : { 1, 2, 3 })
        handle.Append(new Tracked(value));
    Recorder recorder;
    handle.Data()->ToggleListener(&recorder);
    SmartPtr<Tracked> x(new Tracked(9));
    handle.SetItems(x.Get(), 5, 2);
    EXPECT_EQ(Values(*handle.Data()), (std::vector<int> { 1, 2, 3, -1, 9, 9 }));
    EXPECT_EQ(recorder.changes, (std::vector<ListChange> { { 4, 0, 3 }, { 5, 2, 0 } }));
    handle.Data()->ToggleListener(&recorder);
}

TEST_F(ListDataTest, CopyingAListWithANullEntryIsRefused)
{
    ListData source;
    source.Append(new Tracked(1));
    source.Append(nullptr);
    EXPECT_EQ(Failure([&] { ListData copy(source); }), "CanCopy(source,1,num,convertOnCopy)");
}

TEST_F(ListDataTest, ARefusedAssignmentLeavesTheListAsItWas)
{
    ListData list;
    list.Append(new Tracked(1));
    list.Append(new Tracked(2));
    ListData source;
    source.Append(new Tracked(3));
    source.Append(nullptr);
    Recorder recorder;
    list.ToggleListener(&recorder);
    EXPECT_EQ(Failure([&] { list = source; }), "CanCopy(source,1,num,convertOnCopy)");
    EXPECT_EQ(Values(list), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(list.GetItem(1)->ReferenceCount(), 1);
    EXPECT_TRUE(recorder.changes.empty());
    list.ToggleListener(&recorder);

    // Assigning a list to itself changes nothing.
    list = list;
    EXPECT_EQ(Values(list), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(list.GetItem(1)->ReferenceCount(), 1);
}

TEST_F(ListDataTest, AssignmentSharesEntriesAndConvertsThem)
{
    ListData photos(&Tracked::classInfo);
    photos.Append(new Photo(1));
    ListData sketches(&Sketch::classInfo);
    sketches.Append(new Sketch(7));
    sketches = photos;
    ASSERT_EQ(sketches.NumItems(), 1u);
    EXPECT_TRUE(sketches.GetItem(1)->IsKindOf(&Sketch::classInfo));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 2 }));

    ListData copy(photos);
    EXPECT_EQ(copy.GetItem(1), photos.GetItem(1));
    EXPECT_EQ(photos.GetItem(1)->ReferenceCount(), 2);
}

TEST_F(ListDataTest, InsertObjectConvertsOrRefuses)
{
    ListData sketches(&Sketch::classInfo);
    EXPECT_TRUE(sketches.InsertObject(0, new Photo(4)));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 5 }));
    EXPECT_TRUE(sketches.GetItem(1)->IsKindOf(&Sketch::classInfo));
    SmartPtr<Tracked> plain(new Tracked(1));
    EXPECT_FALSE(sketches.InsertObject(1, plain.Get()));
    EXPECT_FALSE(sketches.InsertObject(0, nullptr));
    EXPECT_EQ(Failure([&] { sketches.InsertObject(2, plain.Get()); }), "Range error");
    EXPECT_EQ(sketches.NumItems(), 1u);
}

TEST_F(ListDataTest, InsertConvertedIsAllOrNothing)
{
    ListData sketches(&Sketch::classInfo);
    sketches.Append(new Sketch(0));
    ListData mixed;
    mixed.Append(new Photo(1));
    mixed.Append(new Tracked(2));
    EXPECT_FALSE(sketches.InsertConverted(1, mixed));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 0 }));

    ListData photos;
    photos.Append(new Photo(1));
    photos.Append(new Photo(3));
    Recorder recorder;
    sketches.ToggleListener(&recorder);
    EXPECT_TRUE(sketches.InsertConverted(0, photos));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 2, 4, 0 }));
    EXPECT_EQ(recorder.changes, (std::vector<ListChange> { { 1, 0, 1 }, { 2, 0, 1 } }));
    sketches.ToggleListener(&recorder);
}

TEST_F(ListDataTest, CopyItemsCopiesAndSubListShares)
{
    ListData list(&Tracked::classInfo);
    list.Append(new Tracked(1));
    list.Append(new Tracked(2));
    SmartPtr<ListData> copies(list.CopyItems(1, 3));
    SmartPtr<ListData> shared(list.SubList(2, 1));
    EXPECT_EQ(Values(*copies.Get()), (std::vector<int> { 1, 2, -1 }));
    EXPECT_NE(copies->GetItem(1), list.GetItem(1));
    EXPECT_EQ(shared->GetItem(1), list.GetItem(2));
    EXPECT_EQ(copies->GetItemClass(), &Tracked::classInfo);
    EXPECT_TRUE(list.AcceptsClass(&SmartImplementation::classInfo));
    EXPECT_FALSE(list.AcceptsClass(&Photo::classInfo));
}

std::vector<uint8_t> Store(Persistent& object)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> archive(new FlatArchive(stream, { &ListData::version, &Sample::version }, true));
    archive->WriteObject(&object);
    const auto* start = static_cast<const uint8_t*>(stream.Block().Ptr());
    return std::vector<uint8_t>(start, start + stream.GetLength());
}

SmartPtr<Smart> Load(const std::vector<uint8_t>& bytes)
{
    MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive(new FlatArchive(stream, { &ListData::version, &Sample::version }, false));
    return SmartPtr<Smart>(archive->ReadObject());
}

TEST_F(ListDataTest, ReadsBackTheSameEntriesInOrder)
{
    int samplesAtStart = Sample::live;
    {
        ListData list(&Sample::classInfo);
        list.Append(new Sample(1, 10));
        list.Append(nullptr);
        list.Append(list.GetItem(1));
        list.Append(new Sample(3, 30));
        SmartPtr<Smart> read = Load(Store(list));
        ListData* copy = SmartCast<ListData>(read.Get());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetItemClass(), &Sample::classInfo);
        ASSERT_EQ(copy->NumItems(), 4u);
        EXPECT_EQ(copy->GetItem(2), nullptr);
        std::vector<int> values;
        for (uint32_t index : { 1u, 3u, 4u })
            values.push_back(SmartCast<Sample>(copy->GetItem(index))->value);
        EXPECT_EQ(values, (std::vector<int> { 1, 1, 3 }));
        EXPECT_EQ(copy->GetItem(1)->ReferenceCount(), 1);
    }
    EXPECT_EQ(Sample::live, samplesAtStart);
}

TEST_F(ListDataTest, AStoredNullClassReadsAsSmart)
{
    ListData list(&Tracked::classInfo);
    std::vector<uint8_t> bytes = Store(list);
    SmartPtr<Smart> read = Load(bytes);
    EXPECT_EQ(SmartCast<ListData>(read.Get())->GetItemClass(), &Smart::classInfo);
}

TEST_F(ListDataTest, HostileStoredListsFailWithoutLeaking)
{
    int samplesAtStart = Sample::live;
    ListData list(&Sample::classInfo);
    list.Append(new Sample(1, 10));
    list.Append(new Sample(2, 20));
    std::vector<uint8_t> good = Store(list);
    // Layout: class number 1, frame (version, length), item class 2, count 2, then the entries.
    struct Case {
        const char* name;
        size_t offset;
        uint32_t value;
        std::string failure;
    } cases[] = {
        { "count past the stream", 16, 0x7FFFFFFF, "This file is corrupt or in an obsolete format.  Some information may have been recovered." },
        { "unknown class of an entry", 20, 9, "Unknown class" },
        { "list length past the stream", 8, 0x10000, "Object past the end" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
        EXPECT_EQ(Failure([&] { Load(bytes); }), c.failure);
    }
    list.DeleteAll();
    EXPECT_EQ(Sample::live, samplesAtStart);
}

TEST_F(ListDataTest, DeeplyNestedStoredListsAreRefused)
{
    std::vector<uint8_t> bytes;
    auto put = [&bytes](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    // Each list holds one list, a hundred deep; every length runs to the end of the bytes.
    for (int depth = 0; depth < 100; ++depth) {
        put(1);
        put(0x10000);
        put(static_cast<uint32_t>(100 - depth) * 20 - 12);
        put(0);
        put(1);
    }
    put(0);
    EXPECT_EQ(Failure([&] { Load(bytes); }), "Objects nested too deep");
}

} // namespace
