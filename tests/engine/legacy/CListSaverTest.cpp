#include "engine/legacy/CListSaver.h"

#include "OldRecords.h"
#include "foundation/Alert.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace legacy;

namespace {

OldBytes ListRecord(uint8_t saveItems, int16_t count, const OldBytes& references)
{
    OldBytes body;
    body.Byte(saveItems).Byte(0xC3).Short(count).Long(0xDEADBEEF).Append(references);
    return OldBytes().Ref(kListSaver, body);
}

std::vector<std::string> Texts(const SmartList<Persistent>& list)
{
    std::vector<std::string> texts;
    for (uint32_t index = 1; index <= list.NumItems(); ++index) {
        auto* text = SmartCast<String>(list.GetItem(index));
        texts.push_back(text ? engine::Text(*text) : "-");
    }
    return texts;
}

} // namespace

// The objects come over in order, an empty reference as an empty entry; the ignored byte and
// value may hold anything; what the destination held before is gone.
TEST(CListSaver, ReadsItsObjectsIntoTheDestination)
{
    struct Case {
        const char* name;
        OldBytes record;
        std::vector<std::string> texts;
    } cases[] = {
        { "three", ListRecord(1, 3, OldBytes().TextRef("a").Empty().TextRef("b")), { "a", "-", "b" } },
        { "any true byte", ListRecord(0xFE, 1, OldBytes().TextRef("z")), { "z" } },
        { "none", ListRecord(1, 0, OldBytes()), {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartList<Persistent> list;
        list.Append(new String("old"));
        ASSERT_EQ(ReadHeld(c.record, [&](ArchiveScope& scope) { ASSERT_TRUE(LegacyReadList(list, scope)); }), "");
        EXPECT_EQ(Texts(list), c.texts);
    }
}

// A record that is not a list fails, a negative or lying count is corrupt, and so is every
// truncation of a good record; a conversion meeting another class leaves its destination alone.
TEST(CListSaver, RefusesBrokenRecords)
{
    struct Case {
        const char* name;
        OldBytes record;
        std::string failure;
    } cases[] = {
        { "not a list", ListRecord(0, 0, OldBytes()), "saveItems" },
        { "negative count", ListRecord(1, -2, OldBytes().TextRef("a")), kCorrupt },
        { "count past the references", ListRecord(1, 300, OldBytes().TextRef("a")), kCorrupt },
        { "another class", OldBytes().TextRef("a"), "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartList<Persistent> list;
        list.Append(new String("kept"));
        bool read = true;
        EXPECT_EQ(ReadHeld(c.record, [&](ArchiveScope& scope) { read = LegacyReadList(list, scope); }), c.failure);
        if (c.failure.empty()) {
            EXPECT_FALSE(read);
        }
        EXPECT_EQ(Texts(list), std::vector<std::string> { "kept" });
    }
    OldBytes good = ListRecord(1, 2, OldBytes().TextRef("a").TextRef("b"));
    for (size_t cut = 0; cut < good.data.size(); ++cut) {
        OldBytes shorter;
        shorter.data.assign(good.data.begin(), good.data.begin() + long(cut));
        SmartList<Persistent> list;
        EXPECT_EQ(ReadHeld(shorter, [&](ArchiveScope& scope) { LegacyReadList(list, scope); }), kCorrupt) << cut;
    }
}

// The old records are read only: each writer opens its scope (the version and an empty body),
// warns "Not implemented." and stores no field.
TEST(CListSaver, OldRecordsAreNeverWritten)
{
    SmartPtr<Persistent> records[] = { new CListSaver, new CHandleSaver, new CSound };
    Alert::EnableAlerts();
    for (const auto& record : records) {
        SCOPED_TRACE(record->GetClassInfo()->GetName());
        pw::platform::testing::ScriptMessageBoxes({ IDOK });
        size_t shown = pw::platform::testing::AlertLog().size();
        MemoryStream stream;
        SmartPtr<FlatArchive> archive(new FlatArchive(stream, kClasses, true));
        record->Write(*archive.Get());
        EXPECT_EQ(BytesOf(stream), OldBytes().Frame(Fixed(1), OldBytes()).data);
        ASSERT_EQ(pw::platform::testing::AlertLog().size(), shown + 1);
        EXPECT_EQ(pw::platform::testing::AlertLog().back().text.rfind("Not implemented.", 0), 0u);
    }
    pw::foundation::SetAlertsEnabled(false);
}
