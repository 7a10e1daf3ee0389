// The SDL device on SDL's dummy driver, which consumes and produces samples in real time on its
// own thread: buffers must finish in order, from that thread, with the counts set before the flag.
#include "platform/backends/sdl/SdlAudioDevice.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/winmm/WaveBytes.h"

using namespace pw::platform::winmm::testing;

namespace {

constexpr MMRESULT kOk = MMSYSERR_NOERROR;

class SdlAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        auto device = std::make_unique<pw::platform::SdlAudioDevice>();
        m_device = device.get();
        pw::platform::winmm::SetAudioDevice(std::move(device));
    }
    void TearDown() override
    {
        pw::platform::winmm::SetAudioDevice(nullptr);
        unsetenv("SDL_AUDIODRIVER");
    }

    pw::platform::SdlAudioDevice* m_device = nullptr;
};

// Spins on the flag as the recorder does, reading it with acquire ordering; bounded at 5 s.
bool WaitDone(WAVEHDR& header)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(std::atomic_ref<DWORD>(header.dwFlags).load(std::memory_order_acquire) & WHDR_DONE)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

TEST_F(SdlAudio, WaveOutFinishesBuffersInOrder)
{
    HWAVEOUT out = OpenRecorderStream(waveOutOpen);
    ASSERT_NE(out, nullptr);
    WaveBuffers buffers(1102);
    for (WAVEHDR& header : buffers.headers) {
        ASSERT_EQ(waveOutPrepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
        ASSERT_EQ(waveOutWrite(out, &header, sizeof(WAVEHDR)), kOk);
    }
    ASSERT_TRUE(WaitDone(buffers.headers[1]));
    EXPECT_TRUE(buffers.headers[0].dwFlags & WHDR_DONE);
    for (WAVEHDR& header : buffers.headers)
        EXPECT_EQ(waveOutUnprepareHeader(out, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveOutClose(out), kOk);
}

TEST_F(SdlAudio, WaveInFillsQueuedBuffersOnceStarted)
{
    HWAVEIN in = OpenRecorderStream(waveInOpen);
    ASSERT_NE(in, nullptr);
    WaveBuffers buffers(1102);
    for (WAVEHDR& header : buffers.headers) {
        ASSERT_EQ(waveInPrepareHeader(in, &header, sizeof(WAVEHDR)), kOk);
        ASSERT_EQ(waveInAddBuffer(in, &header, sizeof(WAVEHDR)), kOk);
    }
    ASSERT_EQ(waveInStart(in), kOk);
    ASSERT_TRUE(WaitDone(buffers.headers[1]));
    for (WAVEHDR& header : buffers.headers)
        EXPECT_EQ(header.dwBytesRecorded, header.dwBufferLength);
    ASSERT_EQ(waveInReset(in), kOk);
    for (WAVEHDR& header : buffers.headers)
        EXPECT_EQ(waveInUnprepareHeader(in, &header, sizeof(WAVEHDR)), kOk);
    EXPECT_EQ(waveInClose(in), kOk);
}

TEST_F(SdlAudio, SoundsPlayAndStop)
{
    Bytes image = SimpleWave(Ramp(22050));
    ASSERT_TRUE(sndPlaySoundA(reinterpret_cast<LPCSTR>(image.data()), SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    pw::platform::winmm::PlayBeep(0xFFFFFFFF);
    EXPECT_TRUE(m_device->IsSoundPlaying());
    ASSERT_TRUE(sndPlaySoundA(nullptr, 0));
    EXPECT_FALSE(m_device->IsSoundPlaying());

    // Without SND_ASYNC the call returns once the sound (50 ms here) has been heard.
    Bytes shortSound = SimpleWave(Ramp(1102));
    ASSERT_TRUE(sndPlaySoundA(reinterpret_cast<LPCSTR>(shortSound.data()), SND_NODEFAULT | SND_MEMORY));
    EXPECT_FALSE(m_device->IsSoundPlaying());
}
