// Sounds: their WAVE images coming in and going out, their stored form, their scribes, playing
// through the current channel on the recording sound device, and recording with chores suspended.
#include "graphics/Sound.h"

#include "foundation/Archive.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Chore.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/String.h"
#include "graphics/AIFFFile.h"
#include "graphics/SoundChannel.h"
#include "graphics/WAVEFile.h"
#include "graphics/WinVersion.h"
#include "graphics/WaveRecorder.h"

#include "foundation/AlertFixture.h"
#include "foundation/Failure.h"
#include "foundation/FlatArchive.h"
#include "graphics/SoundBytes.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/winmm/WinmmTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace sound_bytes;
using pw::platform::winmm::HashBytes;
using pw::platform::winmm::SoundEvent;
using pw::platform::winmm::testing::SoundLog;

namespace {

const char* const kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// 8-bit mono samples at 22050 Hz: 2205 of them play for 100 ms.
Bytes Samples(size_t count)
{
    Bytes samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<uint8_t>(0x80 + (i % 16));
    return samples;
}

Bytes Image(size_t count = 2205)
{
    return Wave(1, 22050, 8, Samples(count));
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
    for (const SoundEvent& event : SoundLog())
        if (event.kind == kind)
            events.push_back(&event);
    return events;
}

// The stored form as FlatArchive frames it: version, length, then the record.
Bytes Stored(Fixed version, uint8_t loop, uint8_t kind, const Bytes& data, int64_t length = -1)
{
    Bytes record = { loop, kind };
    Put(record, static_cast<uint32_t>(length < 0 ? int64_t(data.size()) : length), 4, false);
    record.insert(record.end(), data.begin(), data.end());
    Bytes stored;
    Put(stored, version.Raw(), 4, false);
    Put(stored, static_cast<uint32_t>(record.size()), 4, false);
    stored.insert(stored.end(), record.begin(), record.end());
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
    {
        SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &Sound::version }, true);
        sound.Write(*archive.Get());
    }
    return BytesOf(stream);
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
    EXPECT_EQ(sound->PlayableSize(), image.size());

    // Trailing bytes after the RIFF form are kept; the platform reads only the form.
    Bytes trailing = image;
    trailing.push_back(0xAB);
    EXPECT_EQ(SoundOf(trailing)->PlayableSize(), image.size());

    Bytes longRiff = image;
    longRiff[4] = static_cast<uint8_t>(longRiff[4] + 1);
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        { "empty", {} },
        { "an AIFF file", Form("FORM", "AIFF", { Comm(1, 1, 8, kRate22050), Ssnd({ 0 }) }, true) },
        { "RIFF of another form", Form("RIFF", "AVI ", {}, false) },
        { "RIFF size past the end", longRiff },
        { "only a header", Bytes(image.begin(), image.begin() + 11) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Failure([&] { SoundOf(c.bytes); }), kCorrupt);
        // A failed import leaves the sound as it was.
        MemoryStream stream = StreamOf(c.bytes);
        EXPECT_NE(Failure([&] { sound->Import(stream, Sound::wave); }), "");
        EXPECT_EQ(DataOf(*sound.Get()), image);
    }
}

TEST(Sound, AIFFComesInAsWaveAndGoesOutAsAIFF)
{
    Bytes samples = { 0x00, 0x7F, 0x80 };
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 3, 8, kRate22254), Ssnd(samples) }, true);
    SmartPtr<Sound> sound = SoundOf(aiff, Sound::aiff);
    EXPECT_EQ(DataOf(*sound.Get()), Wave(1, 22050, 8, { 0x80, 0xFF, 0x00 }));

    MemoryStream out;
    sound->Export(out, Sound::aiff);
    EXPECT_EQ(BytesOf(out), aiff);
    MemoryStream same;
    sound->Export(same, Sound::wave);
    EXPECT_EQ(BytesOf(same), DataOf(*sound.Get()));

    MemoryStream unused;
    EXPECT_EQ(Failure([&] { sound->Export(unused, Sound::snd); }), "!convertIt || type != Sound::snd");
    EXPECT_EQ(Failure([&] { SoundOf(Image(4), Sound::aiff); }), "");
    EXPECT_EQ(Failure([&] { SoundOf({ 1, 2, 3 }, Sound::aiff); }), "Call failed.");
    SmartPtr<Sound> empty = new Sound;
    EXPECT_EQ(Failure([&] { empty->Export(unused, Sound::aiff); }), "Call failed.");
}

TEST(Sound, StoredFormIsLoopKindLengthAndImage)
{
    Bytes image = Image(3);
    SmartPtr<Sound> sound = SoundOf(image, Sound::wave, true);
    EXPECT_EQ(WriteStored(*sound.Get()), Stored(Fixed(1, 0), 1, 0, image));
    SmartPtr<Sound> back = ReadStored(WriteStored(*sound.Get()));
    EXPECT_EQ(DataOf(*back.Get()), image);
    EXPECT_TRUE(back->ToggleLoop(false));

    // A sound that only refers to a file is stored empty and reads back empty.
    SmartPtr<Sound> referring = new Sound(FileReference::FileReferenceFromPath("c:\\a.wav"), false);
    EXPECT_EQ(WriteStored(*referring.Get()), Stored(Fixed(1, 0), 0, 0, {}));
    EXPECT_TRUE(ReadStored(WriteStored(*referring.Get()))->IsEmpty());

    EXPECT_EQ(Failure([&] { ReadStored(Stored(Fixed(1, 0), 0, 0, image, int64_t(image.size()) + 1)); }), kCorrupt);
}

TEST(Sound, StoredAIFFIsConvertedAndWrittenBackAsWave)
{
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 2, 16, kRate22050), Ssnd({ 0x12, 0x34, 0x56, 0x78 }) }, true);
    SmartPtr<Sound> sound = ReadStored(Stored(Fixed(1, 0), 0, Sound::aiff, aiff));
    Bytes wave = Wave(1, 22050, 16, { 0x34, 0x12, 0x78, 0x56 });
    EXPECT_EQ(DataOf(*sound.Get()), wave);
    EXPECT_EQ(WriteStored(*sound.Get()), Stored(Fixed(1, 0), 0, Sound::wave, wave));
}

TEST_F(Sounds, StoredAIFFOfAnOlderVersionIsKeptWithAWarning)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 1, 8, kRate22050), Ssnd({ 0 }) }, true);
    SmartPtr<Sound> sound = ReadStored(Stored(Fixed(0, 9), 0, Sound::aiff, aiff));
    EXPECT_EQ(DataOf(*sound.Get()), aiff);
    EXPECT_EQ(Shown(),
        std::vector<std::string> { "This sound is in an old format and cannot be read! Please delete the sound and re-add it!" });
}

TEST(Sound, ToggleLoopInvertsOnlyWhenAsked)
{
    Sound sound;
    EXPECT_FALSE(sound.ToggleLoop(false));
    EXPECT_TRUE(sound.ToggleLoop(true));
    EXPECT_TRUE(sound.ToggleLoop(false));
    EXPECT_FALSE(sound.ToggleLoop(true));
    sound.ToggleLoop(true);
    Sound copy(sound);
    EXPECT_TRUE(copy.ToggleLoop(false));
}

TEST(Sound, ScribesWriteAndReadFilesOfTheirFormat)
{
    std::filesystem::path root = pw::platform::testing::DriveRoot();
    std::ofstream(root / "s.aif", std::ios::binary).put(0);
    std::ofstream(root / "s.wav", std::ios::binary) << std::string(200, 'x');
    Bytes image = Image(7);
    SmartPtr<Sound> sound = SoundOf(image);
    for (bool aiff : { true, false }) {
        SCOPED_TRACE(aiff ? "AIFF" : "WAVE");
        SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(aiff ? "c:\\s.aif" : "c:\\s.wav");
        {
            SmartPtr<Stream> file(new File(*reference.Get(), File::kRead | File::kWrite));
            SmartPtr<Scribe> scribe = aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
            EXPECT_TRUE(scribe->CanWrite());
            scribe->Write(SmartPtr<Smart>(new String("not a sound")));
            scribe->Write(SmartPtr<Smart>(sound.Get()));
        }
        std::ifstream written(root / (aiff ? "s.aif" : "s.wav"), std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        ASSERT_GE(bytes.size(), 12u);
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), aiff ? "AIFF" : "WAVE");
        EXPECT_EQ(bytes.size(), aiff ? 54 + 8u : image.size());

        SmartPtr<Stream> file(new File(*reference.Get(), File::kRead));
        SmartPtr<Scribe> scribe = aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
        EXPECT_FALSE(scribe->CanWrite());
        SmartPtr<Smart> read = scribe->Read();
        ASSERT_TRUE(SmartCast<Sound>(read.Get()));
        EXPECT_EQ(DataOf(*SmartCast<Sound>(read.Get())), image);
        EXPECT_TRUE(scribe->Accepts(&Sound::classInfo));
        EXPECT_TRUE(scribe->Accepts(&Persistent::classInfo));
        EXPECT_FALSE(scribe->Accepts(&String::classInfo));
    }
}

TEST_F(Sounds, PlayingReplacesTheCurrentChannelAndTheSoundHeard)
{
    Bytes first = Image(2205);
    Bytes second = Image(4410);
    SmartPtr<Sound> a = SoundOf(first);
    SmartPtr<Sound> b = SoundOf(second);
    a->Play(true);
    SmartPtr<SoundChannel> channelA = SoundChannel::GetCurrent();
    Sound::PlayFrom(b);
    ASSERT_NE(SoundChannel::GetCurrent(), channelA);
    EXPECT_EQ(SoundChannel::GetCurrent()->GetSound(), b);
    Sound::PlayFrom(nullptr);

    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_EQ(plays[0]->flags, UINT(SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    EXPECT_EQ(plays[0]->hash, HashBytes(first.data(), first.size()));
    EXPECT_EQ(plays[1]->hash, HashBytes(second.data(), second.size()));
    EXPECT_EQ(plays[1]->length, 4410u);

    // Stopping the older channel leaves the newer sound alone; stopping the current one silences it.
    channelA->Stop();
    EXPECT_FALSE(channelA->IsPlaying());
    EXPECT_TRUE(Events(SoundEvent::Kind::Stop).empty());
    Sound::StopSound();
    EXPECT_FALSE(SoundChannel::GetCurrent().Valid());
    EXPECT_EQ(Events(SoundEvent::Kind::Stop).size(), 1u);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(Sounds, NothingIsHeardWhileSoundIsOffOrForAnImageThatDoesNotHoldItself)
{
    SmartPtr<Sound> sound = SoundOf(Image());
    soundOff = true;
    sound->Play(true);
    ASSERT_TRUE(SoundChannel::GetCurrent().Valid());
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    soundOff = false;

    SmartPtr<Sound> empty = new Sound;
    empty->Play(true);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    // Stored data is not checked on reading: a damaged RIFF size must not be read past.
    Bytes damaged = Image(10);
    damaged[4] = 0xF0;
    SmartPtr<Sound> stored = ReadStored(Stored(Fixed(1, 0), 0, 0, damaged));
    stored->Play(true);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_TRUE(SoundLog().empty());

    // A sound held by no handle plays a copy and stays alive.
    {
        Sound local(*sound.Get());
        local.Play(true);
    }
    EXPECT_TRUE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_EQ(Events(SoundEvent::Kind::Play).size(), 1u);
}

TEST_F(Sounds, AChannelEndsWithItsSoundAndALoopingSoundPlaysAgain)
{
    uint32_t chores = pw::foundation::ChoreCount();
    SoundOf(Image(2205))->Play(true);
    SmartPtr<SoundChannel> once = SoundChannel::GetCurrent();
    EXPECT_EQ(pw::foundation::ChoreCount(), chores + 1);
    pw::platform::testing::RunFor(80);
    EXPECT_TRUE(once->IsPlaying());
    once = nullptr;
    pw::platform::testing::RunFor(100);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_EQ(pw::foundation::ChoreCount(), chores);
    EXPECT_EQ(Events(SoundEvent::Kind::Play).size(), 1u);

    SoundOf(Image(2205), Sound::wave, true)->Play(true);
    pw::platform::testing::RunFor(350);
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 1u + 4u);
    // Each time the 100 ms sound has ended, within a tick of the channel's 20 ms chore.
    for (size_t i = 2; i < plays.size(); ++i) {
        EXPECT_GE(plays[i]->timeMs - plays[i - 1]->timeMs, 100u);
        EXPECT_LE(plays[i]->timeMs - plays[i - 1]->timeMs, 125u);
    }
    EXPECT_TRUE(SoundChannel::GetCurrent()->IsPlaying());
    // Stopped, it is not played again.
    SoundChannel::GetCurrent()->Stop();
    pw::platform::testing::RunFor(300);
    EXPECT_EQ(Events(SoundEvent::Kind::Play).size(), 5u);
}

TEST_F(Sounds, TheOlderPlatformPlaysTheImageFromATemporaryFile)
{
    pw::graphics::testing::ForceWinVersion(Win31Only);
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::ofstream(data / "wavTemp.wav", std::ios::binary) << std::string(5000, 'x');
    pw::platform::testing::SetStartupFolder("c:\\plume");
    pw::foundation::ForgetStartupFolder();

    Bytes image = Image(100);
    SmartPtr<Sound> sound = SoundOf(image);
    sound->Play(true);
    EXPECT_TRUE(SoundChannel::GetCurrent()->IsPlaying());
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0]->path, "c:\\plume\\Data\\wavTemp.wav");
    EXPECT_EQ(plays[0]->flags, UINT(SND_ASYNC | SND_NODEFAULT));
    std::ifstream written(data / "wavTemp.wav", std::ios::binary);
    EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>()), image);

    // Without the "Data" folder the failure is shown and the channel does not play.
    std::filesystem::remove_all(data);
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    sound->Play(true);
    EXPECT_FALSE(SoundChannel::GetCurrent()->IsPlaying());
    EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(Sounds, ASoundThatRefersToAFilePlaysItByPath)
{
    SmartPtr<Sound> sound = new Sound(FileReference::FileReferenceFromPath("c:\\x.wav"), false);
    std::ofstream(std::filesystem::path(pw::platform::testing::DriveRoot()) / "x.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(Image(10).data()), std::streamsize(Image(10).size()));
    sound->Play(true);
    std::vector<const SoundEvent*> plays = Events(SoundEvent::Kind::Play);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0]->path, "c:\\x.wav");
    EXPECT_EQ(plays[0]->flags, UINT(SND_ASYNC | SND_NODEFAULT));
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

bool choreActiveDuringDialog = true;
Idle* watched = nullptr;

// The application is only handed through to the dialog; the graphics floor never looks inside.
alignas(16) char applicationStorage[64];

} // namespace

TEST(Sound, RecordingSuspendsEveryChoreAndShutsTheRecorderDownHoweverItEnds)
{
    Idle idle;
    App& app = reinterpret_cast<App&>(applicationStorage);
    watched = &idle;
    pw::graphics::SetRecordingDialogRunner([](App&) {
        choreActiveDuringDialog = watched->IsActive();
        WaveStartup();
        WaveRecordStart();
        return SmartPtr<Sound>(new Sound);
    });
    SmartPtr<Sound> recorded = Sound::Record(app);
    EXPECT_TRUE(recorded.Valid());
    EXPECT_FALSE(choreActiveDuringDialog);
    EXPECT_TRUE(idle.IsActive());
    EXPECT_FALSE(pw::graphics::WaveDeviceOpen());
    EXPECT_STREQ(pw::graphics::WaveSpoolFileName(), "");
    EXPECT_EQ(pw::platform::winmm::testing::LiveWaveHandles(), 0u);

    pw::graphics::SetRecordingDialogRunner([](App&) -> SmartPtr<Sound> { ThrowError("dialog failed", PW_HERE); });
    EXPECT_EQ(Failure([&] { Sound::Record(app); }), "dialog failed");
    EXPECT_TRUE(idle.IsActive());

    pw::graphics::SetRecordingDialogRunner(nullptr);
    EXPECT_EQ(Failure([&] { Sound::Record(app); }), "Missing (NULL) value.");
    EXPECT_TRUE(idle.IsActive());
}
