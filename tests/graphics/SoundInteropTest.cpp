// WAVE and AIFF files against another tool: what the program writes, sox reads with the right
// rate, channels, bits and length and the same samples; what sox writes, the program reads. The
// files lie in the test's own drive folder. Skipped when sox is not installed.
#include "graphics/AIFFFile.h"
#include "graphics/Sound.h"
#include "graphics/WAVEAudioFile.h"
#include "graphics/WAVEFile.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"

#include "graphics/SoundBytes.h"

#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace sound_bytes;

namespace {

bool HaveSox()
{
    return std::system("sox --version > /dev/null 2>&1") == 0;
}

// The command's standard output.
std::string RunTool(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    std::string output;
    char chunk[4096];
    size_t count = 0;
    while (pipe && (count = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0)
        output.append(chunk, count);
    return output;
}

std::string Info(const std::filesystem::path& file, const char* option)
{
    std::string text = RunTool("soxi " + std::string(option) + " '" + file.string() + "'");
    return text.substr(0, text.find('\n'));
}

// The samples as sox decodes them, widened to 32-bit signed integers, whatever the file's format.
std::string Decoded(const std::filesystem::path& file)
{
    return RunTool("sox '" + file.string() + "' -t raw -e signed-integer -b 32 -");
}

std::filesystem::path Folder()
{
    return pw::platform::testing::DriveRoot();
}

// Writes the sound through the scribe of its kind to c:\<name>.
void WriteThrough(Sound& sound, const std::string& name, bool aiff)
{
    std::ofstream(Folder() / name).put(0);
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(("c:\\" + name).c_str());
    SmartPtr<Stream> file(new File(*reference.Get(), File::kRead | File::kWrite));
    SmartPtr<Scribe> scribe = aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
    scribe->Write(SmartPtr<Smart>(&sound));
}

SmartPtr<Sound> ReadThrough(const std::string& name, bool aiff)
{
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(("c:\\" + name).c_str());
    SmartPtr<Stream> file(new File(*reference.Get(), File::kRead));
    SmartPtr<Scribe> scribe = aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
    SmartPtr<Smart> read = scribe->Read();
    return SmartPtr<Sound>(SmartCast<Sound>(read.Get()));
}

struct Format {
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t frames;
};

} // namespace

TEST(SoundInterop, FilesWeWriteReadRightInSox)
{
    if (!HaveSox())
        GTEST_SKIP() << "sox is not installed; the set-up script installs it for these checks";
    // An odd length in the 8-bit case brings the pad byte.
    Format formats[] = { { 1, 22050, 8, 1001 }, { 2, 44100, 16, 500 }, { 1, 11025, 16, 300 }, { 1, 48000, 24, 200 } };
    for (const Format& f : formats) {
        SCOPED_TRACE(testing::Message() << f.channels << " ch " << f.rate << " Hz " << f.bits << " bits");
        Bytes samples(size_t(f.frames) * f.channels * (f.bits / 8));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
        MemoryStream image = StreamOf(Wave(f.channels, f.rate, f.bits, samples));
        SmartPtr<Sound> sound = new Sound(image, Sound::wave, false);
        WriteThrough(*sound.Get(), "ours.wav", false);
        WriteThrough(*sound.Get(), "ours.aif", true);

        for (const char* name : { "ours.wav", "ours.aif" }) {
            SCOPED_TRACE(name);
            std::filesystem::path path = Folder() / name;
            EXPECT_EQ(Info(path, "-c"), std::to_string(f.channels));
            EXPECT_EQ(Info(path, "-b"), std::to_string(f.bits));
            EXPECT_EQ(Info(path, "-s"), std::to_string(f.frames));
            double rate = std::atof(Info(path, "-r").c_str());
            // AIFF carries 22050 and 11025 as the older hardware's fractional rates.
            double expected = std::string(name) == "ours.aif" && f.rate == 22050 ? 22254.545
                : std::string(name) == "ours.aif" && f.rate == 11025                ? 11127.27
                                                                                     : f.rate;
            EXPECT_NEAR(rate, expected, 0.5);
        }
        std::string wave = Decoded(Folder() / "ours.wav");
        EXPECT_EQ(wave.size(), size_t(f.frames) * f.channels * 4);
        EXPECT_EQ(Decoded(Folder() / "ours.aif"), wave);
    }
}

TEST(SoundInterop, FilesSoxWritesReadRightHere)
{
    if (!HaveSox())
        GTEST_SKIP() << "sox is not installed; the set-up script installs it for these checks";
    struct Case {
        const char* name;
        Format format;
        bool aiff;
    } cases[] = {
        { "sox8.wav", { 1, 22050, 8, 2205 }, false },
        { "sox16.wav", { 2, 44100, 16, 4410 }, false },
        { "sox8.aif", { 1, 22050, 8, 2205 }, true },
        { "sox16.aif", { 2, 44100, 16, 4410 }, true },
        { "sox24.aif", { 1, 48000, 24, 4800 }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::path path = Folder() / c.name;
        RunTool("sox -n -r " + std::to_string(c.format.rate) + " -c " + std::to_string(c.format.channels) + " -b "
            + std::to_string(c.format.bits) + " '" + path.string() + "' synth 0.1 sine 440 sine 660");
        ASSERT_TRUE(std::filesystem::exists(path));
        SmartPtr<Sound> sound = ReadThrough(c.name, c.aiff);
        ASSERT_TRUE(sound.Valid());

        // The image is a plain WAVE file of the same format and samples, as sox reads it back.
        MemoryStream image(sound->GetData());
        AudioFormat format;
        struct Reader : WAVEAudioFile {
            int HostOrder() const override { return kLittleEndian; }
        } reader;
        ASSERT_EQ(reader.ReadWAVEHeader(image, format), 1);
        EXPECT_EQ(format.channels, c.format.channels);
        EXPECT_EQ(format.rate, c.format.rate);
        EXPECT_EQ(format.bits, c.format.bits);
        EXPECT_EQ(format.dataLength, c.format.frames * c.format.channels * (c.format.bits / 8u));
        WriteThrough(*sound.Get(), "back.wav", false);
        std::string theirs = Decoded(path);
        EXPECT_EQ(theirs.size(), size_t(c.format.frames) * c.format.channels * 4);
        EXPECT_EQ(Decoded(Folder() / "back.wav"), theirs);
    }
}
