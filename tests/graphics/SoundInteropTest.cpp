// WAVE and AIFF files against another tool: what the program writes, sox reads with the right
// rate, channels, bits, length and samples; what sox writes, the program reads. The files lie in
// the test's own drive folder. Skipped when sox is not installed.
#include "graphics/AIFFFile.h"
#include "graphics/Sound.h"
#include "graphics/WAVEAudioFile.h"
#include "graphics/WAVEFile.h"

#include "foundation/Failure.h"
#include "foundation/File.h"

#include "graphics/SoundBytes.h"

#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
        { { 1, 11025, 16, 300 }, 11127.27 }, { { 2, 8000, 8, 201 }, 8000 },
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

// The corpus script makes files with sox at several rates, widths and channel counts: those the
// devices play read as a plain WAVE image with sox's own figures and samples; the others (wider
// samples, more channels, float, ADPCM, in both forms) are refused as damaged files are.
TEST_F(SoundInterop, FilesSoxWritesReadRightHereOrAreRefused)
{
    std::string script = std::string(PW_CORPUS_SCRIPTS) + "/make-sound-corpus '" + pw::platform::testing::DriveRoot() + "'";
    ASSERT_EQ(std::system(script.c_str()), 0);
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(pw::platform::testing::DriveRoot()))
        if (item.path().filename().string().starts_with("sox."))
            names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 40u);
    const std::string corrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Format f { uint16_t(std::stoi(Info(name, "-c"))), uint32_t(std::stoul(Info(name, "-r"))),
            uint16_t(std::stoi(Info(name, "-b"))), uint32_t(std::stoul(Info(name, "-s"))) };
        bool playable = (f.bits == 8 || f.bits == 16) && f.channels <= 2 && Info(name, "-e").find("Integer PCM") != std::string::npos;
        SmartPtr<Smart> read;
        std::string failure = Failure([&] { read = ScribeOn(name, File::kRead)->Read(); });
        if (!playable) {
            EXPECT_EQ(failure, corrupt);
            continue;
        }
        ASSERT_EQ(failure, "");
        auto* sound = SmartCast<Sound>(read.Get());
        ASSERT_TRUE(sound);
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
        EXPECT_EQ(sound->PlayableSize(), sound->GetData().Size());
        std::filesystem::remove(Path("back.wav"));
        ScribeOn("back.wav", File::kRead | File::kWrite)->Write(read);
        EXPECT_EQ(Decoded("back.wav"), Decoded(name));
    }
}

// Files of the corpus damaged by hand are refused with the corrupt-file message at once.
TEST_F(SoundInterop, DamagedFilesAreRefusedAtOnce)
{
    std::string script = std::string(PW_CORPUS_SCRIPTS) + "/make-sound-corpus '" + pw::platform::testing::DriveRoot() + "'";
    ASSERT_EQ(std::system(script.c_str()), 0);
    const std::string corrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";
    for (const char* name : { "sox.22050.2.16.wav", "sox.11025.1.8.aif" }) {
        std::ifstream in(Path(name), std::ios::binary);
        Bytes good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bool aiff = std::string(name).ends_with(".aif");
        auto put32 = [&](Bytes& bytes, size_t at, uint32_t value) {
            for (int index = 0; index < 4; ++index)
                bytes[at + index] = uint8_t(value >> (8 * (aiff ? 3 - index : index)));
        };
        auto find = [&](const char* id) {
            return size_t(std::search(good.begin(), good.end(), id, id + 4) - good.begin());
        };
        size_t formatBody = find(aiff ? "COMM" : "fmt ") + 8;
        size_t dataSize = find(aiff ? "SSND" : "data") + 4;
        ASSERT_LT(dataSize, good.size());
        std::vector<std::pair<std::string, Bytes>> damaged;
        for (size_t size : { size_t(0), size_t(11), size_t(30), size_t(dataSize), good.size() - 2 })
            damaged.emplace_back("cut to " + std::to_string(size), Bytes(good.begin(), good.begin() + size));
        for (uint32_t lie : { 0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u }) {
            Bytes bytes = good;
            put32(bytes, dataSize, lie);
            damaged.emplace_back("sample chunk size " + std::to_string(lie), bytes);
            bytes = good;
            put32(bytes, formatBody - 4, lie);
            damaged.emplace_back("format chunk size " + std::to_string(lie), bytes);
        }
        Bytes noRate = good;
        std::fill(noRate.begin() + formatBody + (aiff ? 8 : 4), noRate.begin() + formatBody + (aiff ? 18 : 8), 0);
        damaged.emplace_back("rate 0", noRate);
        Bytes noChannels = good;
        noChannels[formatBody] = noChannels[formatBody + 1] = 0;
        damaged.emplace_back("channels 0", noChannels);
        if (aiff) {
            Bytes offset = good;
            put32(offset, dataSize + 4, 0x10000);
            damaged.emplace_back("offset past the samples", offset);
        }
        for (const auto& [what, bytes] : damaged) {
            SCOPED_TRACE(std::string(name) + ", " + what);
            std::string scribeName = aiff ? "damaged.aif" : "damaged.wav";
            std::ofstream(Path(scribeName), std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            EXPECT_EQ(Failure([&] { ScribeOn(scribeName, File::kRead)->Read(); }), corrupt);
        }
    }
}
