// The audio compression manager's stand-in: it knows PCM only, which is all the program asks about
// (the size of a format block and the names of its one format).
#include <cstdio>
#include <cstring>

#include <msacm.h>

#include "platform/kernel/BuiltInModules.h"
#include "platform/winmm/WaveImage.h"

using namespace pw::platform::winmm;

namespace {

// The 32-bit platform's structure sizes, which callers written for it pass as cbStruct.
constexpr DWORD kFormatTagDetailsSize32 = 72;
constexpr DWORD kFormatDetailsSize32 = 152;

// The size of PCMWAVEFORMAT: WAVEFORMATEX without cbSize.
constexpr DWORD kPcmFormatSize = 16;

// Rates 8000, 11025, 22050 and 44100 Hz, each in 8 and 16 bits, mono and stereo.
constexpr DWORD kStandardPcmFormats = 16;

template <typename Function>
FARPROC Export(Function* function)
{
    // Through void (*)(), the one function pointer type that converts without a cast warning.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

} // namespace

// ACM_METRIC_MAX_SIZE_FORMAT: the largest format block, 18 (sizeof WAVEFORMATEX): PCM is the only
// format known, so the block is a plain WAVEFORMATEX. No other metric is kept.
MMRESULT ACMAPI acmMetrics(HACMOBJ hao, UINT uMetric, LPVOID pMetric)
{
    if (hao)
        return MMSYSERR_INVALHANDLE;
    if (!pMetric)
        return MMSYSERR_INVALPARAM;
    if (uMetric != ACM_METRIC_MAX_SIZE_FORMAT)
        return MMSYSERR_NOTSUPPORTED;
    DWORD size = sizeof(WAVEFORMATEX);
    std::memcpy(pMetric, &size, sizeof size);
    return MMSYSERR_NOERROR;
}

// ACM_FORMATTAGDETAILSF_FORMATTAG: the details of WAVE_FORMAT_PCM ("PCM"); ACMERR_NOTPOSSIBLE for
// any other tag.
MMRESULT ACMAPI acmFormatTagDetailsA(HACMDRIVER had, LPACMFORMATTAGDETAILSA paftd, DWORD fdwDetails)
{
    if (had)
        return MMSYSERR_INVALHANDLE;
    if (!paftd || (paftd->cbStruct != kFormatTagDetailsSize32 && paftd->cbStruct != sizeof(ACMFORMATTAGDETAILSA)))
        return MMSYSERR_INVALPARAM;
    if (fdwDetails != ACM_FORMATTAGDETAILSF_FORMATTAG)
        return MMSYSERR_INVALFLAG;
    if (paftd->dwFormatTag != WAVE_FORMAT_PCM)
        return ACMERR_NOTPOSSIBLE;
    paftd->dwFormatTagIndex = 0;
    paftd->cbFormatSize = kPcmFormatSize;
    paftd->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CONVERTER;
    paftd->cStandardFormats = kStandardPcmFormats;
    std::snprintf(paftd->szFormatTag, sizeof paftd->szFormatTag, "PCM");
    return MMSYSERR_NOERROR;
}

// ACM_FORMATDETAILSF_FORMAT: a description of the PCM format in pafd->pwfx, such as
// "22.050 kHz, 8 Bit, Mono"; ACMERR_NOTPOSSIBLE for a format that is not valid PCM.
MMRESULT ACMAPI acmFormatDetailsA(HACMDRIVER had, LPACMFORMATDETAILSA pafd, DWORD fdwDetails)
{
    if (had)
        return MMSYSERR_INVALHANDLE;
    if (!pafd || (pafd->cbStruct != kFormatDetailsSize32 && pafd->cbStruct != sizeof(ACMFORMATDETAILSA)))
        return MMSYSERR_INVALPARAM;
    if (fdwDetails != ACM_FORMATDETAILSF_FORMAT)
        return MMSYSERR_INVALFLAG;
    if (!pafd->pwfx || pafd->cbwfx < kPcmFormatSize)
        return MMSYSERR_INVALPARAM;
    // A PCM block may be the 16-byte form without cbSize; read only what the caller said is there.
    WAVEFORMATEX format {};
    std::memcpy(&format, pafd->pwfx, pafd->cbwfx < sizeof format ? pafd->cbwfx : sizeof format);
    if (pafd->dwFormatTag != format.wFormatTag)
        return MMSYSERR_INVALPARAM;
    auto pcm = PcmFormatFrom(format);
    if (!pcm)
        return ACMERR_NOTPOSSIBLE;
    pafd->dwFormatIndex = 0;
    pafd->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CONVERTER;
    std::snprintf(pafd->szFormat, sizeof pafd->szFormat, "%u.%03u kHz, %u Bit, %s", pcm->samplesPerSec / 1000,
                  pcm->samplesPerSec % 1000, static_cast<unsigned>(pcm->bitsPerSample),
                  pcm->channels == 1 ? "Mono" : "Stereo");
    return MMSYSERR_NOERROR;
}

namespace {
// The program reaches these only through LoadLibraryA("msacm32.dll") and GetProcAddress.
const bool registered = pw::platform::RegisterBuiltInModule("msacm32.dll",
    {
        { "acmMetrics", Export(&acmMetrics) },
        { "acmFormatTagDetailsA", Export(&acmFormatTagDetailsA) },
        { "acmFormatDetailsA", Export(&acmFormatDetailsA) },
    });
} // namespace
