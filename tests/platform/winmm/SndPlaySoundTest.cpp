#include <mmsystem.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/kernel/Clock.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/winmm/AudioDevice.h"
#include "platform/winmm/WaveBytes.h"
#include "platform/winmm/WinmmTesting.h"

using namespace pw::platform::winmm::testing;
using pw::platform::winmm::HashBytes;
using pw::platform::winmm::SoundEvent;

namespace {

constexpr UINT kMemoryFlags = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
constexpr UINT kFileFlags = SND_ASYNC | SND_NODEFAULT;

BOOL PlayImage(Bytes const& image)
{
    return sndPlaySoundA(reinterpret_cast<LPCSTR>(image.data()), kMemoryFlags);
}

void WriteDriveFile(std::string const& name, Bytes const& bytes)
{
    std::ofstream(pw::platform::testing::DriveRoot() + "/" + name, std::ios::binary)
        .write(reinterpret_cast<char const*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

// The platform keeps its own copy: the caller may change or free its image at once.
TEST(SndPlaySound, CopiesTheMemoryImage)
{
    pw::platform::Clock::Advance(250);
    auto image = std::make_unique<Bytes>(SimpleWave(Ramp(4000)));
    Bytes original = *image;
    ASSERT_TRUE(PlayImage(*image));
    std::fill(image->begin(), image->end(), 0xAA);
    image.reset();

    ASSERT_EQ(SoundLog().size(), 1u);
    SoundEvent const& event = SoundLog()[0];
    EXPECT_EQ(event.kind, SoundEvent::Kind::Play);
    EXPECT_EQ(event.timeMs, 250u);
    EXPECT_EQ(event.flags, kMemoryFlags);
    EXPECT_TRUE(event.path.empty());
    EXPECT_EQ(event.hash, HashBytes(original.data(), original.size()));
    EXPECT_EQ(event.format, (pw::platform::winmm::PcmFormat { 1, 22050, 8 }));
    EXPECT_EQ(event.length, 4000u);
    ASSERT_NE(CurrentSound(), nullptr);
    EXPECT_EQ(CurrentSound()->image, original);

    // The image's length is its RIFF size: bytes after it are not the sound's.
    Bytes padded = SimpleWave(Ramp(10));
    size_t size = padded.size();
    padded.resize(size + 100, 0x55);
    ASSERT_TRUE(PlayImage(padded));
    EXPECT_EQ(CurrentSound()->image.size(), size);
}

TEST(SndPlaySound, PlaysAFileByItsWindowsPath)
{
    Bytes image = SimpleWave(Ramp(300));
    WriteDriveFile("Chime.wav", image);
    ASSERT_TRUE(sndPlaySoundA("C:\\CHIME.WAV", kFileFlags));
    ASSERT_EQ(SoundLog().size(), 1u);
    EXPECT_EQ(SoundLog()[0].path, "C:\\CHIME.WAV");
    EXPECT_EQ(SoundLog()[0].hash, HashBytes(image.data(), image.size()));
    EXPECT_EQ(SoundLog()[0].length, 300u);

    // A file whose RIFF size claims more than it holds is bounded by the file.
    Bytes claimsMore = Riff({ Chunk("fmt ", FmtBody(1, 1, 11025, 8)), Chunk("data", Ramp(6)) });
    claimsMore[5] = 0xFF;
    WriteDriveFile("long.wav", claimsMore);
    ASSERT_TRUE(sndPlaySoundA("c:\\long.wav", kFileFlags));
    EXPECT_EQ(SoundLog()[1].length, 6u);
    EXPECT_EQ(SoundLog()[1].format.samplesPerSec, 11025u);

    SetLastError(0);
    EXPECT_FALSE(sndPlaySoundA("c:\\missing.wav", kFileFlags));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(SoundLog().size(), 2u);
}

// A new sound replaces the old; a beep plays over it; NULL stops it.
TEST(SndPlaySound, OneSoundAtATime)
{
    Bytes first = SimpleWave(Ramp(10));
    Bytes second = SimpleWave(Ramp(20));
    ASSERT_TRUE(PlayImage(first));
    ASSERT_TRUE(PlayImage(second));
    EXPECT_EQ(CurrentSound()->dataLength, 20u);
    pw::platform::winmm::PlayBeep(0xFFFFFFFF);
    ASSERT_NE(CurrentSound(), nullptr);
    EXPECT_TRUE(sndPlaySoundA(nullptr, 0));
    EXPECT_EQ(CurrentSound(), nullptr);

    ASSERT_EQ(SoundLog().size(), 4u);
    EXPECT_EQ(SoundLog()[2].kind, SoundEvent::Kind::Beep);
    EXPECT_EQ(SoundLog()[2].flags, 0xFFFFFFFFu);
    EXPECT_EQ(SoundLog()[3].kind, SoundEvent::Kind::Stop);
}

// Images that are not playable PCM WAVE are refused before anything plays; every length is
// bounded by the bytes there are.
TEST(SndPlaySound, HostileImages)
{
    Bytes fmt = FmtBody(1, 1, 22050, 8);
    Bytes shortFmt(fmt.begin(), fmt.begin() + 14);
    Bytes samples = Ramp(9);
    struct Case {
        char const* name;
        Bytes image;
        bool plays;
        size_t length;
    };
    Bytes notWave = SimpleWave(samples);
    notWave[8] = 'X';
    Bytes fmtPastEnd = Riff({ Chunk("data", samples), Chunk("fmt ", fmt, 1000) });
    Case const cases[] = {
        { "plain", SimpleWave(samples), true, 9 },
        { "not RIFF", Bytes { 'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E' }, false, 0 },
        { "not WAVE", notWave, false, 0 },
        { "fmt of 14 bytes", Riff({ Chunk("fmt ", shortFmt), Chunk("data", samples) }), false, 0 },
        { "no data chunk", Riff({ Chunk("fmt ", fmt) }), false, 0 },
        { "no fmt chunk", Riff({ Chunk("data", samples) }), false, 0 },
        { "fmt past the end", fmtPastEnd, false, 0 },
        { "compressed", Riff({ Chunk("fmt ", FmtBody(2, 1, 22050, 8)), Chunk("data", samples) }), false, 0 },
        { "12 bits", Riff({ Chunk("fmt ", FmtBody(1, 1, 22050, 12)), Chunk("data", samples) }), false, 0 },
        { "no channels", Riff({ Chunk("fmt ", FmtBody(1, 0, 22050, 8)), Chunk("data", samples) }), false, 0 },
        { "rate 0", Riff({ Chunk("fmt ", FmtBody(1, 1, 0, 8)), Chunk("data", samples) }), false, 0 },
        { "data cut short", Riff({ Chunk("fmt ", fmt), Chunk("data", Ramp(8), 5000) }), true, 8 },
        { "odd chunk skipped with its pad",
          Riff({ Chunk("LIST", Ramp(3)), Chunk("fmt ", fmt), Chunk("data", samples) }), true, 9 },
        { "16-bit stereo keeps whole frames",
          Riff({ Chunk("fmt ", FmtBody(1, 2, 44100, 16)), Chunk("data", samples) }), true, 8 },
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSoundLog();
        sndPlaySoundA(nullptr, 0);
        ClearSoundLog();
        EXPECT_EQ(PlayImage(c.image), c.plays ? TRUE : FALSE);
        ASSERT_EQ(SoundLog().size(), c.plays ? 1u : 0u);
        if (c.plays) {
            EXPECT_EQ(SoundLog()[0].length, c.length);
        }
    }
}
