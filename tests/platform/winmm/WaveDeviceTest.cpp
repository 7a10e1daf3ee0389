#include <mmsystem.h>

#include <gtest/gtest.h>

#include "platform/testing/Reset.h"
#include "platform/winmm/WaveBytes.h"
#include "platform/winmm/WinmmTesting.h"

using namespace pw::platform::winmm::testing;

namespace {

constexpr MMRESULT kOk = MMSYSERR_NOERROR;

constexpr size_t kBlock = 8000;

bool IsDone(WAVEHDR const& header)
{
    return header.dwFlags & WHDR_DONE;
}

HWAVEIN OpenIn()
{
    return OpenRecorderStream(waveInOpen);
}

HWAVEOUT OpenOut()
{
    return OpenRecorderStream(waveOutOpen);
}

} // namespace

// The recorder's loop on the headless device: queue both, start, then spool each done buffer and
// queue it again. The spooled bytes are the test signal, continuous across buffers.
TEST(WaveIn, RecordsTheTestSignalInQueueOrder)
{
    Bytes signal = Ramp(251);
    SetTestSignal(signal);
    EXPECT_EQ(waveInGetNumDevs(), 1u);
    HWAVEIN in = OpenIn();
    ASSERT_NE(in, nullptr);
    WaveBuffers buffers(kBlock);
    for (WAVEHDR& header : buffers.headers) {
        ASSERT_EQ(waveInPrepareHeader(in, &header, sizeof(WAVEHDR)), kOk);
        EXPECT_EQ(header.dwFlags, static_cast<DWORD>(WHDR_PREPARED));
    }
    ASSERT_EQ(waveInAddBuffer(in, &buffers.headers[0], sizeof(WAVEHDR)), kOk);
    // Queued but not started: nothing is recorded yet.
    EXPECT_EQ(buffers.headers[0].dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_INQUEUE));
    ASSERT_EQ(waveInStart(in), kOk);
    ASSERT_EQ(waveInAddBuffer(in, &buffers.headers[1], sizeof(WAVEHDR)), kOk);

    Bytes spooled;
    for (int block = 0; block < 6; ++block) {
        WAVEHDR& header = buffers.headers[block % 2];
        ASSERT_TRUE(IsDone(header)) << "block " << block;
        EXPECT_FALSE(header.dwFlags & WHDR_INQUEUE);
        ASSERT_EQ(header.dwBytesRecorded, kBlock);
        auto const* bytes = reinterpret_cast<uint8_t const*>(header.lpData);
        spooled.insert(spooled.end(), bytes, bytes + header.dwBytesRecorded);
        ASSERT_EQ(waveInAddBuffer(in, &header, sizeof(WAVEHDR)), kOk);
    }
    ASSERT_EQ(waveInReset(in), kOk);
    for (WAVEHDR& header : buffers.headers) {
        EXPECT_TRUE(IsDone(header));
        EXPECT_EQ(waveInUnprepareHeader(in, &header, sizeof(WAVEHDR)), kOk);
        EXPECT_FALSE(header.dwFlags & WHDR_PREPARED);
    }
    EXPECT_EQ(waveInClose(in), kOk);
    EXPECT_EQ(LiveWaveHandles(), 0u);

    for (size_t i = 0; i < spooled.size(); ++i)
        ASSERT_EQ(spooled[i], signal[i % signal.size()]) << "byte " << i;
}

// The error codes the recorder and player rely on, with the device holding buffers.
TEST(WaveIn, StateMachineErrors)
{
    HWAVEIN in = OpenIn();
    ASSERT_NE(in, nullptr);
    WaveBuffers buffers(kBlock);
    WAVEHDR& header = buffers.headers[0];

    WAVEFORMATEX format = RecorderFormat();
    HWAVEIN second = nullptr;
    EXPECT_EQ(waveInOpen(&second, WAVE_MAPPER, &format, 0, 0, 0), static_cast<MMRESULT>(MMSYSERR_ALLOCATED));
    EXPECT_EQ(waveInAddBuffer(in, &header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));

    // The 32-bit size and our own are both taken; anything else is a bad parameter.
    EXPECT_EQ(waveInPrepareHeader(in, &header, 32), kOk);
    EXPECT_EQ(waveInPrepareHeader(in, &header, 40), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));

    ASSERT_EQ(waveInAddBuffer(in, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveInAddBuffer(in, &header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
    EXPECT_EQ(waveInUnprepareHeader(in, &header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
    EXPECT_EQ(waveInClose(in), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
    EXPECT_TRUE(header.dwFlags & WHDR_PREPARED);

    // Reset before start: done with nothing recorded.
    EXPECT_EQ(waveInReset(in), kOk);
    EXPECT_TRUE(IsDone(header));
    EXPECT_EQ(header.dwBytesRecorded, 0u);
    EXPECT_EQ(waveInUnprepareHeader(in, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveInClose(in), kOk);

    EXPECT_EQ(waveInStart(in), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(waveInClose(in), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST(WaveOut, PlaysEachBufferAtOnceAndLogsIt)
{
    HWAVEOUT out = OpenOut();
    ASSERT_NE(out, nullptr);
    WaveBuffers buffers(kBlock);
    buffers.headers[1].dwBufferLength = 1234; // the last block of a recording is short
    for (WAVEHDR& header : buffers.headers) {
        ASSERT_EQ(waveOutPrepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
        header.dwFlags = WHDR_PREPARED; // as the player sets it before each write
        ASSERT_EQ(waveOutWrite(out, &header, sizeof(WAVEHDR)), kOk);
        EXPECT_EQ(header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_DONE));
    }
    ASSERT_EQ(SoundLog().size(), 2u);
    EXPECT_EQ(SoundLog()[0].kind, pw::platform::winmm::SoundEvent::Kind::WaveOut);
    EXPECT_EQ(SoundLog()[0].bytes, buffers.data[0]);
    EXPECT_EQ(SoundLog()[1].length, 1234u);
    EXPECT_EQ(SoundLog()[0].format.samplesPerSec, 22050u);

    EXPECT_EQ(waveOutReset(out), kOk);
    for (WAVEHDR& header : buffers.headers)
        EXPECT_EQ(waveOutUnprepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveOutClose(out), kOk);
    EXPECT_EQ(LiveWaveHandles(), 0u);
}

TEST(WaveOut, StateMachineErrorsOnAStalledDevice)
{
    SetDeviceStalled(true);
    HWAVEOUT out = OpenOut();
    ASSERT_NE(out, nullptr);
    WaveBuffers buffers(kBlock);
    WAVEHDR& header = buffers.headers[0];
    EXPECT_EQ(waveOutWrite(out, &header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));
    ASSERT_EQ(waveOutPrepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
    ASSERT_EQ(waveOutWrite(out, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_FALSE(IsDone(header));
    EXPECT_EQ(waveOutUnprepareHeader(out, &header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
    EXPECT_EQ(waveOutClose(out), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
    EXPECT_EQ(waveOutReset(out), kOk);
    EXPECT_TRUE(IsDone(header));
    EXPECT_TRUE(SoundLog().empty());
    EXPECT_EQ(waveOutUnprepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveOutClose(out), kOk);
}

TEST(WaveDevices, OpenFailures)
{
    struct Case {
        char const* name;
        WAVEFORMATEX format;
        UINT device;
        DWORD flags;
        MMRESULT expected;
    };
    WAVEFORMATEX compressed = RecorderFormat();
    compressed.wFormatTag = 2;
    WAVEFORMATEX monoBlock = RecorderFormat();
    monoBlock.nChannels = 2;
    Case const cases[] = {
        { "the mapper", RecorderFormat(), WAVE_MAPPER, WAVE_ALLOWSYNC, kOk },
        { "device 0", RecorderFormat(), 0, 0, kOk },
        { "16-bit stereo", PcmWaveFormat(2, 44100, 16), WAVE_MAPPER, 0, kOk },
        { "device 1", RecorderFormat(), 1, 0, MMSYSERR_BADDEVICEID },
        { "callback function", RecorderFormat(), WAVE_MAPPER, 0x00030000, MMSYSERR_INVALFLAG },
        { "not PCM", compressed, WAVE_MAPPER, 0, WAVERR_BADFORMAT },
        { "12 bits", PcmWaveFormat(1, 22050, 12), WAVE_MAPPER, 0, WAVERR_BADFORMAT },
        { "no channels", PcmWaveFormat(0, 22050, 8), WAVE_MAPPER, 0, WAVERR_BADFORMAT },
        { "rate 0", PcmWaveFormat(1, 0, 8), WAVE_MAPPER, 0, WAVERR_BADFORMAT },
        { "stereo with a mono block", monoBlock, WAVE_MAPPER, 0, WAVERR_BADFORMAT },
        { "no device", RecorderFormat(), WAVE_MAPPER, 0, MMSYSERR_NODRIVER },
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        bool noDevice = c.expected == MMSYSERR_NODRIVER;
        SetNoDevice(noDevice);
        EXPECT_EQ(waveInGetNumDevs(), noDevice ? 0u : 1u);
        HWAVEIN in = reinterpret_cast<HWAVEIN>(1);
        HWAVEOUT out = nullptr;
        EXPECT_EQ(waveInOpen(&in, c.device, &c.format, 0, 0, c.flags), c.expected);
        EXPECT_EQ(waveOutOpen(&out, c.device, &c.format, 0, 0, c.flags), c.expected);
        EXPECT_EQ(in != nullptr, c.expected == kOk);
        waveInClose(in);
        waveOutClose(out);
        EXPECT_EQ(LiveWaveHandles(), 0u);
    }
}

// Handles of one direction are not handles of the other, and the test reset closes whatever a
// test left open without touching its (by then freed) headers.
TEST(WaveDevices, HandlesAreCheckedAndResetClosesThem)
{
    HWAVEIN in = OpenIn();
    HWAVEOUT out = OpenOut();
    EXPECT_EQ(waveOutClose(reinterpret_cast<HWAVEOUT>(in)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(waveInReset(reinterpret_cast<HWAVEIN>(out)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(waveInStart(nullptr), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    {
        WaveBuffers buffers(kBlock);
        ASSERT_EQ(waveInPrepareHeader(in, &buffers.headers[0], sizeof(WAVEHDR)), kOk);
        ASSERT_EQ(waveInAddBuffer(in, &buffers.headers[0], sizeof(WAVEHDR)), kOk);
    }
    EXPECT_EQ(LiveWaveHandles(), 2u);
    pw::platform::testing::ResetPlatform();
    EXPECT_EQ(LiveWaveHandles(), 0u);
    EXPECT_EQ(waveInClose(in), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}
