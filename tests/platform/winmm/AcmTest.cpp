#include <windows.h>
#include <msacm.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/winmm/WaveBytes.h"

using pw::platform::winmm::testing::PcmWaveFormat;

namespace {

constexpr MMRESULT kOk = MMSYSERR_NOERROR;

} // namespace

// The program passes the 32-bit sizes (72 and 152); our own sizeof is taken too.
TEST(Acm, FormatTagDetails)
{
    for (DWORD cbStruct : { DWORD { 72 }, DWORD { sizeof(ACMFORMATTAGDETAILSA) }, DWORD { 71 } }) {
        SCOPED_TRACE(cbStruct);
        ACMFORMATTAGDETAILSA details {};
        details.cbStruct = cbStruct;
        details.dwFormatTag = WAVE_FORMAT_PCM;
        MMRESULT result = acmFormatTagDetailsA(nullptr, &details, ACM_FORMATTAGDETAILSF_FORMATTAG);
        if (cbStruct == 71) {
            EXPECT_EQ(result, static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
            continue;
        }
        EXPECT_EQ(result, kOk);
        EXPECT_STREQ(details.szFormatTag, "PCM");
        EXPECT_EQ(details.cbFormatSize, 16u);
    }
    ACMFORMATTAGDETAILSA other {};
    other.cbStruct = 72;
    other.dwFormatTag = 2;
    EXPECT_EQ(acmFormatTagDetailsA(nullptr, &other, ACM_FORMATTAGDETAILSF_FORMATTAG),
              static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
}

TEST(Acm, FormatDetailsDescribeThePcmFormat)
{
    struct Case {
        WAVEFORMATEX format;
        DWORD cbStruct;
        MMRESULT expected;
        char const* name;
    };
    WAVEFORMATEX compressed = PcmWaveFormat(1, 22050, 8);
    compressed.wFormatTag = 2;
    WAVEFORMATEX badAlign = PcmWaveFormat(2, 22050, 8);
    badAlign.nBlockAlign = 1;
    Case const cases[] = {
        { PcmWaveFormat(1, 22050, 8), 152, kOk, "22.050 kHz, 8 Bit, Mono" },
        { PcmWaveFormat(2, 44100, 16), sizeof(ACMFORMATDETAILSA), kOk, "44.100 kHz, 16 Bit, Stereo" },
        { PcmWaveFormat(1, 8000, 8), 152, kOk, "8.000 kHz, 8 Bit, Mono" },
        { compressed, 152, ACMERR_NOTPOSSIBLE, "" },
        { badAlign, 152, ACMERR_NOTPOSSIBLE, "" },
        { PcmWaveFormat(1, 22050, 8), 148, MMSYSERR_INVALPARAM, "" },
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(testing::Message() << c.format.nSamplesPerSec << " Hz, cbStruct " << c.cbStruct);
        WAVEFORMATEX format = c.format;
        ACMFORMATDETAILSA details {};
        details.cbStruct = c.cbStruct;
        details.dwFormatTag = format.wFormatTag;
        details.pwfx = &format;
        details.cbwfx = 18;
        EXPECT_EQ(acmFormatDetailsA(nullptr, &details, ACM_FORMATDETAILSF_FORMAT), c.expected);
        EXPECT_EQ(std::string(details.szFormat), c.name);
    }
}

// The recorder's start-up: the module and its entry points by name, called through typed pointers.
TEST(Acm, ReachedThroughLoadLibrary)
{
    HMODULE module = LoadLibraryA("MSACM32");
    ASSERT_NE(module, nullptr);
    auto metrics = reinterpret_cast<PFNACMMETRICS>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "acmMetrics")));
    ASSERT_NE(metrics, nullptr);
    EXPECT_NE(GetProcAddress(module, "acmFormatTagDetailsA"), nullptr);
    EXPECT_NE(GetProcAddress(module, "acmFormatDetailsA"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "acmStreamOpen"), nullptr);

    // PCM is the only format, so the largest format block is a plain 18-byte WAVEFORMATEX.
    DWORD size = 0;
    EXPECT_EQ(metrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &size), kOk);
    EXPECT_EQ(size, 18u);
    EXPECT_TRUE(FreeLibrary(module));
}
