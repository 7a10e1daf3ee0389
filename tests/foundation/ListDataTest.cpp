#include "foundation/ListData.h"
#include "foundation/ListHandle.h"

#include "Failure.h"
#include "StoredBytes.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

#include <map>
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

// A list of new objects of `type` with the values (0 for a null entry).
template <typename Type = Tracked>
void Fill(ListData& list, std::initializer_list<int> values)
{
    for (int value : values)
        list.Append(value ? new Type(value) : nullptr);
}

const StoredClasses kClasses = { &ListData::version, &Sample::version };

using ListDataTest = CountedObjects;

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
        { "replace an entry by itself", [](ListData& l, Tracked*) { l.ReplaceItems(l.GetItem(2), 2, 1); }, { 1, 2, 3 }, { { 2, 1, 0 } }, "" },
        { "delete", [](ListData& l, Tracked*) { l.DeleteItems(1, 2); }, { 3 }, { { 1, 2, -2 } }, "" },
        { "delete none names position 0", [](ListData& l, Tracked*) { l.DeleteItems(1, 0); }, { 1, 2, 3 }, {}, "Range error" },
        { "delete past the end", [](ListData& l, Tracked*) { l.DeleteItems(3, 2); }, { 1, 2, 3 }, {}, "Range error" },
        { "delete all", [](ListData& l, Tracked*) { l.DeleteAll(); }, {}, { { 1, 3, -3 } }, "" },
        { "remove present", [](ListData& l, Tracked*) { l.Remove(l.GetItem(2)); }, { 1, 3 }, { { 2, 1, -1 } }, "" },
        { "remove absent tells nobody", [](ListData& l, Tracked* x) { l.Remove(x); }, { 1, 2, 3 }, {}, "" },
        { "insert its own entries", [](ListData& l, Tracked*) { l.InsertList(l, 2); }, { 1, 2, 1, 2, 3, 3 }, { { 3, 0, 3 } }, "" },
        { "insert an empty list", [](ListData& l, Tracked*) { l.InsertList(ListData(), 0); }, { 1, 2, 3 }, {}, "" },
        { "assign", [](ListData& l, Tracked* x) { ListData other; other.Append(x); l = other; }, { 9 }, { { 1, 3, -2 } }, "" },
        { "assign itself", [](ListData& l, Tracked*) { ListData& same = l; l = same; }, { 1, 2, 3 }, {}, "" },
        { "a refused assignment changes nothing", [](ListData& l, Tracked*) { ListData other; Fill(other, { 4, 0 }); l = other; },
            { 1, 2, 3 }, {}, "CanCopy(source,1,num,convertOnCopy)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Tracked> x(new Tracked(9));
        ListData list;
        Fill(list, { 1, 2, 3 });
        Recorder recorder;
        list.ToggleListener(&recorder);
        EXPECT_EQ(Failure([&] { c.edit(list, x.Get()); }), c.failure);
        EXPECT_EQ(Values(list), c.expected);
        EXPECT_EQ(recorder.changes, c.changes);
        // One reference per entry (and the test's own on x), none left behind by what failed.
        std::map<Smart*, uint16_t> entries { { x.Get(), 1 } };
        for (uint32_t index = 1; index <= list.NumItems(); ++index)
            ++entries[list.GetItem(index)];
        for (const auto& [item, count] : entries)
            EXPECT_EQ(item->ReferenceCount(), count);
        list.ToggleListener(&recorder);
    }
    ListData source;
    Fill(source, { 1, 0 });
    EXPECT_EQ(Failure([&] { ListData copy(source); }), "CanCopy(source,1,num,convertOnCopy)");
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
    list.ToggleListener(&b);
    list.Append(nullptr);
    EXPECT_EQ(log, (std::vector<std::string> { "B", "A", "A" }));
}

TEST_F(ListDataTest, HandlesGrowWithNullEntriesFirstAndOutOfRangeItemsAreNull)
{
    ListHandle handle(&Tracked::classInfo);
    Fill(*handle.Data(), { 1, 2, 3 });
    handle.SetItems(handle.GetItem(1), 1, 1);
    EXPECT_EQ(handle.GetItem(1)->ReferenceCount(), 1);
    Recorder recorder;
    handle.Data()->ToggleListener(&recorder);
    SmartPtr<Tracked> x(new Tracked(9));
    handle.SetItems(x.Get(), 5, 2);
    EXPECT_EQ(Values(*handle.Data()), (std::vector<int> { 1, 2, 3, -1, 9, 9 }));
    EXPECT_EQ(recorder.changes, (std::vector<ListChange> { { 4, 0, 3 }, { 5, 2, 0 } }));
    handle.Data()->ToggleListener(&recorder);
    EXPECT_EQ(handle.Data()->GetItem(0), nullptr);
    EXPECT_EQ(handle.Data()->GetItem(7), nullptr);
}

TEST_F(ListDataTest, EntriesAreConvertedToTheItemClassOrRefused)
{
    ListData sketches(&Sketch::classInfo);
    EXPECT_TRUE(sketches.InsertObject(0, new Photo(4)));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 5 }));
    EXPECT_TRUE(sketches.GetItem(1)->IsKindOf(&Sketch::classInfo));
    SmartPtr<Tracked> plain(new Tracked(1));
    EXPECT_FALSE(sketches.InsertObject(1, plain.Get()));
    EXPECT_FALSE(sketches.InsertObject(0, nullptr));
    EXPECT_EQ(Failure([&] { sketches.InsertObject(2, plain.Get()); }), "Range error");

    // A list with one entry that does not convert inserts nothing.
    ListData mixed;
    Fill<Photo>(mixed, { 1 });
    Fill(mixed, { 2 });
    EXPECT_FALSE(sketches.InsertConverted(1, mixed));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 5 }));

    ListData photos(&Tracked::classInfo);
    Fill<Photo>(photos, { 1, 3 });
    Recorder recorder;
    sketches.ToggleListener(&recorder);
    EXPECT_TRUE(sketches.InsertConverted(0, photos));
    EXPECT_EQ(Values(sketches), (std::vector<int> { 2, 4, 5 }));
    EXPECT_EQ(recorder.changes, (std::vector<ListChange> { { 1, 0, 1 }, { 2, 0, 1 } }));
    sketches.ToggleListener(&recorder);

    // Assignment converts; a copy shares the entries.
    sketches = photos;
    EXPECT_EQ(Values(sketches), (std::vector<int> { 2, 4 }));
    EXPECT_TRUE(sketches.GetItem(1)->IsKindOf(&Sketch::classInfo));
    ListData copy(photos);
    EXPECT_EQ(copy.GetItem(1), photos.GetItem(1));
    EXPECT_EQ(photos.GetItem(1)->ReferenceCount(), 2);
}

TEST_F(ListDataTest, CopyItemsCopiesAndSubListShares)
{
    ListData list(&Tracked::classInfo);
    Fill(list, { 1, 2 });
    SmartPtr<ListData> copies(list.CopyItems(1, 3));
    SmartPtr<ListData> shared(list.SubList(2, 1));
    EXPECT_EQ(Values(*copies.Get()), (std::vector<int> { 1, 2, -1 }));
    EXPECT_NE(copies->GetItem(1), list.GetItem(1));
    EXPECT_EQ(shared->GetItem(1), list.GetItem(2));
    EXPECT_EQ(copies->GetItemClass(), &Tracked::classInfo);
    EXPECT_TRUE(list.AcceptsClass(&SmartImplementation::classInfo));
    EXPECT_FALSE(list.AcceptsClass(&Photo::classInfo));
}

TEST_F(ListDataTest, ReadsBackTheSameEntriesInOrder)
{
    ListData list(&Sample::classInfo);
    list.Append(new Sample(1, 10));
    list.Append(nullptr);
    list.Append(list.GetItem(1));
    list.Append(new Sample(3, 30));
    SmartPtr<ListData> copy = LoadOne<ListData>(Store({ &list }, kClasses), kClasses);
    ASSERT_TRUE(copy.Valid());
    EXPECT_EQ(copy->GetItemClass(), &Sample::classInfo);
    ASSERT_EQ(copy->NumItems(), 4u);
    EXPECT_EQ(copy->GetItem(2), nullptr);
    std::vector<int> values;
    for (uint32_t index : { 1u, 3u, 4u })
        values.push_back(SmartCast<Sample>(copy->GetItem(index))->value);
    EXPECT_EQ(values, (std::vector<int> { 1, 1, 3 }));
    EXPECT_EQ(copy->GetItem(1)->ReferenceCount(), 1);

    // A class the archive does not know is stored as none, which could never be written back:
    // the list is refused as damaged when read.
    ListData tracked(&Tracked::classInfo);
    EXPECT_EQ(Failure([&] { LoadOne<ListData>(Store({ &tracked }, kClasses), kClasses); }),
        "This file is corrupt or in an obsolete format.  Some information may have been recovered.");
}

TEST_F(ListDataTest, HostileStoredListsFailWithoutLeaking)
{
    ListData list(&Sample::classInfo);
    list.Append(new Sample(1, 10));
    list.Append(new Sample(2, 20));
    std::vector<uint8_t> good = Store({ &list }, kClasses);
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
        EXPECT_EQ(Failure([&] { Load(bytes, kClasses); }), c.failure);
    }
}

} // namespace
