// The wave recorder's module state and the inner operations its source files share.
#pragma once

#include <windows.h>

#include <mmsystem.h>
#include <msacm.h>

#include <cstdint>

namespace pw::graphics::wave {

constexpr uint32_t kBufferSize = 8000;
constexpr uint32_t kPathSize = 256;
// Bytes spooled after which a recording stops: with the limit tested before each block, a
// recording left to run ends with six blocks.
constexpr uint32_t kRecordLimit = 44110;

struct State {
    HMODULE library { nullptr };
    PFNACMMETRICS acmMetrics { nullptr };
    PFNACMFORMATTAGDETAILSA acmFormatTagDetails { nullptr };
    PFNACMFORMATDETAILSA acmFormatDetails { nullptr };

    HGLOBAL formatHandle { nullptr };
    WAVEFORMATEX* format { nullptr };
    uint32_t formatSize { 0 };
    char formatTagName[ACMFORMATTAGDETAILS_FORMATTAG_CHARS] {};
    char formatName[ACMFORMATDETAILS_FORMAT_CHARS] {};

    HGLOBAL headerHandles[2] {};
    WAVEHDR* headers[2] {};
    HGLOBAL bufferHandles[2] {};
    char* buffers[2] {};
    // Whether each header was handed to the device since it was last seen done.
    bool queued[2] {};
    uint32_t blockLength { 0 };
    uint16_t currentBuffer { 0 };

    HWAVEIN waveIn { nullptr };
    HWAVEOUT waveOut { nullptr };
    bool deviceOpen { false };
    bool recording { false };

    char spoolName[kPathSize] {};
    HANDLE spoolFile { INVALID_HANDLE_VALUE };
    uint32_t recordedLength { 0 };
    uint32_t bytesDone { 0 };

    char savePath[kPathSize] {};
    bool saveNameBuilt { false };
};

State& Recorder();

// Sets the block length from the format's block alignment and readies both headers.
void WaveCheckFormat();
// Waits, for a bounded time, until the device marks the header done; true at once for a header
// that is not queued. False when the device did not finish it in time.
bool WaitForHeader(uint16_t which);
// A unique temporary file in the current folder, created empty; false when none can be made.
bool MakeTemporaryFile(char (&name)[kPathSize]);
// Deletes the file and empties the name; nothing for an empty name.
void DeleteNamedFile(char (&name)[kPathSize]);
void CloseSpoolFile();

} // namespace pw::graphics::wave
