#include "engine/CFrameIndex.h"

#include "EngineFixture.h"
#include "foundation/FlatArchive.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// "frame:name" for every label, in index order.
std::string Labels(const CFrameIndex& index)
{
    std::string text;
    for (uint32_t i = 1; i <= index.NumEntries(); ++i) {
        if (i > 1)
            text += ' ';
        text += std::to_string(index.GetEntry(i)->GetFrame()) + ':' + engine::Text(index.GetEntry(i)->GetName());
    }
    return text;
}

SmartPtr<CFrameIndex> IndexOf(std::initializer_list<std::pair<int16_t, const char*>> labels)
{
    SmartPtr<CFrameIndex> index = new CFrameIndex;
    for (const auto& [frame, name] : labels)
        index->SetName(frame, String(name));
    return index;
}

} // namespace

TEST(CFrameIndex, EditsKeepLabelsInOrder)
{
    struct Case {
        const char* name;
        void (*edit)(CFrameIndex&);
        const char* expected;
    } cases[] = {
        { "lookup between two", [](CFrameIndex& i) { i.Lookup(5, true); }, "2:a 5: 9:b" },
        { "lookup at the front", [](CFrameIndex& i) { i.Lookup(0, true); }, "0: 2:a 9:b" },
        { "lookup without create", [](CFrameIndex& i) { EXPECT_EQ(i.Lookup(5, false), nullptr); }, "2:a 9:b" },
        { "rename", [](CFrameIndex& i) { i.SetName(9, String("c")); }, "2:a 9:c" },
        { "empty name removes", [](CFrameIndex& i) { i.SetName(2, String("")); }, "9:b" },
        { "empty name on no label", [](CFrameIndex& i) { i.SetName(4, String("")); }, "2:a 9:b" },
        { "insert before", [](CFrameIndex& i) { i.InsertFrames(2, 3); }, "5:a 12:b" },
        { "insert between", [](CFrameIndex& i) { i.InsertFrames(3, 3); }, "2:a 12:b" },
        { "delete over a label", [](CFrameIndex& i) { i.DeleteFrames(1, 2); }, "7:b" },
        { "delete after", [](CFrameIndex& i) { i.DeleteFrames(3, 2); }, "2:a 7:b" },
        { "merge with delta", [](CFrameIndex& i) { i.Merge(IndexOf({ { 0, "x" }, { 8, "y" } }), 3); },
            "2:a 3:x 9:b 11:y" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CFrameIndex> index = IndexOf({ { 2, "a" }, { 9, "b" } });
        c.edit(*index.Get());
        EXPECT_EQ(Labels(*index.Get()), c.expected);
    }
    SmartPtr<CFrameIndex> index = IndexOf({ { 2, "a" }, { 3, "b" }, { 4, "c" }, { 5, "d" }, { 6, "e" } });
    index->DeleteFrames(3, 2);
    EXPECT_EQ(Labels(*index.Get()), "2:a 3:d 4:e");
    SmartPtr<CFrameIndex> twice = IndexOf({ { 2, "a" }, { 9, "b" } });
    CJumpFrame* five = twice->Lookup(5, true);
    EXPECT_EQ(twice->Lookup(5, true), five);
}

// Names choose the lowest frame; foreign labels are found and adopted by name, known ones stay.
TEST(CFrameIndex, FindsAndAdoptsByName)
{
    SmartPtr<CFrameIndex> index = IndexOf({ { 1, "x" }, { 4, "same" }, { 7, "same" } });
    EXPECT_EQ(index->FindByName(String("same")), 4);
    EXPECT_EQ(index->FindByName(String("none")), -1);
    SmartPtr<CJumpFrame> foreign = new CJumpFrame(30, String("same"));
    SmartPtr<CJumpFrame> held = foreign;
    EXPECT_EQ(index->FindFrame(held), 4);
    EXPECT_EQ(held.Get(), index->GetEntry(2));
    held = foreign;
    index->Adopt(held);
    EXPECT_EQ(held.Get(), index->GetEntry(2));
    SmartPtr<CJumpFrame> own = index->GetEntry(3);
    index->Adopt(own);
    EXPECT_EQ(own.Get(), index->GetEntry(3));
    SmartPtr<CJumpFrame> unknown = new CJumpFrame(3, String("gone"));
    EXPECT_EQ(index->FindFrame(unknown), -1);
    int16_t start = 0, length = 0;
    index->GetRange(2, 10, start, length);
    EXPECT_EQ(std::make_pair(start, length), std::make_pair(int16_t(4), int16_t(3)));
    index->GetRange(3, 10, start, length);
    EXPECT_EQ(std::make_pair(start, length), std::make_pair(int16_t(7), int16_t(3)));
    index->GetRange(4, 10, start, length);
    EXPECT_EQ(std::make_pair(start, length), std::make_pair(int16_t(0), int16_t(0)));
}

// A copy has labels of its own, so editing it never renumbers the original.
TEST(CFrameIndex, CopiesOwnTheirLabels)
{
    SmartPtr<CFrameIndex> index = IndexOf({ { 1, "a" }, { 5, "b" } });
    CFrameIndex copy(*index.Get());
    EXPECT_EQ(copy.CloneOf(*index.Get(), index->GetEntry(2)), copy.GetEntry(2));
    EXPECT_NE(copy.GetEntry(2), index->GetEntry(2));
    copy.DeleteFrames(0, 3);
    EXPECT_EQ(Labels(copy), "2:b");
    EXPECT_EQ(Labels(*index.Get()), "1:a 5:b");
}

TEST(CFrameIndex, StoredAndReadBack)
{
    SmartPtr<CFrameIndex> index = IndexOf({ { 0, "start" }, { 12, "end" } });
    SmartPtr<Smart> root = engine::Load(engine::Store(index.Get()));
    auto* read = SmartCast<CFrameIndex>(root.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Labels(*read), "0:start 12:end");
    // An index stored without its list reads as an empty, usable index.
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->WriteLong(int32_t(Fixed(2).Raw())).WriteLong(4).WriteLong(0);
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(*stream.Get(), { &CFrameIndex::version }, false);
    ArchiveScope scope(*archive.Get(), CFrameIndex::version);
    CFrameIndex empty(scope);
    EXPECT_EQ(empty.NumEntries(), 0u);
    empty.SetName(3, String("x"));
    EXPECT_EQ(Labels(empty), "3:x");
}

// A stored list that names one label twice reads it once: kept twice, it would move twice with
// each edit and leave the movie.
TEST(CFrameIndex, ALabelStoredTwiceIsReadOnce)
{
    SmartPtr<CFrameIndex> index = IndexOf({ { 0, "a" }, { 3, "b" } });
    index->Absorb(*index.Get());
    ASSERT_EQ(Labels(*index.Get()), "0:a 0:a 3:b 3:b");
    SmartPtr<CFrameIndex> read = SmartCast<CFrameIndex>(engine::Load(engine::Store(index.Get())).Get());
    ASSERT_TRUE(read.Valid());
    read->InsertFrames(0, 2);
    EXPECT_EQ(Labels(*read.Get()), "2:a 5:b");
}

// The label menu is not built yet; its callers still always get a menu to show, an empty one.
TEST(CFrameIndex, ItsPopupIsAnEmptyMenu)
{
    CFrameIndex index;
    SmartPtr<Menu> menu = index.MakePopup(21, 0, 0);
    ASSERT_TRUE(menu.Valid());
    EXPECT_EQ(menu->NumItems(), 0u);
}
