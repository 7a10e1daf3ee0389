#include "foundation/Resources.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Purgeable.h"

#include "ErrorCode.h"
#include "Failure.h"
#include "TestObjects.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Compose(const Resources& set, int32_t number, const char* a = nullptr, const char* b = nullptr,
    const char* c = nullptr, const char* d = nullptr)
{
    char buffer[256];
    set.GetString(buffer, number, a, b, c, d);
    return buffer;
}

TEST(Resources, FrameworkTextsComposeWithTheirArguments)
{
    Resources framework(128, 200);
    struct Case {
        const char* name;
        int32_t number;
        const char* args[4];
        std::string expected;
    } cases[] = {
        { "four texts", 0, { "a", "b", "c", "d" }, "a b c d" },
        { "system error", 1, { "System Error", "5", "f.cpp", "9" }, "System Error\n  (Error Number 5)\n Found in: f.cpp, line 9" },
        { "assertion", 2, { "x", "f.cpp", "3" }, "Please Report an Error in\n f.cpp, line 3:\n\"x\"" },
        { "no placeholders ignore the texts", 3, { "ignored" }, "Missing a standard Data File. Please reinstall your software." },
        { "save question", 62, { "Page 1" }, "Save  \"Page 1\"  before closing?" },
        { "newer file", 65, {}, "Some data was not read because this file was created by a newer application.  You should upgrade your software to the latest version." },
        { "length mismatch", 67, { "CShow", "2.0", "4" }, "Error while reading a version CShow 2.0.  Read 4 too many bytes." },
        { "missing file", 68, { "Photos" }, "The file I'm reading refers to the file or folder called \"Photos\", which I can't find.  Could you locate it ?" },
        { "old sound", 71, {}, "This sound is in an old format and cannot be read! Please delete the sound and re-add it!" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Compose(framework, c.number, c.args[0], c.args[1], c.args[2], c.args[3]), c.expected);
    }
}

TEST(Resources, NumbersOutsideTheSetOrMissingStringsThrowAndThePendingErrorStays)
{
    Resources framework(128, 200);
    EXPECT_EQ(Failure([&] { Compose(framework, 73); }), "Resource id not in this set of resources.");
    EXPECT_EQ(Failure([&] { Compose(framework, -1); }), "Resource id not in this set of resources.");
    EXPECT_EQ(Failure([&] { Compose(framework, 5); }), "String Resource Missing 133");
    // Composing, even a text too long for the buffer, leaves the operating system's error alone.
    SetLastError(5);
    Compose(framework, 0, std::string(300, 'x').c_str());
    EXPECT_EQ(GetLastError(), 5u);
    SetLastError(0);
}

using pw::platform::testing::MakeHostFile;

// Media objects stand in for bitmaps, sounds and cursors: a bitmap's value is its file's length
// (or -1 from a platform bitmap), a cursor's the handle's low bits.
struct FakeMedia : ::testing::Test {
    void SetUp() override
    {
        auto& services = pw::foundation::GetResourceServices();
        saved = services;
        static const FileType bmp("BitMap File", 0, pw::foundation::FourCharCode("bmp "));
        services.bitmapFileType = &bmp;
        static const FileType wave("Sound file", pw::foundation::FourCharCode("WAVE"), pw::foundation::FourCharCode("wav "));
        services.soundFileType = &wave;
        services.bitmapFromFile = [](File& file) { ++loads; return SmartPtr<Smart>(new Tracked(static_cast<int>(file.GetLength()))); };
        services.bitmapFromHandle = [](HBITMAP) { return SmartPtr<Smart>(new Tracked(-1)); };
        services.bitmapSize = [](Smart& bitmap) { return Point(SmartCast<Tracked>(&bitmap)->value, 2); };
        services.bitmapPattern = [](Smart& bitmap, uint8_t* rows) {
            for (int row = 0; row < 8; ++row)
                rows[row] = static_cast<uint8_t>(SmartCast<Tracked>(&bitmap)->value + row);
        };
        services.soundFromFile = [](File& file) { ++loads; return SmartPtr<Smart>(new Tracked(static_cast<int>(file.GetLength()))); };
        services.cursorFromHandle = [](HCURSOR cursor) { return SmartPtr<Smart>(new Tracked(static_cast<int>(reinterpret_cast<uintptr_t>(cursor) & 0xFFFFFF))); };
        loads = 0;
        pw::platform::testing::SetStartupFolder("c:\\start");
        pw::foundation::ForgetStartupFolder();
        pw::foundation::SetOsAppForTesting(pw::platform::ProgramInstance());
    }
    void TearDown() override
    {
        pw::foundation::ForgetStartupFolder();
        pw::foundation::GetResourceServices() = saved;
        pw::foundation::SetOsAppForTesting(nullptr);
    }

    static int Value(const SmartPtr<Smart>& object)
    {
        auto* tracked = SmartCast<Tracked>(object.Get());
        return tracked ? tracked->value : -100;
    }

    pw::foundation::ResourceServices saved;
    static inline int loads = 0;
};

const char* const kMissingDataFile = "Missing a standard Data File. Please reinstall your software.";

TEST_F(FakeMedia, AFileNamedByItsIdentifierReplacesThatBitmapInEverySet)
{
    MakeHostFile("start/Data/1234.bmp", "twelve bytes");
    Resources kid(1000, 4999);
    Resources narrow(1200, 1300);
    EXPECT_EQ(Value(kid.GetBitmap(234)), 12);
    EXPECT_EQ(Value(narrow.GetBitmap(34)), 12);
    EXPECT_EQ(kid.GetBitmapSize(234), Point(12, 2));

    // Without a file the program's own bitmap is asked for, and there is none.
    EXPECT_EQ(ErrorCode([&] { kid.GetBitmap(235); }), static_cast<uint32_t>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(Failure([&] { kid.GetStandardBitmap(235); }), kMissingDataFile);
    EXPECT_EQ(Failure([&] { kid.GetBitmapSize(235); }), kMissingDataFile);
    EXPECT_EQ(Failure([&] { kid.GetBitmap(4000); }), "Resource id not in this set of resources.");

    uint8_t rows[8] = {};
    kid.GetPattern(184, rows);
    EXPECT_EQ(rows[0], 12);
    EXPECT_EQ(rows[7], 19);
}

TEST_F(FakeMedia, SoundsComeOnlyFromTheDataFolder)
{
    MakeHostFile("start/Data/1003.wav", "RIFF");
    Resources kid(1000, 4999);
    EXPECT_EQ(Value(kid.LoadSound(3)), 4);
    EXPECT_EQ(Failure([&] { kid.LoadSound(4); }), kMissingDataFile);
    pw::platform::testing::SetStartupFolder("c:\\nodata");
    pw::foundation::ForgetStartupFolder();
    EXPECT_EQ(Failure([&] { Resources(1000, 4999).LoadSound(3); }), kMissingDataFile);
}

TEST_F(FakeMedia, CachedHandlesLoadOnFirstUseAndAgainAfterAPurge)
{
    MakeHostFile("start/Data/1005.wav", "sound");
    MakeHostFile("start/Data/1006.bmp", "picture");
    SmartPtr<SoundResource> sound;
    {
        Resources kid(1000, 4999);
        sound = kid.GetSoundResource(5);
        EXPECT_EQ(kid.GetSoundResource(5), sound);
        EXPECT_NE(kid.GetSoundResource(4), sound);
        EXPECT_EQ(Value(sound->Get()), 5);
        EXPECT_EQ(Value(sound->Get()), 5);
        EXPECT_EQ(loads, 1);
        {
            SmartPtr<Smart> held = sound->Get();
            PurgeMemory(0);
            EXPECT_TRUE(sound->IsLoaded());
        }
        PurgeMemory(0);
        EXPECT_FALSE(sound->IsLoaded());
        EXPECT_EQ(Value(sound->Get()), 5);
        EXPECT_EQ(loads, 2);

        SmartPtr<ImageResource> image = kid.GetImageResource(6);
        EXPECT_EQ(Value(image->Get()), 7);
        EXPECT_EQ(image->GetSize(), Point(7, 2));
        SmartPtr<ImageResource> missing = kid.GetImageResource(7);
        EXPECT_EQ(Failure([&] { missing->Get(); }), kMissingDataFile);
        EXPECT_FALSE(missing->IsLoaded());
        PurgeMemory(0);
    }
    // A handle outliving its set refuses to load.
    EXPECT_EQ(Failure([&] { sound->Get(); }), "Missing (NULL) value.");
}

TEST_F(FakeMedia, CursorsComeFromTheSystemOrTheProgram)
{
    struct Case {
        int16_t standard;
        LPCSTR systemId;
    } cases[] = { { 0, IDC_ARROW }, { 1, IDC_WAIT }, { 2, IDC_IBEAM } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standard);
        SmartPtr<Smart> cursor = SystemCursors().GetCursor(StandardCursorId(c.standard));
        HCURSOR expected = LoadCursorA(nullptr, c.systemId);
        EXPECT_EQ(Value(cursor), static_cast<int>(reinterpret_cast<uintptr_t>(expected) & 0xFFFFFF));
    }
    EXPECT_EQ(StandardCursorId(7), 7);
    // The program has no cursor 300 and no cursor 201 to fall back on.
    EXPECT_EQ(ErrorCode([&] { Resources(200, 399).GetCursor(100); }), static_cast<uint32_t>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

} // namespace
