// The recorder's start-up and shut-down, its format, headers and buffers, and the waits and
// temporary files the recording and playing steps share.
#include "graphics/WaveRecorder.h"

#include "graphics/WaveRecorderState.h"

#include <algorithm>
#include <atomic>
#include <cstring>

using namespace pw::graphics::wave;

namespace {

// A block lasts about 0.36 s; a device that has not finished one in this time has stopped.
constexpr DWORD kWaitLimitMs = 1500;

// Win32s answers GetVersion with the high bit set and a major version of 3 or less.
bool WaveIsWin32s()
{
    DWORD version = GetVersion();
    return (version & 0x80000000) && (version & 0xFF) <= 3;
}

// GetProcAddress answers a generic function pointer; the entry's own type is taken through the
// plain function pointer type.
template <typename Function>
Function Entry(HMODULE library, const char* name)
{
    FARPROC address = GetProcAddress(library, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

template <size_t Size>
void CopyName(char (&target)[Size], const char* source)
{
    const char* end = std::find(source, source + Size - 1, '\0');
    std::copy(source, end, target);
    target[end - source] = '\0';
}

// One moveable block, locked; false (nothing left allocated) when it cannot be had.
bool AllocLocked(UINT flags, SIZE_T size, HGLOBAL& handle, void*& pointer)
{
    handle = GlobalAlloc(flags, size);
    pointer = handle ? GlobalLock(handle) : nullptr;
    if (pointer)
        return true;
    if (handle)
        GlobalFree(handle);
    handle = nullptr;
    return false;
}

void FreeLocked(HGLOBAL& handle)
{
    if (!handle)
        return;
    GlobalUnlock(handle);
    GlobalFree(handle);
    handle = nullptr;
}

// The fixed format in a block of the size the compression manager gives the largest format (never
// less than the record itself), and the names the manager gives it.
bool WaveChooseFormat()
{
    State& state = Recorder();
    DWORD size = 0;
    if (!state.acmMetrics || state.acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &size) != MMSYSERR_NOERROR)
        size = 0;
    state.formatSize = size < sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) : size;
    void* block = nullptr;
    if (!AllocLocked(GMEM_MOVEABLE, state.formatSize, state.formatHandle, block))
        return false;
    std::memset(block, 0, state.formatSize);
    state.format = static_cast<WAVEFORMATEX*>(block);
    *state.format = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };

    if (state.acmFormatTagDetails) {
        ACMFORMATTAGDETAILSA details {};
        details.cbStruct = sizeof details;
        details.dwFormatTag = WAVE_FORMAT_PCM;
        if (state.acmFormatTagDetails(nullptr, &details, ACM_FORMATTAGDETAILSF_FORMATTAG) == MMSYSERR_NOERROR)
            CopyName(state.formatTagName, details.szFormatTag);
    }
    if (state.acmFormatDetails) {
        ACMFORMATDETAILSA details {};
        details.cbStruct = sizeof details;
        details.dwFormatTag = state.format->wFormatTag;
        details.pwfx = state.format;
        details.cbwfx = state.format->cbSize + 18u;
        if (state.acmFormatDetails(nullptr, &details, ACM_FORMATDETAILSF_FORMAT) == MMSYSERR_NOERROR)
            CopyName(state.formatName, details.szFormat);
    }
    return true;
}

bool WaveAllocHeaders()
{
    State& state = Recorder();
    for (int which = 0; which < 2; ++which) {
        void* header = nullptr;
        if (!AllocLocked(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, sizeof(WAVEHDR), state.headerHandles[which], header))
            return false;
        state.headers[which] = static_cast<WAVEHDR*>(header);
    }
    return true;
}

bool WaveAllocBuffers()
{
    State& state = Recorder();
    for (int which = 0; which < 2; ++which) {
        void* buffer = nullptr;
        if (!AllocLocked(GMEM_MOVEABLE | GMEM_SHARE, kBufferSize, state.bufferHandles[which], buffer))
            return false;
        state.buffers[which] = static_cast<char*>(buffer);
        state.headers[which]->lpData = state.buffers[which];
    }
    return true;
}

void WaveFreeFormat()
{
    FreeLocked(Recorder().formatHandle);
    Recorder().format = nullptr;
}

void WaveFreeHeaders()
{
    for (int which = 0; which < 2; ++which) {
        FreeLocked(Recorder().headerHandles[which]);
        Recorder().headers[which] = nullptr;
    }
}

void WaveFreeBuffers()
{
    for (int which = 0; which < 2; ++which) {
        FreeLocked(Recorder().bufferHandles[which]);
        Recorder().buffers[which] = nullptr;
    }
}

void WaveDeleteTempFile()
{
    CloseSpoolFile();
    DeleteNamedFile(Recorder().spoolName);
    DeleteNamedFile(Recorder().savePath);
}

} // namespace

State& pw::graphics::wave::Recorder()
{
    static State state;
    return state;
}

int16_t WaveStartup()
{
    WaveShutdown();
    State& state = Recorder();
    state.library = LoadLibraryA(WaveIsWin32s() ? "pwThuk32.dll" : "msacm32.dll");
    if (state.library) {
        state.acmMetrics = Entry<PFNACMMETRICS>(state.library, "acmMetrics");
        state.acmFormatTagDetails = Entry<PFNACMFORMATTAGDETAILSA>(state.library, "acmFormatTagDetailsA");
        state.acmFormatDetails = Entry<PFNACMFORMATDETAILSA>(state.library, "acmFormatDetailsA");
    }
    if (!WaveChooseFormat()) {
        WaveShutdown();
        return 0;
    }
    waveInGetNumDevs();
    if (!WaveAllocHeaders() || !WaveAllocBuffers()) {
        WaveShutdown();
        return 0;
    }
    return 1;
}

void WaveShutdown()
{
    State& state = Recorder();
    if (state.deviceOpen) {
        if (state.recording)
            WaveRecordStop();
        else
            WavePlayStop();
    }
    WaveFreeFormat();
    WaveFreeBuffers();
    WaveFreeHeaders();
    WaveDeleteTempFile();
    if (state.library)
        FreeLibrary(state.library);
    state = State();
}

void pw::graphics::wave::WaveCheckFormat()
{
    State& state = Recorder();
    uint32_t alignment = state.format->nBlockAlign ? state.format->nBlockAlign : 1;
    state.blockLength = kBufferSize - kBufferSize % alignment;
    for (int which = 0; which < 2; ++which) {
        std::memset(state.headers[which], 0, sizeof(WAVEHDR));
        state.headers[which]->dwBufferLength = state.blockLength;
        state.headers[which]->lpData = state.buffers[which];
        state.queued[which] = false;
    }
}

// The device marks the header from its own thread: the flags are read as an atomic so that the
// read is repeated and the bytes it recorded are seen once the done bit is.
bool pw::graphics::wave::WaitForHeader(uint16_t which)
{
    State& state = Recorder();
    if (!state.queued[which])
        return true;
    std::atomic_ref<DWORD> flags(state.headers[which]->dwFlags);
    DWORD start = GetTickCount();
    while (!(flags.load(std::memory_order_acquire) & WHDR_DONE)) {
        if (GetTickCount() - start > kWaitLimitMs)
            return false;
    }
    state.queued[which] = false;
    return true;
}

bool pw::graphics::wave::MakeTemporaryFile(char (&name)[kPathSize])
{
    char folder[kPathSize];
    DWORD length = GetCurrentDirectoryA(kPathSize, folder);
    if (length == 0 || length >= kPathSize)
        return false;
    char made[MAX_PATH];
    if (GetTempFileNameA(folder, "wr", 0, made) == 0)
        return false;
    if (std::strlen(made) >= kPathSize) {
        DeleteFileA(made);
        return false;
    }
    std::strcpy(name, made);
    return true;
}

void pw::graphics::wave::DeleteNamedFile(char (&name)[kPathSize])
{
    if (name[0] != '\0')
        DeleteFileA(name);
    name[0] = '\0';
}

void pw::graphics::wave::CloseSpoolFile()
{
    State& state = Recorder();
    if (state.spoolFile == INVALID_HANDLE_VALUE)
        return;
    _lclose(static_cast<HFILE>(reinterpret_cast<INT_PTR>(state.spoolFile)));
    state.spoolFile = INVALID_HANDLE_VALUE;
}

bool pw::graphics::WaveDeviceOpen()
{
    return Recorder().deviceOpen;
}

bool pw::graphics::WaveRecording()
{
    return Recorder().deviceOpen && Recorder().recording;
}

uint32_t pw::graphics::WaveRecordedLength()
{
    return Recorder().recordedLength;
}

const char* pw::graphics::WaveSpoolFileName()
{
    return Recorder().spoolName;
}

const char* pw::graphics::WaveFormatTagName()
{
    return Recorder().formatTagName;
}

const char* pw::graphics::WaveFormatName()
{
    return Recorder().formatName;
}
