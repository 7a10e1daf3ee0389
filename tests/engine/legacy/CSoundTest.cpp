#include "engine/legacy/CSound.h"

#include "OldRecords.h"

#include <gtest/gtest.h>

using namespace legacy;

namespace {

OldBytes SoundRecord(const OldBytes& resource)
{
    OldBytes body = resource;
    body.Long(0x11111111).Short(-2).Short(3).Long(0x44444444);
    return OldBytes().Ref(kSound, body);
}

OldBytes ResourceOf(Persistent* object)
{
    SmartPtr<CResource> resource(new CResource(object, true));
    return OldBytes().Append(::Store({ resource.Get() }, kClasses));
}

SmartPtr<Persistent> ReadRecord(const OldBytes& record, std::string& failure)
{
    SmartPtr<Persistent> read;
    failure = ReadHeld(record, [&](ArchiveScope& scope) { read = scope.ReadObject(); });
    return read;
}

} // namespace

// The record yields the sound its media reference holds, none when the reference holds anything
// else; a record without a media reference, or cut short, fails.
TEST(CSound, ReadsTheSoundOfItsResource)
{
    struct Case {
        const char* name;
        OldBytes record;
        std::string failure;
        bool sound;
    } cases[] = {
        { "a sound", SoundRecord(ResourceOf(new Sound)), "", true },
        { "a text", SoundRecord(ResourceOf(new String("x"))), "", false },
        { "no reference", SoundRecord(OldBytes().Empty()), "data != NULL", false },
        { "not a resource", SoundRecord(OldBytes().TextRef("x")), "data != NULL", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string failure;
        SmartPtr<CSound> record = SmartCast<CSound>(ReadRecord(c.record, failure).Get());
        EXPECT_EQ(failure, c.failure);
        if (!c.failure.empty())
            continue;
        ASSERT_TRUE(record.Valid());
        EXPECT_EQ(LegacySoundOf(record) != nullptr, c.sound);
    }
    OldBytes good = SoundRecord(ResourceOf(new Sound));
    for (size_t cut = 0; cut < good.data.size(); ++cut) {
        OldBytes shorter;
        shorter.data.assign(good.data.begin(), good.data.begin() + long(cut));
        std::string failure;
        ReadRecord(shorter, failure);
        EXPECT_NE(failure, "") << cut;
    }
    EXPECT_EQ(LegacySoundOf(nullptr), nullptr);
}

// One entry per entry, in order: a record's sound, or an empty entry for anything else.
TEST(CSound, SoundListsKeepTheirPositions)
{
    std::string failure;
    SmartPtr<CSound> first = SmartCast<CSound>(ReadRecord(SoundRecord(ResourceOf(new Sound)), failure).Get());
    SmartPtr<CSound> last = SmartCast<CSound>(ReadRecord(SoundRecord(ResourceOf(new Sound)), failure).Get());
    ASSERT_TRUE(first.Valid() && last.Valid());

    SmartList<Persistent> mixed;
    mixed.Append(first.Get());
    mixed.Append(new String("x"));
    mixed.Append(last.Get());
    mixed.Append(nullptr);
    SmartList<Sound> sounds = LegacyConvertSoundList(mixed);
    ASSERT_EQ(sounds.NumItems(), 4u);
    EXPECT_EQ(sounds.Item(1), LegacySoundOf(first));
    EXPECT_EQ(sounds.Item(2), nullptr);
    EXPECT_EQ(sounds.Item(3), LegacySoundOf(last));
    EXPECT_NE(sounds.Item(1), sounds.Item(3));
    EXPECT_EQ(sounds.Item(4), nullptr);

    EXPECT_EQ(LegacyConvertSoundList(SmartList<Persistent>()).NumItems(), 0u);
}
