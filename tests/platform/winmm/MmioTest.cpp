#include <mmsystem.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/kernel/KernelTesting.h"
#include "platform/winmm/WinmmTesting.h"
#include "platform/winmm/WaveBytes.h"

using namespace pw::platform::winmm::testing;

namespace {

constexpr MMRESULT kOk = MMSYSERR_NOERROR;

Bytes ReadDriveFile(std::string const& name)
{
    std::ifstream in(pw::platform::testing::DriveRoot() + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

HMMIO CreateRiffFile(char const* path)
{
    std::string buffer = path;
    return mmioOpenA(buffer.data(), nullptr, MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF);
}

LONG Write(HMMIO mmio, Bytes const& bytes)
{
    return mmioWrite(mmio, reinterpret_cast<char const*>(bytes.data()), static_cast<LONG>(bytes.size()));
}

} // namespace

// The sequence of a saved recording: RIFF/WAVE, "fmt " with its size given, "fact", then "data"
// created with size 0 and an odd length written, which ascend must fix and pad.
TEST(Mmio, WritesWellFormedRiffWave)
{
    HMMIO mmio = CreateRiffFile("c:\\plumery.wav");
    ASSERT_NE(mmio, nullptr);

    MMCKINFO riff {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioCreateChunk(mmio, &riff, MMIO_CREATERIFF), kOk);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.dwDataOffset, 8u);

    Bytes format = FmtBody(1, 1, 22050, 8);
    PutLE16(format, 0); // cbSize: the 18-byte block
    MMCKINFO chunk {};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    chunk.cksize = 18;
    ASSERT_EQ(mmioCreateChunk(mmio, &chunk, 0), kOk);
    EXPECT_EQ(chunk.dwDataOffset, 20u);
    EXPECT_EQ(Write(mmio, format), 18);
    ASSERT_EQ(mmioAscend(mmio, &chunk, 0), kOk);

    chunk = {};
    chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
    chunk.cksize = 4;
    ASSERT_EQ(mmioCreateChunk(mmio, &chunk, 0), kOk);
    Bytes count;
    PutLE32(count, 5);
    EXPECT_EQ(Write(mmio, count), 4);
    ASSERT_EQ(mmioAscend(mmio, &chunk, 0), kOk);

    chunk = {};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioCreateChunk(mmio, &chunk, 0), kOk);
    EXPECT_EQ(chunk.dwDataOffset, 58u);
    Bytes samples = { 0x80, 0x90, 0xA0 };
    EXPECT_EQ(Write(mmio, samples), 3);
    EXPECT_EQ(Write(mmio, { 0xB0, 0xC0 }), 2);
    ASSERT_EQ(mmioAscend(mmio, &chunk, 0), kOk);
    EXPECT_EQ(chunk.cksize, 5u);

    ASSERT_EQ(mmioAscend(mmio, &riff, 0), kOk);
    EXPECT_EQ(mmioClose(mmio, 0), kOk);

    Bytes expected = Riff({ Chunk("fmt ", format), Chunk("fact", count),
                            Chunk("data", { 0x80, 0x90, 0xA0, 0xB0, 0xC0 }) });
    ASSERT_EQ(expected.size(), 64u);
    EXPECT_EQ(ReadDriveFile("plumery.wav"), expected);
    EXPECT_EQ(riff.cksize, 56u);
    EXPECT_EQ(LiveMmioHandles(), 0u);
}

// Whatever size a chunk was created with, ascend leaves the real length (pad excluded) in the
// file and the record, with one zero byte after an odd length.
TEST(Mmio, AscendFixesSizeAndPadsOddChunks)
{
    struct Case {
        char const* name;
        DWORD declared;
        size_t written;
    };
    Case const cases[] = {
        { "empty", 0, 0 },
        { "one byte", 0, 1 },
        { "even, declared too large", 100, 2 },
        { "odd, declared right", 7, 7 },
        { "declared too small", 1, 8 },
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        HMMIO mmio = CreateRiffFile("c:\\chunk.bin");
        ASSERT_NE(mmio, nullptr);
        MMCKINFO chunk {};
        chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        chunk.cksize = c.declared;
        ASSERT_EQ(mmioCreateChunk(mmio, &chunk, 0), kOk);
        Bytes body = Ramp(c.written);
        EXPECT_EQ(Write(mmio, body), static_cast<LONG>(c.written));
        ASSERT_EQ(mmioAscend(mmio, &chunk, 0), kOk);
        EXPECT_EQ(chunk.cksize, c.written);
        // What follows the chunk lands after the pad.
        EXPECT_EQ(Write(mmio, { 0xEE }), 1);
        EXPECT_EQ(mmioClose(mmio, 0), kOk);

        Bytes expected = Chunk("data", body);
        expected.push_back(0xEE);
        EXPECT_EQ(ReadDriveFile("chunk.bin"), expected);
    }
}

TEST(Mmio, FailuresAnswerTheirCodes)
{
    char missingFolder[] = "c:\\no such folder\\x.wav";
    MMIOINFO info {};
    EXPECT_EQ(mmioOpenA(missingFolder, &info, MMIO_CREATE | MMIO_READWRITE), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_PATHNOTFOUND));

    char missingFile[] = "c:\\missing.wav";
    EXPECT_EQ(mmioOpenA(missingFile, &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_FILENOTFOUND));
    EXPECT_EQ(LiveMmioHandles(), 0u);

    // An existing file is emptied.
    std::ofstream(pw::platform::testing::DriveRoot() + "/old.wav") << "previous contents";
    HMMIO mmio = CreateRiffFile("C:\\OLD.WAV");
    ASSERT_NE(mmio, nullptr);
    EXPECT_EQ(mmioWrite(mmio, "abc", -1), -1);
    EXPECT_EQ(mmioClose(mmio, 0), kOk);
    EXPECT_TRUE(ReadDriveFile("old.wav").empty());

    // A closed handle stays dead.
    EXPECT_EQ(mmioClose(mmio, 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioWrite(mmio, "abc", 3), -1);
    MMCKINFO chunk {};
    EXPECT_EQ(mmioCreateChunk(mmio, &chunk, 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}
