// Sounds: WAVE images coming in and going out, the stored form, the scribes, playing through the
// current channel on the recording sound device, and recording with every chore suspended.
#include "graphics/Sound.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Chore.h"
#include "foundation/File.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Resources.h"
#include "foundation/String.h"
#include "graphics/AIFFFile.h"
#include "graphics/SoundChannel.h"
#include "graphics/WAVEFile.h"
#include "graphics/WaveRecorder.h"
#include "graphics/WinVersion.h"

#include "foundation/AlertFixture.h"
#include "foundation/Failure.h"
#include "foundation/FlatArchive.h"
#include "graphics/SoundBytes.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/winmm/WinmmTesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace sound_bytes;
using pw::platform::testing::RunFor;
using pw::platform::winmm::SoundEvent;

namespace {

const char* const kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// 8-bit mono at 22050 Hz: 2205 samples play for 100 ms.
Bytes Image(size_t count = 2205)
{
    Bytes samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<uint8_t>(0x80 + i % 16);
    return Wave(1, 22050, 8, samples);
}

Bytes DataOf(Sound& sound)
{
    const auto* bytes = static_cast<const uint8_t*>(sound.GetData().Ptr());
    return Bytes(bytes, bytes + sound.GetData().Size());
}

SmartPtr<Sound> SoundOf(const Bytes& image, uint8_t kind = Sound::wave, bool loop = false)
{
    MemoryStream stream = StreamOf(image);
    return new Sound(stream, kind, loop);
}

std::vector<const SoundEvent*> Events(SoundEvent::Kind kind)
{
    std::vector<const SoundEvent*> events;
    for (const SoundEvent& event : pw::platform::winmm::testing::SoundLog())
        if (event.kind == kind)
            events.push_back(&event);
    return events;
}

// The stored form as FlatArchive frames it: version, length, then loop, kind, length and data.
Bytes Stored(Fixed version, uint8_t loop, uint8_t kind, const Bytes& data, uint32_t extra = 0)
{
    Bytes stored;
    Put(stored, version.Raw(), 4, false);
    Put(stored, static_cast<uint32_t>(data.size() + 6), 4, false);
    stored.insert(stored.end(), { loop, kind });
    Put(stored, static_cast<uint32_t>(data.size() + extra), 4, false);
    stored.insert(stored.end(), data.begin(), data.end());
    return stored;
}

SmartPtr<Sound> ReadStored(const Bytes& stored)
{
    MemoryStream stream = StreamOf(stored);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &Sound::version }, false);
    ArchiveScope scope(*archive.Get(), Sound::version);
    return new Sound(scope);
}

Bytes WriteStored(Sound& sound)
{
    MemoryStream stream;
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &Sound::version }, true);
    sound.Write(*archive.Get());
    return BytesOf(stream);
}

SmartPtr<Scribe> ScribeOn(const char* path, uint8_t mode, bool aiff)
{
    SmartPtr<Stream> file(new File(*FileReference::FileReferenceFromPath(path).Get(), mode));
    return aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
}

class Sounds : public AlertsShown {
protected:
    void TearDown() override
    {
        Sound::StopSound();
        soundOff = false;
        pw::foundation::ForgetStartupFolder();
        AlertsShown::TearDown();
    }
};

} // namespace

TEST(Sound, ImportTakesAWaveImageAsItIsAndRefusesWhatIsNotOne)
{
    Bytes image = Image(5);
    SmartPtr<Sound> sound = SoundOf(image);
    EXPECT_EQ(DataOf(*sound.Get()), image);
    Bytes trailing = image;
    trailing.push_back(0xAB);
    EXPECT_EQ(SoundOf(trailing)->PlayableSize(), image.size());

    Bytes longRiff = image;
    ++longRiff[4];
    Bytes samples = { 1, 2, 3, 4 };
    Bytes lyingData = Form("RIFF", "WAVE", { Fmt(1, 1, 22050, 8), Chunk("data", samples, false, 5) }, false);
    lyingData.pop_back();
    Bytes aiffUnderWave = Form("FORM", "AIFF", { Comm(1, 1, 8, kRate22050), Ssnd({ 0 }) }, true);
    // Only what the devices play is taken: PCM of 8 or 16 bits, one or two channels.
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        { "empty", {} },
        { "an AIFF file", aiffUnderWave },
        { "RIFF of another form", Form("RIFF", "AVI ", {}, false) },
        { "RIFF size past the end", longRiff },
        { "float samples", Form("RIFF", "WAVE", { Fmt(3, 1, 22050, 32), Chunk("data", samples, false) }, false) },
        { "ADPCM", Form("RIFF", "WAVE", { Fmt(2, 1, 22050, 4, 4), Chunk("data", samples, false) }, false) },
        { "24 bits", Wave(1, 22050, 24, { 1, 2, 3 }) },
        { "32 bits", Wave(1, 22050, 32, samples) },
        { "4 bits", Wave(1, 22050, 4, samples) },
        { "three channels", Wave(3, 22050, 8, { 1, 2, 3 }) },
        { "zero channels", Wave(0, 22050, 8, samples) },
        { "zero rate", Wave(1, 0, 8, samples) },
        { "a data chunk that lies", lyingData },
        { "no data chunk", Form("RIFF", "WAVE", { Fmt(1, 1, 22050, 8) }, false) },
        { "extensible, not PCM",
            Form("RIFF", "WAVE", { Fmt(0xFFFE, 1, 22050, 16, 24), Chunk("data", samples, false) }, false) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint8_t kind : { Sound::wave, Sound::aiff }) {
            if (kind == Sound::aiff && c.bytes == aiffUnderWave)
                continue;
            MemoryStream stream = StreamOf(c.bytes);
            EXPECT_EQ(Failure([&] { sound->Import(stream, kind); }), kCorrupt);
            EXPECT_EQ(DataOf(*sound.Get()), image);
        }
    }
    MemoryStream out;
    EXPECT_EQ(Failure([&] { sound->Export(out, Sound::snd); }), "!convertIt || type != Sound::snd");
    EXPECT_EQ(Failure([&] { SoundOf({ 1, 2, 3 }, Sound::aiff); }), kCorrupt);
    EXPECT_EQ(Failure([&] { SoundOf({ 1, 2, 3 }, Sound::snd); }), kCorrupt);

    // WAVE bytes named as AIFF are read as the WAVE image they are.
    EXPECT_EQ(DataOf(*SoundOf(image, Sound::aiff).Get()), image);
    // An AIFF of samples the devices cannot play is refused once converted.
    Bytes wide = Form("FORM", "AIFF", { Comm(1, 1, 24, kRate22050), Ssnd({ 1, 2, 3 }) }, true);
    EXPECT_EQ(Failure([&] { SoundOf(wide, Sound::aiff); }), kCorrupt);
}

// What the RIFF size leaves out is played as it is converted: a size short of the chunks is
// raised to them; PCM inside the extensible format is named plain PCM, its samples kept.
TEST(Sound, ImportGivesPlayingAndConvertingTheSameChunks)
{
    Bytes samples = { 0x10, 0x20, 0x30, 0x40, 0x50, 0x60 };
    Bytes shortRiff = Form("RIFF", "WAVE", { Chunk("LIST", { 1, 2, 3 }, false), Fmt(1, 1, 22050, 16),
        Chunk("data", samples, false) }, false);
    shortRiff[4] = 20;
    shortRiff[5] = shortRiff[6] = shortRiff[7] = 0;
    SmartPtr<Sound> sound = SoundOf(shortRiff);
    EXPECT_EQ(sound->PlayableSize(), shortRiff.size());
    Bytes expected = shortRiff;
    expected[4] = uint8_t(shortRiff.size() - 8);
    EXPECT_EQ(DataOf(*sound.Get()), expected);
    MemoryStream converted;
    sound->Export(converted, Sound::aiff);
    Bytes aiff = BytesOf(converted);
    EXPECT_EQ(Bytes(aiff.end() - 6, aiff.end()), (Bytes { 0x20, 0x10, 0x40, 0x30, 0x60, 0x50 }));

    // The extensible form as sox writes it: 40 bytes, 22 of extension, the PCM sub-format last.
    Bytes extension = { 22, 0, 16, 0, 4, 0, 0, 0, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00,
        0xAA, 0x00, 0x38, 0x9B, 0x71 };
    Bytes fmt = Fmt(0xFFFE, 2, 44100, 16);
    fmt[4] = 40;
    fmt.insert(fmt.end(), extension.begin(), extension.end());
    Bytes extensible = Form("RIFF", "WAVE", { fmt, Chunk("data", samples, false) }, false);
    Bytes plain = extensible;
    plain[20] = 1;
    plain[21] = 0;
    EXPECT_EQ(DataOf(*SoundOf(extensible).Get()), plain);
    // A sub-format other than PCM, or more valid bits than the container holds, is refused.
    for (size_t at : { size_t(20 + 16 + 8), size_t(20 + 16 + 2) }) {
        SCOPED_TRACE(at);
        Bytes other = extensible;
        other[at] = 3;
        if (at == 20 + 16 + 2)
            other[at] = 17;
        EXPECT_EQ(Failure([&] { SoundOf(other); }), kCorrupt);
    }
}

// The SSND offset counts bytes before the first sample; one past the chunk is damage.
TEST(Sound, AIFFSamplesStartAfterTheOffset)
{
    Bytes body = { 0, 0, 0, 2, 0, 0, 0, 0, 0xEE, 0xEE, 0x12, 0x34 };
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 1, 16, kRate22050), Chunk("SSND", body, true) }, true);
    EXPECT_EQ(DataOf(*SoundOf(aiff, Sound::aiff).Get()), Wave(1, 22050, 16, { 0x34, 0x12 }));
    body[3] = 5;
    Bytes past = Form("FORM", "AIFF", { Comm(1, 1, 16, kRate22050), Chunk("SSND", body, true) }, true);
    EXPECT_EQ(Failure([&] { SoundOf(past, Sound::aiff); }), kCorrupt);
}

TEST_F(Sounds, StoredFormIsLoopKindAndWaveImage)
{
    Bytes image = Image(3);
    EXPECT_EQ(WriteStored(*SoundOf(image, Sound::wave, true).Get()), Stored(Fixed(1, 0), 1, 0, image));
    SmartPtr<Sound> back = ReadStored(Stored(Fixed(1, 0), 1, 0, image));
    EXPECT_EQ(DataOf(*back.Get()), image);
    EXPECT_TRUE(back->ToggleLoop(false));

    // A sound that only refers to a file is stored empty.
    Sound referring(FileReference::FileReferenceFromPath("c:\\a.wav"), false);
    EXPECT_EQ(WriteStored(referring), Stored(Fixed(1, 0), 0, 0, {}));
    EXPECT_EQ(Failure([&] { ReadStored(Stored(Fixed(1, 0), 0, 0, image, 1)); }), kCorrupt);

    // AIFF stored at the current version is converted, and written back as WAVE; stored by an
    // older version it is dropped with a warning, and the empty sound saves and reads again.
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 2, 16, kRate22050), Ssnd({ 0x12, 0x34, 0x56, 0x78 }) }, true);
    Bytes wave = Wave(1, 22050, 16, { 0x34, 0x12, 0x78, 0x56 });
    EXPECT_EQ(WriteStored(*ReadStored(Stored(Fixed(1, 0), 0, Sound::aiff, aiff)).Get()), Stored(Fixed(1, 0), 0, 0, wave));
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    SmartPtr<Sound> old = ReadStored(Stored(Fixed(0, 9), 1, Sound::aiff, aiff));
    EXPECT_EQ(DataOf(*old.Get()), Bytes {});
    EXPECT_EQ(Shown(),
        std::vector<std::string> { "This sound is in an old format and cannot be read! Please delete the sound and re-add it!" });
    EXPECT_EQ(WriteStored(*old.Get()), Stored(Fixed(1, 0), 1, 0, {}));
    EXPECT_EQ(DataOf(*ReadStored(WriteStored(*old.Get())).Get()), Bytes {});
}

TEST(Sound, ScribesWriteAndReadFilesOfTheirFormat)
{
    std::filesystem::path root = pw::platform::testing::DriveRoot();
    Bytes image = Image(7);
    for (bool aiff : { true, false }) {
        SCOPED_TRACE(aiff ? "AIFF" : "WAVE");
        // A longer file written before keeps nothing after the sound.
        std::ofstream(root / "s.snd") << std::string(200, 'x');
        SmartPtr<Scribe> writer = ScribeOn("c:\\s.snd", File::kRead | File::kWrite, aiff);
        writer->Write(SmartPtr<Smart>(new String("not a sound")));
        writer->Write(SmartPtr<Smart>(SoundOf(image).Get()));
        writer = nullptr;
        std::ifstream written(root / "s.snd", std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        std::string form(aiff ? "FORM\0\0\0" "6AIFF" : "RIFF,\0\0\0WAVE", 12);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).substr(0, 12), form);
        EXPECT_EQ(bytes.size(), aiff ? 62u : 52u);

        SmartPtr<Scribe> reader = ScribeOn("c:\\s.snd", File::kRead, aiff);
        EXPECT_FALSE(reader->CanWrite());
        SmartPtr<Smart> read = reader->Read();
        ASSERT_TRUE(SmartCast<Sound>(read.Get()));
        EXPECT_EQ(DataOf(*SmartCast<Sound>(read.Get())), image);
        EXPECT_TRUE(reader->Accepts(&Persistent::classInfo));
        EXPECT_FALSE(reader->Accepts(&String::classInfo));
    }
}

// The resource sets look for replacement sounds with the WAVE scribe's own file type, so the
// program has one "Sound file" type.
TEST(Sound, ResourceSetsUseTheWaveScribesFileType)
{
    const FileType* type = pw::foundation::GetResourceServices().soundFileType;
    ASSERT_EQ(type, &WAVEFile::GetFileType());
    EXPECT_STREQ(type->GetName(), "Sound file");
    EXPECT_EQ(type->GetExtension(), pw::foundation::FourCharCode("wav "));
}

TEST_F(Sounds, PlayingReplacesTheSoundHeardAndStoppingSilencesOnlyTheCurrentOne)
{
    Bytes first = Image(2205), second = Image(4410);
    SmartPtr<Sound> a = SoundOf(first);
    a->Play(true);
    SmartPtr<SoundChannel> channelA = SoundChannel::GetCurrent();
    Sound::PlayFrom(SoundOf(second));
    ASSERT_NE(SoundChannel::GetCurrent(), channelA);
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_EQ(plays[0]->flags, UINT(SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    EXPECT_EQ(plays[0]->hash, pw::platform::winmm::HashBytes(first.data(), first.size()));
    EXPECT_EQ(plays[1]->length, 4410u);

    channelA->Stop();
    EXPECT_TRUE(Events(SoundEvent::Kind::Stop).empty());
    Sound::StopSound();
    EXPECT_FALSE(SoundChannel::GetCurrent().Valid());
    EXPECT_EQ(Events(SoundEvent::Kind::Stop).size(), 1u);

    // Nothing is heard while sound is off, for an empty sound, or for a stored image whose RIFF
    // size claims more than it holds (the platform would read past it).
    soundOff = true;
    a->Play(true);
    EXPECT_TRUE(SoundChannel::GetCurrent().Valid());
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    soundOff = false;
    SmartPtr<Sound>(new Sound)->Play(true);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    // A stored image the devices could not play is refused when read, never when played.
    Bytes damaged = Image(10);
    damaged[4] = 0xF0;
    EXPECT_EQ(Failure([&] { ReadStored(Stored(Fixed(1, 0), 0, 0, damaged)); }), kCorrupt);
    Bytes wide = Wave(1, 22050, 24, { 1, 2, 3 });
    EXPECT_EQ(Failure([&] { ReadStored(Stored(Fixed(1, 0), 0, 0, wide)); }), kCorrupt);
    EXPECT_EQ(Failure([&] { ReadStored(Stored(Fixed(1, 0), 0, 7, Image(10))); }), kCorrupt);
    EXPECT_EQ(Events(SoundEvent::Kind::Play).size(), 2u);

    // A sound that no handle holds plays a copy of itself and lives on.
    {
        Sound local(*a.Get());
        local.Play(true);
    }
    EXPECT_TRUE(SoundChannel::GetCurrent()->IsPlaying());
}

TEST_F(Sounds, AChannelEndsWithItsSoundAndALoopingSoundPlaysAgain)
{
    uint32_t chores = pw::foundation::ChoreCount();
    SoundOf(Image(2205))->Play(true);
    RunFor(80);
    EXPECT_TRUE(SoundChannel::GetCurrent()->IsPlaying());
    RunFor(100);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_EQ(pw::foundation::ChoreCount(), chores);

    SoundOf(Image(2205), Sound::wave, true)->Play(true);
    RunFor(350);
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 1u + 4u);
    // Again each time the 100 ms sound has ended, within a tick of the channel's 20 ms chore.
    for (size_t i = 2; i < plays.size(); ++i) {
        EXPECT_GE(plays[i]->timeMs - plays[i - 1]->timeMs, 100u);
        EXPECT_LE(plays[i]->timeMs - plays[i - 1]->timeMs, 125u);
    }
    SoundChannel::GetCurrent()->Stop();
    RunFor(300);
    EXPECT_EQ(Events(SoundEvent::Kind::Play).size(), 5u);
}

TEST_F(Sounds, TheOlderPlatformPlaysFromATemporaryFileAndFilesByTheirPath)
{
    pw::graphics::testing::ForceWinVersion(Win31Only);
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::ofstream(data / "wavTemp.wav") << std::string(5000, 'x');
    pw::platform::testing::SetStartupFolder("c:\\plume");

    Bytes image = Image(100);
    SoundOf(image)->Play(true);
    SmartPtr<Sound>(new Sound(FileReference::FileReferenceFromPath("c:\\plume\\Data\\wavTemp.wav"), false))->Play(true);
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 2u);
    for (const SoundEvent* play : plays) {
        EXPECT_EQ(play->path, "c:\\plume\\Data\\wavTemp.wav");
        EXPECT_EQ(play->flags, UINT(SND_ASYNC | SND_NODEFAULT));
    }
    std::ifstream written(data / "wavTemp.wav", std::ios::binary);
    EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>()), image);

    // Without the "Data" folder the failure is shown and the channel does not play.
    std::filesystem::remove_all(data);
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    SoundOf(image)->Play(true);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_EQ(Shown().size(), 1u);
}

namespace {

class Idle : public Chore {
public:
    Idle()
        : Chore(50, true, 0)
    {
    }
    void Perform() override { }
};

Idle* watched = nullptr;
bool activeDuringDialog = true;

// The application is only handed through to the dialog; this floor never looks inside.
alignas(16) char applicationStorage[64];

} // namespace

TEST(Sound, RecordingSuspendsEveryChoreAndShutsTheRecorderDownHoweverItEnds)
{
    Idle idle;
    watched = &idle;
    App& app = reinterpret_cast<App&>(applicationStorage);
    pw::graphics::SetRecordingDialogRunner([](App&) {
        activeDuringDialog = watched->IsActive();
        WaveStartup();
        WaveRecordStart();
        return SmartPtr<Sound>(new Sound);
    });
    EXPECT_TRUE(Sound::Record(app).Valid());
    EXPECT_FALSE(activeDuringDialog);
    EXPECT_TRUE(idle.IsActive());
    EXPECT_FALSE(pw::graphics::WaveDeviceOpen());
    EXPECT_STREQ(pw::graphics::WaveSpoolFileName(), "");

    pw::graphics::SetRecordingDialogRunner([](App&) -> SmartPtr<Sound> { ThrowError("dialog failed", PW_HERE); });
    EXPECT_EQ(Failure([&] { Sound::Record(app); }), "dialog failed");
    EXPECT_TRUE(idle.IsActive());
    pw::graphics::SetRecordingDialogRunner(nullptr);
    EXPECT_EQ(Failure([&] { Sound::Record(app); }), "Missing (NULL) value.");
    EXPECT_TRUE(idle.IsActive());
}
