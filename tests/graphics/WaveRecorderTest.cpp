// The wave recorder and the dialog's logic over it, on the recording sound device: recording to
// the length limit, playing back, saving, the no-recording message, and a device that is missing
// or stops delivering. Every path must leave no device, block or temporary file behind.
#include "graphics/WaveRecorder.h"

#include "foundation/Memory.h"
#include "graphics/Sound.h"
#include "graphics/SoundRecorder.h"

#include "foundation/AlertFixture.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/winmm/WinmmTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using pw::graphics::SoundRecorder;
using pw::platform::winmm::SoundEvent;
namespace winmm = pw::platform::winmm::testing;

namespace {

using Bytes = std::vector<uint8_t>;

std::filesystem::path Root()
{
    return pw::platform::testing::DriveRoot();
}

// A file of the current folder ("c:\") by its Windows path.
std::filesystem::path HostPath(const std::string& windowsPath)
{
    return Root() / windowsPath.substr(3);
}

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<std::string> TemporaryFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Root()))
        if (entry.path().extension() == ".tmp")
            names.push_back(entry.path().filename().string());
    return names;
}

// Everything the output device played, in order.
Bytes Played()
{
    Bytes bytes;
    for (const SoundEvent& event : winmm::SoundLog())
        if (event.kind == SoundEvent::Kind::WaveOut)
            bytes.insert(bytes.end(), event.bytes.begin(), event.bytes.end());
    return bytes;
}

// The test signal of 1000 bytes, as the device delivers it: repeated from its start.
Bytes Signal(size_t length = 1000)
{
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>((i % 1000) * 7 + 3);
    return bytes;
}

// Steps until the recorder goes idle; answers how many steps that took (at most `limit`).
int StepUntilIdle(SoundRecorder& recorder, int limit = 100)
{
    int steps = 0;
    while (recorder.GetMode() != SoundRecorder::Mode::Idle && steps < limit) {
        recorder.Step();
        ++steps;
    }
    return steps;
}

class Recorder : public AlertsShown {
protected:
    void SetUp() override
    {
        AlertsShown::SetUp();
        blocks = pw::platform::testing::LiveGlobalBlocks();
        winmm::SetTestSignal(Signal());
        ASSERT_TRUE(recorder.Start());
    }
    void TearDown() override
    {
        WaveShutdown();
        EXPECT_EQ(winmm::LiveWaveHandles(), 0u);
        EXPECT_EQ(winmm::LiveMmioHandles(), 0u);
        EXPECT_EQ(pw::platform::testing::LiveFileHandles(), 0u);
        EXPECT_EQ(pw::platform::testing::LiveGlobalBlocks(), blocks);
        EXPECT_TRUE(TemporaryFiles().empty());
        AlertsShown::TearDown();
    }

    void RecordToTheLimit()
    {
        recorder.Record();
        StepUntilIdle(recorder);
    }

    SoundRecorder recorder;
    size_t blocks { 0 };
};

} // namespace

TEST_F(Recorder, RecordsSixBlocksThenPlaysAndSavesThem)
{
    recorder.Record();
    EXPECT_EQ(StepUntilIdle(recorder), 7);
    EXPECT_EQ(pw::graphics::WaveRecordedLength(), 48000u);
    Bytes recorded = Signal(48000);
    EXPECT_EQ(FileBytes(HostPath(pw::graphics::WaveSpoolFileName())), recorded);

    recorder.Play();
    EXPECT_EQ(recorder.GetMode(), SoundRecorder::Mode::Playing);
    StepUntilIdle(recorder);
    EXPECT_EQ(Played(), recorded);

    ASSERT_TRUE(recorder.Save());
    SmartPtr<Sound> sound = recorder.GetSound();
    ASSERT_TRUE(sound.Valid());
    const auto* image = static_cast<const uint8_t*>(sound->GetData().Ptr());
    // The format block is the compression manager's largest format: an 18-byte "fmt " chunk.
    const Bytes header = {
        'R', 'I', 'F', 'F', 0xB2, 0xBB, 0x00, 0x00, 'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 0x12, 0x00, 0x00, 0x00,
        0x01, 0x00, 0x01, 0x00, 0x22, 0x56, 0x00, 0x00, 0x22, 0x56, 0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x00, 0x00,
        'f', 'a', 'c', 't', 0x04, 0x00, 0x00, 0x00, 0x80, 0xBB, 0x00, 0x00,
        'd', 'a', 't', 'a', 0x80, 0xBB, 0x00, 0x00,
    };
    ASSERT_EQ(sound->GetData().Size(), header.size() + 48000);
    EXPECT_EQ(Bytes(image, image + header.size()), header);
    EXPECT_EQ(Bytes(image + header.size(), image + header.size() + 48000), recorded);
    EXPECT_STREQ(pw::graphics::WaveFormatTagName(), "PCM");
    EXPECT_STREQ(pw::graphics::WaveFormatName(), "22.050 kHz, 8 Bit, Mono");
}

TEST_F(Recorder, PlayAndSaveBeforeAnyRecordingShowTheNoRecordingMessage)
{
    EXPECT_EQ(WavePlayStart(), -1);
    EXPECT_EQ(WaveWriteRecording(), nullptr);
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK });
    recorder.Play();
    EXPECT_EQ(recorder.GetMode(), SoundRecorder::Mode::Idle);
    EXPECT_FALSE(recorder.Save());
    EXPECT_FALSE(recorder.GetSound().Valid());
    EXPECT_EQ(Shown(), std::vector<std::string>(2, SoundRecorder::NoRecordingMessage()));
    EXPECT_TRUE(pw::platform::testing::AlertLog()[0].style & MB_ICONSTOP);

    // A recording stopped before its first step has nothing in it.
    recorder.Record();
    recorder.Stop();
    EXPECT_EQ(pw::graphics::WaveRecordedLength(), 0u);
    EXPECT_EQ(WavePlayStart(), -1);
}

TEST_F(Recorder, RecordingAgainReplacesTheSpoolFileAndSavingAgainTheSavedFile)
{
    RecordToTheLimit();
    std::string first = pw::graphics::WaveSpoolFileName();
    ASSERT_TRUE(recorder.Save());
    EXPECT_EQ(TemporaryFiles().size(), 2u);

    recorder.Record();
    recorder.Step();
    recorder.Stop();
    EXPECT_EQ(pw::graphics::WaveRecordedLength(), 8000u);
    EXPECT_NE(pw::graphics::WaveSpoolFileName(), first);
    EXPECT_FALSE(std::filesystem::exists(HostPath(first)));
    // A recording of one block plays (the start waits only for the blocks it queued).
    recorder.Play();
    StepUntilIdle(recorder);
    EXPECT_EQ(Played(), Signal(8000));

    // The second save writes over the first save's file, and nothing else of the folder's.
    std::ofstream(Root() / "plumery.wav") << "the child's own file";
    const char* path = WaveWriteRecording();
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(TemporaryFiles().size(), 2u);
    EXPECT_EQ(FileBytes(HostPath(path)).size(), 58u + 8000u);
    EXPECT_EQ(FileBytes(Root() / "plumery.wav").size(), 20u);
    std::filesystem::remove(Root() / "plumery.wav");
}

TEST_F(Recorder, WithoutADeviceNothingStartsAndNothingIsLeft)
{
    winmm::SetNoDevice(true);
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    recorder.Record();
    EXPECT_EQ(recorder.GetMode(), SoundRecorder::Mode::Idle);
    EXPECT_EQ(Shown().size(), 1u);
    EXPECT_STREQ(pw::graphics::WaveSpoolFileName(), "");
    EXPECT_TRUE(TemporaryFiles().empty());
    EXPECT_EQ(WavePlayStart(), -1);
}

// A stalled device ends the step after a bounded wait (the clock moves a little on every read).
TEST_F(Recorder, ADeviceThatStopsDeliveringEndsTheStepInsteadOfTheProgram)
{
    winmm::SetDeviceStalled(true);
    recorder.Record();
    ASSERT_EQ(recorder.GetMode(), SoundRecorder::Mode::Recording);
    uint64_t before = pw::platform::testing::ClockMs();
    EXPECT_EQ(StepUntilIdle(recorder), 1);
    EXPECT_LT(pw::platform::testing::ClockMs() - before, 5000u);
    EXPECT_EQ(pw::graphics::WaveRecordedLength(), 0u);

    winmm::SetDeviceStalled(false);
    RecordToTheLimit();
    winmm::SetDeviceStalled(true);
    EXPECT_EQ(WavePlayStart(), 0);
    EXPECT_FALSE(pw::graphics::WaveDeviceOpen());
    EXPECT_EQ(winmm::LiveWaveHandles(), 0u);
}

TEST_F(Recorder, ShuttingDownStopsARunningDeviceAndDeletesTheFiles)
{
    RecordToTheLimit();
    ASSERT_TRUE(recorder.Save());
    recorder.Play();
    ASSERT_TRUE(pw::graphics::WaveDeviceOpen());
    WaveShutdown();
    EXPECT_FALSE(pw::graphics::WaveDeviceOpen());
    EXPECT_EQ(winmm::LiveWaveHandles(), 0u);
    EXPECT_TRUE(TemporaryFiles().empty());

    // Shut down, it does nothing until started again; one device at a time.
    EXPECT_EQ(WaveRecordStart(), 0);
    ASSERT_EQ(WaveStartup(), 1);
    EXPECT_EQ(WaveRecordStart(), 1);
    EXPECT_EQ(WavePlayStart(), 0);
}
