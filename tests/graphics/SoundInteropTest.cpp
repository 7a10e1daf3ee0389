// WAVE and AIFF files against another tool: what the program writes, sox reads with the right
// rate, channels, bits, length and samples; what sox writes, the program reads. The files lie in
// the test's own drive folder. Skipped when sox is not installed.
#include "graphics/AIFFFile.h"
#include "graphics/Sound.h"
#include "graphics/WAVEAudioFile.h"
#include "graphics/WAVEFile.h"

#include "foundation/File.h"

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

std::string Output(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    std::string output;
    char chunk[4096];
    size_t count = 0;
    while (pipe && (count = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0)
        output.append(chunk, count);
    return output;
}

std::string Path(const std::string& name)
{
    return (std::filesystem::path(pw::platform::testing::DriveRoot()) / name).string();
}

std::string Info(const std::string& name, const char* option)
{
    std::string text = Output("soxi " + std::string(option) + " '" + Path(name) + "'");
    return text.substr(0, text.find('\n'));
}

// The samples as sox decodes them, as 32-bit signed integers whatever the file's format.
std::string Decoded(const std::string& name)
{
    return Output("sox '" + Path(name) + "' -t raw -e signed-integer -b 32 -");
}

SmartPtr<Scribe> ScribeOn(const std::string& name, uint8_t mode)
{
    std::ofstream(Path(name), std::ios::app).flush();
    SmartPtr<Stream> file(new File(*FileReference::FileReferenceFromPath(("c:\\" + name).c_str()).Get(), mode));
    bool aiff = name.ends_with(".aif");
    return aiff ? SmartPtr<Scribe>(new AIFFFile(file)) : SmartPtr<Scribe>(new WAVEFile(file));
}

struct Format {
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t frames;
};

class SoundInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("sox --version > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "sox is not installed; the set-up script installs it for these checks";
    }
};

} // namespace

TEST_F(SoundInterop, FilesWeWriteReadRightInSox)
{
    // An odd length brings the pad byte; AIFF carries 22050 and 11025 as the older hardware's
    // fractional rates.
    struct Case {
        Format format;
        double aiffRate;
    } cases[] = {
        { { 1, 22050, 8, 1001 }, 22254.545 }, { { 2, 44100, 16, 500 }, 44100 },
        { { 1, 11025, 16, 300 }, 11127.27 }, { { 1, 48000, 24, 200 }, 48000 },
    };
    for (const Case& c : cases) {
        const Format& f = c.format;
        SCOPED_TRACE(testing::Message() << f.channels << " ch " << f.rate << " Hz " << f.bits << " bits");
        Bytes samples(size_t(f.frames) * f.channels * (f.bits / 8));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
        MemoryStream image = StreamOf(Wave(f.channels, f.rate, f.bits, samples));
        SmartPtr<Smart> sound(new Sound(image, Sound::wave, false));
        for (const char* name : { "ours.wav", "ours.aif" }) {
            SCOPED_TRACE(name);
            std::filesystem::remove(Path(name));
            ScribeOn(name, File::kRead | File::kWrite)->Write(sound);
            EXPECT_EQ(Info(name, "-c"), std::to_string(f.channels));
            EXPECT_EQ(Info(name, "-b"), std::to_string(f.bits));
            EXPECT_EQ(Info(name, "-s"), std::to_string(f.frames));
            EXPECT_NEAR(std::atof(Info(name, "-r").c_str()), std::string(name).ends_with(".aif") ? c.aiffRate : f.rate, 0.5);
        }
        EXPECT_EQ(Decoded("ours.wav").size(), size_t(f.frames) * f.channels * 4);
        EXPECT_EQ(Decoded("ours.aif"), Decoded("ours.wav"));
    }
}

TEST_F(SoundInterop, FilesSoxWritesReadRightHere)
{
    struct Case {
        const char* name;
        Format format;
    } cases[] = {
        { "sox8.wav", { 1, 22050, 8, 2205 } }, { "sox16.wav", { 2, 44100, 16, 4410 } },
        { "sox8.aif", { 1, 22050, 8, 2205 } }, { "sox16.aif", { 2, 44100, 16, 4410 } },
        { "sox24.aif", { 1, 48000, 24, 4800 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Format& f = c.format;
        Output("sox -n -r " + std::to_string(f.rate) + " -c " + std::to_string(f.channels) + " -b "
            + std::to_string(f.bits) + " '" + Path(c.name) + "' synth 0.1 sine 440 sine 660");
        SmartPtr<Smart> read = ScribeOn(c.name, File::kRead)->Read();
        auto* sound = SmartCast<Sound>(read.Get());
        ASSERT_TRUE(sound);

        // The image is a plain WAVE file of the same format, and sox finds the same samples in it.
        MemoryStream image(sound->GetData());
        struct : pw::graphics::WAVEAudioFile {
            int HostOrder() const override { return kLittleEndian; }
        } reader;
        pw::graphics::AudioFormat format;
        ASSERT_EQ(reader.ReadWAVEHeader(image, format), 1);
        EXPECT_EQ(format.channels, f.channels);
        EXPECT_EQ(format.rate, f.rate);
        EXPECT_EQ(format.bits, f.bits);
        EXPECT_EQ(format.dataLength, f.frames * f.channels * (f.bits / 8u));
        std::filesystem::remove(Path("back.wav"));
        ScribeOn("back.wav", File::kRead | File::kWrite)->Write(read);
        EXPECT_EQ(Decoded(c.name).size(), size_t(f.frames) * f.channels * 4);
        EXPECT_EQ(Decoded("back.wav"), Decoded(c.name));
    }
}
