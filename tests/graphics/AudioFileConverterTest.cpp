// The WAVE and AIFF converter: the headers it writes, byte for byte; the rates, samples and pads
// it carries across; round trips; and files it must refuse without reading past their end.
#include "graphics/AudioFileConverter.h"

#include "foundation/MemoryStream.h"

#include "graphics/SoundBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace sound_bytes;

namespace {

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char digits[4];
    for (uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        text += digits;
    }
    return text;
}

// Converts `input`; answers the result, empty when the converter answered 0.
Bytes Convert(const Bytes& input, uint32_t bufferSize = 4096)
{
    MemoryStream in = StreamOf(input);
    MemoryStream out;
    AudioFileConverter converter(pw::graphics::AudioFile::kLittleEndian, bufferSize);
    if (converter.Convert(in, out) != 1)
        return {};
    return BytesOf(out);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST(AudioFileConverter, WritesTheAIFFHeaderOfAWaveFile)
{
    Bytes wave = Wave(2, 44100, 16, { 0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A, 0xF0, 0xDE });
    Bytes expected = {
        'F', 'O', 'R', 'M', 0x00, 0x00, 0x00, 0x36, 'A', 'I', 'F', 'F',
        'C', 'O', 'M', 'M', 0x00, 0x00, 0x00, 0x12,
        0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x10, 0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0,
        'S', 'S', 'N', 'D', 0x00, 0x00, 0x00, 0x10, 0, 0, 0, 0, 0, 0, 0, 0,
        0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0,
    };
    EXPECT_EQ(Hex(Convert(wave)), Hex(expected));
}

TEST(AudioFileConverter, WritesTheWaveHeaderOfAnAIFFFileWithItsPad)
{
    Bytes aiff = Form("FORM", "AIFF", { Comm(1, 3, 8, kRate22254), Ssnd({ 0x00, 0x7F, 0x80 }) }, true);
    Bytes expected = {
        'R', 'I', 'F', 'F', 0x28, 0x00, 0x00, 0x00, 'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 0x10, 0x00, 0x00, 0x00,
        0x01, 0x00, 0x01, 0x00, 0x22, 0x56, 0x00, 0x00, 0x22, 0x56, 0x00, 0x00, 0x01, 0x00, 0x08, 0x00,
        'd', 'a', 't', 'a', 0x03, 0x00, 0x00, 0x00,
        0x80, 0xFF, 0x00, 0x00,
    };
    EXPECT_EQ(Hex(Convert(aiff)), Hex(expected));
}

TEST(AudioFileConverter, RatesTravelAsTheirExtendedNumbers)
{
    struct Case {
        uint32_t rate;
        Bytes encoded;
        uint32_t back;
    } cases[] = {
        { 22050, { 0x40, 0x0D, 0xAD, 0xDD, 0x17, 0x46, 0, 0, 0, 0 }, 22050 },
        { 11025, { 0x40, 0x0C, 0xAD, 0xDD, 0x17, 0x44, 0, 0, 0, 0 }, 11025 },
        { 44100, { 0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0 }, 44100 },
        { 1, { 0x3F, 0xFF, 0x80, 0x00, 0, 0, 0, 0, 0, 0 }, 1 },
        { 192000, { 0x40, 0x10, 0xBB, 0x80, 0, 0, 0, 0, 0, 0 }, 192000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        Bytes aiff = Convert(Wave(1, c.rate, 8, { 0x80 }));
        ASSERT_GE(aiff.size(), 38u);
        EXPECT_EQ(Hex(Bytes(aiff.begin() + 28, aiff.begin() + 38)), Hex(c.encoded));
        Bytes wave = Convert(aiff);
        ASSERT_GE(wave.size(), 28u);
        EXPECT_EQ(wave[24] | wave[25] << 8 | wave[26] << 16 | uint32_t(wave[27]) << 24, c.back);
    }
}

// Each width round trips to the same samples.
TEST(AudioFileConverter, SamplesChangeSignednessAndByteOrderPerSample)
{
    struct Case {
        const char* name;
        uint16_t channels;
        uint16_t bits;
        Bytes wave;
        Bytes aiff;
    } cases[] = {
        { "8-bit silence and extremes", 1, 8, { 0x80, 0x00, 0xFF, 0x7F, 0x81 }, { 0x00, 0x80, 0x7F, 0xFF, 0x01 } },
        { "16-bit pairs", 1, 16, { 0x34, 0x12, 0xCD, 0xAB }, { 0x12, 0x34, 0xAB, 0xCD } },
        { "24-bit triples", 2, 24, { 1, 2, 3, 4, 5, 6 }, { 3, 2, 1, 6, 5, 4 } },
        { "32-bit quads", 1, 32, { 1, 2, 3, 4, 5, 6, 7, 8 }, { 4, 3, 2, 1, 8, 7, 6, 5 } },
        { "12-bit samples in two bytes", 1, 12, { 0x10, 0x32 }, { 0x32, 0x10 } },
        { "4-bit samples unchanged", 1, 4, { 0x12, 0x80 }, { 0x12, 0x80 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A buffer smaller than the data and not a multiple of the sample never splits a sample.
        for (uint32_t buffer : { 1u, 5u, 4096u }) {
            SCOPED_TRACE(buffer);
            // An odd length gets a pad byte, which the form counts.
            size_t pad = c.wave.size() & 1;
            Bytes aiff = Convert(Wave(c.channels, 8000, c.bits, c.wave), buffer);
            ASSERT_EQ(aiff.size(), 54 + c.aiff.size() + pad);
            EXPECT_EQ(uint32_t(aiff[6] << 8 | aiff[7]) + 8, aiff.size());
            EXPECT_EQ(Hex(Bytes(aiff.begin() + 54, aiff.end() - pad)), Hex(c.aiff));
            Bytes back = Convert(aiff, buffer);
            ASSERT_EQ(back.size(), 44 + c.wave.size() + pad);
            EXPECT_EQ(Hex(Bytes(back.begin() + 44, back.end() - pad)), Hex(c.wave));
        }
    }
}

TEST(AudioFileConverter, OtherChunksAreSkippedWithTheirPads)
{
    Bytes samples = { 0x80, 0x81, 0x82 };
    Bytes plain = Convert(Wave(1, 22050, 8, samples));
    Bytes cluttered = Form("RIFF", "WAVE",
        { Chunk("LIST", { 1, 2, 3 }, false), Chunk("junk", {}, false), Fmt(1, 1, 22050, 8, 2),
            Chunk("fact", { 3, 0, 0, 0 }, false), Chunk("data", samples, false), Chunk("tail", { 9 }, false) },
        false);
    EXPECT_EQ(Hex(Convert(cluttered)), Hex(plain));

    Bytes aiff = Form("FORM", "AIFF",
        { Chunk("NAME", { 'a' }, true), Ssnd({ 0x00, 0x01, 0x02 }), Comm(1, 3, 8, kRate22254) }, true);
    Bytes wave = Convert(aiff);
    ASSERT_EQ(wave.size(), 48u);
    EXPECT_EQ(Hex(Bytes(wave.begin() + 44, wave.end())), "80 81 82 00 ");
}

// Every one of these is refused; none may read past the end of its bytes (the sanitizers watch).
TEST(AudioFileConverter, RefusesFilesItCannotTrust)
{
    Bytes samples = { 1, 2, 3, 4 };
    Bytes fmt16 = Fmt(1, 1, 8000, 8);
    Bytes fmt15 = Chunk("fmt ", Bytes(fmt16.begin() + 8, fmt16.end() - 1), false);
    struct Case {
        const char* name;
        Bytes file;
    } cases[] = {
        { "empty", {} },
        { "short form", { 'R', 'I', 'F', 'F', 4, 0, 0, 0 } },
        { "neither format", Form("RIFF", "AVI ", { Fmt(1, 1, 8000, 8), Chunk("data", samples, false) }, false) },
        { "no fmt chunk", Form("RIFF", "WAVE", { Chunk("data", samples, false) }, false) },
        { "no data chunk", Form("RIFF", "WAVE", { Fmt(1, 1, 8000, 8) }, false) },
        { "compressed", Form("RIFF", "WAVE", { Fmt(2, 1, 8000, 8), Chunk("data", samples, false) }, false) },
        { "fmt of 15 bytes", Form("RIFF", "WAVE", { fmt15, Chunk("data", samples, false) }, false) },
        { "fmt past the end", Concat({ Form("RIFF", "WAVE", {}, false), Chunk("fmt ", { 1, 0 }, false, 16) }) },
        { "zero rate", Form("RIFF", "WAVE", { Fmt(1, 1, 0, 8), Chunk("data", samples, false) }, false) },
        { "zero channels", Form("RIFF", "WAVE", { Fmt(1, 0, 8000, 8), Chunk("data", samples, false) }, false) },
        { "zero bits", Form("RIFF", "WAVE", { Fmt(1, 1, 8000, 0), Chunk("data", samples, false) }, false) },
        { "33 bits", Form("RIFF", "WAVE", { Fmt(1, 1, 8000, 33), Chunk("data", samples, false) }, false) },
        { "data past the end", Form("RIFF", "WAVE", { Fmt(1, 1, 8000, 8), Chunk("data", samples, false, 5) }, false) },
        { "huge chunk before fmt",
            Form("RIFF", "WAVE", { Chunk("junk", {}, false, 0xFFFFFFF0), Fmt(1, 1, 8000, 8) }, false) },
        { "no COMM", Form("FORM", "AIFF", { Ssnd(samples) }, true) },
        { "no SSND", Form("FORM", "AIFF", { Comm(1, 4, 8, kRate22050) }, true) },
        { "COMM of 17 bytes", Form("FORM", "AIFF", { Chunk("COMM", Bytes(17, 0), true), Ssnd(samples) }, true) },
        { "SSND of 7 bytes", Form("FORM", "AIFF", { Comm(1, 4, 8, kRate22050), Chunk("SSND", Bytes(7, 0), true) }, true) },
        { "SSND past the end",
            Form("FORM", "AIFF", { Comm(1, 4, 8, kRate22050), Chunk("SSND", Bytes(12, 0), true, 13) }, true) },
        { "negative channels", Form("FORM", "AIFF", { Comm(-1, 4, 8, kRate22050), Ssnd(samples) }, true) },
        { "zero bits in AIFF", Form("FORM", "AIFF", { Comm(1, 4, 0, kRate22050), Ssnd(samples) }, true) },
        { "zero rate in AIFF", Form("FORM", "AIFF", { Comm(1, 4, 8, Bytes(10, 0)), Ssnd(samples) }, true) },
        { "negative rate",
            Form("FORM", "AIFF", { Comm(1, 4, 8, { 0xC0, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0 }), Ssnd(samples) }, true) },
        { "rate of 2^40",
            Form("FORM", "AIFF", { Comm(1, 4, 8, { 0x40, 0x27, 0x80, 0, 0, 0, 0, 0, 0, 0 }), Ssnd(samples) }, true) },
        { "rate below 1",
            Form("FORM", "AIFF", { Comm(1, 4, 8, { 0x3F, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0 }), Ssnd(samples) }, true) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Convert(c.file).empty());
    }
}
